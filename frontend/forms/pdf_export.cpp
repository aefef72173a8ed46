#include "pdf_export.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include "case_file.h"
#include "moment_sheet.h"
#include "report_print.h"
#include "startup_files.h"

namespace solvow {

namespace {

// The writer keeps the print resolution, so the pages are laid out as on the printer.
constexpr int kResolution = 1200;

// The PDF writer has a creator field and no author field. The creator entry of the document
// information is renamed, in place and at the same length, to the author entry: no object
// moves, so the cross-reference table stays right.
void creatorToAuthor(QByteArray* pdf) {
  static const QByteArray creator("\n/Creator ");
  static const QByteArray author("\n/Author  ");
  const qsizetype at = pdf->lastIndexOf(creator);
  if (at >= 0) pdf->replace(at, creator.size(), author);
}

}  // namespace

QString documentAuthor() {
  return QStringLiteral("SOLVOW %1").arg(static_cast<double>(kProgramVersion), 0, 'f', 1);
}

QByteArray resultPdf(const ResultDocument& document, const QPageLayout& layout) {
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kResolution);
    writer.setPageLayout(layout);
    writer.setTitle(document.title);
    writer.setCreator(documentAuthor());
    QPainter painter(&writer);
    paintReportPages(painter, writer, kResolution, document.pages, document.fontFamily);
    writer.setPageOrientation(QPageLayout::Landscape);
    if (!document.pages.isEmpty()) writer.newPage();
    paintMomentPage(painter, writer, kResolution, document.curves, document.slab, document.sheet);
    painter.end();
  }
  creatorToAuthor(&bytes);
  return bytes;
}

bool writeResultPdf(const QString& path, const ResultDocument& document, const QPageLayout& layout,
                    QString* error) {
  return replaceFile(path, resultPdf(document, layout), error);
}

}  // namespace solvow

#include "report_print.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <algorithm>

#include "printer_setup.h"
#include "report_text.h"

namespace solvow {

namespace {

constexpr int kHeadingBlanks = 68;
constexpr qreal kLargestPointSize = 10.0;

// A page holds the heading, the empty line before the report lines and up to 70 lines.
constexpr int kPrintedLines = kLinesPerPage + 2;

// The font of the printout: the family at 10 pt, made smaller when 72 lines or the widest
// line would not fit the printable area.
QFont pageFont(const QString& family, const QList<QStringList>& pages, QPaintDevice* device,
               const QRectF& area) {
  QFont font(family);
  font.setPointSizeF(kLargestPointSize);
  const QFontMetricsF metrics(font, device);
  qreal widest = metrics.horizontalAdvance(pageHeading(static_cast<int>(pages.size())));
  for (const QStringList& page : pages)
    for (const QString& line : page) widest = std::max(widest, metrics.horizontalAdvance(line));
  const qreal tall = metrics.lineSpacing() * kPrintedLines;
  const qreal shrink = std::min({1.0, area.height() / tall, area.width() / widest});
  if (shrink < 1.0) font.setPointSizeF(kLargestPointSize * shrink);
  return font;
}

}  // namespace

ReportPrinter::ReportPrinter()
    : m_printer(QPrinter::HighResolution),
      m_fontFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family()),
      m_chooseTarget([this](QPrinter&) { return chooseTarget(nullptr); }) {}

bool ReportPrinter::chooseTarget(QWidget* parent) {
  if (!printerSetup(m_printer, parent)) return false;
  m_askFileName = !m_printer.outputFileName().isEmpty();
  return true;
}

bool ReportPrinter::setUp(QWidget* parent) { return chooseTarget(parent); }

bool ReportPrinter::hasTarget() const {
  if (!m_printer.outputFileName().isEmpty()) return true;
  return m_printer.outputFormat() == QPrinter::NativeFormat && m_printer.isValid() &&
         !m_printer.printerName().isEmpty();
}

bool ReportPrinter::startJob(QPainter& painter, QString* error, const QString& proposedName) {
  if (!hasTarget() && !(m_chooseTarget && m_chooseTarget(m_printer) && hasTarget())) {
    if (error != nullptr) *error = QStringLiteral("Ingen skrivare vald.");
    return false;
  }
  if (m_askFileName && m_nameFile && !m_printer.outputFileName().isEmpty()) {
    const QString path = m_nameFile(proposedName);
    if (path.isEmpty()) {
      if (error != nullptr) error->clear();
      return false;
    }
    m_printer.setOutputFileName(path);
  }
  if (!painter.begin(&m_printer)) {
    if (error != nullptr)
      *error = QStringLiteral("Skrivaren %1 kan inte startas.")
                   .arg(m_printer.outputFileName().isEmpty() ? m_printer.printerName()
                                                             : m_printer.outputFileName());
    return false;
  }
  return true;
}

bool ReportPrinter::printPages(const QList<QStringList>& pages, QString* error,
                               const QString& proposedName) {
  if (pages.isEmpty()) return true;
  QPainter painter;
  if (!startJob(painter, error, proposedName)) return false;
  paintReportPages(painter, m_printer, m_printer.resolution(), pages, m_fontFamily);
  return painter.end();
}

void paintReportPages(QPainter& painter, QPagedPaintDevice& device, int resolution,
                      const QList<QStringList>& pages, const QString& family) {
  const QRectF area = device.pageLayout().paintRectPixels(resolution);
  const QFont font = pageFont(family, pages, painter.device(), QRectF(QPointF(0, 0), area.size()));
  painter.setFont(font);
  const QFontMetricsF metrics(font, painter.device());
  for (qsizetype k = 0; k < pages.size(); ++k) {
    if (k > 0) device.newPage();
    qreal baseline = metrics.ascent();
    painter.drawText(QPointF(0, baseline), pageHeading(static_cast<int>(k + 1)));
    baseline += metrics.lineSpacing();  // the empty line that opens the page text
    for (const QString& line : pages[k]) {
      baseline += metrics.lineSpacing();
      painter.drawText(QPointF(0, baseline), line);
    }
  }
}

WaitCursor::WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
WaitCursor::~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }

QString pageHeading(int page) {
  return QString(kHeadingBlanks, u' ') + QStringLiteral("sid ") + QString::number(page);
}

bool printCurrentReport(ReportPrinter& printer, FileTable& files, const QString& workingFolder,
                        const QString& baseName, const QString& reportFont,
                        const DiskDialogue& dialogue, QString* error) {
  const WaitCursor wait;
  QStringList lines;
  const QString path = inFolder(workingFolder, reportFileName(baseName));
  if (!readReportLines(files, path, dialogue, &lines)) {
    if (error != nullptr) *error = missingReportMessage(baseName);
    return false;
  }
  printer.setFontFamily(reportFont);
  return printer.printPages(reportPages(lines), error, baseName + QStringLiteral(".pdf"));
}

bool printReportFile(ReportPrinter& printer, FileTable& files, const QString& path,
                     const DiskDialogue& dialogue, QString* error) {
  const WaitCursor wait;
  QStringList lines;
  if (!readReportLines(files, path, dialogue, &lines)) {
    if (error != nullptr)
      *error = QStringLiteral("Filen %1 kan inte öppnas !").arg(QDir::toNativeSeparators(path));
    return false;
  }
  return printer.printPages(reportPages(lines), error,
                            QFileInfo(path).completeBaseName() + QStringLiteral(".pdf"));
}

bool takeOverPreviewPrint(QPrintPreviewDialog& preview, const std::function<void()>& print) {
  const QString caption = QCoreApplication::translate("QPrintPreviewDialog", "Print");
  for (QAction* action : preview.findChildren<QAction*>()) {
    if (action->text() != caption) continue;
    QObject::disconnect(action, &QAction::triggered, &preview, nullptr);
    QObject::connect(action, &QAction::triggered, &preview, [print] { print(); });
    return true;
  }
  return false;
}

bool printerSetup(QPrinter& printer, QWidget* parent) {
  PrinterSetupDialog dialog(printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace solvow

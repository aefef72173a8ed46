#include "report_print.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintDialog>

#include <algorithm>

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
      m_chooseTarget([](QPrinter& printer) { return printerSetup(printer, nullptr); }) {}

bool ReportPrinter::hasTarget() const {
  if (!m_printer.outputFileName().isEmpty()) return true;
  return m_printer.outputFormat() == QPrinter::NativeFormat && m_printer.isValid() &&
         !m_printer.printerName().isEmpty();
}

bool ReportPrinter::startJob(QPainter& painter, QString* error) {
  if (!hasTarget() && !(m_chooseTarget && m_chooseTarget(m_printer) && hasTarget())) {
    if (error != nullptr) *error = QStringLiteral("Ingen skrivare vald.");
    return false;
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

bool ReportPrinter::printPages(const QList<QStringList>& pages, QString* error) {
  if (pages.isEmpty()) return true;
  QPainter painter;
  if (!startJob(painter, error)) return false;
  const QRectF area = m_printer.pageLayout().paintRectPixels(m_printer.resolution());
  const QFont font = pageFont(m_fontFamily, pages, &m_printer, QRectF(QPointF(0, 0), area.size()));
  painter.setFont(font);
  const QFontMetricsF metrics(font, &m_printer);
  for (qsizetype k = 0; k < pages.size(); ++k) {
    if (k > 0) m_printer.newPage();
    qreal baseline = metrics.ascent();
    painter.drawText(QPointF(0, baseline), pageHeading(static_cast<int>(k + 1)));
    baseline += metrics.lineSpacing();  // the empty line that opens the page text
    for (const QString& line : pages[k]) {
      baseline += metrics.lineSpacing();
      painter.drawText(QPointF(0, baseline), line);
    }
  }
  return painter.end();
}

WaitCursor::WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
WaitCursor::~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }

QString pageHeading(int page) {
  return QString(kHeadingBlanks, u' ') + QStringLiteral("sid ") + QString::number(page);
}

QString missingReportMessage(const QString& baseName) {
  return QStringLiteral("Resultatfil till ") + baseName + QStringLiteral(".IND") +
         QStringLiteral(" saknas !");
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
  return printer.printPages(reportPages(lines), error);
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
  return printer.printPages(reportPages(lines), error);
}

bool printerSetup(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Skrivarinställning"));
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace solvow

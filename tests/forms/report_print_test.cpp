// The report as text and on paper: its name, its lines and letters, the paging by 70 lines and
// by the page mark, and printed PDFs checked with pdfinfo and pdftotext.
#include "report_print.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "numbered_report.h"
#include "report_text.h"

namespace solvow {
namespace {

DiskDialogue noDialogue() {
  return [](const DiskErrorMessage&) { return DiskAnswer::Cancel; };
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QString tool(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  process.waitForFinished(-1);
  return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
  const QString info = tool(QStringLiteral("pdfinfo"), {pdf});
  for (const QString& line : info.split(u'\n'))
    if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
  return -1;
}

QString pdfPageText(const QString& pdf, int page) {
  return tool(QStringLiteral("pdftotext"),
              {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
               QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
}

// The report lines "Rad N" on a printed page, in order.
QList<int> rowsOnPage(const QString& text) {
  QList<int> rows;
  for (const QString& line : text.split(u'\n')) {
    const QString t = line.trimmed();
    if (t.startsWith(QStringLiteral("Rad "))) rows.append(t.mid(4).toInt());
  }
  return rows;
}

TEST(ReportFileName, IsTheFirstNineCharactersOfTheCaseNamePlusRes) {
  const struct {
    const char* base;
    const char* want;
  } rows[] = {{"TIOFACK", "TIOFACK.RES"},
              {"LANGTNAMN12", "LANGTNAMN.RES"},
              {"NIOTECKEN", "NIOTECKEN.RES"},
              {"ABCDEFGH XY", "ABCDEFGH.RES"},
              {"ÅSA", "ÅSA.RES"}};
  for (const auto& r : rows)
    EXPECT_EQ(reportFileName(QString::fromUtf8(r.base)), QString::fromUtf8(r.want)) << r.base;
}

class ReportPrinting : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    printer.printer().setOutputFileName(pdf());
  }
  QString pdf() const { return dir.filePath(QStringLiteral("out.pdf")); }
  QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

  QTemporaryDir dir;
  FileTable files;
  ReportPrinter printer;
};

TEST_F(ReportPrinting, OneHundredFiftyLinesGiveThreeHeadedPagesOf70And70And10) {
  writeFile(path("LANG.RES"), numberedReport(150));
  QString error;
  ASSERT_TRUE(printReportFile(printer, files, path("LANG.RES"), noDialogue(), &error))
      << error.toStdString();
  ASSERT_EQ(pdfPages(pdf()), 3);
  const int firstRow[] = {1, 71, 141};
  const int rowCount[] = {70, 70, 10};
  for (int page = 1; page <= 3; ++page) {
    const QString text = pdfPageText(pdf(), page);
    EXPECT_TRUE(text.contains(QStringLiteral("sid %1").arg(page))) << page;
    const QList<int> rows = rowsOnPage(text);
    ASSERT_EQ(rows.size(), rowCount[page - 1]) << page;
    EXPECT_EQ(rows.first(), firstRow[page - 1]) << page;
    EXPECT_EQ(rows.last(), firstRow[page - 1] + rowCount[page - 1] - 1) << page;
  }
}

TEST_F(ReportPrinting, TheCurrentReportIsPrintedInTheReportFontAndAChosenOneInThePrinterFont) {
  writeFile(path("FONTER.RES"), numberedReport(5));
  const QString printerFont = printer.fontFamily();
  const QString reportFont = QStringLiteral("DejaVu Serif");
  ASSERT_NE(printerFont, reportFont);
  const auto fontsIn = [](const QString& file) {
    return tool(QStringLiteral("pdffonts"), {file}).remove(u'-').remove(u' ');
  };

  QString error;
  ASSERT_TRUE(printReportFile(printer, files, path("FONTER.RES"), noDialogue(), &error));
  EXPECT_FALSE(fontsIn(pdf()).contains(QStringLiteral("DejaVuSerif")));

  ASSERT_TRUE(printCurrentReport(printer, files, dir.path(), QStringLiteral("FONTER"), reportFont,
                                 noDialogue(), &error))
      << error.toStdString();
  EXPECT_TRUE(fontsIn(pdf()).contains(QStringLiteral("DejaVuSerif")));
  // The printer keeps the font it was given for the next "Skriv ut...".
  EXPECT_EQ(printer.fontFamily(), reportFont);
}

TEST_F(ReportPrinting, AMissingReportPrintsNothingAndNamesTheCase) {
  QString error;
  EXPECT_FALSE(printCurrentReport(printer, files, dir.path(), QStringLiteral("SAKNAS"),
                                  QStringLiteral("Courier New"), noDialogue(), &error));
  EXPECT_EQ(error, QStringLiteral("Resultatfil till SAKNAS.IND saknas !"));
  EXPECT_FALSE(QFile::exists(pdf()));
  EXPECT_EQ(files.openCount(), 0);
}

TEST_F(ReportPrinting, TheEnginesReportPrintsSixPagesWithItsSwedishLetters) {
  QFile::copy(QStringLiteral(SOLVO_DATA "/samples/TIOFACK.IND"), path("~indata~.tmp"));
  QProcess engine;
  engine.setWorkingDirectory(dir.path());
  engine.start(QStringLiteral(SOLVOWB_PATH), {});
  ASSERT_TRUE(engine.waitForFinished(-1));
  ASSERT_TRUE(QFile::exists(path("TIOFACK.RES")));

  QString error;
  ASSERT_TRUE(printCurrentReport(printer, files, dir.path(), QStringLiteral("TIOFACK"),
                                 QStringLiteral("Courier New"), noDialogue(), &error))
      << error.toStdString();
  // Six report pages; page 6 of ten spans is longer than one sheet of 70 lines.
  ASSERT_EQ(pdfPages(pdf()), 7);
  for (int page = 1; page <= 6; ++page)
    EXPECT_TRUE(pdfPageText(pdf(), page).contains(QStringLiteral("sid %1").arg(page))) << page;
  const QString first = pdfPageText(pdf(), 1);
  EXPECT_TRUE(first.contains(QString::fromUtf8("Överkantsarmering"))) << first.toStdString();
  EXPECT_TRUE(first.contains(QString::fromUtf8("Ø")));
  EXPECT_TRUE(pdfPageText(pdf(), 3).contains(QString::fromUtf8("BROTTGRÄNSTILLSTÅND")));
  // Page 6 of ten spans goes on over sheets 6 and 7, down to its last line; the deck
  // cantilevers are checked, so they are no longer among the things not checked.
  const QString sixth = pdfPageText(pdf(), 6) + pdfPageText(pdf(), 7);
  EXPECT_TRUE(sixth.contains(QStringLiteral("BYGGSKEDE"))) << sixth.toStdString();
  EXPECT_TRUE(sixth.contains(QStringLiteral("EGENFREKVENS"))) << sixth.toStdString();
  EXPECT_TRUE(sixth.contains(QString::fromUtf8("Ej kontrollerat i byggskedet")))
      << sixth.toStdString();
  EXPECT_FALSE(sixth.contains(QString::fromUtf8("konsolernas nedböjning"))) << sixth.toStdString();
  QDir().mkpath(QStringLiteral(SOLVO_RENDER_DIR));
  QFile::remove(QStringLiteral(SOLVO_RENDER_DIR "/report.pdf"));
  QFile::copy(pdf(), QStringLiteral(SOLVO_RENDER_DIR "/report.pdf"));
}

}  // namespace
}  // namespace solvow

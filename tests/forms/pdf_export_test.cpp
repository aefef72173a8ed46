// The results as one PDF and the moment diagram sheet: the ten-span sample through the real
// engine, the PDF read back with pdfinfo and pdftotext and compared page by page with the
// printout of "Resultat på skrivare"; the sheet's extreme moments and scale by hand.
#include "pdf_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "case_file.h"
#include "moment_sheet.h"
#include "report_print.h"
#include "report_text.h"

namespace solvow {
namespace {

QString tool(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  process.waitForFinished(-1);
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfInfo(const QString& pdf, const char* field) {
  const QString info = tool(QStringLiteral("pdfinfo"), {pdf});
  const QString key = QString::fromLatin1(field) + u':';
  for (const QString& line : info.split(u'\n'))
    if (line.startsWith(key)) return line.mid(key.size()).trimmed();
  return {};
}

QString pageText(const QString& pdf, int page) {
  return tool(QStringLiteral("pdftotext"),
              {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
               QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
}

// Blanks folded to one, so that a line compares whatever spacing the text layout chose.
QString folded(const QString& text) { return text.simplified(); }

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The ten-span sample calculated by the engine in a folder of its own.
class TenSpanResults : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFile::copy(QStringLiteral(SOLVO_DATA "/samples/TIOFACK.IND"),
                            dir.filePath(QStringLiteral("~indata~.tmp"))));
    QProcess engine;
    engine.setWorkingDirectory(dir.path());
    engine.start(QStringLiteral(SOLVOWB_PATH), {});
    ASSERT_TRUE(engine.waitForFinished(-1));
    QString error;
    ASSERT_TRUE(openCase(store, files, QStringLiteral(SOLVO_DATA "/samples"),
                         QStringLiteral("TIOFACK.IND"), DiskDialogue(), &error))
        << error.toStdString();
    ASSERT_TRUE(readReportLines(files, dir.filePath(QStringLiteral("TIOFACK.RES")), DiskDialogue(),
                                &lines));
    document.pages = reportPages(lines);
    document.fontFamily = QStringLiteral("Liberation Mono");
    ASSERT_TRUE(readDesignMomentFile(files, DiskDialogue(), dir.path(), &document.curves, &error))
        << error.toStdString();
    document.slab = slabGeometry(store, document.curves.spans);
    document.sheet = sheetText(store, dir.path());
    document.title = store.rubrik;
    layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                         QPageLayout::Millimeter);
  }
  QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

  QTemporaryDir dir;
  FileTable files;
  CaseStore store;
  QStringList lines;
  ResultDocument document;
  QPageLayout layout;
};

TEST_F(TenSpanResults, OnePdfOfTheReportPagesAsPrintedThenTheDiagram) {
  const QString pdf = path("TIOFACK.pdf");
  QString error;
  ASSERT_TRUE(writeResultPdf(pdf, document, layout, &error)) << error.toStdString();
  QDir().mkpath(QStringLiteral(SOLVO_RENDER_DIR));
  QFile::remove(QStringLiteral(SOLVO_RENDER_DIR "/tiofack_results.pdf"));
  QFile::copy(pdf, QStringLiteral(SOLVO_RENDER_DIR "/tiofack_results.pdf"));

  // The sample's report ends each of its pages with the page mark; a page longer than the 70
  // lines of a sheet goes on over as many sheets as it needs.
  const int reportPageCount = static_cast<int>(document.pages.size());
  int sheets = 0, onPage = 0;
  for (const QString& line : lines) {
    if (line.trimmed() == QStringLiteral("^")) {
      sheets += (onPage + 69) / 70;
      onPage = 0;
    } else {
      ++onPage;
    }
  }
  EXPECT_EQ(reportPageCount, sheets);
  EXPECT_EQ(pdfInfo(pdf, "Pages").toInt(), reportPageCount + 1);
  EXPECT_EQ(pdfInfo(pdf, "Title"), QStringLiteral("Tio fack, linjelaster, olika tjocklek"));
  EXPECT_EQ(pdfInfo(pdf, "Author"), QStringLiteral("SOLVOW 7.1"));

  // The same pages as "Resultat på skrivare" prints on the same paper, line for line.
  ReportPrinter printer;
  printer.printer().setOutputFormat(QPrinter::PdfFormat);
  printer.printer().setOutputFileName(path("printed.pdf"));
  printer.printer().setPageLayout(layout);
  ASSERT_TRUE(printCurrentReport(printer, files, dir.path(), QStringLiteral("TIOFACK"),
                                 document.fontFamily, DiskDialogue(), &error))
      << error.toStdString();
  for (int page = 1; page <= reportPageCount; ++page) {
    const QString text = pageText(pdf, page);
    EXPECT_EQ(text, pageText(path("printed.pdf"), page)) << page;
    EXPECT_TRUE(text.contains(QStringLiteral("sid %1").arg(page))) << page;
    for (const QString& line : document.pages[page - 1])
      EXPECT_TRUE(folded(text).contains(folded(line))) << page << ": " << line.toStdString();
  }
  const QString all = pageText(pdf, 1) + pageText(pdf, 3);
  for (const char* letters : {"Överkantsarmering", "BROTTGRÄNSTILLSTÅND", "Ø"})
    EXPECT_TRUE(all.contains(QString::fromUtf8(letters))) << letters;

  // The last page: the sheet in landscape with its texts and axis labels.
  const QString sheet = pageText(pdf, reportPageCount + 1);
  for (const QString& expected :
       {QStringLiteral("Momentdiagram TIOFACK"), QStringLiteral("Tio fack, linjelaster"),
        document.sheet.date, QStringLiteral("M [kNm/m]"), QStringLiteral("Fack 1"),
        QStringLiteral("Fack 10"), QString::fromUtf8("Största moment"), QStringLiteral("0"),
        // the envelope of both expressions that page 3 gives: 29.36 and -36.43 kNm/m
        QStringLiteral("Moment enl. ekv. 6.10a och b, kNm/m"), QStringLiteral("29.4"),
        QStringLiteral("-36.4")})
    EXPECT_TRUE(folded(sheet).contains(expected)) << expected.toStdString() << "\n"
                                                  << sheet.toStdString();
  const QString size = tool(QStringLiteral("pdfinfo"),
                            {QStringLiteral("-f"), QString::number(reportPageCount + 1),
                             QStringLiteral("-l"), QString::number(reportPageCount + 1), pdf});
  // A4 landscape: 297 x 210 mm = 842 x 595 pt.
  EXPECT_TRUE(size.contains(QRegularExpression(QStringLiteral("size:\\s+842 x 595 pts"))))
      << size.toStdString();
  // Vector drawing: no picture on any page.
  const QString images = tool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
  EXPECT_EQ(images.split(u'\n', Qt::SkipEmptyParts).size(), 2) << images.toStdString();
}

TEST_F(TenSpanResults, AFailedWriteLeavesNoHalfFileAndTheOldOneWhole) {
  // The target is a folder: the rename fails after the whole file was written beside it.
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("TIOFACK.pdf")));
  QString error;
  EXPECT_FALSE(writeResultPdf(path("TIOFACK.pdf"), document, layout, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("TIOFACK.pdf"))) << error.toStdString();
  EXPECT_TRUE(QFileInfo(path("TIOFACK.pdf")).isDir());
  EXPECT_TRUE(QDir(dir.path())
                  .entryList({QStringLiteral("*TIOFACK.pdf.*")}, QDir::Files | QDir::Hidden)
                  .isEmpty());

  // A folder that does not exist: nothing is written anywhere.
  EXPECT_FALSE(writeResultPdf(path("saknas/TIOFACK.pdf"), document, layout, &error));

  // Over an old file: written whole, or the old file stays.
  const QString old = path("GAMMAL.pdf");
  QFile file(old);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("gammal");
  file.close();
  ASSERT_TRUE(writeResultPdf(old, document, layout, &error));
  EXPECT_TRUE(readAll(old).startsWith("%PDF-"));
}

// A "^" in the case name of every header and in the heading is text: the report keeps its
// six pages, and no page shows the page mark.
TEST_F(TenSpanResults, ACaretInTheCaseNameOrHeadingSplitsNoPage) {
  QStringList marked = lines;
  for (QString& line : marked) {
    if (line.contains(QStringLiteral("INDATAFIL : ")))
      line.replace(QStringLiteral("TIOFACK"), QStringLiteral("TIO^FACK"));
    if (line.startsWith(QStringLiteral("     Tio fack"))) line = QStringLiteral("     Hus ^ tva");
  }
  ASSERT_NE(marked, lines);
  const auto unmarkedPages = reportPages(lines).size();
  document.pages = reportPages(marked);
  EXPECT_EQ(document.pages.size(), unmarkedPages);
  const QString pdf = path("CARET.pdf");
  QString error;
  ASSERT_TRUE(writeResultPdf(pdf, document, layout, &error)) << error.toStdString();
  EXPECT_EQ(pdfInfo(pdf, "Pages").toInt(), static_cast<int>(unmarkedPages) + 1);
  for (int page = 1; page <= 6; ++page) {
    const QString text = pageText(pdf, page);
    EXPECT_TRUE(text.contains(QStringLiteral("TIO^FACK"))) << page;
    for (const QString& line : text.split(u'\n'))
      EXPECT_NE(line.trimmed(), QStringLiteral("^")) << page;
  }
  EXPECT_TRUE(pageText(pdf, 1).contains(QStringLiteral("Hus ^ tva")));
}

// The hand-made two-span curves of momk_two_spans.dat: steps 0.195 m, maximum k + 0.5 at
// point k up to 10.5 at midspan, minimum falling to -20 at the middle support.
MomentCurves twoSpans() {
  QFile file(QStringLiteral(SOLVO_TEST_DATA "/reports/momk_two_spans.dat"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  MomentCurves curves;
  EXPECT_TRUE(parseMomentCurves(file.readAll(), &curves, nullptr));
  return curves;
}

SlabGeometry twoFourMetreSpans() {
  SlabGeometry slab;
  slab.spans = {4.0, 4.0};
  slab.supports = {0.1, 0.1, 0.1};
  return slab;
}

TEST(MomentSheet, TheExtremeMomentsLieWhereTheCurvesHaveThem) {
  // sx = 8400 / 8 = 1050. Support 0 runs from 340 to 445, span 1 over 20 * 0.195 * 1050 =
  // 4095 units to 4540, support 1 to 4645 (middle 4592.5), span 2 to 8740.
  const std::vector<MarkedMoment> marks = extremeMoments(twoSpans(), twoFourMetreSpans());
  ASSERT_EQ(marks.size(), 3u);
  const struct {
    double x;
    double moment;
  } want[] = {
      {445.0 + 10 * 204.75, 10.5},   // midspan of span 1
      {4645.0 + 10 * 204.75, 10.5},  // midspan of span 2
      {4592.5, -20.0},               // the middle support; the end supports carry nothing
  };
  for (size_t k = 0; k < marks.size(); ++k) {
    EXPECT_NEAR(marks[k].x, want[k].x, 1e-9) << k;
    EXPECT_DOUBLE_EQ(marks[k].moment, want[k].moment) << k;
  }
  EXPECT_TRUE(extremeMoments(MomentCurves{}, twoFourMetreSpans()).empty());
}

TEST(MomentSheet, TheScaleStepsAre1_2Or5TimesAPowerOfTen) {
  const struct {
    double mmax;
    double step;
  } rows[] = {
      {20.0, 5.0},      // 20 / 5 = 4 steps; 20 / 2 = 10 would be too many
      {1900.0, 500.0},  // 1900 / 500 = 3.8
      {3.0, 1.0},       // 3 / 0.5 = 6 is too many, 3 / 1 = 3
      {50.0, 10.0},     // exactly 5 steps
      {0.4, 0.1},      {0.0, 0.0}, {-3.0, 0.0},
  };
  for (const auto& r : rows) EXPECT_DOUBLE_EQ(scaleStep(r.mmax), r.step) << r.mmax;
}

TEST(MomentSheet, APageHoldsTheTextsScaleSpansAndValuesAndTheDrawingFillsIt) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
  {
    QPdfWriter writer(pdf);
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    QPainter painter(&writer);
    paintMomentPage(
        painter, writer, 300, twoSpans(), twoFourMetreSpans(),
        {QStringLiteral("PLATTA"), QStringLiteral("Kontor plan 3"), QStringLiteral("2026-12-08")});
  }
  const QString text = folded(pageText(pdf, 1));
  for (const char* expected :
       {"Momentdiagram PLATTA", "Kontor plan 3", "2026-12-08", "M [kNm/m]", "Fack 1", "Fack 2"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                            << text.toStdString();
  // Scale: mmax 20, step 5, so -20 .. 20 in steps of 5 (sagging positive, downwards); the
  // extremes 10.5 at both midspans and -20.0 over the middle support.
  const QStringList words = text.split(u' ');
  for (int m = -20; m <= 20; m += 5)
    EXPECT_TRUE(words.contains(QString::number(m))) << m << "\n" << text.toStdString();
  EXPECT_EQ(words.count(QStringLiteral("10.5")), 2);
  EXPECT_EQ(words.count(QStringLiteral("-20.0")), 1);

  // Rastered at 30 dpi the drawing reaches over most of the page both ways.
  ASSERT_TRUE(tool(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("30"), pdf,
                    dir.filePath(QStringLiteral("sheet"))})
                  .isEmpty());
  const QStringList pages = QDir(dir.path()).entryList({QStringLiteral("sheet*.png")});
  ASSERT_EQ(pages.size(), 1);
  const QImage page(dir.filePath(pages.first()));
  QRect drawn;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (qGray(page.pixel(x, y)) < 160) drawn |= QRect(x, y, 1, 1);
  EXPECT_GT(drawn.width(), page.width() * 85 / 100);
  EXPECT_GT(drawn.height(), page.height() * 85 / 100);
}

}  // namespace
}  // namespace solvow

// The moment diagram: its scales, reading the moment files, the drawing checked pixel by pixel,
// its title, its printout and its print preview.
//
// The hand-made file momk_two_spans.dat holds two spans with steps of 0.195 m (clear spans of
// 3.9 m). Maximum curves: 0 at the supports, k + 0.5 at point k up to 10.5 at midspan.
// Minimum curves: falling straight from 0 to -20 at the middle support and back to 0. With two
// 4.0 m spans and 0.1 m supports sx = 8400 / 8 = 1050, Mmax = 20 and sy = 1900 / 20 = 95.
// Drawn into a 908 x 400 image one pixel is ten drawing units.
#include "momkurva.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "case_file.h"
#include "modal_script.h"
#include "report_print.h"

namespace solvow {
namespace {

const QSize kImage(908, 400);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kDarkRed = qRgb(0x80, 0, 0);

QByteArray readData(const char* name) {
  QFile file(QStringLiteral(SOLVO_TEST_DATA "/reports/") + QString::fromLatin1(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

MomentCurves twoSpans(const char* name = "momk_two_spans.dat") {
  MomentCurves curves;
  QString error;
  EXPECT_TRUE(parseMomentCurves(readData(name), &curves, &error)) << error.toStdString();
  return curves;
}

SlabGeometry slab(double left, std::vector<double> spans, double right, double support = 0.1) {
  SlabGeometry g;
  g.leftCantilever = left;
  g.rightCantilever = right;
  g.supports.assign(spans.size() + 1, support);
  g.spans = std::move(spans);
  return g;
}

// True when a pixel of `colour` lies within one pixel of (x, y).
bool colourNear(const QImage& image, int x, int y, QRgb colour) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (image.valid(x + dx, y + dy) && image.pixel(x + dx, y + dy) == colour) return true;
  return false;
}

bool blank(const QImage& image, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixel(x, y) != kWhite) return false;
  return true;
}

void saveRender(const QImage& image, const char* name) {
  QDir().mkpath(QStringLiteral(SOLVO_RENDER_DIR));
  image.save(QStringLiteral(SOLVO_RENDER_DIR "/") + QString::fromLatin1(name));
}

TEST(DiagramScale, HorizontalScaleSpreadsTheSlabOver8400Units) {
  const struct {
    double left;
    std::vector<double> spans;
    double right;
    double want;
  } rows[] = {
      {0.0, {4.0, 4.0}, 0.0, 1050.0},
      {0.8, {4.2, 4.5}, 0.6, 8400.0 / 10.1},
      {0.1, {8.4}, 0.0, 8400.0 / 8.5},  // a cantilever too short to draw still counts
      {0.0, {0.0}, 0.0, 0.0},
  };
  for (const auto& r : rows)
    EXPECT_DOUBLE_EQ(horizontalScale(slab(r.left, r.spans, r.right)), r.want) << r.left;
}

TEST(DiagramScale, VerticalScalePutsTheLargestMoment1900UnitsFromTheAxis) {
  EXPECT_DOUBLE_EQ(verticalScale(20.0), 95.0);
  EXPECT_DOUBLE_EQ(verticalScale(1900.0), 1.0);
  EXPECT_DOUBLE_EQ(verticalScale(0.0), 0.0);
  EXPECT_DOUBLE_EQ(largestMoment(twoSpans()), 20.0);
}

TEST(MomentFile, ACommaReadsLikeAPoint) {
  const MomentCurves comma = twoSpans("momk_two_spans_comma.dat");
  ASSERT_EQ(comma.spans, 2);
  EXPECT_DOUBLE_EQ(comma.maximum[0].step, 0.195);
  EXPECT_DOUBLE_EQ(comma.maximum[0].moment[1], 1.5);
  EXPECT_EQ(renderMomentDiagram(comma, slab(0, {4, 4}, 0), kImage),
            renderMomentDiagram(twoSpans(), slab(0, {4, 4}, 0), kImage));
}

TEST(MomentFile, BadFilesAreRefusedWithAMessage) {
  const QByteArray good = readData("momk_two_spans.dat");
  QList<QByteArray> lines = good.split('\n');
  lines.removeLast();  // after the last line end
  const auto firstLines = [&lines](int count) { return lines.mid(0, count).join('\n') + '\n'; };
  const struct {
    const char* name;
    QByteArray bytes;
    const char* inMessage;
  } rows[] = {
      {"one line short", firstLines(88), "2 fack kräver 89 rader, filen har 88"},
      {"only the span count", firstLines(1), "filen har 1"},
      {"empty", QByteArray(), "tom"},
      {"no spans", " 0\r\n", "1 till 10"},
      {"eleven spans", " 11\r\n", "1 till 10"},
      {"half a span", " 1.5\r\n", "1 till 10"},
  };
  for (const auto& r : rows) {
    MomentCurves curves;
    QString error;
    EXPECT_FALSE(parseMomentCurves(r.bytes, &curves, &error)) << r.name;
    EXPECT_TRUE(error.contains(QString::fromUtf8(r.inMessage)))
        << r.name << ": " << error.toStdString();
  }
  MomentCurves curves;
  EXPECT_TRUE(parseMomentCurves(firstLines(89), &curves, nullptr));
}

TEST(DiagramDrawing, PutsTheAxisTheCurvesAndTheExtremeMomentWhereTheScalesSay) {
  const QImage image = renderMomentDiagram(twoSpans(), slab(0, {4, 4}, 0), kImage);
  saveRender(image, "momkurva_two_spans.png");
  // Axis at y = 2000, between two ordinates (x = 3000 lies 12.5 steps into span 1).
  EXPECT_TRUE(colourNear(image, 300, 200, kBlack));
  // Middle support: after support 0 (105 units) and 20 steps of 204.75, x = 4540; the
  // minimum -20 lies at y = 2000 - 20 * 95 = 100.
  EXPECT_TRUE(colourNear(image, 454, 10, kDarkRed));
  // The support rectangle there is 105 units wide and reaches the same height.
  EXPECT_TRUE(colourNear(image, 459, 10, kDarkRed));
  // Nothing lies further than 1900 units from the axis.
  EXPECT_TRUE(blank(image, QRect(0, 0, 908, 9)));
  EXPECT_TRUE(blank(image, QRect(0, 391, 908, 9)));
  // Largest sagging moment 10.5 at midspan of span 1: x = 445 + 10 * 204.75 = 2492.5,
  // y = 2000 + 10.5 * 95 = 2997.5; nothing sags further.
  EXPECT_TRUE(colourNear(image, 249, 300, kBlack));
  EXPECT_TRUE(blank(image, QRect(0, 302, 908, 98)));
  // Left of the first support (x < 340) nothing is drawn.
  EXPECT_TRUE(blank(image, QRect(0, 0, 33, 400)));
}

TEST(DiagramDrawing, AllMomentsZeroShowTheAxisOnly) {
  MomentCurves curves = twoSpans();
  for (auto* block : {&curves.maximum, &curves.minimum})
    for (SpanCurve& span : *block) span.moment.fill(0.0);
  const QImage image = renderMomentDiagram(curves, slab(0, {4, 4}, 0), kImage);
  int drawn = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != kWhite) {
        ++drawn;
        EXPECT_NEAR(y, 200, 1) << x;
      }
  EXPECT_GT(drawn, 800);  // the axis runs from x = 340 to 8740 + 105
}

TEST(DiagramDrawing, ACantileverOf0_1MetreIsLeftBlankAndALongerOneIsDrawn) {
  // Left cantilever 0.1 m: sx = 8400 / 8.1 = 1037.0, so its space runs from x = 340 to 443.7.
  const QImage shortOne = renderMomentDiagram(twoSpans(), slab(0.1, {4, 4}, 0), kImage);
  EXPECT_TRUE(blank(shortOne, QRect(0, 0, 43, 400)));
  EXPECT_FALSE(blank(shortOne, QRect(45, 0, 10, 400)));  // the first support and curve follow

  // Left cantilever 1.0 m: sx = 8400 / 9 = 933.3; tip at 340, support at 1273.3. The minimum
  // curve starts at 0 there, the maximum too: the cantilever is a line along the axis. Give
  // the support a moment so the cantilever shows.
  MomentCurves curves = twoSpans();
  curves.minimum[0].moment[0] = -10.0;  // y = 2000 - 950 = 1050 at the support
  const QImage longOne = renderMomentDiagram(curves, slab(1.0, {4, 4}, 0), kImage);
  saveRender(longOne, "momkurva_cantilever.png");
  // Halfway along the cantilever (x = 806.7) the line lies halfway up: y = 1525.
  EXPECT_TRUE(colourNear(longOne, 81, 152, kDarkRed));
  EXPECT_TRUE(colourNear(longOne, 40, 200, kBlack));  // the axis runs under the cantilever
}

class MomkurvaForm : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    setDefaults(store);
    store.nfack = 2;
    store.spv[1] = store.spv[2] = 4.0f;
    store.upl[0] = store.upl[1] = store.upl[2] = 0.1f;
    store.konsv = store.konsh = 0.0f;
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    printer.printer().setOutputFileName(dir.filePath(QStringLiteral("plot.pdf")));
    form = std::make_unique<Momkurva>(store, files, DiskDialogue(), dir.path(), printer);
    form->setNotify([this](const QString& text) { messages.append(text); });
  }
  // The diagram's file MOMD.DAT with the curves of `momk` (laid out as MOMK.DAT) as the
  // curves of load set `loadSet`.
  void placeMomentFile(const QByteArray& momk, int loadSet = 1) {
    QFile file(dir.filePath(QStringLiteral("MOMD.DAT")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const qsizetype end = momk.indexOf('\n') + 1;
    file.write(momk.left(end) + ' ' + QByteArray::number(loadSet) + "\r\n" + momk.mid(end));
  }

  QTemporaryDir dir;
  CaseStore store;
  FileTable files;
  ReportPrinter printer;
  std::unique_ptr<Momkurva> form;
  QStringList messages;
};

TEST_F(MomkurvaForm, AMissingOrShortFileGivesAMessageAndNothingDrawn) {
  EXPECT_FALSE(form->loadDiagram());
  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(messages[0], QStringLiteral("Momentfilen MOMD.DAT saknas !"));

  placeMomentFile(readData("momk_two_spans.dat").left(40));
  EXPECT_FALSE(form->loadDiagram());
  ASSERT_EQ(messages.size(), 2);
  EXPECT_TRUE(messages[1].contains(QString::fromUtf8("ofullständig")));
  form->resize(960, 480);
  form->show();
  const QImage shown = form->picture()->grab().toImage();
  EXPECT_TRUE(blank(shown, shown.rect()));
  EXPECT_EQ(files.openCount(), 0);
}

TEST_F(MomkurvaForm, PlottingPrintsTheSameDrawingOnOnePage) {
  placeMomentFile(readData("momk_two_spans.dat"));
  ASSERT_TRUE(form->loadDiagram());
  QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
  const QString pdf = dir.filePath(QStringLiteral("plot.pdf"));
  ASSERT_TRUE(QFile::exists(pdf)) << messages.join(u'\n').toStdString();
  QProcess raster;
  raster.start(QStringLiteral("pdftoppm"),
               {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("40"), pdf,
                dir.filePath(QStringLiteral("plot"))});
  ASSERT_TRUE(raster.waitForFinished(-1));
  const QStringList pages = QDir(dir.path()).entryList({QStringLiteral("plot*.png")});
  ASSERT_EQ(pages.size(), 1);
  const QImage page(dir.filePath(pages.first()));
  int reddish = 0;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x) {
      const QColor c = page.pixelColor(x, y);
      reddish += c.red() > 90 && c.green() < 60 && c.blue() < 60;
    }
  EXPECT_GT(reddish, 20);
}

// Moment files of ten spans of 4.0 m on 0.1 m supports: per span a sagging arch of 10 kNm/m
// and a hogging dip of -8 kNm/m at the supports.
QByteArray tenSpans() {
  QByteArray bytes = " 10\r\n";
  for (int block = 0; block < 2; ++block)
    for (int i = 1; i <= 10; ++i) {
      bytes += " 0.195\r\n";
      for (int p = 0; p < kCurvePoints; ++p) {
        const double arch = std::sin(3.14159265358979 * p / 20.0);
        bytes += ' ' + QByteArray::number(block == 0 ? 10.0 * arch : -8.0 * (1.0 - arch)) + "\r\n";
      }
    }
  return bytes;
}

void tenSpanSlab(CaseStore& store) {
  store.nfack = 10;
  for (int i = 1; i <= 10; ++i) store.spv[static_cast<std::size_t>(i)] = 4.0f;
  for (int j = 0; j <= 10; ++j) store.upl[static_cast<std::size_t>(j)] = 0.1f;
}

QString pdfText(const QString& pdf) {
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  text.waitForFinished(-1);
  return QString::fromUtf8(text.readAllStandardOutput());
}

// The title names the load set of the curves, on the printed sheet as on the screen.
TEST_F(MomkurvaForm, TheTitleNamesTheLoadSetOfTheCurves) {
  const struct {
    int loadSet;
    const char* title;
  } rows[] = {{1, "Moment enl. ekv. 6.10a, kNm/m"},
              {2, "Moment enl. ekv. 6.10b, kNm/m"},
              {3, "Moment enl. ekv. 6.10a och b, kNm/m"}};
  const QString pdf = dir.filePath(QStringLiteral("plot.pdf"));
  for (const auto& r : rows) {
    placeMomentFile(readData("momk_two_spans.dat"), r.loadSet);
    ASSERT_TRUE(form->loadDiagram());
    EXPECT_EQ(form->curves().loadSet, r.loadSet);
    QFile::remove(pdf);
    ASSERT_TRUE(form->plot()) << messages.join(u'\n').toStdString();
    EXPECT_TRUE(pdfText(pdf).contains(QString::fromLatin1(r.title))) << r.title;
  }
}

QAction* previewPrintAction(QWidget* preview) {
  const QString caption = QCoreApplication::translate("QPrintPreviewDialog", "Print");
  for (QAction* a : preview->findChildren<QAction*>())
    if (a->text() == caption) return a;
  return nullptr;
}

// "Skriv ut" in the preview prints through the program's printer, never Qt's own print
// dialog (which would show up here as a modal window no step answers).
TEST_F(MomkurvaForm, PrintingFromThePreviewUsesTheProgramsOwnPrinting) {
  placeMomentFile(readData("momk_two_spans.dat"));
  ASSERT_TRUE(form->loadDiagram());
  const QString pdf = dir.filePath(QStringLiteral("plot.pdf"));
  {
    test::ModalScript script{[](QWidget* preview) {
      QAction* print = previewPrintAction(preview);
      ASSERT_NE(print, nullptr);
      print->trigger();
    }};
    form->preview();
  }
  EXPECT_TRUE(QFile::exists(pdf));
  EXPECT_TRUE(pdfText(pdf).contains(QStringLiteral("Momentdiagram")));
}

// The most runs of dark pixels in one row of `image`: an ordinate drawn apart from the next is
// a run of its own, a hatching drawn solid is one run.
int mostDarkRuns(const QImage& image) {
  int most = 0;
  for (int y = 0; y < image.height(); ++y) {
    int runs = 0;
    bool dark = false;
    for (int x = 0; x < image.width(); ++x) {
      const bool d = qGray(image.pixel(x, y)) < 200;
      runs += d && !dark;
      dark = d;
    }
    most = std::max(most, runs);
  }
  return most;
}

// Ten spans have 200 ordinates; in the preview they stay lines apart, small or large.
TEST_F(MomkurvaForm, ThePreviewShowsTheOrdinatesAsHatchingAtEverySize) {
  tenSpanSlab(store);
  placeMomentFile(tenSpans(), 2);
  ASSERT_TRUE(form->loadDiagram());
  for (const QSize size : {QSize(900, 700), QSize(1600, 1200)}) {
    int runs = 0;
    test::ModalScript script{[&runs, size](QWidget* dialog) {
      dialog->resize(size);
      auto* preview = dialog->findChild<QPrintPreviewWidget*>();
      ASSERT_NE(preview, nullptr);
      preview->fitToWidth();
      QApplication::processEvents();
      const QImage image = preview->grab().toImage();
      saveRender(image,
                 size.width() < 1000 ? "momkurva_preview_small.png" : "momkurva_preview_large.png");
      runs = mostDarkRuns(image);
      dialog->close();
    }};
    form->preview();
    EXPECT_GE(runs, 150) << size.width();
  }
}

TEST(MomkurvaSample, TheTenSpanSampleWithCantilevers) {
  QTemporaryDir dir;
  ASSERT_TRUE(QFile::copy(QStringLiteral(SOLVO_DATA "/samples/TIOFACK.IND"),
                          dir.filePath(QStringLiteral("~indata~.tmp"))));
  QProcess engine;
  engine.setWorkingDirectory(dir.path());
  engine.start(QStringLiteral(SOLVOWB_PATH), {});
  ASSERT_TRUE(engine.waitForFinished(-1));

  CaseStore store;
  FileTable files;
  QString error;
  ASSERT_TRUE(openCase(store, files, QStringLiteral(SOLVO_DATA "/samples"),
                       QStringLiteral("TIOFACK.IND"), DiskDialogue(), &error))
      << error.toStdString();
  ReportPrinter printer;
  Momkurva form(store, files, DiskDialogue(), dir.path(), printer);
  form.setNotify([](const QString& text) { ADD_FAILURE() << text.toStdString(); });
  ASSERT_TRUE(form.loadDiagram());
  EXPECT_EQ(form.curves().spans, 10);
  form.resize(1000, 520);
  form.show();
  saveRender(form.grab().toImage(), "momkurva_tiofack.png");

  // Cantilevers 0.8 and 0.6 m, spans 50.4 m in all: sx = 8400 / 51.8 = 162.2. The left
  // cantilever takes x = 340 to 469.7, drawn.
  const QImage image = renderMomentDiagram(form.curves(), form.slab(), kImage);
  EXPECT_FALSE(blank(image, QRect(35, 0, 10, 400)));
  EXPECT_TRUE(blank(image, QRect(0, 0, 33, 400)));

  // Plotted on a printer page, kept beside the renders to look at.
  const QString pdf = QStringLiteral(SOLVO_RENDER_DIR "/momkurva_tiofack.pdf");
  QFile::remove(pdf);
  printer.printer().setOutputFormat(QPrinter::PdfFormat);
  printer.printer().setOutputFileName(pdf);
  ASSERT_TRUE(form.plot());
  EXPECT_TRUE(QFile::exists(pdf));
}

}  // namespace
}  // namespace solvow

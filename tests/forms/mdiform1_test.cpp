// The main window: menus, the market flags and the layout sketch.
#include "mdiform1.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "case_file.h"
#include "form1.h"
#include "form3.h"
#include "input_rules.h"
#include "layout_sketch.h"
#include "main_window_fixture.h"
#include "text_conv.h"

using namespace solvow;
using namespace solvow::forms;

namespace {

class MainWindowTest : public MainWindowFixture {
 protected:
  QString text(const QString& name) { return find<QLineEdit>(name)->text(); }
  QToolButton* flag(int k) { return find<QToolButton>(QStringLiteral("Flagga(%1)").arg(k)); }
  void clickVisibleFlag() {
    const int k = window->visibleFlag();
    ASSERT_GE(k, 1);
    QTest::mouseClick(flag(k), Qt::LeftButton);
  }
};

TEST_F(MainWindowTest, MenusCarryTheirControlNamesAndCaptions) {
  struct Entry {
    const char* name;
    const char* caption;
  };
  const Entry entries[] = {
      {"ark", "Arkiv"},
      {"n", "Ny"},
      {"op", "Öppna..."},
      {"spar", "Spara"},
      {"spars", "Spara som..."},
      {"pdf", "Spara som PDF..."},
      {"sut", "Skriv ut..."},
      {"forh", "Förhandsgranska..."},
      {"skrinst", "Skrivarinställning..."},
      {"av", "Avsluta"},
      {"Red", "Linjelaster"},
      {"blin", "Linjelaster"},
      {"ber", "Beräkning"},
      {"start", "Kör..."},
      {"res", "Resultat"},
      {"res1", "Resultat på skärm"},
      {"res2", "Resultat på skrivare"},
      {"fil", "Filhantering"},
      {"del", "Ta bort"},
      {"del1", "Resultatfiler"},
      {"del2", "Indatafiler"},
      {"del3", "Resultat+Indatafiler"},
      {"dia", "Diagram"},
      {"mom", "Moment"},
      {"vikt", "Viktigt"},
  };
  for (const Entry& e : entries) {
    auto* a = window->findChild<QAction*>(QString::fromUtf8(e.name));
    ASSERT_NE(a, nullptr) << e.name;
    EXPECT_EQ(QString(a->text()).remove(u'&'), QString::fromUtf8(e.caption)) << e.name;
  }
  // The file menu in its written order, separators t1..t3 included, with the PDF export after
  // "Spara som..." and the preview after "Skriv ut...".
  QStringList order;
  for (QAction* a : find<QMenu>(QStringLiteral("ark"))->actions()) order << a->objectName();
  EXPECT_EQ(order, (QStringList{"n", "op", "t1", "spar", "spars", "pdf", "t2", "sut", "forh",
                                "skrinst", "t3", "av"}));
  EXPECT_EQ(window->windowTitle(), store.fileName);
  EXPECT_EQ(find<QLabel>(QStringLiteral("Label1"))->text(), QStringLiteral("Solvodeck"));
}

// The flag cycle: flag k shows market 1, 3, 5, 4, 2, 6; one click steps to the next flag.
TEST_F(MainWindowTest, SixFlagClicksReturnToTheMarketAndKeepItsClass) {
  struct Step {
    int market;
    const char* frame;
    bool factorsEditable;
  };
  const Step cycle[] = {{3, "Frame3D1", false}, {5, "Frame3D3", false}, {4, "Frame3D4", false},
                        {2, "Frame3D5", false}, {6, "Frame3D6", true},  {1, "Frame3D2", false}};
  ASSERT_EQ(store.market, 1);
  store.safetyClass[1] = 3;  // a class other than the default must survive the round
  window->loadCase();
  store.changed = false;
  for (const Step& s : cycle) {
    clickVisibleFlag();
    EXPECT_EQ(store.market, s.market);
    EXPECT_TRUE(store.changed);
    int shown = 0;
    for (auto* f : window->findChildren<QGroupBox*>(QRegularExpression("^Frame3D")))
      if (!f->isHidden()) {
        ++shown;
        EXPECT_EQ(f->objectName(), QLatin1String(s.frame)) << s.market;
      }
    EXPECT_EQ(shown, 1) << s.market;
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("psi0"))->isEnabled(), s.factorsEditable);
    EXPECT_EQ(window->visibleFlag(), flagOfMarket(s.market));
  }
  EXPECT_EQ(store.safetyClass[1], 3);
  EXPECT_TRUE(find<QRadioButton>(QStringLiteral("shkl(3)"))->isChecked());
  // Markets 2 and 6 always come back with class 1.
  EXPECT_EQ(store.safetyClass[2], 1);
  EXPECT_EQ(store.safetyClass[6], 1);
}

TEST_F(MainWindowTest, FinlandCategoryC3ShowsItsCombinationFactors) {
  // Flags 1 -> 2 -> 3 -> 4: markets 3, 5, 4.
  for (int i = 0; i < 3; ++i) clickVisibleFlag();
  ASSERT_EQ(store.market, 4);
  auto* lokt = find<QComboBox>(QStringLiteral("lokt"));
  lokt->setFocus();
  lokt->setCurrentIndex(0);
  for (int i = 0; i < 5; ++i) QTest::keyClick(lokt, Qt::Key_Down);  // "C3         "
  ASSERT_EQ(store.lokt, 5);
  EXPECT_EQ(text("psi0"), "0.70");
  EXPECT_EQ(text("psi1"), "0.70");
  EXPECT_EQ(text("psi2"), "0.30");
  EXPECT_EQ(text("lambdaG"), "1.35");
  EXPECT_EQ(text("ksi"), "0.85");
  // Denmark, category 1: 0.50, 0.30, 0.20, as a case read from a file shows them.
  store.lokt = 1;
  store.market = 5;
  window->loadCase();
  EXPECT_EQ(text("psi0"), "0.50");
  EXPECT_EQ(text("psi1"), "0.30");
  EXPECT_EQ(text("psi2"), "0.20");
  EXPECT_EQ(text("lambdaG"), "1.20");
  EXPECT_EQ(text("ksi"), "1.00");
}

TEST_F(MainWindowTest, DiagramEntryFollowsTheStore) {
  store.diagramEnabled = true;
  window->updateMenus();
  ASSERT_TRUE(window->actions().dia->isEnabled());
  // A flag click marks the case changed but keeps the diagram entry.
  clickVisibleFlag();
  EXPECT_TRUE(window->actions().dia->isEnabled());
  // A keystroke takes it away at once, before the field is left.
  auto* spv = find<QLineEdit>(QStringLiteral("spv(1)"));
  QTest::mouseClick(spv, Qt::LeftButton);
  QTest::keyClick(spv, Qt::Key_5);
  EXPECT_FALSE(window->actions().dia->isEnabled());
  EXPECT_FALSE(store.diagramEnabled);
}

// Support buttons stand at the supports: with a left cantilever of 1 m and spans 2 m and 1 m
// (4 m in all) the scale is 8400 / 4 = 2100 twips per m, so the supports lie at 2100, 6300
// and 8400 twips, plus the bar's origin at 340 twips: 2440, 6640, 8740 twips = 162, 442, 582
// pixels (15 twips a pixel, rounded).
TEST_F(MainWindowTest, SupportButtonsStandAtTheSupportsToScale) {
  store.nfack = 2;
  store.spv[1] = 2.0f;
  store.spv[2] = 1.0f;
  store.konsv = 1.0f;
  store.konsh = 0.0f;
  window->loadCase();
  const int expected[] = {163, 443, 583};  // 2440/15 = 162.7, 6640/15 = 442.7, 8740/15 = 582.7
  for (int i = 0; i <= 2; ++i) {
    auto* b = find<QPushButton>(QStringLiteral("stod(%1)").arg(i));
    EXPECT_FALSE(b->isHidden()) << i;
    EXPECT_EQ(b->x(), expected[i]) << i;
  }
  for (int i = 3; i <= 15; ++i)
    EXPECT_TRUE(find<QPushButton>(QStringLiteral("stod(%1)").arg(i))->isHidden()) << i;
}

TEST_F(MainWindowTest, EmptySlabLeavesTheSketchEmpty) {
  store.nfack = 2;
  store.spv[1] = store.spv[2] = 0.0f;
  store.konsv = store.konsh = 0.0f;
  window->loadCase();
  for (int i = 0; i <= 15; ++i)
    EXPECT_TRUE(find<QPushButton>(QStringLiteral("stod(%1)").arg(i))->isHidden()) << i;
  const QImage span = window->spanPane()->render();
  const QImage load = window->loadPane()->render();
  EXPECT_TRUE(span.isNull() == false && load.isNull() == false);
  for (const QImage* image : {&span, &load})
    for (int y = 0; y < image->height(); ++y)
      for (int x = 0; x < image->width(); ++x)
        ASSERT_EQ(image->pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

// Load blocks: heights 800 twips * q / largest q. Two equal spans with q = 2 and 4 kN/m2 give
// a block of 400 twips (26.7 px) over span 1 and 800 twips (53.3 px) over span 2, standing on
// the loaded face at 940 twips (62.7 px).
// One 4.8 m span with one prop: a post under mid-span, (340 + 4200) twips = 302.7 px, from
// below the slab down to its foot at 330 twips (22 px); none under the quarter point.
TEST_F(MainWindowTest, PropsShowAsPostsUnderTheirSpan) {
  store.nfack = 1;
  store.spv[1] = 4.8f;
  store.konsv = store.konsh = 0.0f;
  store.stamp[1] = 1;
  window->loadCase();
  const QImage img = window->spanPane()->render();
  const int mid = (340 + 4200) / 15;
  const int y = 300 / 15;
  bool ink = false;
  for (int x = mid - 1; x <= mid + 1; ++x) ink = ink || img.pixel(x, y) != qRgb(255, 255, 255);
  EXPECT_TRUE(ink);
  EXPECT_EQ(img.pixel((340 + 2100) / 15, y), qRgb(255, 255, 255));
}

TEST_F(MainWindowTest, LoadBlocksAreToScaleOfTheLargestLoad) {
  store.nfack = 2;
  store.spv[1] = store.spv[2] = 5.0f;
  store.konsv = store.konsh = 0.0f;
  store.flast[1] = 2.0f;
  store.plast[1] = 0.0f;
  store.flast[2] = 3.0f;
  store.plast[2] = 1.0f;
  store.nllast = 0;
  window->loadCase();
  const QImage img = window->loadPane()->render();
  const auto topOfInk = [&img](int x) {
    for (int y = 0; y < img.height(); ++y)
      if (img.pixel(x, y) != qRgb(255, 255, 255)) return y;
    return -1;
  };
  // Middle of span 1: (340 + 2100) twips; middle of span 2: (340 + 6300) twips. Columns
  // between two arrows, so only the block's outline is ink.
  const int top1 = topOfInk((340 + 2100 + 100) / 15);
  const int top2 = topOfInk((340 + 6300 + 100) / 15);
  EXPECT_NEAR(top1, (940 - 400) / 15.0, 1.0);
  EXPECT_NEAR(top2, (940 - 800) / 15.0, 1.0);
}

TEST(LoadArrows, StretchIsDividedIntoWholeSteps) {
  struct Case {
    float length;
    int arrows;
  };
  // int(d / 420 + 0.9) steps and one more arrow. One step from 42 twips, two from 462.
  const Case cases[] = {{4200.0f, 11}, {420.0f, 2}, {463.0f, 3}, {460.0f, 2},
                        {43.0f, 2},    {41.0f, 1},  {0.0f, 1},   {8400.0f, 21}};
  for (const Case& c : cases) {
    const std::vector<float> at = loadArrowPositions(c.length);
    ASSERT_EQ(static_cast<int>(at.size()), c.arrows) << c.length;
    EXPECT_FLOAT_EQ(at.front(), 0.0f);
    if (c.arrows > 1) {
      EXPECT_FLOAT_EQ(at.back(), c.length) << c.length;
    }
  }
}

// Props stand equally spaced in their spans, on the scale of the sketch: 8400 twips / total.
TEST(PropPositions, EquallySpacedInTheirSpans) {
  CaseStore s;
  s.nfack = 2;
  s.spv[1] = 3.0f;
  s.spv[2] = 6.0f;
  s.konsv = 1.0f;  // 10 m in all: 840 twips a metre; span 2 from 3360 to 8400 twips
  s.konsh = 0.0f;
  s.stamp[1] = 0;
  s.stamp[2] = 2;  // at 3360 + 5040/3 = 5040 and 6720
  std::vector<float> xs = propPositions(s);
  ASSERT_EQ(xs.size(), 2u);
  EXPECT_NEAR(xs[0], 5040.0f, 0.01f);
  EXPECT_NEAR(xs[1], 6720.0f, 0.01f);
  s.stamp[2] = 4;  // every 5040/5 = 1008 twips from 3360
  xs = propPositions(s);
  ASSERT_EQ(xs.size(), 4u);
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(xs[k], 3360.0 + 1008.0 * (k + 1), 0.01) << k;
  s.stamp[1] = 1;  // mid-span 1: 840 + 1260 = 2100
  s.stamp[2] = 5;  // outside 0..4: none drawn
  xs = propPositions(s);
  ASSERT_EQ(xs.size(), 1u);
  EXPECT_NEAR(xs[0], 2100.0f, 0.01f);
  s.spv = {};
  s.konsv = 0.0f;
  EXPECT_TRUE(propPositions(s).empty());  // no slab to draw
}

TEST(LargestLineLoad, OnlyLoadsInForceCountAndNothingBelowZero) {
  CaseStore s;
  s.lineLoads[1].lllast = 3.0f;
  s.lineLoads[2].lllast = 7.5f;
  s.lineLoads[3].lllast = 9.0f;  // not in force
  s.nllast = 2;
  EXPECT_FLOAT_EQ(largestLineLoad(s), 7.5f);
  s.nllast = 0;
  EXPECT_FLOAT_EQ(largestLineLoad(s), 0.0f);
  s.nllast = 1;
  s.lineLoads[1].lllast = -4.0f;
  EXPECT_FLOAT_EQ(largestLineLoad(s), 0.0f);
}

void saveRender(QWidget* w, const char* name) {
  QDir().mkpath(QStringLiteral(SOLVO_RENDER_DIR));
  const QString path = QStringLiteral(SOLVO_RENDER_DIR "/%1.png").arg(QLatin1String(name));
  ASSERT_TRUE(w->grab().save(path)) << path.toStdString();
}

TEST_F(MainWindowTest, RendersThreeAndTenSpanCasesAndTheLineLoads) {
  store.nfack = 3;
  store.spv[1] = 4.2f;
  store.spv[2] = 6.0f;
  store.spv[3] = 5.1f;
  store.konsv = 1.2f;
  store.konsh = 0.0f;
  store.plast[1] = store.plast[2] = store.plast[3] = 0.5f;
  store.flast[1] = 2.0f;
  store.flast[2] = 5.0f;
  store.flast[3] = 2.5f;
  store.nllast = 2;
  store.lineLoads[1] = {2, 3.0f, 8.0f};
  store.lineLoads[2] = {3, 1.5f, 4.0f};
  store.upl[1] = 0.12f;
  store.upl[2] = 0.2f;
  window->resize(960, 640);
  window->loadCase();
  saveRender(window.get(), "mdiform1_three_spans");

  store.nfack = 10;
  for (int i = 1; i <= 10; ++i) {
    store.spv[i] = 3.0f + 0.4f * static_cast<float>(i);
    store.flast[i] = i % 2 == 0 ? 5.0f : 2.0f;
    store.upl[i] = 0.1f;
    store.stamp[static_cast<std::size_t>(i)] = static_cast<qint16>(i % 3);
  }
  store.spv[10] = 12.5f;
  store.konsh = 0.8f;
  window->loadCase();
  saveRender(window.get(), "mdiform1_ten_spans");

  window->actions().blin->trigger();
  ASSERT_NE(window->form3(), nullptr);
  saveRender(window.get(), "mdiform1_line_loads");

  QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
  window->showInputForm();
  store.market = 6;
  window->loadCase();
  saveRender(window.get(), "mdiform1_free_market_sv");
}

}  // namespace

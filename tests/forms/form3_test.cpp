// The line-load form, replayed with real keys and clicks.
#include "form3.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTest>
#include <memory>

#include "case_file.h"
#include "form1.h"
#include "layout_sketch.h"
#include "main_window_fixture.h"
#include "mdiform1.h"
#include "text_conv.h"

using namespace solvow;
using namespace solvow::forms;

namespace {

class Form3Test : public MainWindowFixture {
 protected:
  Form3* open() {
    store.changed = false;
    window->actions().blin->trigger();
    Form3* form = window->form3();
    EXPECT_NE(form, nullptr);
    return form;
  }
  QLineEdit* edit(const QString& name) {
    auto* e = window->form3()->findChild<QLineEdit*>(name);
    EXPECT_NE(e, nullptr) << name.toStdString();
    return e;
  }
  QString text(const QString& name) { return edit(name)->text(); }
  static QString at(const char* name, int k) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(k);
  }
  // Types over the field and leaves it for the span number of row 1 (or row 2).
  void enter(const QString& name, const QString& typed) {
    QLineEdit* e = edit(name);
    QTest::mouseClick(e, Qt::LeftButton);
    ASSERT_TRUE(e->hasFocus()) << name.toStdString();
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(e, typed);
    QLineEdit* other = edit(name == QLatin1String("llfnr(1)") ? QStringLiteral("avst(1)")
                                                              : QStringLiteral("llfnr(1)"));
    QTest::mouseClick(other, Qt::LeftButton);
    ASSERT_FALSE(e->hasFocus());
  }
  void clickSpin(const char* button) {
    auto* spin = window->form3()->findChild<QWidget*>(QStringLiteral("Spin1"));
    ASSERT_NE(spin, nullptr);
    QTest::mouseClick(spin->findChild<QWidget*>(QLatin1String(button)), Qt::LeftButton);
  }
};

// A text that is no number is refused: the line load keeps its span, distance and load, and
// the status line says why.
TEST_F(Form3Test, TextThatIsNoNumberIsRefused) {
  store.nllast = 1;
  store.lineLoads[1] = LineLoad{2, 1.5f, 8.0f};
  open();
  const struct {
    const char* field;
    const char* typed;
    const char* shown;
  } rows[] = {{"llfnr(1)", "abc", "2"}, {"avst(1)", "1,5 m", "1.50"}, {"lllast(1)", "x8", "8.00"}};
  for (const auto& r : rows) {
    enter(QLatin1String(r.field), QLatin1String(r.typed));
    EXPECT_EQ(text(QLatin1String(r.field)), QLatin1String(r.shown)) << r.field;
    EXPECT_EQ(store.lineLoads[1], (LineLoad{2, 1.5f, 8.0f})) << r.field;
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("\"%1\" är inget tal. Fältet behåller sitt värde %2.")
                  .arg(QLatin1String(r.typed), QLatin1String(r.shown)))
        << r.field;
  }
}

TEST_F(Form3Test, CaseWithoutLineLoadsShowsRowOne) {
  store.nllast = 0;
  store.diagramEnabled = true;
  open();
  window->updateMenus();
  EXPECT_EQ(text("nllast"), "0");
  EXPECT_FALSE(edit(at("llfnr", 1))->isHidden());
  for (int k = 2; k <= 5; ++k) EXPECT_TRUE(edit(at("avst", k))->isHidden()) << k;
  enter(at("lllast", 1), QStringLiteral("7"));
  EXPECT_FLOAT_EQ(store.lineLoads[1].lllast, 7.0f);
  EXPECT_EQ(store.nllast, 0) << "typed, but not in force";
  // A typed load is a change of the case: the diagram of the last run goes.
  EXPECT_TRUE(store.changed);
  EXPECT_FALSE(window->actions().dia->isEnabled());
}

TEST_F(Form3Test, FieldsStoreWhatTheyShow) {
  struct Case {
    const char* field;
    const char* typed;
    double stored;
    const char* shown;
  };
  const Case cases[] = {
      {"llfnr(2)", "22", 15, "15"},  // cut to 15
      {"llfnr(2)", "2.5", 3, "3"},   // shown as 3, stored as the shown number
      {"avst(1)", "12,5", 12.5, "12.50"},
      {"avst(1)", "0.125", 0.13, "0.13"},
      {"lllast(1)", "1500", 1500, "1500.00"},  // no grouping: reads back as 1500
  };
  store.nllast = 2;
  open();
  for (const Case& c : cases) {
    enter(QLatin1String(c.field), QLatin1String(c.typed));
    const QString name = QLatin1String(c.field);
    const int k = name.at(name.size() - 2).digitValue();
    const LineLoad& load = store.lineLoads[static_cast<std::size_t>(k)];
    const double got = name.startsWith(QLatin1String("llfnr"))  ? load.llfnr
                       : name.startsWith(QLatin1String("avst")) ? static_cast<double>(load.avst)
                                                                : static_cast<double>(load.lllast);
    EXPECT_FLOAT_EQ(static_cast<float>(got), static_cast<float>(c.stored))
        << c.field << " " << c.typed;
    EXPECT_EQ(text(name), QLatin1String(c.shown)) << c.field << " " << c.typed;
  }
}

TEST_F(Form3Test, SwedishLocaleShowsDecimalCommaAndReadsItBack) {
  QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
  store.nllast = 1;
  open();
  enter(QStringLiteral("avst(1)"), QStringLiteral("12,5"));
  enter(QStringLiteral("lllast(1)"), QStringLiteral("1500"));
  EXPECT_FLOAT_EQ(store.lineLoads[1].avst, 12.5f);
  EXPECT_EQ(text("avst(1)"), "12,50");
  EXPECT_EQ(text("lllast(1)"), "1500,00");
  // Editing the shown load without changing its number keeps 1500.
  QLineEdit* load = edit(QStringLiteral("lllast(1)"));
  QTest::mouseClick(load, Qt::LeftButton);
  QTest::keyClick(load, Qt::Key_End);
  QTest::keyClicks(load, QStringLiteral("0"));  // "1500,000"
  QTest::mouseClick(edit(QStringLiteral("llfnr(1)")), Qt::LeftButton);
  EXPECT_FLOAT_EQ(store.lineLoads[1].lllast, 1500.0f);
}

TEST_F(Form3Test, SpinnerKeepsLoadOneThroughZero) {
  store.nllast = 1;
  store.lineLoads[1] = {2, 1.25f, 9.5f};
  open();
  clickSpin("down");
  EXPECT_EQ(store.nllast, 0);
  EXPECT_EQ(text("nllast"), "0");
  EXPECT_FALSE(edit(at("llfnr", 1))->isHidden());
  EXPECT_EQ(text("llfnr(1)"), "0");
  EXPECT_EQ(text("avst(1)"), "0.00");
  EXPECT_EQ(text("lllast(1)"), "0.00");
  EXPECT_EQ(store.lineLoads[1].llfnr, 2);
  EXPECT_FLOAT_EQ(store.lineLoads[1].avst, 1.25f);
  EXPECT_FLOAT_EQ(store.lineLoads[1].lllast, 9.5f);
  EXPECT_TRUE(store.changed);

  clickSpin("down");  // at 0: nothing
  EXPECT_EQ(store.nllast, 0);

  clickSpin("up");
  EXPECT_EQ(store.nllast, 1);
  EXPECT_EQ(text("llfnr(1)"), "2");
  EXPECT_EQ(text("avst(1)"), "1.25");
  EXPECT_EQ(text("lllast(1)"), "9.50");
}

TEST_F(Form3Test, SpinnerStopsAtFiveAndShowsTheRowsInForce) {
  store.nllast = 3;
  store.lineLoads[4] = {1, 0.5f, 4.0f};
  open();
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(edit(at("lllast", k))->isHidden(), k > 3) << k;
  clickSpin("up");
  EXPECT_EQ(text("lllast(4)"), "4.00");
  clickSpin("up");
  EXPECT_EQ(store.nllast, 5);
  clickSpin("up");
  EXPECT_EQ(store.nllast, 5);
  EXPECT_EQ(text("nllast"), "5");
  clickSpin("down");
  clickSpin("down");
  EXPECT_EQ(store.nllast, 3);
  EXPECT_TRUE(edit(at("llfnr", 4))->isHidden());
  EXPECT_TRUE(edit(at("llfnr", 5))->isHidden());
  EXPECT_FALSE(edit(at("llfnr", 3))->isHidden());
}

// Spans of 5 m and 5 m, no distributed load, one line load of 10 kN/m in span 2 at 2.5 m:
// x = 8400 / 10 * (5 + 2.5) = 6300 twips from the slab's start, 6640 twips in the pane
// (442.7 px); the arrow is 800 twips long, from 140 to 940 twips (9.3 to 62.7 px).
TEST_F(Form3Test, LineLoadIsDrawnAtItsPlace) {
  store.nfack = 2;
  store.spv[1] = store.spv[2] = 5.0f;
  store.konsv = store.konsh = 0.0f;
  store.flast[1] = store.flast[2] = 0.0f;
  store.plast[1] = store.plast[2] = 0.0f;
  store.nllast = 1;
  store.lineLoads[1] = {1, 0.0f, 10.0f};
  window->loadCase();
  open();
  enter(QStringLiteral("llfnr(1)"), QStringLiteral("2"));
  enter(QStringLiteral("avst(1)"), QStringLiteral("2.5"));
  const QImage img = window->loadPane()->render();
  const auto inkAt = [&img](int x, int y) { return img.pixel(x, y) != qRgb(255, 255, 255); };
  int column = -1;
  for (int x = 438; x <= 447 && column < 0; ++x)
    if (inkAt(x, 30)) column = x;
  ASSERT_GE(column, 0) << "no arrow near x = 442";
  // The first inked column is the left edge of the 2-pixel pen centred on 442.7 px.
  EXPECT_NEAR(column, 442.7 - 1.0, 1.0);
  EXPECT_TRUE(inkAt(column, 12));
  EXPECT_FALSE(inkAt(column, 6)) << "the arrow starts at 9.3 px";
  // Nothing where the load stood before (span 1 at 0 m: x = 340 twips = 22.7 px).
  for (int y = 12; y < 55; ++y) EXPECT_FALSE(inkAt(23, y)) << y;
}

TEST_F(Form3Test, LayoutReturnsToTheInputForm) {
  Form3* form = open();
  ASSERT_NE(form, nullptr);
  form->layoutAction()->trigger();
  QApplication::processEvents();
  EXPECT_EQ(window->form3(), nullptr);
  EXPECT_EQ(window->mdiArea()->activeSubWindow()->widget(), window->form1());
  // Opening it again shows the stored loads.
  store.nllast = 2;
  store.lineLoads[2] = {3, 4.0f, 6.0f};
  open();
  EXPECT_EQ(text("avst(2)"), "4.00");
}

}  // namespace

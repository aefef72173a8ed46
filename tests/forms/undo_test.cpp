// Undo and redo of the case on the input form and the line-load form, and the keys of the
// menu entries, replayed with real keys and clicks.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "form1.h"
#include "form3.h"
#include "main_window_fixture.h"
#include "mdiform1.h"

using namespace solvow;
using namespace solvow::forms;

namespace {

class UndoTest : public MainWindowFixture {
 protected:
  // Sweden, "B-Kontor" (2.50 kN/m2 in every span), three spans of 4.8, 6.0, 4.8 m.
  void prepareCase() override {
    store.market = 1;
    store.lokt = 2;
    fillImposedLoads(store);
    store.nfack = 3;
    store.spv[1] = 4.8f;
    store.spv[2] = 6.0f;
    store.spv[3] = 4.8f;
  }

  QLineEdit* edit(const QString& name) { return find<QLineEdit>(name); }
  QString text(const QString& name) { return edit(name)->text(); }
  static QString at(const char* name, int i) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
  }
  void typeInto(QLineEdit* e, const QString& typed) {
    QTest::mouseClick(e, Qt::LeftButton);
    ASSERT_TRUE(e->hasFocus()) << e->objectName().toStdString();
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(e, typed);
  }
  void enter(const QString& name, const QString& typed) {
    typeInto(edit(name), typed);
    QTest::mouseClick(edit(QStringLiteral("rubrik")), Qt::LeftButton);
  }
  // The keys go to whatever has the focus, as the user's would.
  void key(Qt::Key k) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : window.get(), k, Qt::ControlModifier);
  }
  void undo() { key(Qt::Key_Z); }
  void redo() { key(Qt::Key_Y); }
  void clickFlag() {
    QTest::mouseClick(find<QToolButton>(QStringLiteral("Flagga(%1)").arg(window->visibleFlag())),
                      Qt::LeftButton);
  }
};

TEST_F(UndoTest, SpanCopiedToLaterSpansComesBackInOneStep) {
  enter(at("spv", 2), QStringLiteral("6.2"));
  ASSERT_EQ(text(at("spv", 3)), QStringLiteral("6.20"));  // the copy to the later span
  store.changed = false;
  store.diagramEnabled = true;
  window->updateMenus();

  undo();
  EXPECT_EQ(text(at("spv", 2)), QStringLiteral("6.00"));
  EXPECT_EQ(text(at("spv", 3)), QStringLiteral("4.80"));
  EXPECT_EQ(store.spv[2], 6.0f);
  EXPECT_EQ(store.spv[3], 4.8f);
  EXPECT_TRUE(store.changed);
  EXPECT_FALSE(window->actions().dia->isEnabled());
  EXPECT_FALSE(window->actions().angra->isEnabled());
  EXPECT_TRUE(window->actions().gorom->isEnabled());

  redo();
  EXPECT_EQ(text(at("spv", 2)), QStringLiteral("6.20"));
  EXPECT_EQ(text(at("spv", 3)), QStringLiteral("6.20"));
  EXPECT_EQ(store.spv[3], 6.2f);
}

TEST_F(UndoTest, MarketChangeAndItsPresetsAreUndoneTogether) {
  ASSERT_EQ(text(at("flast", 1)), QStringLiteral("2.50"));
  clickFlag();  // Sweden -> Norway: 3.0 kN/m2 for offices
  ASSERT_EQ(store.market, 3);
  EXPECT_EQ(text(at("flast", 1)), QStringLiteral("3.00"));
  EXPECT_EQ(text(at("flast", 3)), QStringLiteral("3.00"));
  EXPECT_EQ(store.flast[2], 3.0f);

  undo();
  EXPECT_EQ(store.market, 1);
  EXPECT_EQ(window->visibleFlag(), flagOfMarket(1));
  EXPECT_FALSE(find<QWidget>(QLatin1String(marketInfo(1).frame))->isHidden());
  EXPECT_TRUE(find<QWidget>(QLatin1String(marketInfo(3).frame))->isHidden());
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(text(at("flast", i)), QStringLiteral("2.50")) << i;
    EXPECT_EQ(store.flast[static_cast<std::size_t>(i)], 2.5f) << i;
  }
  redo();
  EXPECT_EQ(store.market, 3);
  EXPECT_EQ(text(at("flast", 2)), QStringLiteral("3.00"));
}

TEST_F(UndoTest, ListPickOptionAndSpinnerAreOneStepEach) {
  auto* btg = find<QComboBox>(QStringLiteral("btg"));
  const qint16 oldBtg = store.btg;
  const qint16 oldKomb = store.lastkomb;
  btg->setFocus();
  QTest::keyClick(btg, Qt::Key_Down);  // a list pick by key
  ASSERT_EQ(store.btg, oldBtg + 1);
  const int optionK = oldKomb == 1 ? 2 : 1;
  QTest::mouseClick(find<QRadioButton>(at("lastkomb", optionK)), Qt::LeftButton);
  ASSERT_EQ(store.lastkomb, optionK);
  QTest::mouseClick(
      find<QWidget>(QStringLiteral("Spin1"))->findChild<QWidget*>(QStringLiteral("up")),
      Qt::LeftButton);
  ASSERT_EQ(store.nfack, 4);
  ASSERT_FALSE(edit(at("spv", 4))->isHidden());

  undo();
  EXPECT_EQ(store.nfack, 3);
  EXPECT_EQ(text(QStringLiteral("nfack")), QStringLiteral("3"));
  EXPECT_TRUE(edit(at("spv", 4))->isHidden());
  EXPECT_EQ(store.lastkomb, optionK);
  undo();
  EXPECT_EQ(store.lastkomb, oldKomb);
  EXPECT_TRUE(find<QRadioButton>(at("lastkomb", oldKomb))->isChecked());
  EXPECT_EQ(store.btg, oldBtg + 1);
  undo();
  EXPECT_EQ(store.btg, oldBtg);
  EXPECT_EQ(btg->currentIndex(), oldBtg - 1);
  EXPECT_FALSE(window->actions().angra->isEnabled());
}

// The largest crack width: a typed value and a class picked from the list are one step each,
// and the list shows the class of the value undone to.
TEST_F(UndoTest, CrackWidthTypedAndPickedAreOneStepEach) {
  ASSERT_FLOAT_EQ(store.sprickbredd, 0.4f);
  auto* classes = find<QComboBox>(QStringLiteral("exponering"));
  ASSERT_EQ(classes->currentIndex(), 0);  // X0/XC1
  enter(QStringLiteral("sprickbredd"), QStringLiteral("0.2"));
  ASSERT_FLOAT_EQ(store.sprickbredd, 0.2f);
  classes->setFocus();
  QTest::qWait(QApplication::keyboardInputInterval() + 20);
  // One key, one pick: "Ingen" is the only class starting with I (typing "XC2" would pick
  // X0/XC1 on its way, a step of its own).
  QTest::keyClick(classes, Qt::Key_I);
  ASSERT_FLOAT_EQ(store.sprickbredd, 0.0f);

  undo();
  EXPECT_FLOAT_EQ(store.sprickbredd, 0.2f);
  EXPECT_EQ(text(QStringLiteral("sprickbredd")), QStringLiteral("0.20"));
  EXPECT_EQ(classes->currentIndex(), -1);
  undo();
  EXPECT_FLOAT_EQ(store.sprickbredd, 0.4f);
  EXPECT_EQ(text(QStringLiteral("sprickbredd")), QStringLiteral("0.40"));
  EXPECT_EQ(classes->currentIndex(), 0);
  redo();
  EXPECT_FLOAT_EQ(store.sprickbredd, 0.2f);
  redo();
  EXPECT_FLOAT_EQ(store.sprickbredd, 0.0f);
  EXPECT_EQ(classes->currentIndex(), 2);
}

// A spinner step is stored at once, so the box has no typing of its own to take back: the
// keys of undo and redo typed in it belong to the case, as in a text field.
TEST_F(UndoTest, PropsStepIsUndoneByTheKeysTypedInItsSpinner) {
  auto* spin = find<QSpinBox>(at("stamp", 2));
  spin->setFocus();
  ASSERT_TRUE(spin->hasFocus());
  QTest::keyClick(spin, Qt::Key_Up);  // one prop in span 2, copied to span 3
  ASSERT_EQ(store.stamp[2], 1);
  ASSERT_EQ(store.stamp[3], 1);

  undo();
  EXPECT_EQ(store.stamp[2], 0);
  EXPECT_EQ(store.stamp[3], 0);
  EXPECT_EQ(spin->value(), 0);
  EXPECT_EQ(find<QSpinBox>(at("stamp", 3))->value(), 0);
  redo();
  EXPECT_EQ(store.stamp[3], 1);
  EXPECT_EQ(spin->value(), 1);
  undo();
  ASSERT_EQ(store.stamp[2], 0);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z,
                  Qt::ControlModifier | Qt::ShiftModifier);  // the platform's own redo key
  EXPECT_EQ(store.stamp[2], 1);
}

TEST_F(UndoTest, UndoWhileTypingStoresTheFieldThenTakesItBack) {
  enter(QStringLiteral("konsv"), QStringLiteral("1.2"));
  typeInto(edit(QStringLiteral("konsh")), QStringLiteral("0.8"));
  undo();  // the typed 0.8 is stored as a step and undone at once
  EXPECT_EQ(store.konsh, 0.0f);
  EXPECT_EQ(text(QStringLiteral("konsh")), QStringLiteral("0.00"));
  EXPECT_EQ(store.konsv, 1.2f);
  undo();
  EXPECT_EQ(store.konsv, 0.0f);
}

TEST_F(UndoTest, TheHeadingIsOneStepWhenLeft) {
  const QString old = store.rubrik;
  enter(QStringLiteral("rubrik"), QStringLiteral("Kontor plan 3"));
  QTest::mouseClick(edit(QStringLiteral("konsv")), Qt::LeftButton);  // leaves the heading
  ASSERT_EQ(store.rubrik, QStringLiteral("Kontor plan 3"));
  undo();
  EXPECT_EQ(store.rubrik, old);
  EXPECT_EQ(text(QStringLiteral("rubrik")), old);
}

TEST_F(UndoTest, LineLoadFormUndoesItsOwnFields) {
  window->actions().blin->trigger();
  Form3* form = window->form3();
  ASSERT_NE(form, nullptr);
  QTest::mouseClick(
      form->findChild<QWidget*>(QStringLiteral("Spin1"))->findChild<QWidget*>(QStringLiteral("up")),
      Qt::LeftButton);
  ASSERT_EQ(store.nllast, 1);
  auto* load = form->findChild<QLineEdit*>(QStringLiteral("lllast(1)"));
  typeInto(load, QStringLiteral("12"));
  QTest::mouseClick(form->findChild<QLineEdit*>(QStringLiteral("avst(1)")), Qt::LeftButton);
  ASSERT_EQ(store.lineLoads[1].lllast, 12.0f);

  undo();
  EXPECT_EQ(store.lineLoads[1].lllast, 0.0f);
  EXPECT_EQ(load->text(), QStringLiteral("0.00"));
  undo();
  EXPECT_EQ(store.nllast, 0);
  EXPECT_EQ(form->findChild<QLineEdit*>(QStringLiteral("nllast"))->text(), QStringLiteral("0"));
  redo();
  redo();
  EXPECT_EQ(store.nllast, 1);
  EXPECT_EQ(load->text(), QStringLiteral("12.00"));
}

TEST_F(UndoTest, ReadingACaseForgetsTheHistory) {
  enter(at("ptjl", 1), QStringLiteral("0.2"));
  ASSERT_TRUE(window->actions().angra->isEnabled());
  window->loadCase();  // what New and Open end with
  EXPECT_FALSE(window->actions().angra->isEnabled());
  EXPECT_FALSE(window->actions().gorom->isEnabled());
  const float thickness = store.ptjl[1];
  undo();
  EXPECT_EQ(store.ptjl[1], thickness);
}

TEST_F(UndoTest, AChangeMadeElsewhereIsOneUndoableStep) {
  // As a design applied to the case from outside the forms.
  store.ptjl[1] = store.ptjl[2] = store.ptjl[3] = 0.22f;
  window->applyCaseChange();
  EXPECT_EQ(text(at("ptjl", 2)), QStringLiteral("0.220"));
  undo();
  EXPECT_EQ(store.ptjl[2], 0.16f);  // the default case's thickness
  EXPECT_EQ(text(at("ptjl", 2)), QStringLiteral("0.160"));
}

TEST_F(UndoTest, MenuEntriesCarryThePlatformKeys) {
  const MDIForm1::Actions& a = window->actions();
  EXPECT_EQ(a.n->shortcut(), QKeySequence(QKeySequence::New));
  EXPECT_EQ(a.op->shortcut(), QKeySequence(QKeySequence::Open));
  EXPECT_EQ(a.spar->shortcut(), QKeySequence(QKeySequence::Save));
  EXPECT_EQ(a.sut->shortcut(), QKeySequence(QKeySequence::Print));
  EXPECT_EQ(a.start->shortcut(), QKeySequence(Qt::Key_F5));
  EXPECT_EQ(a.angra->shortcut(), QKeySequence(QKeySequence::Undo));
  EXPECT_EQ(a.gorom->shortcut(), QKeySequence(Qt::ControlModifier | Qt::Key_Y));
  // "Redigera" stands right after "Arkiv".
  const QList<QAction*> bar = window->menuBar()->actions();
  ASSERT_GE(bar.size(), 2);
  EXPECT_EQ(bar[0]->text(), QStringLiteral("&Arkiv"));
  EXPECT_EQ(bar[1]->text(), QStringLiteral("&Redigera"));

  struct KeyCase {
    QAction* action;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
  };
  const KeyCase keys[] = {{a.n, Qt::Key_N, Qt::ControlModifier},
                          {a.op, Qt::Key_O, Qt::ControlModifier},
                          {a.spar, Qt::Key_S, Qt::ControlModifier},
                          {a.sut, Qt::Key_P, Qt::ControlModifier},
                          {a.start, Qt::Key_F5, Qt::NoModifier}};
  // From every kind of control of the input form that takes the focus.
  const QString focused[] = {QStringLiteral("rubrik"), at("spv", 1), at("stamp", 1),
                             QStringLiteral("btg"), at("lastkomb", 1)};
  for (const QString& name : focused) {
    auto* target = find<QWidget>(name);
    target->setFocus();
    ASSERT_TRUE(target->hasFocus()) << name.toStdString();
    for (const KeyCase& k : keys) {
      QSignalSpy spy(k.action, &QAction::triggered);
      QTest::keyClick(target, k.key, k.modifiers);
      EXPECT_EQ(spy.count(), 1) << k.action->text().toStdString() << " in " << name.toStdString();
    }
  }
}

}  // namespace

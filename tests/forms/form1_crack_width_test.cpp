// The largest crack width on the input form: the field "Sprickbredd max (mm)" and the list of
// exposure classes beside it, replayed with real keys and clicks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "main_window_fixture.h"
#include "mdiform1.h"

using namespace solvow;
using namespace solvow::forms;

namespace {

class CrackWidthField : public MainWindowFixture {
 protected:
  QLineEdit* field() { return find<QLineEdit>(QStringLiteral("sprickbredd")); }
  QComboBox* classes() { return find<QComboBox>(QStringLiteral("exponering")); }

  void enter(const QString& typed) {
    QLineEdit* e = field();
    QTest::mouseClick(e, Qt::LeftButton);
    ASSERT_TRUE(e->hasFocus());
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(e, typed);
    QTest::mouseClick(find<QLineEdit>(QStringLiteral("rubrik")), Qt::LeftButton);
  }
  void pick(const QString& keys) {
    QComboBox* box = classes();
    box->setFocus();
    QTest::qWait(QApplication::keyboardInputInterval() + 20);
    QTest::keyClicks(box, keys);
  }
  void reload(float wmax) {
    store.sprickbredd = wmax;
    window->loadCase();
    store.changed = false;
  }
};

// The exposure classes of the list and the value each gives; another value shows no class.
TEST_F(CrackWidthField, TheCaseShowsItsValueAndItsClass) {
  struct Case {
    float wmax;
    const char* shown;
    int position;
  };
  const Case cases[] = {
      {0.4f, "0.40", 0}, {0.3f, "0.30", 1}, {0.0f, "0.00", 2}, {0.25f, "0.25", -1}};
  for (const Case& c : cases) {
    reload(c.wmax);
    EXPECT_EQ(field()->text(), QLatin1String(c.shown)) << c.wmax;
    EXPECT_EQ(classes()->currentIndex(), c.position) << c.wmax;
    EXPECT_FALSE(store.changed) << "filling the form is no edit";
  }
}

// A pick fills the field and is an edit: the case is changed and has no diagram.
TEST_F(CrackWidthField, AClassPickedFillsTheValue) {
  reload(0.4f);
  store.diagramEnabled = true;
  pick(QStringLiteral("XC2"));
  EXPECT_FLOAT_EQ(store.sprickbredd, 0.3f);
  EXPECT_EQ(field()->text(), "0.30");
  EXPECT_TRUE(store.changed);
  EXPECT_FALSE(store.diagramEnabled);
  pick(QStringLiteral("Ingen"));
  EXPECT_FLOAT_EQ(store.sprickbredd, 0.0f);
  EXPECT_EQ(field()->text(), "0.00");
}

// A typed value of 0 to 1 mm is stored and the list follows it; anything else keeps the value
// stored, which the field shows again.
TEST_F(CrackWidthField, ATypedValueFrom0To1MmIsStored) {
  struct Case {
    const char* typed;
    float stored;
    const char* shown;
    int position;
  };
  const Case cases[] = {{"0.2", 0.2f, "0.20", -1},  {"1.5", 0.2f, "0.20", -1},
                        {"-0.1", 0.2f, "0.20", -1}, {"0.4", 0.4f, "0.40", 0},
                        {"1", 1.0f, "1.00", -1},    {"0", 0.0f, "0.00", 2},
                        {"abc", 0.0f, "0.00", 2}};
  reload(0.4f);
  for (const Case& c : cases) {
    enter(QLatin1String(c.typed));
    EXPECT_FLOAT_EQ(store.sprickbredd, c.stored) << c.typed;
    EXPECT_EQ(field()->text(), QLatin1String(c.shown)) << c.typed;
    EXPECT_EQ(classes()->currentIndex(), c.position) << c.typed;
  }
  EXPECT_TRUE(store.changed);
}

}  // namespace

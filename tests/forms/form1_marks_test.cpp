// What the input form shows of its own rules: the copy to later spans, the heading cut in the
// report, and the order of the Tab key. Real keys and clicks on the real form.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPalette>
#include <QStatusBar>
#include <QTest>

#include "form1.h"
#include "main_window_fixture.h"
#include "mdiform1.h"

using namespace solvow;
using namespace solvow::forms;

namespace {

class Form1Marks : public MainWindowFixture {
 protected:
  // Valfri last, four spans of 4.8, 6.0, 4.8, 6.2 m.
  void prepareCase() override {
    store.lokt = 0;
    store.nfack = 4;
    store.spv[1] = 4.8f;
    store.spv[2] = 6.0f;
    store.spv[3] = 4.8f;
    store.spv[4] = 6.2f;
    store.upl = {0.0f, 0.1f, 0.1f, 0.1f, 0.0f};
  }
  QLineEdit* edit(const QString& name) { return find<QLineEdit>(name); }
  static QString at(const char* name, int i) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
  }
  void enter(const QString& name, const QString& typed) {
    QLineEdit* e = edit(name);
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(e, typed);
    QTest::mouseClick(edit(QStringLiteral("rubrik")), Qt::LeftButton);
  }
  QString status() { return window->statusBar()->currentMessage(); }
  // Tinted through the palette: the field keeps no style sheet of its own, so it keeps the
  // form's font and text room.
  static bool tinted(QLineEdit* e) {
    EXPECT_TRUE(e->styleSheet().isEmpty()) << e->objectName().toStdString();
    return e->palette().color(QPalette::Base) == QColor(0xff, 0xf0, 0xa0);
  }
};

TEST_F(Form1Marks, FieldsTheCopyChangedAreTintedUntilTheNextEdit) {
  enter(at("spv", 2), QStringLiteral("6.2"));
  // 4.80 / 6.20 / 6.20 / 6.20: span 3 took the value; span 4 held it already.
  EXPECT_EQ(edit(at("spv", 3))->text(), QStringLiteral("6.20"));
  EXPECT_FALSE(tinted(edit(at("spv", 1))));
  EXPECT_FALSE(tinted(edit(at("spv", 2))));
  EXPECT_TRUE(tinted(edit(at("spv", 3))));
  EXPECT_FALSE(tinted(edit(at("spv", 4))));
  EXPECT_EQ(status(), QStringLiteral("Värdet kopierades även till fack 3."));

  // The next edit takes the tint away.
  QTest::mouseClick(edit(QStringLiteral("konsv")), Qt::LeftButton);
  QTest::keyClicks(edit(QStringLiteral("konsv")), QStringLiteral("1"));
  EXPECT_FALSE(tinted(edit(at("spv", 3))));

  // Supports are numbered from 1 at the left end: field upl(1) is support 2.
  enter(at("upl", 1), QStringLiteral("0.2"));
  EXPECT_TRUE(tinted(edit(at("upl", 2))));
  EXPECT_TRUE(tinted(edit(at("upl", 3))));
  EXPECT_FALSE(tinted(edit(at("upl", 4))));  // the last support stays 0
  EXPECT_EQ(status(), QStringLiteral("Värdet kopierades även till stöd 3, 4."));
}

// A field that took a copy keeps the font and the text room of its neighbours: "0.150" is
// shown whole.
TEST_F(Form1Marks, ACopiedValueIsShownInTheFormsFontAndWhole) {
  enter(at("upl", 1), QStringLiteral("0.15"));
  QLineEdit* copied = edit(at("upl", 2));
  QLineEdit* own = edit(at("upl", 1));
  ASSERT_TRUE(tinted(copied));
  EXPECT_EQ(copied->text(), QStringLiteral("0.150"));
  EXPECT_EQ(QFontInfo(copied->font()).pixelSize(), QFontInfo(own->font()).pixelSize());
  EXPECT_EQ(copied->font(), own->font());
  const QImage shown = copied->grab().toImage();
  EXPECT_FALSE(shown.isNull());
  EXPECT_LE(copied->fontMetrics().horizontalAdvance(copied->text()),
            copied->contentsRect().width());
}

// Undo takes the copy back, and its note leaves the status line with it.
TEST_F(Form1Marks, TheCopyNoteGoesWithUndo) {
  enter(at("spv", 2), QStringLiteral("6.2"));
  ASSERT_EQ(status(), QStringLiteral("Värdet kopierades även till fack 3."));
  window->actions().angra->trigger();
  EXPECT_EQ(edit(at("spv", 3))->text(), QStringLiteral("4.80"));
  EXPECT_FALSE(tinted(edit(at("spv", 3))));
  EXPECT_EQ(status(), QString());
}

// Opening "Arkiv" stores the field being edited but leaves a window in front where it is.
TEST_F(Form1Marks, OpeningArkivLeavesTheWindowInFrontInFront) {
  QLineEdit* span = edit(at("spv", 1));
  QTest::mouseClick(span, Qt::LeftButton);
  QTest::keyClick(span, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(span, QStringLiteral("5.1"));
  auto* ark = find<QMenu>(QStringLiteral("ark"));
  emit ark->aboutToShow();
  EXPECT_FLOAT_EQ(store.spv[1], 5.1f);  // stored as leaving the field would

  auto* diagram = new QWidget;
  diagram->setObjectName(QStringLiteral("Momkurva"));
  QMdiSubWindow* front = window->mdiArea()->addSubWindow(diagram);
  front->showMaximized();
  window->mdiArea()->setActiveSubWindow(front);
  ASSERT_EQ(window->mdiArea()->activeSubWindow(), front);
  emit ark->aboutToShow();
  QApplication::processEvents();
  EXPECT_EQ(window->mdiArea()->activeSubWindow(), front);
  EXPECT_TRUE(diagram->isVisible());
}

TEST_F(Form1Marks, TheFortyFirstCharacterOfTheHeadingIsMarked) {
  QLineEdit* heading = edit(QStringLiteral("rubrik"));
  QTest::mouseClick(heading, Qt::LeftButton);
  QTest::keyClick(heading, Qt::Key_A, Qt::ControlModifier);
  const QString forty = QStringLiteral("Kontor plan 3, bjalklag over garage, A-B");
  ASSERT_EQ(forty.size(), 40);
  QTest::keyClicks(heading, forty);
  EXPECT_TRUE(heading->styleSheet().isEmpty());
  EXPECT_TRUE(heading->toolTip().isEmpty());
  QTest::keyClicks(heading, QStringLiteral("x"));
  EXPECT_FALSE(heading->styleSheet().isEmpty());
  const QString note =
      QStringLiteral("Rapporten visar de första 40 tecknen av rubriken: \"%1\"").arg(forty);
  EXPECT_EQ(heading->toolTip(), note);
  EXPECT_EQ(status(), note);
  QTest::keyClick(heading, Qt::Key_Backspace);
  EXPECT_TRUE(heading->styleSheet().isEmpty());
  EXPECT_TRUE(heading->toolTip().isEmpty());
}

TEST_F(Form1Marks, TabGoesAlongEachRowOfTheGridThenThroughTheFrames) {
  window->loadCase();
  QTest::mouseClick(edit(QStringLiteral("rubrik")), Qt::LeftButton);
  QStringList seen;
  for (int k = 0; k < 22; ++k) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    seen << QApplication::focusWidget()->objectName();
  }
  // Spans 1..4, thicknesses, the supports between the spans (the end supports are 0 and
  // cannot be edited), permanent loads, loads, the cantilevers, then the load frame (its
  // factor fields are disabled outside the free market).
  const QStringList want{"spv(1)",   "spv(2)",   "spv(3)",   "spv(4)",   "ptjl(1)",  "ptjl(2)",
                         "ptjl(3)",  "ptjl(4)",  "upl(1)",   "upl(2)",   "upl(3)",   "plast(1)",
                         "plast(2)", "plast(3)", "plast(4)", "flast(1)", "flast(2)", "flast(3)",
                         "flast(4)", "konsv",    "konsh",    "lokt"};
  EXPECT_EQ(seen.mid(0, want.size()), want);
}

}  // namespace

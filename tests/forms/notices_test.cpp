#include "notices.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "modal_script.h"

namespace solvow::forms {
namespace {

using test::ModalScript;

QStringList labelTexts(QWidget* w) {
  QStringList out;
  for (QLabel* l : w->findChildren<QLabel*>()) out << l->text();
  return out;
}

// Clicks the box of a check box, as a user aims at it.
void tickBox(QCheckBox* box) {
  QStyleOptionButton option;
  option.initFrom(box);
  const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
  QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}

class ChangeNoticeTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  FileTable files;
  QByteArray version() const {
    QFile f(dir.filePath(QStringLiteral("solvo.ver")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  // One start-up's notice step; `tick` says whether the user ticks the box before "OK".
  bool start(bool tick) {
    ModalScript script{[tick](QWidget* w) {
      auto* notice = qobject_cast<Form10*>(w);
      ASSERT_NE(notice, nullptr);
      if (tick) tickBox(notice->check1());
      QTest::mouseClick(notice->okButton(), Qt::LeftButton);
    }};
    return showChangeNoticeIfDue(files, dir.path(), {}, nullptr);
  }
};

// 7.1 as a single-precision number is 0x40E33333, lowest byte first.
const QByteArray kVersion71("\x33\x33\xE3\x40", 4);

TEST_F(ChangeNoticeTest, FirstStartShowsItAndTickingTheBoxHidesItForGood) {
  EXPECT_TRUE(start(true));
  EXPECT_EQ(version(), kVersion71);
  ModalScript none;  // the next start shows nothing
  EXPECT_FALSE(showChangeNoticeIfDue(files, dir.path(), {}, nullptr));
}

TEST_F(ChangeNoticeTest, WithoutTheTickItComesBackNextTime) {
  EXPECT_TRUE(start(false));
  EXPECT_EQ(version(), QByteArray());  // created empty by the byte-wise open
  EXPECT_TRUE(start(false));
}

TEST(Notices, Form10Texts) {
  Form10 notice;
  const QStringList texts = labelTexts(&notice);
  for (const char* want :
       {"FÖRÄNDRINGAR i denna version:", "1. Diverse smärre justeringar och förtydligande",
        "Fjalvik Solvodeck ver 7.10"})
    EXPECT_TRUE(texts.contains(QString::fromUtf8(want))) << want;
  EXPECT_EQ(notice.check1()->objectName(), QStringLiteral("Check1"));
  EXPECT_EQ(notice.check1()->text(), QStringLiteral("Visa inte detta nästa gång"));
  EXPECT_EQ(notice.okButton()->text(), QStringLiteral("OK"));
  notice.show();
  test::render(&notice, QStringLiteral("form10"));
}

TEST(Notices, Form9TextsAndItsButtonCloses) {
  Form9 notice;
  const QStringList texts = labelTexts(&notice);
  EXPECT_TRUE(texts.contains(QStringLiteral("Fjalvik Solvodeck ver 7.10")));
  EXPECT_TRUE(texts.contains(QStringLiteral(
      "OBS! Beräkningen anger armering endast i bjälklagsfält och innerstöd med avseende på "
      "bärförmåga för angivna laster. Annan erforderlig armering för sprickfördelning, "
      "inspänning, kantarmering eller för totalstabilitet redovisas ej.")));
  EXPECT_TRUE(texts.contains(QStringLiteral(
      "I detta program finns vissa begränsningar inbyggda som gör att storheter utanför vissa "
      "gränser inte accepteras. Det har dock inte varit möjligt att begränsa de kombinationer "
      "av indata som är olämpliga men ändå kan ge ett svar av datorn. Användare av programmet "
      "måste därför själv ansvara för att använda programmet med ett ingenjörsmässigt omdöme.")));
  notice.show();
  test::render(&notice, QStringLiteral("form9"));
  QTest::mouseClick(notice.okButton(), Qt::LeftButton);
  EXPECT_FALSE(notice.isVisible());
}

}  // namespace
}  // namespace solvow::forms

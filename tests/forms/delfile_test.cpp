#include "delfile.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "modal_script.h"

namespace solvow::forms {
namespace {

using test::boxText;
using test::clickText;
using test::ModalScript;

class DelFileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  FileDialogState state;

  void SetUp() override { state.lastFolder = dir.path() + u'/'; }
  void touch(const QString& name) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  QStringList onDisk() const {
    QStringList names = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    return names;
  }
  std::unique_ptr<DelFile> open(const QString& patterns) {
    auto d = std::make_unique<DelFile>(state);
    d->setPattern(patterns);
    d->setWindowTitle(QStringLiteral("Ta bort Filer"));
    d->show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(d.get()));
    return d;
  }
  static void select(DelFile& d, int row) {
    QListWidget* list = d.lists()->files();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
  }
  static void remove(DelFile& d) { QTest::mouseClick(d.button(0), Qt::LeftButton); }
};

TEST_F(DelFileTest, OpensInTheRememberedFolderWithBekrTicked) {
  touch(QStringLiteral("A.RES"));
  touch(QStringLiteral("B.IND"));
  touch(QStringLiteral("c.txt"));
  auto d = std::make_unique<DelFile>(state);
  d->bekr()->setChecked(false);
  d->setPattern(QStringLiteral("*.IND;*.RES"));
  d->show();
  EXPECT_TRUE(d->bekr()->isChecked());
  EXPECT_EQ(d->bekr()->text(), QStringLiteral("Bekräfta"));
  EXPECT_EQ(d->lists()->pathSpec()->text(), dir.path());
  EXPECT_EQ(d->lists()->entries(), (QStringList{"A.RES", "B.IND"}));
  const QStringList texts{"Ta bort", "Avsluta", "Hjälp"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(d->button(i)->text(), texts[i]);
    EXPECT_EQ(d->button(i)->objectName(), QStringLiteral("DlgButton"));
  }
}

TEST_F(DelFileTest, ThreeConfirmedDeletionsAskThreeTimesAndAngraKeepsTheSecond) {
  for (const char* n : {"ett.res", "tva.res", "tre.res", "PLAN.IND"}) touch(QString::fromLatin1(n));
  auto d = open(QStringLiteral("*.RES"));
  ASSERT_EQ(d->lists()->entries(), (QStringList{"ett.res", "tre.res", "tva.res"}));
  for (int row = 0; row < 3; ++row) select(*d, row);

  struct Asked {
    QString name, position;
  };
  std::vector<Asked> asked;
  const auto answer = [&](const QString& button) {
    return [&, button](QWidget* w) {
      asked.push_back({w->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                       w->findChild<QLabel*>(QStringLiteral("Label3"))->text()});
      EXPECT_EQ(w->windowTitle(), QStringLiteral("Bekräfta"));
      EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
                QStringLiteral("Är Du säker på att Du vill ta bort:"));
      if (asked.size() == 1) test::render(w, QStringLiteral("veri"));
      clickText(w, button);
    };
  };
  {
    ModalScript script{answer(QStringLiteral("Ja")), answer(QStringLiteral("Ångra")),
                       answer(QStringLiteral("Ja"))};
    remove(*d);
  }
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].name, QStringLiteral("ETT.RES"));
  EXPECT_EQ(asked[1].name, QStringLiteral("TRE.RES"));
  EXPECT_EQ(asked[2].name, QStringLiteral("TVA.RES"));
  EXPECT_EQ(asked[1].position, QStringLiteral("1"));
  EXPECT_EQ(onDisk(), (QStringList{"PLAN.IND", "tre.res"}));
  EXPECT_EQ(d->lists()->entries(), QStringList{QStringLiteral("tre.res")});
  EXPECT_TRUE(d->bekr()->isChecked());
}

TEST_F(DelFileTest, WithoutBekrTheFilesGoAtOnceAndBekrIsTickedAgain) {
  for (const char* n : {"ETT.IND", "TVA.IND", "TRE.IND"}) touch(QString::fromLatin1(n));
  auto d = open(QStringLiteral("*.IND"));
  QTest::mouseClick(d->bekr(), Qt::LeftButton);
  ASSERT_FALSE(d->bekr()->isChecked());
  select(*d, 0);
  select(*d, 2);
  {
    ModalScript none;  // no question may be asked
    remove(*d);
  }
  EXPECT_EQ(onDisk(), QStringList{QStringLiteral("TRE.IND")});
  EXPECT_TRUE(d->bekr()->isChecked());
}

TEST_F(DelFileTest, AFileThatCannotBeDeletedIsNamedAndTheNextOneGoes) {
  for (const char* n : {"ETT.RES", "TVA.RES"}) touch(QString::fromLatin1(n));
  auto d = open(QStringLiteral("*.RES"));
  QTest::mouseClick(d->bekr(), Qt::LeftButton);
  select(*d, 0);
  select(*d, 1);
  ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("ETT.RES"))));  // gone behind our back
  QString message;
  {
    ModalScript script{[&](QWidget* w) {
      message = boxText(w);
      clickText(w, QStringLiteral("OK"));
    }};
    remove(*d);
  }
  EXPECT_TRUE(message.contains(QStringLiteral("ETT.RES"))) << message.toStdString();
  EXPECT_TRUE(onDisk().isEmpty());
}

TEST_F(DelFileTest, HelpShowsTheTwoInstructionLines) {
  auto d = open(QStringLiteral("*.RES"));
  QStringList lines;
  QString caption;
  {
    ModalScript script{[&](QWidget* w) {
      caption = w->windowTitle();
      lines << w->findChild<QLabel*>(QStringLiteral("Label1"))->text()
            << w->findChild<QLabel*>(QStringLiteral("Label2"))->text();
      test::render(w, QStringLiteral("delfile_help"));
      clickText(w, QStringLiteral("OK"));
    }};
    QTest::mouseClick(d->button(2), Qt::LeftButton);
  }
  EXPECT_EQ(caption, QStringLiteral("Hjälp"));
  EXPECT_EQ(lines, (QStringList{"Clicka med musen på de Filer Du vill ta bort",
                                "Clicka sedan på 'Ta bort'"}));
  EXPECT_TRUE(d->isVisible());
}

TEST_F(DelFileTest, AvslutaHidesTheDialogAndDeletesNothing) {
  touch(QStringLiteral("ETT.RES"));
  auto d = open(QStringLiteral("*.RES"));
  select(*d, 0);
  test::render(d.get(), QStringLiteral("delfile"));
  QTest::mouseClick(d->button(1), Qt::LeftButton);
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(onDisk(), QStringList{QStringLiteral("ETT.RES")});
}

}  // namespace
}  // namespace solvow::forms

#include "fileinfo.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "case_file.h"
#include "modal_script.h"

namespace solvow::forms {
namespace {

using test::boxText;
using test::clickText;
using test::ModalScript;

class FileInfoTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  FileDialogState state;

  QString folder() const { return withSlash(dir.path()); }
  static QString withSlash(const QString& f) { return f.endsWith(u'/') ? f : f + u'/'; }
  void touch(const QString& name, const QByteArray& bytes = {}) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  // A dialog in `mode` opened in the test folder, shown without blocking.
  std::unique_ptr<FileInfo> open(FileDialogMode mode, const QString& patterns) {
    state.mode = mode;
    state.lastFolder = folder();
    auto d = std::make_unique<FileInfo>(state);
    d->setWindowTitle(mode == FileDialogMode::Open ? QStringLiteral("Välj Indatafil")
                                                   : QStringLiteral("Spara som.."));
    d->setPattern(patterns);
    d->show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(d.get()));
    return d;
  }
  static void ok(FileInfo& d) { QTest::mouseClick(d.button(0), Qt::LeftButton); }
  static void type(FileInfo& d, const QString& text) {
    d.nameBox()->selectAll();
    QTest::keyClicks(d.nameBox(), text);
  }
};

TEST_F(FileInfoTest, SaveModeProposesTestSelectedWithGreyNamesAndTheNote) {
  touch(QStringLiteral("PLAN1.IND"));
  auto d = open(FileDialogMode::Save, QStringLiteral("*.IND"));
  EXPECT_EQ(d->nameBox()->text(), QStringLiteral("test"));
  EXPECT_EQ(d->nameBox()->selectedText(), QStringLiteral("test"));
  EXPECT_EQ(QApplication::focusWidget(), d->nameBox());
  EXPECT_EQ(d->lists()->files()->palette().color(QPalette::Text), QColor(192, 192, 192));
  EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("OBS"))->text(),
            QStringLiteral("OBS! Filnamnet får innehålla max åtta tecken och inga mellanslag, "
                           "komma, punkt eller å, ä, ö"));
  test::render(d.get(), QStringLiteral("fileinfo_save"));
}

TEST_F(FileInfoTest, OpenModeShowsThePatternSelectedAndNoNote) {
  touch(QStringLiteral("PLAN1.IND"));
  touch(QStringLiteral("PLAN1.RES"));
  auto d = open(FileDialogMode::Open, QStringLiteral("*.IND"));
  EXPECT_EQ(d->nameBox()->selectedText(), QStringLiteral("*.IND"));
  EXPECT_TRUE(d->findChild<QLabel*>(QStringLiteral("OBS"))->text().isEmpty());
  EXPECT_EQ(d->lists()->entries(), QStringList{QStringLiteral("PLAN1.IND")});
  EXPECT_EQ(d->lists()->files()->palette().color(QPalette::Text),
            QApplication::palette(d->lists()->files()).color(QPalette::WindowText));
  EXPECT_EQ(d->lists()->pathSpec()->text(), dir.path());
  test::render(d.get(), QStringLiteral("fileinfo_open"));
}

TEST_F(FileInfoTest, OpenModeShowsThePreviousChoiceWhenItIsListed) {
  touch(QStringLiteral("PLAN1.IND"));
  state.chosenName = QStringLiteral("PLAN1.IND");
  EXPECT_EQ(open(FileDialogMode::Open, QStringLiteral("*.IND"))->nameBox()->text(),
            QStringLiteral("PLAN1.IND"));
  state.chosenName = QStringLiteral("BORTA.IND");
  EXPECT_EQ(open(FileDialogMode::Open, QStringLiteral("*.IND"))->nameBox()->text(),
            QStringLiteral("*.IND"));
}

TEST_F(FileInfoTest, TypingAPatternListsReportsAndKeepsTheDialogOpen) {
  for (const char* n : {"PLAN1.IND", "PLAN1.RES", "plan2.res"}) touch(QString::fromLatin1(n));
  auto d = open(FileDialogMode::Open, QStringLiteral("*.IND"));
  QTest::keyClicks(d->nameBox(), QStringLiteral("*.RES"));  // replaces the selected pattern
  ok(*d);
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(d->lists()->entries(), (QStringList{"PLAN1.RES", "plan2.res"}));
  EXPECT_EQ(d->nameBox()->text(), QStringLiteral("*.RES"));
}

TEST_F(FileInfoTest, NameBoxMovesFoldersAndChoosesFiles) {
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
  touch(QStringLiteral("sub/ETT.IND"));
  touch(QStringLiteral("TVA.IND"));
  auto d = open(FileDialogMode::Open, QStringLiteral("*.IND"));

  type(*d, QStringLiteral("sub\\"));
  ok(*d);
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(d->lists()->pathSpec()->text(), dir.filePath(QStringLiteral("sub")));
  EXPECT_EQ(d->lists()->entries(), QStringList{QStringLiteral("ETT.IND")});

  type(*d, QStringLiteral("../tva.ind"));  // folder and an entry, named ignoring case
  ok(*d);
  EXPECT_FALSE(d->isVisible());
  EXPECT_FALSE(state.cancelled);
  EXPECT_EQ(state.chosenName, QStringLiteral("TVA.IND"));
  EXPECT_EQ(state.lastFolder, folder());
}

TEST_F(FileInfoTest, AMissingFolderIsReportedAndTheListsStay) {
  auto d = open(FileDialogMode::Open, QStringLiteral("*.IND"));
  QString message;
  ModalScript script{[&](QWidget* w) {
    message = boxText(w);
    clickText(w, QStringLiteral("OK"));
  }};
  type(*d, QStringLiteral("finns-inte/"));
  ok(*d);
  EXPECT_TRUE(message.contains(QStringLiteral("finns-inte"))) << message.toStdString();
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(d->lists()->pathSpec()->text(), dir.path());
}

TEST_F(FileInfoTest, CancelClearsTheNameAndTheRememberedFolder) {
  for (int how = 0; how < 2; ++how) {  // the button, then Escape
    state.chosenName = QStringLiteral("PLAN1.IND");
    state.cancelled = false;
    auto d = open(FileDialogMode::Open, QStringLiteral("*.IND"));
    if (how == 0)
      QTest::mouseClick(d->button(1), Qt::LeftButton);
    else
      QTest::keyClick(d->nameBox(), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible()) << how;
    EXPECT_TRUE(state.cancelled) << how;
    EXPECT_TRUE(state.chosenName.isEmpty()) << how;
    EXPECT_TRUE(state.lastFolder.isEmpty()) << how;
  }
}

TEST_F(FileInfoTest, ClickNamesTheFileDoubleClickChoosesIt) {
  touch(QStringLiteral("ETT.IND"));
  touch(QStringLiteral("TVA.IND"));
  state.cancelled = true;
  auto d = open(FileDialogMode::Open, QStringLiteral("*.IND"));
  QListWidget* list = d->lists()->files();
  const QPoint second = list->visualItemRect(list->item(1)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
  EXPECT_EQ(d->nameBox()->text(), QStringLiteral("TVA.IND"));
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
  EXPECT_FALSE(d->isVisible());
  EXPECT_FALSE(state.cancelled);
  EXPECT_EQ(state.chosenName, QStringLiteral("TVA.IND"));
  EXPECT_EQ(state.lastFolder, folder());
  EXPECT_EQ(d->lists()->pattern(), QStringLiteral("*.*"));
}

TEST_F(FileInfoTest, DrivesThatCannotBeListedKeepThePreviousDrive) {
  auto d = open(FileDialogMode::Open, QStringLiteral("*.IND"));
  QComboBox* drives = d->lists()->drives();
  d->lists()->setDrives({QStringLiteral("/"), QStringLiteral("/ingen-enhet-här/")});
  ASSERT_EQ(drives->currentText(), QStringLiteral("/"));
  QString message;
  ModalScript script{[&](QWidget* w) {
    message = boxText(w);
    clickText(w, QStringLiteral("OK"));
  }};
  QTest::keyClick(drives, Qt::Key_Down);
  EXPECT_EQ(script.handled(), 1);
  EXPECT_TRUE(message.contains(QStringLiteral("/ingen-enhet-här"))) << message.toStdString();
  EXPECT_EQ(drives->currentText(), QStringLiteral("/"));
  EXPECT_EQ(d->lists()->pathSpec()->text(), dir.path());
}

TEST_F(FileInfoTest, SavingOverAnotherFileAsksAndNoReturnsToTheDialog) {
  touch(QStringLiteral("PLAN1.IND"));
  auto d = open(FileDialogMode::Save, QStringLiteral("*.IND"));
  QString question;
  {
    ModalScript script{[&](QWidget* w) {
      question = boxText(w);
      clickText(w, QStringLiteral("Nej"));
    }};
    type(*d, QStringLiteral("plan1"));
    ok(*d);
  }
  EXPECT_EQ(question, QStringLiteral("Filen finns redan. Vill Du ersätta den?"));
  EXPECT_TRUE(d->isVisible());
  {
    ModalScript script{[&](QWidget* w) { clickText(w, QStringLiteral("Ja")); }};
    ok(*d);
  }
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(state.chosenName, QStringLiteral("plan1"));
}

TEST_F(FileInfoTest, SavingOverTheCaseItsOwnFileAsksNothing) {
  touch(QStringLiteral("PLAN1.IND"));
  auto d = open(FileDialogMode::Save, QStringLiteral("*.IND"));
  d->setOwnFile(dir.filePath(QStringLiteral("PLAN1.IND")));
  ModalScript none;  // any question would fail the test
  type(*d, QStringLiteral("Plan1.dat"));
  ok(*d);
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(state.chosenName, QStringLiteral("Plan1.dat"));
}

TEST_F(FileInfoTest, ANameThatLeavesTheFolderIsRefusedInTheDialog) {
  auto d = open(FileDialogMode::Save, QStringLiteral("*.IND"));
  int messages = 0;
  ModalScript script{[&](QWidget* w) {
    ++messages;
    clickText(w, QStringLiteral("OK"));
  }};
  type(*d, QStringLiteral("../PLAN"));
  ok(*d);
  EXPECT_EQ(messages, 1);
  EXPECT_TRUE(d->isVisible());
}

// The dialog and the case library together, as Save as and Open use them.
class FileInfoWithCase : public FileInfoTest {
 protected:
  CaseStore store;
  FileTable files;
  void SetUp() override {
    store.programFolder = QStringLiteral(SOLVO_DATA);
    QString error;
    ASSERT_TRUE(newCase(store, files, {}, &error)) << error.toStdString();
  }
  FileChoice run(FileDialogMode mode, const QString& caption, ModalScript::Step step) {
    state.lastFolder = folder();
    ModalScript script{std::move(step)};
    return chooseFile(state, mode, caption, QStringLiteral("*.IND"), nullptr);
  }
  QByteArray bytesOf(const QString& name) const {
    QFile f(dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

TEST_F(FileInfoWithCase, SaveAsTestDatCreatesTestInd) {
  const FileChoice c = run(FileDialogMode::Save, QStringLiteral("Spara som.."), [](QWidget* w) {
    auto* d = static_cast<FileInfo*>(w);
    QTest::keyClicks(d->nameBox(), QStringLiteral("test.dat"));  // "test" is selected
    QTest::mouseClick(d->button(0), Qt::LeftButton);
  });
  ASSERT_FALSE(c.cancelled);
  EXPECT_EQ(c.name, QStringLiteral("test.dat"));
  QString error;
  ASSERT_TRUE(saveCaseAs(store, c.folder, c.name, &error)) << error.toStdString();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("TEST.IND")});
  EXPECT_EQ(store.fileName, QStringLiteral("TEST.IND"));
  EXPECT_EQ(store.baseName, QStringLiteral("TEST"));
}

TEST_F(FileInfoWithCase, CancellingOpenOrSaveAsChoosesNothing) {
  for (FileDialogMode mode : {FileDialogMode::Open, FileDialogMode::Save}) {
    const FileChoice c = run(mode, QStringLiteral("x"), [](QWidget* w) {
      QTest::mouseClick(static_cast<FileInfo*>(w)->button(1), Qt::LeftButton);
    });
    EXPECT_TRUE(c.cancelled);
    EXPECT_TRUE(c.name.isEmpty());
    EXPECT_TRUE(c.folder.isEmpty());
  }
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(FileInfoWithCase, SavedOpenedAndSavedAgainIsByteIdentical) {
  store.rubrik = QStringLiteral("Plan 3, 4 och 5 – hus Ö");
  FileChoice c = run(FileDialogMode::Save, QStringLiteral("Spara som.."), [](QWidget* w) {
    auto* d = static_cast<FileInfo*>(w);
    QTest::keyClicks(d->nameBox(), QStringLiteral("plan3"));
    QTest::mouseClick(d->button(0), Qt::LeftButton);
  });
  ASSERT_TRUE(saveCaseAs(store, c.folder, c.name));
  const QByteArray first = bytesOf(QStringLiteral("PLAN3.IND"));
  ASSERT_FALSE(first.isEmpty());

  CaseStore other;
  other.programFolder = QStringLiteral(SOLVO_DATA);
  ASSERT_TRUE(newCase(other, files, {}));
  c = run(FileDialogMode::Open, QStringLiteral("Välj Indatafil"), [](QWidget* w) {
    auto* d = static_cast<FileInfo*>(w);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
    QListWidget* list = d->lists()->files();
    // A double click reaches a widget as a press and release, then a double-click event.
    const QPoint top = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, top);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, top);
  });
  ASSERT_FALSE(c.cancelled);
  ASSERT_TRUE(openCase(other, files, c.folder, c.name, {}));
  EXPECT_EQ(other.rubrik, store.rubrik);
  ASSERT_TRUE(saveCase(other));
  EXPECT_EQ(bytesOf(QStringLiteral("PLAN3.IND")), first);
}

}  // namespace
}  // namespace solvow::forms

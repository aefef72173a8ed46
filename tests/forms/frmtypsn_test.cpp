// The font form: its lists, a click that shows the viewer in the chosen font at once, and
// the two buttons that keep the choice in Solvfnt.ini or go back to the stored one.
#include "frmtypsn.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "form6.h"
#include "startup_files.h"

namespace solvow {
namespace {

const char* const kChosen = "DejaVu Sans Mono";

class FontForm : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFontDatabase::families().contains(QString::fromLatin1(kChosen)));
    settings.fontName = QStringLiteral("Liberation Mono");
    settings.iniFolder = dir.path();
    settings.files = &files;
    viewer = std::make_unique<Form6>(settings);
    viewer->showReportText(QStringLiteral("\r\nRad 1"));
    form = std::make_unique<FrmTypsn>(settings, viewer.get());
    form->setNotify([this](const QString& text) { messages.append(text); });
    form->show();
  }
  template <typename T>
  T* child(const char* name) {
    T* found = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  void clickFont(const char* family) {
    auto* list1 = child<QListWidget>("List1");
    const QList<QListWidgetItem*> items =
        list1->findItems(QString::fromLatin1(family), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    list1->scrollToItem(items.first());
    QTest::mouseClick(list1->viewport(), Qt::LeftButton, {},
                      list1->visualItemRect(items.first()).center());
  }
  QString viewerFont() const { return viewer->textBox()->font().family(); }
  QString iniPath() const { return dir.filePath(QStringLiteral("Solvfnt.ini")); }

  QTemporaryDir dir;
  FileTable files;
  ReportSettings settings;
  std::unique_ptr<Form6> viewer;
  std::unique_ptr<FrmTypsn> form;
  QStringList messages;
};

TEST_F(FontForm, ListsThePrinterFontsAndTheStoredChoice) {
  EXPECT_EQ(form->windowTitle(), QStringLiteral("TYPSNITT"));
  // Only fixed-pitch families: the two of the set-up script, none of the proportional ones.
  auto* list1 = child<QListWidget>("List1");
  QStringList listed;
  for (int k = 0; k < list1->count(); ++k) listed << list1->item(k)->text();
  for (const char* fixed : {"DejaVu Sans Mono", "Liberation Mono"})
    EXPECT_TRUE(listed.contains(QString::fromLatin1(fixed))) << fixed;
  for (const char* proportional : {"DejaVu Sans", "DejaVu Serif", "Liberation Serif"})
    EXPECT_FALSE(listed.contains(QString::fromLatin1(proportional))) << proportional;
  EXPECT_FALSE(child<QLabel>("Obs")->isVisibleTo(form.get()));
  auto* list2 = child<QListWidget>("List2");
  ASSERT_EQ(list2->count(), 1);
  EXPECT_EQ(list2->item(0)->text(), QStringLiteral("Liberation Mono"));
  EXPECT_EQ(list2->font().family(), QStringLiteral("Liberation Mono"));
  EXPECT_EQ(child<QPushButton>("sluttyp")->text(), QStringLiteral("OK / Stäng"));
  EXPECT_EQ(child<QPushButton>("CmdAvbr")->text(), QStringLiteral("Avbryt / Stäng"));
  QDir().mkpath(QStringLiteral(SOLVO_RENDER_DIR));
  form->grab().save(QStringLiteral(SOLVO_RENDER_DIR "/frmtypsn.png"));
}

TEST_F(FontForm, AClickShowsTheViewerInTheChosenFontAtOnce) {
  clickFont(kChosen);
  EXPECT_EQ(settings.fontName, QString::fromLatin1(kChosen));
  EXPECT_EQ(viewerFont(), QString::fromLatin1(kChosen));
  auto* list3 = child<QListWidget>("List3");
  ASSERT_EQ(list3->count(), 1);
  EXPECT_EQ(list3->item(0)->text(), QString::fromLatin1(kChosen));
}

TEST_F(FontForm, AvbrytGoesBackToTheStoredFontAndWritesNothing) {
  clickFont(kChosen);
  QTest::mouseClick(child<QPushButton>("CmdAvbr"), Qt::LeftButton);
  EXPECT_EQ(settings.fontName, QStringLiteral("Liberation Mono"));
  EXPECT_EQ(viewerFont(), QStringLiteral("Liberation Mono"));
  EXPECT_FALSE(QFile::exists(iniPath()));
  EXPECT_FALSE(form->isVisible());
}

TEST_F(FontForm, OkStoresTheChoiceInSolvfntIniReplacingTheOldFile) {
  {
    QFile old(iniPath());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("Ett mycket langt gammalt typsnittsnamn\r\nrad tva\r\n");
  }
  clickFont(kChosen);
  QTest::mouseClick(child<QPushButton>("sluttyp"), Qt::LeftButton);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(settings.fontName, QString::fromLatin1(kChosen));
  QFile ini(iniPath());
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  EXPECT_EQ(ini.readAll(), QByteArray(kChosen) + "\r\n");
  // The start-up reads the choice back.
  EXPECT_EQ(readReportFont(files, dir.path(), DiskDialogue()), QString::fromLatin1(kChosen));
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_EQ(files.openCount(), 0);
}

TEST(FontFormStored, AStoredFontThatIsNotFixedPitchIsKeptWithANote) {
  FileTable files;
  ReportSettings settings;
  settings.fontName = QStringLiteral("DejaVu Serif");
  settings.files = &files;
  FrmTypsn form(settings, nullptr);
  form.show();
  auto* note = form.findChild<QLabel*>(QStringLiteral("Obs"));
  ASSERT_NE(note, nullptr);
  EXPECT_TRUE(note->isVisible());
  EXPECT_TRUE(note->text().contains(QStringLiteral("DejaVu Serif"))) << note->text().toStdString();
  EXPECT_EQ(form.findChild<QListWidget*>(QStringLiteral("List2"))->item(0)->text(),
            QStringLiteral("DejaVu Serif"));
  QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("CmdAvbr")), Qt::LeftButton);
  EXPECT_EQ(settings.fontName, QStringLiteral("DejaVu Serif"));
}
}  // namespace
}  // namespace solvow

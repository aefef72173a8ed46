// The report viewer: the report text as read, its font, and its menu.
#include "form6.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "frmtypsn.h"

namespace solvow {
namespace {

class Viewer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    settings.files = &files;
    settings.iniFolder = dir.path();
    form = std::make_unique<Form6>(settings);
  }
  QString place(const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  QTemporaryDir dir;
  FileTable files;
  ReportSettings settings;
  std::unique_ptr<Form6> form;
};

TEST_F(Viewer, ATwoLineReportIsALineEndLineOneALineEndLineTwo) {
  ASSERT_TRUE(form->loadReport(place("TVA.RES", "Rad 1\r\nRad 2\r\n")));
  EXPECT_EQ(form->reportText(), QStringLiteral("\r\nRad 1\r\nRad 2"));
  EXPECT_EQ(form->textBox()->toPlainText(), QStringLiteral("\nRad 1\nRad 2"));
  EXPECT_EQ(form->textBox()->objectName(), QStringLiteral("FileTextBox"));
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Utdata"));
  EXPECT_EQ(files.openCount(), 0);
}

TEST_F(Viewer, EverySwedishLetterOfADosReportIsShown) {
  QFile data(QStringLiteral(SOLVO_TEST_DATA "/reports/dos_letters.res"));
  ASSERT_TRUE(data.open(QIODevice::ReadOnly));
  ASSERT_TRUE(form->loadReport(place("BOKSTAV.RES", data.readAll())));
  EXPECT_EQ(form->textBox()->toPlainText(),
            QString::fromUtf8("\nRad 1 ÄÅÖ ÄÅÖ\nRad 2 åäöåäö Ø\nRad 3 utan bokstäver"));
}

TEST_F(Viewer, RedigeraOpensTheFontFormAndAvbrytKeepsTheFont) {
  settings.fontName = QStringLiteral("Liberation Mono");
  form->showReportText(QStringLiteral("\r\nRad"));
  form->show();
  QString opened;
  QTimer::singleShot(0, [&opened] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    opened = modal->windowTitle();
    QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("CmdAvbr")), Qt::LeftButton);
  });
  auto* red = form->findChild<QAction*>(QStringLiteral("Red"));
  ASSERT_NE(red, nullptr);
  EXPECT_EQ(red->text(), QStringLiteral("Redigera"));
  red->trigger();
  EXPECT_EQ(opened, QStringLiteral("TYPSNITT"));
  EXPECT_EQ(settings.fontName, QStringLiteral("Liberation Mono"));
}

}  // namespace
}  // namespace solvow

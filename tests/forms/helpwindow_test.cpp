#include "helpwindow.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest/QTest>

#include "modal_script.h"

namespace solvow::forms {
namespace {

using test::boxText;
using test::clickText;
using test::ModalScript;

TEST(HelpWindow, ShowsTheDeliveredDocumentWithEveryTopic) {
  HelpWindow* w = showHelp(QStringLiteral(SOLVO_DATA), nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  const QString text = w->browser()->toPlainText();
  // What an engineer needs to find in it: entering a case, the markets, line loads, running,
  // the report pages, the diagram and the limits.
  for (const char* topic :
       {"Indata", "Marknader", "Linjelaster", "Beräkning", "Resultatet", "Momentdiagram",
        "Programmets gränser", "BROTTGRÄNSTILLSTÅND", "Du måste spara Filen först !"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(topic))) << topic;
  w->resize(760, 560);
  test::render(w, QStringLiteral("helpwindow"));

  // A second F1 raises the same window.
  EXPECT_EQ(showHelp(QStringLiteral(SOLVO_DATA), nullptr), w);
  w->close();
}

TEST(HelpWindow, EveryLinkOfTheContentsHasItsSection) {
  QFile f(QStringLiteral(SOLVO_DATA "/solvo_help.html"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString html = QString::fromUtf8(f.readAll());
  const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
  int links = 0;
  for (auto it = link.globalMatch(html); it.hasNext(); ++links) {
    const QString name = it.next().captured(1);
    EXPECT_TRUE(html.contains(QStringLiteral("name=\"%1\"").arg(name))) << name.toStdString();
  }
  EXPECT_GE(links, 7);
}

// The load fields are locked under every category but "Valfri last": the help must not tell
// the user to edit them.
TEST(HelpWindow, TheHelpSaysWhichLoadFieldsCanBeEdited) {
  QFile f(QStringLiteral(SOLVO_DATA "/solvo_help.html"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString html = QString::fromUtf8(f.readAll());
  EXPECT_FALSE(html.contains(QStringLiteral("kan sedan ändras fritt")));
  EXPECT_TRUE(
      html.contains(QStringLiteral("Med lastgrupp <b>Valfri last</b> skrivs lasten in per "
                                   "fack och kan ändras fritt")));
  EXPECT_TRUE(html.contains(QStringLiteral("är lastfälten låsta")));
  EXPECT_TRUE(html.contains(QStringLiteral("när marknaden byts med flaggan")));
  EXPECT_FALSE(html.contains(QStringLiteral("kontrolleras inte mot några gränser")));
}

TEST(HelpWindow, AMissingDocumentIsNamedInAMessage) {
  QTemporaryDir dir;
  QString message;
  HelpWindow* w = nullptr;
  {
    ModalScript script{[&](QWidget* box) {
      message = boxText(box);
      clickText(box, QStringLiteral("OK"));
    }};
    w = showHelp(dir.path(), nullptr);
  }
  EXPECT_EQ(w, nullptr);
  EXPECT_TRUE(message.contains(dir.filePath(QStringLiteral("solvo_help.html"))))
      << message.toStdString();
}

}  // namespace
}  // namespace solvow::forms

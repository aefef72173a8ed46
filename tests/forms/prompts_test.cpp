#include "prompts.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>

#include "modal_script.h"

namespace solvow::forms {
namespace {

using test::clickText;
using test::ModalScript;

TEST(SavePrompts, TextsButtonsAndCaptions) {
  Form8 ny(QStringLiteral("Ny"), QStringLiteral("NAMNLÖS"));
  Form8 oppna(QStringLiteral("Öppna"), QStringLiteral("PLAN1"));
  Form7 avsluta(QStringLiteral("PLAN1"));
  EXPECT_EQ(ny.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
            QStringLiteral("Vill Du spara ändringarna i NAMNLÖS.IND ?"));
  EXPECT_EQ(avsluta.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
            QStringLiteral("Vill Du spara ändringarna i PLAN1.IND ?"));
  EXPECT_EQ(ny.windowTitle(), QStringLiteral("Ny"));
  EXPECT_EQ(oppna.windowTitle(), QStringLiteral("Öppna"));
  EXPECT_EQ(avsluta.windowTitle(), QStringLiteral("Avsluta"));

  const std::pair<SavePrompt*, QStringList> cases[] = {
      {&ny, {"Ja", "Nej", "Avbryt"}},
      {&oppna, {"Ja", "Nej", "Avbryt"}},
      {&avsluta, {"Ja", "Nej", "Avbryt"}},
  };
  for (const auto& [prompt, texts] : cases) {
    QStringList got;
    for (QPushButton* b : prompt->findChildren<QPushButton*>(QStringLiteral("svar")))
      got << b->text();
    EXPECT_EQ(got, texts) << prompt->objectName().toStdString();
    for (int i = 0; i < texts.size(); ++i)
      EXPECT_EQ(prompt->button(i)->property("index").toInt(), i);
  }
  EXPECT_EQ(ny.button(3), nullptr);
  avsluta.show();
  test::render(&avsluta, QStringLiteral("form7"));
  ny.show();
  test::render(&ny, QStringLiteral("form8"));
}

// One way through a prompt: the button pressed (empty: the window's close control), whether
// the save succeeds, and what must follow.
struct Way {
  const char* button;
  bool saveSucceeds;
  bool goesOn;
  int saves;
};

ModalScript::Step press(const char* button, QString* caption) {
  return [button, caption](QWidget* w) {
    *caption = w->windowTitle();
    if (*button == '\0')
      w->close();
    else
      clickText(w, QString::fromUtf8(button));
  };
}

TEST(SavePrompts, BeforeNewOrOpenTheOperationGoesOnOnlyWhenNothingIsLost) {
  const Way ways[] = {
      {"Ja", true, true, 1},
      {"Ja", false, false, 1},  // the save was cancelled or failed
      {"Nej", true, true, 0},
      {"Avbryt", true, false, 0},  // the case that was open stays, unsaved and unlost
      {"", true, false, 0},        // closed without an answer
  };
  for (const Way& w : ways) {
    int saves = 0;
    QString caption;
    bool goesOn = false;
    {
      ModalScript script{press(w.button, &caption)};
      goesOn = saveBeforeReplacing(
          QStringLiteral("Öppna"), QStringLiteral("PLAN1"), true,
          [&] {
            ++saves;
            return w.saveSucceeds;
          },
          nullptr);
    }
    EXPECT_EQ(caption, QStringLiteral("Öppna")) << w.button;
    EXPECT_EQ(goesOn, w.goesOn) << w.button << w.saveSucceeds;
    EXPECT_EQ(saves, w.saves) << w.button << w.saveSucceeds;
  }
}

TEST(SavePrompts, BeforeLeavingAvbrytKeepsTheProgramRunning) {
  const Way ways[] = {
      {"Ja", true, true, 1},      {"Ja", false, false, 1}, {"Nej", true, true, 0},
      {"Avbryt", true, false, 0}, {"", true, false, 0},
  };
  for (const Way& w : ways) {
    int saves = 0;
    QString caption;
    bool ends = false;
    {
      ModalScript script{press(w.button, &caption)};
      ends = saveBeforeLeaving(
          QStringLiteral("PLAN1"), true,
          [&] {
            ++saves;
            return w.saveSucceeds;
          },
          nullptr);
    }
    EXPECT_EQ(caption, QStringLiteral("Avsluta")) << w.button;
    EXPECT_EQ(ends, w.goesOn) << w.button << w.saveSucceeds;
    EXPECT_EQ(saves, w.saves) << w.button << w.saveSucceeds;
  }
}

TEST(SavePrompts, AnUnchangedCaseIsNotAskedAbout) {
  ModalScript none;  // a prompt would fail the test
  int saves = 0;
  const auto save = [&] { return ++saves > 0; };
  EXPECT_TRUE(
      saveBeforeReplacing(QStringLiteral("Ny"), QStringLiteral("PLAN1"), false, save, nullptr));
  EXPECT_TRUE(saveBeforeLeaving(QStringLiteral("PLAN1"), false, save, nullptr));
  EXPECT_EQ(saves, 0);
}

}  // namespace
}  // namespace solvow::forms

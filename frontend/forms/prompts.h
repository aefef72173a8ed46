// The prompts that offer to save unsaved changes: Form8 before New and Open, Form7 before
// leaving the program. Both show "Vill Du spara ändringarna i NAME.IND ?".
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QPushButton;

namespace solvow::forms {

enum class SaveAnswer { Ja, Nej, Avbryt };

// The prompt's question for the case named `baseName`.
QString savePromptText(const QString& baseName);

// The common form of both prompts: the question in Label1 and the buttons svar.
class SavePrompt : public QDialog {
  Q_OBJECT

 public:
  SaveAnswer answer() const { return m_answer; }
  QPushButton* button(int index) const;  // svar 0 "Ja", 1 "Nej", 2 "Avbryt"

  void reject() override;  // the close control counts as "Avbryt"

 protected:
  SavePrompt(const char* formName, bool withCancel, const QString& caption, const QString& baseName,
             QWidget* parent);

 private:
  SaveAnswer m_answer = SaveAnswer::Avbryt;
  QPushButton* m_buttons[3] = {nullptr, nullptr, nullptr};
};

// Form8: "Ja", "Nej" and "Avbryt"; caption "Ny" or "Öppna".
class Form8 : public SavePrompt {
  Q_OBJECT

 public:
  Form8(const QString& caption, const QString& baseName, QWidget* parent = nullptr);
};

// Form7: "Ja", "Nej" and "Avbryt"; caption "Avsluta".
class Form7 : public SavePrompt {
  Q_OBJECT

 public:
  explicit Form7(const QString& baseName, QWidget* parent = nullptr);
};

// The save step before New ("Ny") or Open ("Öppna"): when `changed`, Form8 is shown modally;
// on "Ja" `save` runs (Save, or Save as for an unnamed case) and must report whether the case
// was written. Returns whether the operation may go on: yes when nothing was changed, on
// "Nej", and on "Ja" after a successful save; no on "Avbryt", when the save was cancelled or
// failed, or the prompt was closed with its close control, so that no change is lost unasked.
bool saveBeforeReplacing(const QString& caption, const QString& baseName, bool changed,
                         const std::function<bool()>& save, QWidget* parent);

// The save step before leaving: when `changed`, Form7 is shown modally. Returns whether the
// program may end: yes when nothing was changed, on "Nej", and on "Ja" after a successful
// save; no on "Avbryt" and when the save was cancelled or failed.
bool saveBeforeLeaving(const QString& baseName, bool changed, const std::function<bool()>& save,
                       QWidget* parent);

}  // namespace solvow::forms

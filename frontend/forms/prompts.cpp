#include "prompts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace solvow::forms {

QString savePromptText(const QString& baseName) {
  return QStringLiteral("Vill Du spara ändringarna i ") + baseName + QStringLiteral(".IND") +
         QStringLiteral(" ?");
}

SavePrompt::SavePrompt(const char* formName, bool withCancel, const QString& caption,
                       const QString& baseName, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QString::fromLatin1(formName));
  setWindowTitle(caption);
  auto* question = new QLabel(savePromptText(baseName), this);
  question->setObjectName(QStringLiteral("Label1"));

  const QString texts[3] = {QStringLiteral("Ja"), QStringLiteral("Nej"), QStringLiteral("Avbryt")};
  const SaveAnswer answers[3] = {SaveAnswer::Ja, SaveAnswer::Nej, SaveAnswer::Avbryt};
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (int i = 0; i < (withCancel ? 3 : 2); ++i) {
    m_buttons[i] = new QPushButton(texts[i], this);
    m_buttons[i]->setObjectName(QStringLiteral("svar"));
    m_buttons[i]->setProperty("index", i);
    row->addWidget(m_buttons[i]);
    const SaveAnswer a = answers[i];
    connect(m_buttons[i], &QPushButton::clicked, this, [this, a] {
      m_answer = a;
      done(a == SaveAnswer::Avbryt ? QDialog::Rejected : QDialog::Accepted);
    });
  }
  row->addStretch(1);
  m_buttons[0]->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(question);
  layout->addSpacing(8);
  layout->addLayout(row);
}

QPushButton* SavePrompt::button(int index) const {
  return index >= 0 && index < 3 ? m_buttons[index] : nullptr;
}

void SavePrompt::reject() {
  m_answer = SaveAnswer::Avbryt;
  QDialog::reject();
}

Form8::Form8(const QString& caption, const QString& baseName, QWidget* parent)
    : SavePrompt("Form8", true, caption, baseName, parent) {}

Form7::Form7(const QString& baseName, QWidget* parent)
    : SavePrompt("Form7", true, QStringLiteral("Avsluta"), baseName, parent) {}

namespace {

bool afterAnswer(SaveAnswer answer, const std::function<bool()>& save) {
  switch (answer) {
    case SaveAnswer::Ja:
      return save && save();
    case SaveAnswer::Nej:
      return true;
    case SaveAnswer::Avbryt:
      break;
  }
  return false;
}

}  // namespace

bool saveBeforeReplacing(const QString& caption, const QString& baseName, bool changed,
                         const std::function<bool()>& save, QWidget* parent) {
  if (!changed) return true;
  Form8 prompt(caption, baseName, parent);
  prompt.exec();
  return afterAnswer(prompt.answer(), save);
}

bool saveBeforeLeaving(const QString& baseName, bool changed, const std::function<bool()>& save,
                       QWidget* parent) {
  if (!changed) return true;
  Form7 prompt(baseName, parent);
  prompt.exec();
  return afterAnswer(prompt.answer(), save);
}

}  // namespace solvow::forms

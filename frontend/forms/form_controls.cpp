#include "form_controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFocusEvent>
#include <QFont>
#include <QKeyEvent>
#include <QKeySequence>
#include <QToolButton>
#include <QVBoxLayout>

namespace solvow::forms {

void placeTw(QWidget* w, int x, int y, int width, int height) {
  w->setGeometry(tw(x), tw(y), tw(width), tw(height));
}

void useFormFont(QWidget* form) {
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPixelSize(11);
  form->setFont(f);
}

FieldEdit::FieldEdit(const QString& name, QWidget* parent) : QLineEdit(parent) {
  setObjectName(name);
}

void FieldEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // A menu or list popping up does not leave the field; a real move of the focus does.
  if (event->reason() == Qt::PopupFocusReason) return;
  commit();
}

void FieldEdit::commit() {
  if (!isModified()) return;
  setModified(false);
  emit left();
}

namespace {

// Leaves the keys of undo and redo to the window's "Ångra" and "Gör om" instead of the
// control's own text; while they are disabled the key comes back to the control as a key
// press. True when `event` was such a key.
bool leaveUndoKeysToCase(QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (!isUndoKey(key) && !isRedoKey(key)) return false;
  event->ignore();
  return true;
}

}  // namespace

bool FieldEdit::event(QEvent* event) {
  return leaveUndoKeysToCase(event) || QLineEdit::event(event);
}

bool CaseSpinBox::event(QEvent* event) {
  return leaveUndoKeysToCase(event) || QSpinBox::event(event);
}

void reportCommits(QWidget* form, const std::function<void()>& committed) {
  for (FieldEdit* e : form->findChildren<FieldEdit*>())
    QObject::connect(e, &FieldEdit::left, form, committed);
  for (QComboBox* c : form->findChildren<QComboBox*>())
    QObject::connect(c, &QComboBox::activated, form, committed);
  for (QAbstractButton* b : form->findChildren<QAbstractButton*>())
    QObject::connect(b, &QAbstractButton::clicked, form, committed);
}

bool isUndoKey(const QKeyEvent* event) { return event->matches(QKeySequence::Undo); }

bool isRedoKey(const QKeyEvent* event) {
  return event->matches(QKeySequence::Redo) ||
         event->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y);
}

SpinArrows::SpinArrows(const QString& name, QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
  setObjectName(name);
  m_up->setObjectName(QStringLiteral("up"));
  m_down->setObjectName(QStringLiteral("down"));
  m_up->setArrowType(Qt::UpArrow);
  m_down->setArrowType(Qt::DownArrow);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(0);
  for (QToolButton* b : {m_up, m_down}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    box->addWidget(b);
  }
  connect(m_up, &QToolButton::clicked, this, &SpinArrows::up);
  connect(m_down, &QToolButton::clicked, this, &SpinArrows::down);
}

}  // namespace solvow::forms

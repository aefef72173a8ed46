#include "form_controls.h"

#include <QFocusEvent>
#include <QFont>
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
  if (!isModified()) return;
  setModified(false);
  emit left();
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

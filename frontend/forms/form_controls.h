// Small controls shared by the input forms: a text field that reports being left, the spin
// button of a count field, and placement in twips.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QWidget>

class QToolButton;

namespace solvow::forms {

// Twips to pixels of the screen (15 twips per pixel at 96 dpi).
constexpr int tw(int twips) { return twips / 15; }

// Places `w` at (x, y) with size (width, height), all in twips of its parent.
void placeTw(QWidget* w, int x, int y, int width, int height);

// The font of the input forms: a narrow sans serif, close to the dialog font the grid's
// 600-twip columns were made for.
void useFormFont(QWidget* form);

// A text field that reports when the user leaves it. A field only counts as left when its
// text was edited since it was last filled: tabbing through a field never rewrites the case.
class FieldEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit FieldEdit(const QString& name, QWidget* parent);

 signals:
  void left();

 protected:
  void focusOutEvent(QFocusEvent* event) override;
};

// A pair of arrow buttons beside a count field. The buttons never take the focus, so the
// field being edited is left only when a rule moves the focus.
class SpinArrows : public QWidget {
  Q_OBJECT
 public:
  SpinArrows(const QString& name, QWidget* parent);
  QToolButton* upButton() const { return m_up; }
  QToolButton* downButton() const { return m_down; }

 signals:
  void up();
  void down();

 private:
  QToolButton* m_up;
  QToolButton* m_down;
};

}  // namespace solvow::forms

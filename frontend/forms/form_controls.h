// Small controls shared by the input forms: a text field that reports being left, the spin
// button of a count field, and placement in twips.
#pragma once

#include <QLineEdit>
#include <QSpinBox>
#include <QString>
#include <QWidget>
#include <functional>

class QKeyEvent;
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

  // Counts the field as left when its text was edited, without moving the focus: the value
  // is stored before the case is undone or redone.
  void commit();

 signals:
  void left();

 protected:
  // The keys of undo and redo belong to the case, not to the field's own text.
  bool event(QEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

// A spin box whose every step is stored at once, so it has no typing of its own to take
// back: the keys of undo and redo typed in it belong to the case, as in a FieldEdit.
class CaseSpinBox : public QSpinBox {
  Q_OBJECT
 public:
  using QSpinBox::QSpinBox;

 protected:
  bool event(QEvent* event) override;
};

// Calls `committed` after every commit of its controls has run: a field left, a
// list pick, a button clicked (the spinner's arrows too). Call after the rules are connected.
void reportCommits(QWidget* form, const std::function<void()>& committed);

// Whether `event` is a key of undo or redo of the case (Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z).
bool isUndoKey(const QKeyEvent* event);
bool isRedoKey(const QKeyEvent* event);

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

// The line-load form: up to five line loads (kN/m), each at a distance from the left support
// of a span. Row k edits load k of the case store; loads beyond the count in force keep their
// values and come back when the count is raised again.
#pragma once

#include <QWidget>
#include <array>

#include "case_store.h"

class QLineEdit;
class QMenu;
class QMenuBar;

namespace solvow::forms {

class FieldEdit;
class SpinArrows;

class Form3 : public QWidget {
  Q_OBJECT
 public:
  explicit Form3(CaseStore& store, QWidget* parent = nullptr);

  // Rows and texts from the store: the rows of the loads in force, at least row 1.
  void loadFromStore();

  QAction* layoutAction() const { return m_lay; }

 signals:
  // A value or the count changed: the changed flag or the diagram entry may differ now.
  void caseEdited();
  // The loads changed: the load sketch is out of date.
  void loadSketchChanged();
  // "Layout": back to the input form; the form closes itself.
  void backToLayout();
  // A field was left or the count stepped: the store may hold a new state of the case.
  void committed();
  // A line for the status bar: a text refused as no number.
  void statusMessage(const QString& text);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void markChanged();
  // A field whose text is no number shows `kept` again and the status line says why; true
  // then, and nothing else happens.
  bool refuseNoNumber(FieldEdit* e, const QString& kept);
  void leaveSpanNumber(int k);
  void leaveDistance(int k);
  void leaveLoad(int k);
  void spinDown();
  void spinUp();
  void fillRow(int k);
  void setRowVisible(int k, bool visible);
  void focusFirstRow();

  CaseStore& m_store;
  QMenuBar* m_menuBar = nullptr;
  QMenu* m_back = nullptr;
  QAction* m_lay = nullptr;
  QLineEdit* m_nllast = nullptr;
  SpinArrows* m_spin = nullptr;
  std::array<FieldEdit*, kLineLoads + 1> m_llfnr{}, m_avst{}, m_lllast{};
};

}  // namespace solvow::forms

// The input form: every field of the design case, bound to the case store.
//
// A keystroke in a text field marks the case changed and takes away the diagram of the last
// run; the store takes a field's value when the field is left, in the field's display
// pattern. A value typed for one span is copied to the spans after it. Rows of spans beyond n
// are hidden but keep their values in the store.
#pragma once

#include <QWidget>
#include <array>

#include "case_store.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace solvow::forms {

class FieldEdit;
class SpinArrows;

class Form1 : public QWidget {
  Q_OBJECT
 public:
  explicit Form1(CaseStore& store, QWidget* parent = nullptr);

  // Every control from the store, as after reading a case: lists, market layout, class,
  // factors, options, whole numbers, the span rows and the fire options' captions.
  void loadFromStore();

  // Shows the rows of the n spans filled from the store and hides the others; the first and
  // the last support show zero and cannot be edited.
  void refreshSpanRows();

  // The market's class frame shown and the others hidden, its stored class selected, and the
  // six factor fields editable only in the free market.
  void applyMarket();

  // The six factor fields from the tables at the current market and category.
  void showFactors();

  // The variable-load fields of spans 1..10 from the store.
  void showVariableLoads();

  // Moves the focus to the heading, so that the field being edited is left first.
  void focusHeading();
  // Stores the value of the field of this form being edited, as leaving it would, without
  // moving the focus.
  void commitEditedField();

 signals:
  // The case was edited: the changed flag or the diagram entry may differ now.
  void caseEdited();
  // Spans, cantilevers or loads changed: the whole layout sketch is out of date.
  void layoutChanged();
  // Only the slab geometry changed: the span sketch is out of date.
  void spanSketchChanged();
  // A line for the status bar: spans that took a copied value, the cut heading.
  void statusMessage(const QString& text);
  // A change was committed: a field left, a list pick, a button click, a spinner step. The
  // store may hold a new state of the case (one step of undo).
  void committed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  // The input form lives as long as the program: it cannot be closed.
  void closeEvent(QCloseEvent* event) override;

 private:
  using SpanArray = std::array<float, kStoreSpans + 1>;
  using Row = std::array<FieldEdit*, kMaxSpans + 1>;

  void buildHeading();
  void buildGeometry();
  void buildLoads();
  void buildSafetyFrames();
  void buildDeflection();
  void buildConcreteAndBars();
  void buildFire();
  void buildCasting();
  void connectRules();
  // The leave rules of the text fields and the change rule of every keystroke.
  void connectFieldRules();
  // Lists, option buttons, the curtailment box and the class buttons.
  void connectChoiceRules();
  void connectCasting();

  // The change rule: the case differs from its file and has no valid diagram.
  void markChanged();
  // Tints the fields of `row` j = first..last whose value differs from `before[j]` (the copy
  // of a value to later spans) and says in the status bar which spans took it.
  // `unit` "fack" or "stöd"; the number shown is j + numberShift.
  void showCopy(const Row& row, int first, int last, const SpanArray& before, const SpanArray& now,
                const QString& unit, int numberShift);
  // Takes the tint of the last copy away, and its note from the status line.
  void clearCopyTint();
  // A text that is no number: the field shows `kept` again and the status line says why.
  void refuse(FieldEdit* field, const QString& kept);
  // The heading's mark when it is longer than the report shows.
  void markLongHeading(const QString& text);
  void setTabOrderAlongRows();
  void leaveSpanField(Row& row, SpanArray& values, int i, const char* pattern, bool fullSketch);
  void leaveSupport(int i);
  void leaveCantilever(FieldEdit* field, float& value);
  void leaveFactor(FieldEdit* field, int which);
  void leaveWhole(FieldEdit* field, qint16& value, const char* pattern, bool setsChanged);
  void changeProps(int i, int value);
  void leaveFrequency();
  // The largest crack width over the supports and the exposure list beside it.
  void buildCrackWidth();
  void connectCrackWidth();
  void leaveCrackWidth();
  void pickExposure(int position);
  void showCrackWidth();
  void pickLoadCategory(int position);
  void pickFireMethod(int position);
  void showFireOptions();
  void spinDown();
  void spinUp();
  void fillRow(int i);
  void setRowVisible(int i, bool visible);

  CaseStore& m_store;

  QLineEdit* m_rubrik = nullptr;
  QList<FieldEdit*> m_tinted;  // fields a copy changed, until the next edit
  QLineEdit* m_nfack = nullptr;
  SpinArrows* m_spin = nullptr;

  Row m_spv{}, m_ptjl{}, m_plast{}, m_flast{};
  std::array<FieldEdit*, kMaxSpans + 1> m_upl{};  // supports 0..10
  FieldEdit* m_konsv = nullptr;
  FieldEdit* m_konsh = nullptr;

  QGroupBox* m_ram5 = nullptr;
  QComboBox* m_lokt = nullptr;
  std::array<FieldEdit*, 6> m_factors{};  // lambdaG, ksi, lambdaQ, psi0, psi1, psi2
  std::array<QRadioButton*, 4> m_lastkomb{};

  std::array<QGroupBox*, kMarketSlots> m_classFrames{};
  std::array<std::array<QRadioButton*, 4>, kMarketSlots> m_classButtons{};

  std::array<QRadioButton*, 3> m_brukskomb{};
  FieldEdit* m_initiell = nullptr;
  FieldEdit* m_tillkommande = nullptr;
  FieldEdit* m_overhojning = nullptr;

  QComboBox* m_btg = nullptr;
  QCheckBox* m_kavko = nullptr;
  QComboBox* m_aok = nullptr;
  QComboBox* m_dok = nullptr;
  FieldEdit* m_ktack = nullptr;
  QComboBox* m_auk = nullptr;
  QComboBox* m_duk = nullptr;
  FieldEdit* m_duarm = nullptr;

  QComboBox* m_brandk = nullptr;
  std::array<QRadioButton*, 5> m_brandb{};
  std::array<QRadioButton*, 3> m_kutak{};

  // The construction stage: props of each span (0..4), the deck during casting, and the
  // lowest natural frequency.
  std::array<QSpinBox*, kMaxSpans + 1> m_stamp{};
  std::array<QRadioButton*, 3> m_byggskede{};
  FieldEdit* m_egenfrekvens = nullptr;
  FieldEdit* m_sprickbredd = nullptr;
  QComboBox* m_exponering = nullptr;
};

}  // namespace solvow::forms

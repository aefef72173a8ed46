// "Sök lösning...": the design search of the saved case. The dialog proposes ranges from the
// case (thickness groups, concrete classes, bar sizes, curtailment, prices), writes them as
// SEARCH.SPC in the working folder, runs "solvowb --search SEARCH.SPC" there with a progress
// bar fed by the engine's "k/N" lines and "Avbryt", and shows the designs of the search's
// table (SOLVO-SEARCH.CSV) with the counts of its report (SOLVO-SEARCH.RES), sortable by
// column; a value the search could not give shows as "–" with the reason. "Sök" passes the
// same gate as "Kör...", with the ends of the ranges. "Använd" puts the chosen passing design
// into the case store (changed, no
// diagram) and closes the dialog.
#pragma once

#include <QDialog>
#include <QProcess>

#include "case_store.h"
#include "engine_run.h"
#include "search_files.h"
#include "search_table.h"

class QCheckBox;
class QGroupBox;
class QLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace solvow::forms {

class SearchDialog : public QDialog {
  Q_OBJECT
 public:
  // `run` knows the program and working folders and copies the case for the engine.
  SearchDialog(CaseStore& store, EngineRun& run, QWidget* parent = nullptr);
  ~SearchDialog() override;

  // The ranges as the controls now show them, or the message saying what is wrong.
  std::optional<SearchRanges> ranges(QString* problem) const;
  const SearchResult& result() const { return m_result; }
  QTableWidget* resultTable() const { return m_table; }
  bool running() const { return m_engine.state() != QProcess::NotRunning; }

 signals:
  // A design was put into the store.
  void designApplied();
  // The engine has ended and its result, if any, is in the table.
  void searchFinished();

 public slots:
  void startSearch();
  void cancelSearch();
  void applyChosen();

 protected:
  void reject() override;

 private:
  void buildRangeControls();
  QWidget* buildThicknessGroups();
  QGroupBox* choiceBoxes(const QString& title, const QStringList& texts, const char* name,
                         int columns, QList<QCheckBox*>& out);
  QWidget* buildPrices();
  QLayout* buildRunRow();
  void fillRow(int k);
  void buildResultControls();
  void loadRanges(const SearchRanges& r);
  void addGroupRow(const ThicknessRange& g);
  void updateCount();
  void readProgress();
  void engineFinished(int exitCode, QProcess::ExitStatus status);
  void showResult();
  void updateButtons();
  void tell(const QString& text);

  CaseStore& m_store;
  EngineRun& m_run;
  QProcess m_engine;
  bool m_cancelled = false;
  QByteArray m_pending;  // stdout not yet ended by a line feed
  SearchResult m_result;
  QList<QMap<SearchField, QString>> m_missing;  // of each row of m_result, why values are missing

  QTableWidget* m_groups = nullptr;
  QList<QCheckBox*> m_concrete, m_bars, m_curtailment, m_props;
  QLineEdit* m_concretePrice = nullptr;
  QLineEdit* m_steelPrice = nullptr;
  QLineEdit* m_propPrice = nullptr;
  QLabel* m_count = nullptr;
  QPushButton* m_search = nullptr;
  QPushButton* m_cancel = nullptr;
  QProgressBar* m_progress = nullptr;
  QLabel* m_summary = nullptr;
  QTableWidget* m_table = nullptr;
  QPushButton* m_apply = nullptr;
};

}  // namespace solvow::forms

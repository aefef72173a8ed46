// The program as a whole: the main window with every menu entry wired to its work, the
// start-up, the help key and leaving.
//
// The shell owns the objects that live as long as the program: the case store, the table of
// open files, the file dialogs' state, the report font and the printer. All files of a run
// and the settings files lie in the working folder, given once; the program folder (the
// engine, solvo.def and the help document) comes from solvo.ini there, or is the folder of
// the program itself.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>

#include "case_store.h"
#include "file_access.h"
#include "fileinfo.h"
#include "recent_files.h"
#include "report_print.h"
#include "report_text.h"

class QAction;
class QEvent;
class QMdiSubWindow;

namespace solvow {
class EngineRun;
class Form6;
class Momkurva;
}  // namespace solvow

namespace solvow::forms {

class MDIForm1;

class Shell : public QObject {
  Q_OBJECT

 public:
  explicit Shell(const QString& workFolder, QObject* parent = nullptr);
  ~Shell() override;

  // The start-up, in this order: the main window with the hourglass; the program folder from
  // solvo.ini; the change notice Form10 unless solvo.ver hides it; the notice Form9; a new
  // case from solvo.def of the program folder; the input form; the report font, first the
  // printer's, then the one Solvfnt.ini names; the case unchanged. False when the default
  // case cannot be read: a message has named the file and the program is to end.
  bool start();

  MDIForm1* window() const { return m_window.get(); }
  CaseStore& store() { return m_store; }
  FileDialogState& dialogState() { return m_dialogState; }
  ReportSettings& reportSettings() { return m_settings; }
  ReportPrinter& printer() { return m_printer; }
  QString workFolder() const { return m_workFolder; }
  QAction* helpAction() const { return m_help; }
  // The report viewer and the moment diagram while they are open, else nullptr.
  Form6* viewer() const;
  Momkurva* diagram() const;
  // Whether the user has left the program.
  bool hasEnded() const { return m_ended; }

  // "Ny": the save prompt Form8 when the case has changed, then a new case from solvo.def.
  void newCase();
  // "Öppna...": the save prompt, then FileInfo "Välj Indatafil" and the chosen file.
  void openCase();
  // Reads `name` in `folder` as the case; on failure the message, and the case stays.
  bool openCaseFile(const QString& folder, const QString& name);
  // A recent file chosen in Arkiv: the save prompt "Öppna", then the file. A file that is no
  // longer there is taken out of the list with a message naming it.
  void openRecent(const QString& path);
  const RecentFiles& recentFiles() const { return m_recent; }
  // "Spara": over the case's own file; Save as for a case without a name. True when written.
  bool save();
  // "Spara som...": FileInfo "Spara som.." and the typed name. True when written.
  bool saveAs();

  // "Kör...": the engine on the saved case; the report in the viewer.
  void runCalculation();
  // "Sök lösning...": the design search of the saved case; a design chosen there is put into
  // the case, which is then changed.
  void searchDesign();
  // "Resultat på skärm": the report of the case read afresh into the viewer.
  void showReport();
  // "Resultat på skrivare": the report of the case printed in the report font.
  void printReport();
  // "Skriv ut...": a report chosen in FileInfo printed in the printer's font.
  void printChosenReport();
  // "Skrivarinställning...".
  void setUpPrinter();
  // "Förhandsgranska..." of Arkiv and of the viewer: the printout of the case's report in the
  // print preview.
  void previewReport();
  // "Spara som PDF...": FileInfo proposes NAME.pdf in the case's folder, then exportPdf.
  void savePdf();
  // The report and the moment diagram of the last run as one PDF at `path`. False, after a
  // message, when the results cannot be read or the file cannot be written.
  bool exportPdf(const QString& path);
  // "Moment": the moment diagram of the last run.
  void showDiagram();
  // "Ta bort": DelFile with `patterns`.
  void deleteFiles(const QString& patterns);
  // F1: the help document of the program folder.
  void showHelp();
  // "Avsluta": the prompt Form7 when the case has changed; the program ends unless the user
  // chose "Avbryt" or a save did not happen. Returns whether it ends.
  bool leave();

 signals:
  // The user has left the program; the main window is closed.
  void ended();

 protected:
  // Closing the main window goes through the same steps as "Avsluta".
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void connectMenus();
  // The run's folders and windows.
  void prepareRun(EngineRun& run);
  // Closes the viewer and the diagram.
  void closeResults();
  // The report of the case, read and found to be this case's; otherwise the message and
  // nothing.
  std::optional<QStringList> caseReportLines();
  // Whether `lines` are the report of the case as it was when its results were calculated.
  bool isOfCalculatedCase(const QStringList& lines) const;
  // Whether results may be printed or exported: not when the case has changed since they were
  // calculated (the message says so).
  bool mayExport();
  // The prompt of leaving and, without unsaved changes, removing the exchange copy. True when
  // the program may end.
  bool mayLeave();
  // The case on screen after it was made or read: caption, flag, forms, menus, focus.
  void showCase();
  void focusHeading();
  QMdiSubWindow* addMaximised(QWidget* form);
  // A report viewer wired to "Återgå" and "Förhandsgranska...".
  Form6* newViewer();
  void closeSubWindowOf(QWidget* form);
  void backToInputForm(QWidget* form);
  void tell(const QString& text);
  // The case's file goes to the top of the recent files.
  void rememberCaseFile();
  void warn(const QString& text);
  // The folder printouts and PDFs are proposed in: the case's folder, or the working folder
  // for a case not yet saved.
  QString caseFolder() const;
  // Whether the case differs from the one whose results the viewer and diagram show; shown
  // in both.
  bool resultStale() const;
  void showStaleness();
  // The case as its file would hold it now: what the results are compared with.
  QByteArray caseNow() const;

  QString m_workFolder;
  CaseStore m_store;
  FileTable m_files;
  FileDialogState m_dialogState;
  FileDialogState m_outputDialogState;  // of printouts and PDFs
  DiskDialogue m_dialogue;
  ReportSettings m_settings;
  ReportPrinter m_printer;
  RecentFiles m_recent;
  bool m_ended = false;
  // Last, so that the windows go before the objects they refer to.
  std::unique_ptr<MDIForm1> m_window;
  QAction* m_help = nullptr;
  QPointer<Form6> m_viewer;
  QPointer<Momkurva> m_diagram;
  // The case the results on disk were calculated for, as its file holds it: taken when a run
  // has been read, and when a case is made or opened (the results on disk are at best of it).
  QByteArray m_resultCase;
  // The engine's verdict line of the last run, for as long as its results are the case's.
  QString m_verdict;
};

}  // namespace solvow::forms

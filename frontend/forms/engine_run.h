// "Kör...": running the engine on the saved case and collecting its report.
//
// The engine solvowb lies in the program folder and works in the working folder: it reads the
// exchange copy ~indata~.tmp there and writes the report (the first nine characters of the
// case name plus ".RES"), MOMK.DAT and MOMD.DAT beside it. A run
//   1. refuses a case that is unnamed or changed since it was saved ("Du måste spara Filen
//      först !"), and a line load in force whose span number lies outside the slab; then
//      checks the saved file (checkCase): refuses it with one message naming every error, and asks
//      with "Kör ändå" / "Avbryt" when a value lies outside what such slabs are;
//   2. removes the old report of the case, MOMK.DAT and MOMD.DAT, so a failed run shows nothing
//      old, and clears the diagram flag of the case;
//   3. copies the saved design-case file, wherever its folder is, to ~indata~.tmp;
//   4. starts solvowb with no arguments and waits for it without a time limit; after a short
//      while a small modal window says that the calculation is running and offers "Avbryt",
//      which ends the engine;
//   5. reads the report line by line into the viewer text and sets the diagram flag, or says
//      "Resultatfil till " + base name + ".IND" + " saknas !".
// An engine that refuses because another calculation is running in the working folder
// (status 2 and its line) or that ends with status 3 (a file of the run could not be written;
// the engine then leaves no report) is not asked for a report: the user is told in words, the
// second with the engine's line naming the file and the reason.
// What it wrote on its error channel is kept for the caller.
#pragma once

#include <QString>

#include <functional>

#include "case_store.h"
#include "file_access.h"
#include "moment_file.h"

class QWidget;

namespace solvow {

inline constexpr const char* kExchangeFile = "~indata~.tmp";
inline constexpr const char* kEngineProgram = "solvowb";

struct RunResult {
  enum class Outcome {
    Done,          // the report was read into `reportText`
    NotSaved,      // nothing was started
    BadLineLoad,   // nothing was started
    OldFilesStay,  // the old report or MOMK.DAT could not be removed; nothing was started
    NoReport,      // the engine left no report (or could not be started)
    Cancelled,     // "Avbryt" ended the engine
    Refused,       // the checks found errors; nothing was started
    NotConfirmed,  // "Avbryt" on the warning of the checks; nothing was started
  };
  Outcome outcome = Outcome::NoReport;
  QString message;       // what the user was told; empty for Done and Cancelled
  QString reportText;    // CR LF before every line, letters converted
  QString engineErrors;  // the engine's error channel, or why it could not be started
  bool ok() const { return outcome == Outcome::Done; }
};

class EngineRun {
 public:
  using Notify = std::function<void(const QString&)>;
  // Asks a question; true for "Kör ändå".
  using Confirm = std::function<bool(const QString&)>;

  // `files` and `dialogue`: the file-open routine and its disk-error dialogue.
  EngineRun(FileTable& files, DiskDialogue dialogue);

  void setWorkingFolder(const QString& folder) { m_workingFolder = folder; }
  void setProgramFolder(const QString& folder) { m_programFolder = folder; }
  // Where messages go; by default a message box over `parent` of run().
  void setNotify(Notify notify) { m_notify = std::move(notify); }
  // Where the warning of the checks goes; by default a message box over `parent` of run().
  void setConfirm(Confirm confirm) { m_confirm = std::move(confirm); }
  // How long the engine may run before the waiting window appears.
  void setQuietWait(int milliseconds) { m_quietWaitMs = milliseconds; }

  // Runs the case `store` was saved from. Sets store.diagramEnabled to whether the new report
  // was read. The waiting window is modal over `parent`.
  RunResult run(CaseStore& store, QWidget* parent = nullptr);

  // What the user is told when the engine ended with `exitCode` and wrote `errors`; empty
  // when the report is to be read (or found missing).
  static QString engineFailureMessage(int exitCode, const QString& errors);

  // The message for a line load in force outside spans 1..n, or empty when all lie inside.
  static QString lineLoadProblem(const CaseStore& store);

  // Replaces ~indata~.tmp in the working folder by a copy of the file the case was saved to.
  // False when that fails (the disk-error dialogue has been through it).
  bool copyExchange(const CaseStore& store);

  // The engine program and the folder it works in.
  QString programPath() const;
  QString workingFolder() const;

 private:
  bool copyCase(const QString& from, const QString& to);
  // Starts the engine and waits; false when "Avbryt" ended it. `exitCode`: the engine's exit
  // status, -1 when it did not end normally.
  bool runEngine(QWidget* parent, QString* errors, int* exitCode);
  QString inWorkingFolder(const QString& name) const;
  RunResult fail(RunResult::Outcome outcome, const QString& message, QWidget* parent);
  // The checks of the case file `store` was saved to: Done when the run may start.
  RunResult::Outcome checkBeforeRun(const CaseStore& store, QWidget* parent);

  FileTable& m_files;
  DiskDialogue m_dialogue;
  QString m_workingFolder;
  QString m_programFolder;
  Notify m_notify;
  Confirm m_confirm;
  int m_quietWaitMs = 300;
};

}  // namespace solvow

// One run of the engine on the saved case, from the gate to the report and the verdict.
//
// The engine solvowb lies in the program folder and works in the working folder: it reads the
// exchange copy ~indata~.tmp there and writes the report (the first nine characters of the
// case name plus ".RES"), MOMK.DAT and MOMD.DAT beside it. A run
//   1. passes the gate (run_gate.h): a refusal is told and nothing starts; notes and
//      warnings are asked, and "Avbryt" starts nothing;
//   2. removes the old report of the case, MOMK.DAT and MOMD.DAT, so a failed run shows nothing
//      old, and clears the diagram flag of the case;
//   3. copies the saved design-case file, wherever its folder is, to ~indata~.tmp;
//   4. starts solvowb with no arguments and waits for it without a time limit; after a short
//      while the waiting hook (the window with "Avbryt") takes over the wait and may end the
//      engine;
//   5. an engine that ends with status 2 (the case or the folder cannot be used) or 3 (a file
//      cannot be written) has its own line told and no report is read, whatever lies in the
//      folder; otherwise the report is read line by line and the diagram flag set, or the
//      message "Resultatfil till " + base name + ".IND" + " saknas !" is told.
// The verdict line is the engine's last console line when it is one ("Alla kontroller
// uppfyllda" or "Ej uppfyllt: ..."). Widget-free: the messages, the question and the waiting
// window are hooks the window gives.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "case_store.h"
#include "file_access.h"
#include "moment_file.h"
#include "run_gate.h"

class QProcess;

namespace solvow {

inline constexpr const char* kExchangeFile = "~indata~.tmp";
inline constexpr const char* kEngineProgram = "solvowb";

// Exit statuses of the engine that leave no valid report: a case or a folder it cannot use,
// and a file it cannot write.
inline constexpr int kEngineRefused = 2;
inline constexpr int kEngineWriteFailed = 3;

struct RunResult {
  enum class Outcome {
    Done,          // the report was read into `reportText`
    NotSaved,      // nothing was started
    BadLineLoad,   // nothing was started
    OldFilesStay,  // the old report or a moment file could not be removed; nothing was started
    NoReport,      // the engine left no report (or could not be started)
    EngineFailed,  // the engine ended with status 2 or 3; its line was told
    Cancelled,     // "Avbryt" ended the engine
    Refused,       // the checks found errors; nothing was started
    NotConfirmed,  // "Avbryt" on the question of the gate; nothing was started
  };
  Outcome outcome = Outcome::NoReport;
  QString message;       // what the user was told; empty for Done and Cancelled
  QString reportText;    // CR LF before every line, letters converted
  QString engineErrors;  // the engine's error channel, or why it could not be started
  QString verdictLine;   // the engine's verdict, or empty when its last line is none
  int exitCode = -1;     // -1 when the engine did not end by itself
  bool ok() const { return outcome == Outcome::Done; }
};

// The verdict among the engine's console output: its last line that is not empty, when that
// line begins "Alla kontroller uppfyllda" or "Ej uppfyllt"; otherwise empty.
QString verdictLine(const QByteArray& consoleOutput);

// The message for an engine that ended with `exitCode` 2 or 3, from its error channel and, when
// that is empty, its last console line: another calculation in the folder is told in words of
// its own; otherwise a heading and the engine's line.
QString engineFailureMessage(int exitCode, const QString& errors, const QByteArray& console);

class EngineRun {
 public:
  using Notify = std::function<void(const QString&)>;
  // Asks a question; true for "Kör ändå".
  using Confirm = std::function<bool(const QString&)>;
  // Takes over the wait for an engine that has not ended after the quiet wait and returns once
  // it has ended; false when the user ended it.
  using Wait = std::function<bool(QProcess&)>;
  // The hourglass on (true) and off (false) around the work of the run.
  using Busy = std::function<void(bool)>;

  // `files` and `dialogue`: the file-open routine and its disk-error dialogue.
  EngineRun(FileTable& files, DiskDialogue dialogue);

  void setWorkingFolder(const QString& folder) { m_workingFolder = folder; }
  void setProgramFolder(const QString& folder) { m_programFolder = folder; }
  // Where messages go; without it they are only kept in the result.
  void setNotify(Notify notify) { m_notify = std::move(notify); }
  // Where the question of the gate goes; without it the answer is "Avbryt".
  void setConfirm(Confirm confirm) { m_confirm = std::move(confirm); }
  void setWait(Wait wait) { m_wait = std::move(wait); }
  void setBusy(Busy busy) { m_busy = std::move(busy); }
  bool hasNotify() const { return static_cast<bool>(m_notify); }
  bool hasConfirm() const { return static_cast<bool>(m_confirm); }
  bool hasWait() const { return static_cast<bool>(m_wait); }
  bool hasBusy() const { return static_cast<bool>(m_busy); }
  // How long the engine may run before the waiting hook takes over.
  void setQuietWait(int milliseconds) { m_quietWaitMs = milliseconds; }

  // The gate's verdict told or asked: true when the engine may start.
  bool admit(const GateVerdict& verdict);

  // Runs the case `store` was saved from. Sets store.diagramEnabled to whether the new report
  // was read.
  RunResult run(CaseStore& store);

  // Replaces ~indata~.tmp in the working folder by a copy of the file the case was saved to.
  // False when that fails (the disk-error dialogue has been through it).
  bool copyExchange(const CaseStore& store);

  // The engine program and the folder it works in.
  QString programPath() const;
  QString workingFolder() const;

 private:
  bool copyCase(const QString& from, const QString& to);
  // Starts the engine and waits; false when the waiting hook ended it.
  bool runEngine(RunResult& result, QByteArray* console);
  QString inWorkingFolder(const QString& name) const;
  RunResult fail(RunResult::Outcome outcome, const QString& message);
  RunResult::Outcome removeOldOutputs(const CaseStore& store, QString* message);
  void busy(bool on) const;

  FileTable& m_files;
  DiskDialogue m_dialogue;
  QString m_workingFolder;
  QString m_programFolder;
  Notify m_notify;
  Confirm m_confirm;
  Wait m_wait;
  Busy m_busy;
  int m_quietWaitMs = 300;
};

}  // namespace solvow

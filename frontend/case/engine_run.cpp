#include "engine_run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "report_text.h"

namespace solvow {

namespace {

// True when no file answers to `path` any more.
bool removeOld(const QString& path) {
  removeResolved(path);
  return !QFileInfo::exists(resolveExisting(path));
}

RunResult::Outcome refusalOutcome(const CaseStore& store) {
  if (!store.named || store.changed) return RunResult::Outcome::NotSaved;
  if (!lineLoadProblem(store).isEmpty()) return RunResult::Outcome::BadLineLoad;
  return RunResult::Outcome::Refused;
}

}  // namespace

QString verdictLine(const QByteArray& consoleOutput) {
  const QList<QByteArray> lines = consoleOutput.split('\n');
  for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
    const QString text = QString::fromUtf8(line->trimmed());
    if (text.isEmpty()) continue;
    if (text.startsWith(QStringLiteral("Alla kontroller uppfyllda")) ||
        text.startsWith(QStringLiteral("Ej uppfyllt")))
      return text;
    return {};
  }
  return {};
}

QString engineFailureMessage(int exitCode, const QString& errors, const QByteArray& console) {
  QString said = errors.trimmed();
  if (said.isEmpty()) {
    const QList<QByteArray> lines = console.trimmed().split('\n');
    said = QString::fromUtf8(lines.back().trimmed());
  }
  if (exitCode == kEngineRefused && said.contains(QStringLiteral("already running")))
    return QStringLiteral(
        "En annan beräkning pågår redan i arbetsmappen. Försök igen när den "
        "är klar.");
  const QString head = exitCode == kEngineWriteFailed
                           ? QStringLiteral(
                                 "Resultatet kunde inte skrivas, och inget resultat "
                                 "finns kvar.")
                           : QStringLiteral("Beräkningen kunde inte göras.");
  return said.isEmpty() ? head : head + u'\n' + said;
}

EngineRun::EngineRun(FileTable& files, DiskDialogue dialogue)
    : m_files(files), m_dialogue(std::move(dialogue)) {}

QString EngineRun::inWorkingFolder(const QString& name) const {
  return inFolder(workingFolder(), name);
}

void EngineRun::busy(bool on) const {
  if (m_busy) m_busy(on);
}

RunResult EngineRun::fail(RunResult::Outcome outcome, const QString& message) {
  RunResult result;
  result.outcome = outcome;
  result.message = message;
  if (!message.isEmpty() && m_notify) m_notify(message);
  return result;
}

bool EngineRun::admit(const GateVerdict& verdict) {
  if (!verdict.mayStart()) {
    if (m_notify) m_notify(verdict.refusal);
    return false;
  }
  if (!verdict.asks()) return true;
  return m_confirm && m_confirm(gateQuestion(verdict));
}

RunResult::Outcome EngineRun::removeOldOutputs(const CaseStore& store, QString* message) {
  const QString reportPath = inWorkingFolder(reportFileName(store.baseName));
  for (const QString& old : {reportPath, inWorkingFolder(QString::fromLatin1(kMomentFile)),
                             inWorkingFolder(QString::fromLatin1(kDesignMomentFile))}) {
    if (!removeOld(old)) {
      *message = QStringLiteral("Den gamla filen %1 kan inte tas bort. Beräkningen startas inte.")
                     .arg(QDir::toNativeSeparators(resolveExisting(old)));
      return RunResult::Outcome::OldFilesStay;
    }
  }
  return RunResult::Outcome::Done;
}

RunResult EngineRun::run(CaseStore& store) {
  const GateVerdict verdict = gateSavedCase(store);
  if (!admit(verdict)) {
    RunResult refused;
    refused.outcome = verdict.mayStart() ? RunResult::Outcome::NotConfirmed : refusalOutcome(store);
    refused.message = verdict.refusal;
    return refused;
  }
  store.diagramEnabled = false;
  QString problem;
  if (removeOldOutputs(store, &problem) != RunResult::Outcome::Done)
    return fail(RunResult::Outcome::OldFilesStay, problem);

  RunResult result;
  busy(true);
  QByteArray console;
  if (copyExchange(store)) {
    if (!runEngine(result, &console)) {
      busy(false);
      result.outcome = RunResult::Outcome::Cancelled;
      return result;
    }
  } else {
    result.engineErrors = QStringLiteral("%1 kan inte kopieras till %2.")
                              .arg(store.fileName, QString::fromLatin1(kExchangeFile));
  }
  result.verdictLine = verdictLine(console);
  if (result.exitCode == kEngineRefused || result.exitCode == kEngineWriteFailed) {
    busy(false);
    RunResult failed = fail(RunResult::Outcome::EngineFailed,
                            engineFailureMessage(result.exitCode, result.engineErrors, console));
    failed.engineErrors = result.engineErrors;
    failed.exitCode = result.exitCode;
    return failed;
  }
  QStringList lines;
  const bool read =
      readReportLines(m_files, inWorkingFolder(reportFileName(store.baseName)), m_dialogue, &lines);
  busy(false);
  if (read) {
    result.outcome = RunResult::Outcome::Done;
    result.reportText = reportViewerText(lines);
    store.diagramEnabled = true;
    return result;
  }
  RunResult failed = fail(RunResult::Outcome::NoReport, missingReportMessage(store.baseName));
  failed.engineErrors = result.engineErrors;
  failed.exitCode = result.exitCode;
  return failed;
}

bool EngineRun::copyExchange(const CaseStore& store) {
  const QString exchange = inWorkingFolder(QString::fromLatin1(kExchangeFile));
  removeResolved(exchange);
  return copyCase(inFolder(store.folder, store.fileName), exchange);
}

QString EngineRun::programPath() const {
  return inFolder(m_programFolder, QString::fromLatin1(kEngineProgram));
}

QString EngineRun::workingFolder() const {
  return m_workingFolder.isEmpty() ? QDir::currentPath() : m_workingFolder;
}

bool EngineRun::copyCase(const QString& from, const QString& to) {
  const qint16 in = m_files.open(from, static_cast<int>(FileMode::Read), 0, m_dialogue);
  if (in == 0) return false;
  const QByteArray bytes = m_files.file(in)->readAll();
  m_files.close(in);
  const qint16 out = m_files.open(to, static_cast<int>(FileMode::Write), 0, m_dialogue);
  if (out == 0) return false;
  QFile* file = m_files.file(out);
  const bool ok = file->write(bytes) == bytes.size() && file->flush();
  m_files.close(out);
  return ok;
}

bool EngineRun::runEngine(RunResult& result, QByteArray* console) {
  QProcess engine;
  engine.setProgram(programPath());
  engine.setWorkingDirectory(workingFolder());
  engine.start(QIODevice::ReadOnly);
  if (!engine.waitForStarted(-1)) {
    result.engineErrors =
        QStringLiteral("%1 kan inte startas: %2").arg(engine.program(), engine.errorString());
    return true;
  }
  bool cancelled = false;
  if (!engine.waitForFinished(m_quietWaitMs) && engine.state() != QProcess::NotRunning) {
    busy(false);
    if (m_wait && !m_wait(engine) && engine.state() != QProcess::NotRunning) {
      cancelled = true;
      engine.kill();
    }
    engine.waitForFinished(-1);
    busy(true);
  }
  *console = engine.readAllStandardOutput();
  result.engineErrors = QString::fromLocal8Bit(engine.readAllStandardError()).trimmed();
  if (!cancelled && engine.exitStatus() == QProcess::NormalExit)
    result.exitCode = engine.exitCode();
  return !cancelled;
}

}  // namespace solvow

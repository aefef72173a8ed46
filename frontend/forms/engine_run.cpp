#include "engine_run.h"

#include <algorithm>

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

#include "case_file.h"
#include "report_print.h"
#include "report_text.h"
#include "run_checks.h"

namespace solvow {

namespace {

QString joinFolder(const QString& folder, const QString& name) { return inFolder(folder, name); }

// True when no file answers to `path` any more.
bool removeOld(const QString& path) {
  removeResolved(path);
  return !QFileInfo::exists(resolveExisting(path));
}

// The small window shown while the engine runs.
class RunningWindow : public QDialog {
 public:
  explicit RunningWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Korning"));
    setWindowTitle(QStringLiteral("SOLVOW"));
    setModal(true);
    auto* text = new QLabel(QStringLiteral("Beräkning pågår ..."), this);
    auto* cancel = new QPushButton(QStringLiteral("Avbryt"), this);
    cancel->setObjectName(QStringLiteral("Avbryt"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  }
};

}  // namespace

EngineRun::EngineRun(FileTable& files, DiskDialogue dialogue)
    : m_files(files), m_dialogue(std::move(dialogue)) {}

QString EngineRun::lineLoadProblem(const CaseStore& store) {
  const int count = std::clamp<int>(store.nllast, 0, kLineLoads);
  for (int k = 1; k <= count; ++k) {
    const int span = store.lineLoads[k].llfnr;
    if (span < 1 || span > store.nfack)
      return QStringLiteral("Linjelast %1 ligger i fack %2, men bjälklaget har %3 fack. "
                            "Rätta fack nr och spara innan beräkningen körs.")
          .arg(k)
          .arg(span)
          .arg(store.nfack);
  }
  return {};
}

QString EngineRun::inWorkingFolder(const QString& name) const {
  return joinFolder(workingFolder(), name);
}

RunResult EngineRun::fail(RunResult::Outcome outcome, const QString& message, QWidget* parent) {
  RunResult result;
  result.outcome = outcome;
  result.message = message;
  if (!message.isEmpty()) {
    if (m_notify)
      m_notify(message);
    else
      QMessageBox::information(parent, QStringLiteral("SOLVOW"), message);
  }
  return result;
}

RunResult::Outcome EngineRun::checkBeforeRun(const CaseStore& store, QWidget* parent) {
  // The engine calculates the file, so the file is what is checked. A file that cannot be
  // read is left to the run, which then says that the report is missing.
  CaseStore saved;
  setDefaults(saved);
  QFile file(resolveExisting(joinFolder(store.folder, store.fileName)));
  if (!file.open(QIODevice::ReadOnly) || !readCaseBytes(file.readAll(), file.fileName(), saved))
    return RunResult::Outcome::Done;
  const CaseCheck check = checkCase(saved);
  if (!check.errors.isEmpty()) {
    fail(RunResult::Outcome::Refused, refusalMessage(check), parent);
    return RunResult::Outcome::Refused;
  }
  if (check.warnings.isEmpty()) return RunResult::Outcome::Done;
  const QString question = warningMessage(check);
  bool go = false;
  if (m_confirm) {
    go = m_confirm(question);
  } else {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("SOLVOW"), question, QMessageBox::NoButton,
                    parent);
    QPushButton* run = box.addButton(QStringLiteral("Kör ändå"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Avbryt"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.exec();
    go = box.clickedButton() == run;
  }
  return go ? RunResult::Outcome::Done : RunResult::Outcome::NotConfirmed;
}

RunResult EngineRun::run(CaseStore& store, QWidget* parent) {
  if (!store.named || store.changed)
    return fail(RunResult::Outcome::NotSaved, QStringLiteral("Du måste spara Filen först !"),
                parent);
  if (const QString problem = lineLoadProblem(store); !problem.isEmpty())
    return fail(RunResult::Outcome::BadLineLoad, problem, parent);
  if (const RunResult::Outcome checked = checkBeforeRun(store, parent);
      checked != RunResult::Outcome::Done) {
    RunResult refused;
    refused.outcome = checked;
    return refused;
  }

  const QString reportPath = inWorkingFolder(reportFileName(store.baseName));
  store.diagramEnabled = false;
  for (const QString& old : {reportPath, inWorkingFolder(QString::fromLatin1(kMomentFile)),
                             inWorkingFolder(QString::fromLatin1(kDesignMomentFile))}) {
    if (!removeOld(old))
      return fail(RunResult::Outcome::OldFilesStay,
                  QStringLiteral("Den gamla filen %1 kan inte tas bort. Beräkningen startas "
                                 "inte.")
                      .arg(QDir::toNativeSeparators(resolveExisting(old))),
                  parent);
  }

  RunResult result;
  {
    const WaitCursor wait;
    if (copyExchange(store)) {
      int exitCode = -1;
      if (!runEngine(parent, &result.engineErrors, &exitCode)) {
        result.outcome = RunResult::Outcome::Cancelled;
        return result;
      }
      if (const QString failure = engineFailureMessage(exitCode, result.engineErrors);
          !failure.isEmpty()) {
        RunResult failed = fail(RunResult::Outcome::NoReport, failure, parent);
        failed.engineErrors = result.engineErrors;
        return failed;
      }
    } else {
      result.engineErrors = QStringLiteral("%1 kan inte kopieras till %2.")
                                .arg(store.fileName, QString::fromLatin1(kExchangeFile));
    }
    QStringList lines;
    if (readReportLines(m_files, reportPath, m_dialogue, &lines)) {
      result.outcome = RunResult::Outcome::Done;
      result.reportText = reportViewerText(lines);
      store.diagramEnabled = true;
      return result;
    }
  }
  RunResult failed = fail(RunResult::Outcome::NoReport, missingReportMessage(store.baseName),
                          parent);
  failed.engineErrors = result.engineErrors;
  return failed;
}

bool EngineRun::copyExchange(const CaseStore& store) {
  const QString exchange = inWorkingFolder(QString::fromLatin1(kExchangeFile));
  removeResolved(exchange);
  return copyCase(joinFolder(store.folder, store.fileName), exchange);
}

QString EngineRun::programPath() const {
  return joinFolder(m_programFolder, QString::fromLatin1(kEngineProgram));
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

QString EngineRun::engineFailureMessage(int exitCode, const QString& errors) {
  if (exitCode == 2 && errors.contains(QStringLiteral("already running")))
    return QStringLiteral("En annan beräkning pågår redan i arbetsmappen. Försök igen när den "
                          "är klar.");
  if (exitCode == 3)
    return QStringLiteral("Resultatet kunde inte skrivas, och inget resultat finns kvar.\n%1")
        .arg(errors);
  return {};
}

bool EngineRun::runEngine(QWidget* parent, QString* errors, int* exitCode) {
  QProcess engine;
  engine.setProgram(programPath());
  engine.setWorkingDirectory(workingFolder());
  engine.setStandardOutputFile(QProcess::nullDevice());
  engine.start(QIODevice::ReadOnly);
  if (!engine.waitForStarted(-1)) {
    *errors = QStringLiteral("%1 kan inte startas: %2").arg(engine.program(), engine.errorString());
    return true;
  }
  bool cancelled = false;
  if (!engine.waitForFinished(m_quietWaitMs) && engine.state() != QProcess::NotRunning) {
    RunningWindow window(parent);
    QObject::connect(&engine, &QProcess::finished, &window, &QDialog::accept);
    if (engine.state() != QProcess::NotRunning && window.exec() == QDialog::Rejected &&
        engine.state() != QProcess::NotRunning) {
      cancelled = true;
      engine.kill();
    }
    engine.waitForFinished(-1);
  }
  *errors = QString::fromLocal8Bit(engine.readAllStandardError()).trimmed();
  *exitCode = engine.exitStatus() == QProcess::NormalExit ? engine.exitCode() : -1;
  return !cancelled;
}

}  // namespace solvow

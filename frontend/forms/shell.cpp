#include "shell.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QScreen>

#include "case_file.h"
#include "delfile.h"
#include "disk_error_dialog.h"
#include "engine_run.h"
#include "form1.h"
#include "form6.h"
#include "helpwindow.h"
#include "mdiform1.h"
#include "momkurva.h"
#include "notices.h"
#include "pdf_export.h"
#include "prompts.h"
#include "report_owner.h"
#include "run_window.h"
#include "search_dialog.h"
#include "startup_files.h"

namespace solvow::forms {
namespace {

const QString kMessageTitle = QStringLiteral("SOLVOW");

// The hourglass from here to the end of the scope, or to release().
class Hourglass {
 public:
  Hourglass() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~Hourglass() { release(); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;
  void release() {
    if (m_on) QGuiApplication::restoreOverrideCursor();
    m_on = false;
  }

 private:
  bool m_on = true;
};

}  // namespace

Shell::Shell(const QString& workFolder, QObject* parent)
    : QObject(parent),
      m_workFolder(QDir(workFolder).absolutePath()),
      m_dialogue([this](const DiskErrorMessage& message) {
        return askDiskError(message, m_window.get());
      }),
      m_recent(m_workFolder) {
  m_settings.iniFolder = m_workFolder;
  m_settings.files = &m_files;
  m_settings.dialogue = m_dialogue;
  // Until the program folder is known the lists of a new case are still empty; setDefaults
  // gives the window something to show.
  setDefaults(m_store);
  m_window = std::make_unique<MDIForm1>(m_store);
  m_window->installEventFilter(this);
  connectMenus();
  m_recent.read();
  m_window->setRecentFiles(m_recent.paths());
  connect(m_window.get(), &MDIForm1::recentChosen, this, &Shell::openRecent);
  m_printer.setFileNamer([this](const QString& proposed) {
    return chooseOutputFile(m_outputDialogState, QStringLiteral("Skriv till fil"), caseFolder(),
                            proposed, QStringLiteral("pdf"), m_window.get());
  });
  // Every edit, and every return to the results, checks whether they still fit the case.
  connect(m_window->form1(), &Form1::caseEdited, this, &Shell::showStaleness);
  connect(m_window.get(), &MDIForm1::marketChanged, this, &Shell::showStaleness);
  connect(m_window->mdiArea(), &QMdiArea::subWindowActivated, this, &Shell::showStaleness);
}

Shell::~Shell() {
  if (m_window) m_window->removeEventFilter(this);
}

Form6* Shell::viewer() const { return m_viewer.data(); }

Momkurva* Shell::diagram() const { return m_diagram.data(); }

void Shell::connectMenus() {
  const MDIForm1::Actions& a = m_window->actions();
  connect(a.n, &QAction::triggered, this, &Shell::newCase);
  connect(a.op, &QAction::triggered, this, &Shell::openCase);
  connect(a.spar, &QAction::triggered, this, &Shell::save);
  connect(a.spars, &QAction::triggered, this, &Shell::saveAs);
  connect(a.sut, &QAction::triggered, this, &Shell::printChosenReport);
  connect(a.skrinst, &QAction::triggered, this, &Shell::setUpPrinter);
  connect(a.pdf, &QAction::triggered, this, &Shell::savePdf);
  connect(a.forh, &QAction::triggered, this, &Shell::previewReport);
  connect(a.av, &QAction::triggered, this, &Shell::leave);
  connect(a.start, &QAction::triggered, this, &Shell::runCalculation);
  connect(a.sok, &QAction::triggered, this, &Shell::searchDesign);
  connect(a.res1, &QAction::triggered, this, &Shell::showReport);
  connect(a.res2, &QAction::triggered, this, &Shell::printReport);
  connect(a.del1, &QAction::triggered, this, [this] { deleteFiles(QStringLiteral("*.RES")); });
  connect(a.del2, &QAction::triggered, this, [this] { deleteFiles(QStringLiteral("*.IND")); });
  connect(a.del3, &QAction::triggered, this,
          [this] { deleteFiles(QStringLiteral("*.IND;*.RES")); });
  connect(a.mom, &QAction::triggered, this, &Shell::showDiagram);
  connect(a.vikt, &QAction::triggered, this, [this] { showScopeNotice(m_window.get()); });

  // F1 is a key of the whole window, not a menu entry.
  m_help = new QAction(m_window.get());
  m_help->setObjectName(QStringLiteral("hjalp"));
  m_help->setShortcut(QKeySequence::HelpContents);
  m_help->setShortcutContext(Qt::WindowShortcut);
  m_window->addAction(m_help);
  connect(m_help, &QAction::triggered, this, &Shell::showHelp);
}

bool Shell::start() {
  Hourglass wait;
  // Room for the report and the diagram below the sketch, within the screen.
  QSize size = m_window->sizeHint().expandedTo(QSize(1100, 820));
  if (const QScreen* screen = m_window->screen())
    size = size.boundedTo(screen->availableGeometry().size());
  m_window->resize(size);
  m_window->show();

  m_store.programFolder = readProgramFolder(m_files, m_workFolder, m_dialogue)
                              .value_or(QCoreApplication::applicationDirPath());
  wait.release();  // the notices want the normal pointer

  showChangeNoticeIfDue(m_files, m_workFolder, m_dialogue, m_window.get());
  showScopeNotice(m_window.get());

  {
    Hourglass loading;
    QString error;
    if (!solvow::newCase(m_store, m_files, m_dialogue, &error)) {
      loading.release();
      QMessageBox::critical(m_window.get(), kMessageTitle,
                            error + QStringLiteral("\nProgrammet avslutas."));
      m_ended = true;
      m_window->close();
      return false;
    }
    m_store.diagramEnabled = false;
    showCase();
  }

  m_settings.fontName = m_printer.fontFamily();
  if (auto font = readReportFont(m_files, m_workFolder, m_dialogue)) m_settings.fontName = *font;

  m_window->show();
  m_store.changed = false;
  return true;
}

void Shell::showCase() {
  // The windows of the previous case's results go with it: a report left on screen would be
  // read as this case's.
  closeResults();
  m_verdict.clear();
  m_resultCase = caseNow();
  m_window->loadCase();
  m_window->showInputForm();
  focusHeading();
}

void Shell::focusHeading() {
  Form1* form = m_window->form1();
  form->focusHeading();
  if (auto* heading = form->findChild<QLineEdit*>(QStringLiteral("rubrik"))) heading->selectAll();
}

void Shell::tell(const QString& text) {
  QMessageBox::information(m_window.get(), kMessageTitle, text);
}

void Shell::warn(const QString& text) { QMessageBox::warning(m_window.get(), kMessageTitle, text); }

QString Shell::caseFolder() const {
  return m_store.named && !m_store.folder.isEmpty() ? m_store.folder : m_workFolder;
}

QByteArray Shell::caseNow() const { return caseFileBytes(m_store).value_or(QByteArray()); }

bool Shell::resultStale() const {
  const QByteArray now = caseNow();
  return now.isEmpty() || now != m_resultCase;
}

void Shell::showStaleness() {
  if (m_viewer == nullptr && m_diagram == nullptr) return;
  const bool stale = resultStale();
  if (m_viewer != nullptr) m_viewer->setStale(stale);
  if (m_diagram != nullptr) m_diagram->setStale(stale);
}

// --- files -------------------------------------------------------------------------------

void Shell::newCase() {
  focusHeading();
  if (!saveBeforeReplacing(
          QStringLiteral("Ny"), m_store.baseName, m_store.changed, [this] { return save(); },
          m_window.get()))
    return;
  Hourglass wait;
  QString error;
  if (!solvow::newCase(m_store, m_files, m_dialogue, &error)) {
    wait.release();
    warn(error);
    return;
  }
  m_store.diagramEnabled = false;
  showCase();
}

void Shell::openCase() {
  focusHeading();
  if (!saveBeforeReplacing(
          QStringLiteral("Öppna"), m_store.baseName, m_store.changed, [this] { return save(); },
          m_window.get()))
    return;
  const FileChoice choice =
      chooseFile(m_dialogState, FileDialogMode::Open, QStringLiteral("Välj Indatafil"),
                 QStringLiteral("*.IND"), m_window.get());
  if (choice.cancelled) return;
  openCaseFile(choice.folder, choice.name);
}

bool Shell::openCaseFile(const QString& folder, const QString& name) {
  Hourglass wait;
  QString error;
  if (!solvow::openCase(m_store, m_files, folder, name, m_dialogue, &error)) {
    wait.release();
    warn(error);
    return false;
  }
  m_store.diagramEnabled = false;
  const QString renamed = adoptFileName(m_store);
  showCase();
  rememberCaseFile();
  wait.release();
  if (!renamed.isEmpty()) warn(renamed);
  if (m_store.brandb == kFireOptionRei120) warn(rei120Note());
  return true;
}

void Shell::openRecent(const QString& path) {
  focusHeading();
  const QFileInfo file(path);
  if (!file.exists()) {
    m_recent.remove(path);
    m_window->setRecentFiles(m_recent.paths());
    warn(QStringLiteral("Filen %1 finns inte längre och tas bort ur listan.")
             .arg(QDir::toNativeSeparators(path)));
    return;
  }
  if (!saveBeforeReplacing(
          QStringLiteral("Öppna"), m_store.baseName, m_store.changed, [this] { return save(); },
          m_window.get()))
    return;
  openCaseFile(file.absolutePath(), file.fileName());
}

void Shell::rememberCaseFile() {
  m_recent.add(QDir(m_store.folder).filePath(m_store.fileName));
  m_window->setRecentFiles(m_recent.paths());
}

bool Shell::save() {
  if (!m_store.named) return saveAs();
  QString error;
  if (!saveCase(m_store, &error)) {
    warn(error);
    return false;
  }
  m_window->setWindowTitle(m_store.fileName);
  rememberCaseFile();
  return true;
}

bool Shell::saveAs() {
  const QString ownFile =
      m_store.named ? QDir(m_store.folder).filePath(m_store.fileName) : QString();
  const FileChoice choice =
      chooseFile(m_dialogState, FileDialogMode::Save, QStringLiteral("Spara som.."),
                 QStringLiteral("*.IND"), m_window.get(), ownFile);
  if (choice.cancelled) return false;
  QString error;
  bool written = false;
  {
    Hourglass wait;
    written = saveCaseAs(m_store, choice.folder, choice.name, &error);
  }
  if (!written) {
    warn(error);
    return false;
  }
  m_window->setWindowTitle(m_store.fileName);
  rememberCaseFile();
  return true;
}

// --- runs and results --------------------------------------------------------------------

QMdiSubWindow* Shell::addMaximised(QWidget* form) {
  QMdiArea* area = m_window->mdiArea();
  QMdiSubWindow* w = area->addSubWindow(form);
  w->setAttribute(Qt::WA_DeleteOnClose);
  // Its own size, for when another window is maximised over it and then goes: the whole area,
  // not the small default size at the bottom left.
  w->setGeometry(QRect(QPoint(0, 0), area->viewport()->size()));
  w->showMaximized();
  m_window->mdiArea()->setActiveSubWindow(w);
  return w;
}

void Shell::closeSubWindowOf(QWidget* form) {
  if (form == nullptr) return;
  if (auto* w = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
    w->close();  // deletes itself and the form once the current signal is done
  else
    form->deleteLater();
}

void Shell::backToInputForm(QWidget* form) {
  closeSubWindowOf(form);
  // The input form keeps its own size at the top left, as at the start: maximised, its fixed
  // layout would float in the middle of a large window.
  m_window->showInputForm();
  focusHeading();
}

void Shell::closeResults() {
  closeSubWindowOf(m_viewer);
  closeSubWindowOf(m_diagram);
  m_viewer = nullptr;
  m_diagram = nullptr;
}

void Shell::prepareRun(EngineRun& run) {
  run.setWorkingFolder(m_workFolder);
  run.setProgramFolder(m_store.programFolder);
  attachRunWindows(run, m_window.get());
}

void Shell::runCalculation() {
  EngineRun run(m_files, m_dialogue);
  prepareRun(run);
  const RunResult result = run.run(m_store);
  m_window->updateMenus();
  if (result.outcome == RunResult::Outcome::NoReport ||
      result.outcome == RunResult::Outcome::EngineFailed ||
      result.outcome == RunResult::Outcome::Cancelled) {
    // The old report and curves are gone from the folder; their windows go too.
    closeResults();
    m_verdict.clear();
    m_window->showInputForm();
  }
  if (!result.ok()) return;
  m_resultCase = caseNow();
  m_verdict = result.verdictLine;
  if (m_viewer == nullptr) {
    m_viewer = newViewer();
    addMaximised(m_viewer);
  } else if (auto* w = qobject_cast<QMdiSubWindow*>(m_viewer->parentWidget())) {
    w->showMaximized();
    m_window->mdiArea()->setActiveSubWindow(w);
  }
  m_viewer->showReportText(result.reportText);
  m_viewer->setVerdict(m_verdict);
  showStaleness();
}

void Shell::searchDesign() {
  // A case "Kör..." refuses is not searched either; the search asks the whole gate again, with
  // its ranges, when it starts.
  if (const GateVerdict verdict = gateSavedCase(m_store); !verdict.mayStart())
    return tell(verdict.refusal);
  EngineRun run(m_files, m_dialogue);
  prepareRun(run);
  SearchDialog dialog(m_store, run, m_window.get());
  // The design is one undoable step, as an edit.
  connect(&dialog, &SearchDialog::designApplied, this, [this] {
    m_window->applyCaseChange();
    m_window->showInputForm();
  });
  dialog.exec();
}

std::optional<QStringList> Shell::caseReportLines() {
  QStringList lines;
  QString problem;
  {
    Hourglass wait;
    if (!readReportLines(m_files, inFolder(m_workFolder, reportFileName(m_store.baseName)),
                         m_dialogue, &lines))
      problem = missingReportMessage(m_store.baseName);
    else if (!reportIsOfCase(lines, m_store) && !isOfCalculatedCase(lines))
      problem = notThisCaseMessage(m_store, lines);
  }
  if (problem.isEmpty()) return lines;
  tell(problem);
  return std::nullopt;
}

bool Shell::isOfCalculatedCase(const QStringList& lines) const {
  // An edit of the heading since the run leaves the report the case's, only out of date.
  CaseStore calculated;
  setDefaults(calculated);
  return !m_resultCase.isEmpty() && readCaseBytes(m_resultCase, QString(), calculated) &&
         reportIsOfCase(lines, calculated);
}

bool Shell::mayExport() {
  if (!resultStale()) return true;
  tell(staleExportRefusal());
  return false;
}

void Shell::showReport() {
  const std::optional<QStringList> lines = caseReportLines();
  if (!lines) {
    // A viewer that shows another case's report, or one that is gone, must not stay.
    closeSubWindowOf(m_viewer);
    m_viewer = nullptr;
    return;
  }
  const bool fresh = m_viewer == nullptr;
  Form6* viewer = fresh ? newViewer() : m_viewer.data();
  viewer->showReportText(reportViewerText(*lines));
  viewer->setVerdict(resultStale() ? QString() : m_verdict);
  if (fresh) {
    m_viewer = viewer;
    addMaximised(m_viewer);
  } else if (auto* w = qobject_cast<QMdiSubWindow*>(m_viewer->parentWidget())) {
    w->showMaximized();
    m_window->mdiArea()->setActiveSubWindow(w);
  }
  showStaleness();
}

Form6* Shell::newViewer() {
  auto* viewer = new Form6(m_settings);
  connect(viewer, &Form6::returnRequested, this, [this] { backToInputForm(m_viewer); });
  connect(viewer, &Form6::previewRequested, this, &Shell::previewReport);
  return viewer;
}

void Shell::printReport() {
  if (!mayExport() || !caseReportLines()) return;
  QString error;
  if (!printCurrentReport(m_printer, m_files, m_workFolder, m_store.baseName, m_settings.fontName,
                          m_dialogue, &error) &&
      !error.isEmpty())
    tell(error);
}

void Shell::printChosenReport() {
  const FileChoice choice =
      chooseFile(m_dialogState, FileDialogMode::Open, QStringLiteral("Välj Resultatfil"),
                 QStringLiteral("*.RES"), m_window.get());
  if (choice.cancelled) return;
  const QString chosen = QDir(choice.folder).filePath(choice.name);
  const QString own = inFolder(m_workFolder, reportFileName(m_store.baseName));
  if (QFileInfo(chosen).canonicalFilePath() ==
          QFileInfo(resolveExisting(own)).canonicalFilePath() &&
      !mayExport())
    return;
  QString error;
  if (!printReportFile(m_printer, m_files, QDir(choice.folder).filePath(choice.name), m_dialogue,
                       &error) &&
      !error.isEmpty())
    tell(error);
}

void Shell::setUpPrinter() { m_printer.setUp(m_window.get()); }

void Shell::previewReport() {
  if (!mayExport()) return;
  const std::optional<QStringList> lines = caseReportLines();
  if (!lines) return;
  const QList<QStringList> pages = reportPages(*lines);
  const QString family = m_settings.fontName;
  QPrintPreviewDialog dialog(&m_printer.printer(), m_window.get());
  dialog.setWindowTitle(QStringLiteral("Förhandsgranska - ") + reportFileName(m_store.baseName));
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [&pages, &family](QPrinter* p) {
    QPainter painter(p);
    paintReportPages(painter, *p, p->resolution(), pages, family);
  });
  dialog.exec();
}

void Shell::savePdf() {
  if (!m_store.diagramEnabled) return;  // no results of this case to export
  if (!mayExport() || !caseReportLines()) return;
  const QString path = chooseOutputFile(m_outputDialogState, QStringLiteral("Spara som PDF"),
                                        caseFolder(), m_store.baseName + QStringLiteral(".pdf"),
                                        QStringLiteral("pdf"), m_window.get());
  if (!path.isEmpty()) exportPdf(path);
}

bool Shell::exportPdf(const QString& path) {
  if (!mayExport()) return false;
  const std::optional<QStringList> caseLines = caseReportLines();
  if (!caseLines) return false;
  Hourglass wait;
  ResultDocument document;
  QStringList lines = *caseLines;
  QString error;
  if (!readDesignMomentFile(m_files, m_dialogue, m_workFolder, &document.curves, &error))
    lines.clear();
  if (!error.isEmpty()) {
    wait.release();
    tell(error);
    return false;
  }
  document.pages = reportPages(lines);
  document.fontFamily = m_settings.fontName;
  document.slab = slabGeometry(m_store, document.curves.spans);
  document.sheet = sheetText(m_store, m_workFolder);
  document.title = m_store.rubrik;
  if (!writeResultPdf(path, document, m_printer.printer().pageLayout(), &error)) {
    wait.release();
    warn(error);
    return false;
  }
  return true;
}

void Shell::showDiagram() {
  if (!m_store.diagramEnabled) return;  // no results of this case to draw
  closeSubWindowOf(m_diagram);
  m_diagram = nullptr;
  auto* diagram = new Momkurva(m_store, m_files, m_dialogue, m_workFolder, m_printer);
  diagram->setStale(resultStale());
  if (!diagram->loadDiagram()) {
    delete diagram;
    return;
  }
  m_diagram = diagram;
  connect(m_diagram, &Momkurva::returnRequested, this, [this] { backToInputForm(m_diagram); });
  addMaximised(m_diagram);
  showStaleness();
}

// --- files, notices, help, leaving -------------------------------------------------------

void Shell::deleteFiles(const QString& patterns) {
  showDelFile(m_dialogState, patterns, m_window.get());
}

void Shell::showHelp() { forms::showHelp(m_store.programFolder, m_window.get()); }

bool Shell::mayLeave() {
  focusHeading();
  const bool unsaved = m_store.changed;
  if (!saveBeforeLeaving(
          m_store.baseName, unsaved, [this] { return save(); }, m_window.get()))
    return false;
  if (!unsaved) removeResolved(QDir(m_workFolder).filePath(QString::fromLatin1(kExchangeFile)));
  return true;
}

bool Shell::leave() {
  if (m_ended) return true;
  if (!mayLeave()) return false;
  m_ended = true;
  m_window->close();
  emit ended();
  return true;
}

bool Shell::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_window.get() && event->type() == QEvent::Close && !m_ended) {
    if (!mayLeave()) {
      event->ignore();
      return true;
    }
    m_ended = true;
    emit ended();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace solvow::forms

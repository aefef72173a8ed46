#include "mdiform1.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "form1.h"
#include "form3.h"
#include "form_controls.h"
#include "input_rules.h"
#include "layout_sketch.h"
#include "recent_files.h"

// The flag pictures are compiled into the forms library; a static library needs its
// resources pulled in by name.
static void initFlagResources() { Q_INIT_RESOURCE(flags); }

namespace solvow::forms {
namespace {

// Picture of each market, 1..6.
constexpr std::array<const char*, kMarketSlots> kFlagFile{"",
                                                          ":/flags/se.xpm",
                                                          ":/flags/pl.xpm",
                                                          ":/flags/no.xpm",
                                                          ":/flags/fi.xpm",
                                                          ":/flags/dk.xpm",
                                                          ":/flags/fri.xpm"};

constexpr int kStodWidth = 120;   // twips
constexpr int kStodHeight = 240;  // twips
constexpr int kStodTop = 90;

}  // namespace

MDIForm1::MDIForm1(CaseStore& store, QWidget* parent) : QMainWindow(parent), m_store(store) {
  initFlagResources();
  setObjectName(QStringLiteral("MDIForm1"));
  createActions();

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(4, 4, 4, 4);
  column->setSpacing(4);

  auto* top = new QHBoxLayout;
  auto* brand = new QVBoxLayout;
  m_label = new QLabel(QStringLiteral("Solvodeck"), central);
  m_label->setObjectName(QStringLiteral("Label1"));
  QFont big = m_label->font();
  big.setPixelSize(20);
  big.setBold(true);
  big.setItalic(true);
  m_label->setFont(big);
  brand->addWidget(m_label);

  // Six flag pictures stacked in one place; only the flag of the current market is shown.
  auto* flagPlace = new QWidget(central);
  flagPlace->setFixedSize(56, 38);
  for (int k = 1; k <= kFlags; ++k) {
    auto* b = new QToolButton(flagPlace);
    b->setObjectName(QStringLiteral("Flagga(%1)").arg(k));
    const int market = marketOfFlag(k);
    b->setIcon(QIcon(QLatin1String(kFlagFile[static_cast<std::size_t>(market)])));
    b->setIconSize(QSize(48, 30));
    b->setToolTip(QLatin1String(marketInfo(market).name));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(0, 0, 56, 38);
    b->setVisible(k == 1);
    connect(b, &QToolButton::clicked, this, [this, k] { flagClicked(k); });
    m_flags[static_cast<std::size_t>(k)] = b;
  }
  brand->addWidget(flagPlace);
  brand->addStretch();
  top->addLayout(brand);
  top->addSpacing(12);
  createSketch();
  auto* panes = new QVBoxLayout;
  panes->setSpacing(0);
  panes->addWidget(m_picture2);
  panes->addWidget(m_picture1);
  top->addLayout(panes);
  top->addStretch();
  column->addLayout(top);

  m_mdi = new QMdiArea(central);
  m_mdi->setObjectName(QStringLiteral("mdiArea"));
  column->addWidget(m_mdi, 1);
  setCentralWidget(central);

  m_form1 = new Form1(m_store);
  m_form1Window =
      m_mdi->addSubWindow(m_form1, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowMinimizeButtonHint);
  m_form1Window->move(0, 0);
  m_form1Window->show();
  m_mdi->setMinimumSize(m_form1Window->sizeHint() + QSize(4, 4));
  connect(m_form1, &Form1::caseEdited, this, &MDIForm1::updateMenus);
  connect(m_form1, &Form1::layoutChanged, this, &MDIForm1::refreshLayoutSketch);
  connect(m_form1, &Form1::spanSketchChanged, this, &MDIForm1::refreshSpanSketch);
  connect(m_form1, &Form1::committed, this, &MDIForm1::recordStep);
  connect(m_form1, &Form1::statusMessage, this,
          [this](const QString& text) { statusBar()->showMessage(text); });
  connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
    if (w != nullptr && w == m_form1Window) m_form1->focusHeading();
  });

  // The status bar shows the menu entries' tips (the folder of a recent file) and the input
  // form's notes.
  statusBar()->setObjectName(QStringLiteral("statusBar"));
  setWindowTitle(m_store.fileName);
  updateMenus();
}

MDIForm1::~MDIForm1() {
  // The forms go first, while this window can still take their last signals; the document
  // area's own activation signals are no longer wanted.
  disconnect(m_mdi, nullptr, this, nullptr);
  delete m_mdi;
}

Form3* MDIForm1::form3() const { return m_form3.data(); }

void MDIForm1::createActions() {
  QMenuBar* bar = menuBar();
  const auto menu = [bar](const char* name, const QString& caption, QMenu* parentMenu = nullptr) {
    QMenu* m = parentMenu != nullptr ? parentMenu->addMenu(caption) : bar->addMenu(caption);
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name));
    return m;
  };
  const auto entry = [](QMenu* m, const char* name, const QString& caption) {
    QAction* a = m->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
  };
  const auto separator = [](QMenu* m, const char* name) {
    m->addSeparator()->setObjectName(QLatin1String(name));
  };

  Actions& a = m_actions;
  // Every menu has its letter ("&"): Alt and the letter opens it from the keyboard, before a
  // field can take the key as text.
  m_ark = menu("ark", QStringLiteral("&Arkiv"));
  a.n = entry(m_ark, "n", QStringLiteral("Ny"));
  a.n->setShortcut(QKeySequence::New);
  a.op = entry(m_ark, "op", QStringLiteral("Öppna..."));
  a.op->setShortcut(QKeySequence::Open);
  separator(m_ark, "t1");
  a.spar = entry(m_ark, "spar", QStringLiteral("Spara"));
  a.spar->setShortcut(QKeySequence::Save);
  a.spars = entry(m_ark, "spars", QStringLiteral("Spara som..."));
  a.pdf = entry(m_ark, "pdf", QStringLiteral("Spara som PDF..."));
  separator(m_ark, "t2");
  a.sut = entry(m_ark, "sut", QStringLiteral("Skriv ut..."));
  a.sut->setShortcut(QKeySequence::Print);
  a.forh = entry(m_ark, "forh", QStringLiteral("Förhandsgranska..."));
  a.skrinst = entry(m_ark, "skrinst", QStringLiteral("Skrivarinställning..."));
  separator(m_ark, "t3");
  a.av = entry(m_ark, "av", QStringLiteral("Avsluta"));
  // Opening the file menu stores the value of the field being edited first; the focus stays
  // where it is, so a diagram or report in front stays in front.
  connect(m_ark, &QMenu::aboutToShow, this, [this] { m_form1->commitEditedField(); });

  QMenu* edit = menu("redigera", QStringLiteral("&Redigera"));
  a.angra = entry(edit, "angra", QStringLiteral("Ångra"));
  a.angra->setShortcut(QKeySequence::Undo);
  a.gorom = entry(edit, "gorom", QStringLiteral("Gör om"));
  // Ctrl+Y first, then the platform's own keys of redo (Ctrl+Shift+Z), each once.
  QList<QKeySequence> redoKeys{QKeySequence(Qt::ControlModifier | Qt::Key_Y)};
  for (const QKeySequence& k : QKeySequence::keyBindings(QKeySequence::Redo))
    if (!redoKeys.contains(k)) redoKeys.append(k);
  a.gorom->setShortcuts(redoKeys);
  connect(a.angra, &QAction::triggered, this, &MDIForm1::undo);
  connect(a.gorom, &QAction::triggered, this, &MDIForm1::redo);

  QMenu* red = menu("Red", QStringLiteral("&Linjelaster"));
  a.blin = entry(red, "blin", QStringLiteral("Linjelaster"));
  connect(a.blin, &QAction::triggered, this, &MDIForm1::showLineLoads);

  QMenu* ber = menu("ber", QStringLiteral("&Beräkning"));
  a.start = entry(ber, "start", QStringLiteral("Kör..."));
  a.start->setShortcut(Qt::Key_F5);
  a.sok = entry(ber, "sok", QStringLiteral("Sök lösning..."));

  QMenu* res = menu("res", QStringLiteral("Res&ultat"));
  a.res1 = entry(res, "res1", QStringLiteral("Resultat på skärm"));
  a.res2 = entry(res, "res2", QStringLiteral("Resultat på skrivare"));

  QMenu* fil = menu("fil", QStringLiteral("&Filhantering"));
  QMenu* del = menu("del", QStringLiteral("Ta bort"), fil);
  a.del1 = entry(del, "del1", QStringLiteral("Resultatfiler"));
  a.del2 = entry(del, "del2", QStringLiteral("Indatafiler"));
  a.del3 = entry(del, "del3", QStringLiteral("Resultat+Indatafiler"));

  m_dia = menu("dia", QStringLiteral("&Diagram"));
  a.dia = m_dia->menuAction();
  a.mom = entry(m_dia, "mom", QStringLiteral("Moment"));

  a.vikt = bar->addAction(QStringLiteral("&Viktigt"));
  a.vikt->setObjectName(QStringLiteral("vikt"));
}

void MDIForm1::setRecentFiles(const QStringList& paths) {
  qDeleteAll(m_recent);
  m_recent.clear();
  if (m_recentSeparator == nullptr) {
    m_recentSeparator = m_ark->insertSeparator(m_actions.av);
    m_recentSeparator->setObjectName(QStringLiteral("recentSeparator"));
  }
  for (int i = 0; i < paths.size(); ++i) {
    const QString& path = paths[i];
    auto* a = new QAction(RecentFiles::menuText(i, path), m_ark);
    a->setObjectName(QStringLiteral("recent%1").arg(i + 1));
    a->setStatusTip(QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
    connect(a, &QAction::triggered, this, [this, path] { emit recentChosen(path); });
    m_ark->insertAction(m_recentSeparator, a);
    m_recent.append(a);
  }
  m_recentSeparator->setVisible(!paths.isEmpty());
}

void MDIForm1::createSketch() {
  m_picture2 = new SketchPane(
      QStringLiteral("Picture2"), kSpanPaneWidth, kSpanPaneHeight,
      [this](QPainter& p) { paintSpanSketch(p, m_store); }, this);
  m_picture1 = new SketchPane(
      QStringLiteral("Picture1"), kSpanPaneWidth, kLoadPaneHeight,
      [this](QPainter& p) { paintLoadSketch(p, m_store); }, this);
  for (int i = 0; i < kSupportButtons; ++i) {
    auto* b = new QPushButton(m_picture2);
    b->setObjectName(QStringLiteral("stod(%1)").arg(i));
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(0, tw(kStodTop), tw(kStodWidth), tw(kStodHeight));
    b->hide();
    m_stod[static_cast<std::size_t>(i)] = b;
  }
}

void MDIForm1::updateMenus() {
  m_actions.dia->setEnabled(m_store.diagramEnabled);
  m_actions.pdf->setEnabled(m_store.diagramEnabled);
  m_actions.angra->setEnabled(m_history.canUndo());
  m_actions.gorom->setEnabled(m_history.canRedo());
}

void MDIForm1::recordStep() {
  m_history.record(m_store);
  updateMenus();
}

void MDIForm1::applyCaseChange() {
  recordStep();
  showStore();
}

void MDIForm1::commitField() {
  if (auto* field = qobject_cast<FieldEdit*>(QApplication::focusWidget())) field->commit();
  recordStep();  // the heading is stored as it is typed
}

void MDIForm1::undo() {
  commitField();
  if (m_history.undo(m_store)) showStore();
}

void MDIForm1::redo() {
  commitField();
  if (m_history.redo(m_store)) showStore();
}

void MDIForm1::refreshSpanSketch() {
  const SketchGeometry g = sketchGeometry(m_store);
  const int n = g.drawable ? std::clamp<int>(m_store.nfack, 0, kSupportButtons - 1) : -1;
  for (int i = 0; i < kSupportButtons; ++i) {
    QPushButton* b = m_stod[static_cast<std::size_t>(i)];
    if (i > n) {
      b->hide();
      continue;
    }
    const double left = (g.x[static_cast<std::size_t>(i)] + kSketchLeft) / 15.0;
    b->move(static_cast<int>(std::lround(left)), tw(kStodTop));
    b->show();
  }
  m_picture2->update();
}

void MDIForm1::refreshLoadSketch() { m_picture1->update(); }

void MDIForm1::refreshLayoutSketch() {
  refreshSpanSketch();
  refreshLoadSketch();
}

int MDIForm1::visibleFlag() const {
  for (int k = 1; k <= kFlags; ++k)
    if (!m_flags[static_cast<std::size_t>(k)]->isHidden()) return k;
  return 0;
}

void MDIForm1::showMarket() {
  const int flag = flagOfMarket(m_store.market);
  if (flag == 0) return;  // not a market: flags and frames stay as they were
  for (int k = 1; k <= kFlags; ++k) m_flags[static_cast<std::size_t>(k)]->setVisible(k == flag);
  m_form1->applyMarket();
}

void MDIForm1::flagClicked(int flag) {
  recordStep();  // a heading typed before the click is a step of its own
  const int next = flagClick(m_store, flag);
  for (int k = 1; k <= kFlags; ++k) m_flags[static_cast<std::size_t>(k)]->setVisible(k == next);
  m_form1->applyMarket();
  m_form1->showFactors();
  if (m_store.lokt != 0) m_form1->showVariableLoads();  // the imposed loads of the new market
  refreshLayoutSketch();
  recordStep();
  emit marketChanged(m_store.market);
}

void MDIForm1::showStore() {
  showMarket();
  m_form1->loadFromStore();
  if (m_form3) m_form3->loadFromStore();
  refreshLayoutSketch();
  updateMenus();
}

void MDIForm1::loadCase() {
  setWindowTitle(m_store.fileName);
  m_history.reset(m_store);
  showStore();
}

void MDIForm1::showLineLoads() {
  if (m_form3) {
    m_mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(m_form3->parentWidget()));
    return;
  }
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  m_form3 = new Form3(m_store);
  connect(m_form3, &Form3::caseEdited, this, &MDIForm1::updateMenus);
  connect(m_form3, &Form3::loadSketchChanged, this, &MDIForm1::refreshLoadSketch);
  connect(m_form3, &Form3::backToLayout, this, &MDIForm1::showInputForm);
  connect(m_form3, &Form3::committed, this, &MDIForm1::recordStep);
  connect(m_form3, &Form3::statusMessage, this,
          [this](const QString& text) { statusBar()->showMessage(text); });
  QMdiSubWindow* w =
      m_mdi->addSubWindow(m_form3, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowCloseButtonHint);
  w->setAttribute(Qt::WA_DeleteOnClose);
  w->move(40, 40);
  w->show();
  m_mdi->setActiveSubWindow(w);
  QGuiApplication::restoreOverrideCursor();
}

void MDIForm1::showInputForm() {
  if (m_form3) {
    // The sub-window deletes itself and the form later: "Layout" is triggered from the
    // form's own menu, which must outlive the signal.
    if (QWidget* w = m_form3->parentWidget()) w->close();
    m_form3 = nullptr;
  }
  // The area maximizes the window it activates while a maximized one (the report, the
  // diagram) is active; the form has its own fixed size and place, so it is put back to them
  // after the activation.
  m_mdi->setActiveSubWindow(m_form1Window);
  m_form1Window->showNormal();
  m_form1Window->move(0, 0);
}

}  // namespace solvow::forms

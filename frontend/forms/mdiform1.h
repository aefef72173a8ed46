// The main window: the menus, the market flag, the layout sketch and the document area in
// which the input form and the line-load form open.
//
// The window works on one case store, owned by the caller. Menu entries whose work belongs
// to other windows (files, runs, reports, the diagram, deleting files, the notices) are
// reachable through actions(); the window itself only opens the line-load form and keeps the
// flag, the sketch and the enabled state of the entries in step with the case.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>

#include "case_history.h"
#include "case_store.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class QToolButton;

namespace solvow::forms {

class Form1;
class Form3;
class SketchPane;

class MDIForm1 : public QMainWindow {
  Q_OBJECT
 public:
  // The menu entries, named as their controls.
  struct Actions {
    QAction* n = nullptr;        // Ny
    QAction* op = nullptr;       // Öppna...
    QAction* spar = nullptr;     // Spara
    QAction* spars = nullptr;    // Spara som...
    QAction* pdf = nullptr;      // Spara som PDF...
    QAction* sut = nullptr;      // Skriv ut...
    QAction* forh = nullptr;     // Förhandsgranska...
    QAction* skrinst = nullptr;  // Skrivarinställning...
    QAction* av = nullptr;       // Avsluta
    QAction* angra = nullptr;    // Ångra
    QAction* gorom = nullptr;    // Gör om
    QAction* blin = nullptr;     // Linjelaster
    QAction* start = nullptr;    // Kör...
    QAction* sok = nullptr;      // Sök lösning...
    QAction* res1 = nullptr;     // Resultat på skärm
    QAction* res2 = nullptr;     // Resultat på skrivare
    QAction* del1 = nullptr;     // Resultatfiler
    QAction* del2 = nullptr;     // Indatafiler
    QAction* del3 = nullptr;     // Resultat+Indatafiler
    QAction* dia = nullptr;      // the menu "Diagram" itself
    QAction* mom = nullptr;      // Moment
    QAction* vikt = nullptr;     // Viktigt
  };

  static constexpr int kFlags = 6;
  static constexpr int kSupportButtons = 16;  // stod(0..15)

  explicit MDIForm1(CaseStore& store, QWidget* parent = nullptr);
  ~MDIForm1() override;

  const Actions& actions() const { return m_actions; }
  Form1* form1() const { return m_form1; }
  Form3* form3() const;  // nullptr while the form is closed
  QMdiArea* mdiArea() const { return m_mdi; }

  // Everything from the store after a case was read or created: caption, flag and market
  // layout, the input form and the sketch; the line-load form too when it is open. The undo
  // history starts afresh.
  void loadCase();

  // One undoable step: the store now holds a changed case (a form's commit, a flag click, or
  // a change that another part of the program made to the store, after which every form is
  // refilled). Nothing is recorded when the case is as it was.
  void recordStep();
  void applyCaseChange();

  // "Ångra" / "Gör om": the field being edited is stored first; then the case goes one step
  // back or forth and every form, the flag and the sketch show it.
  void undo();
  void redo();
  const CaseHistory& history() const { return m_history; }

  // Shows the flag of the stored market and lays the input form out for it (class frame,
  // factor fields); the factor values themselves are not touched.
  void showMarket();

  // The flag picture of market `market` is the only one shown.
  int visibleFlag() const;

  // The enabled state of the entries that depend on the case: the diagram entry and the PDF
  // export are enabled only while the store holds the results of a run of the current case.
  void updateMenus();

  // Layout sketch: the whole of it, the span sketch only, or the load sketch only.
  void refreshLayoutSketch();
  void refreshSpanSketch();
  void refreshLoadSketch();

  // The recent case files in Arkiv above "Avsluta", "1 NAME.IND" .. with the folder in the
  // status tip; a separator below them while there are any.
  void setRecentFiles(const QStringList& paths);
  const QList<QAction*>& recentActions() const { return m_recent; }

  // Opens the line-load form (or brings it forward) / returns to the input form.
  void showLineLoads();
  void showInputForm();

  SketchPane* spanPane() const { return m_picture2; }
  SketchPane* loadPane() const { return m_picture1; }

 signals:
  // A flag click moved the case to another market.
  void marketChanged(int market);
  // A recent file was chosen in Arkiv.
  void recentChosen(const QString& path);

 private:
  void createActions();
  void createSketch();
  void flagClicked(int flag);
  // The flag, the forms and the sketch from the store, as the case now stands.
  void showStore();
  // Stores the value of the field being edited, as leaving it would.
  void commitField();

  CaseStore& m_store;
  CaseHistory m_history;
  Actions m_actions;
  QMenu* m_ark = nullptr;
  QMenu* m_dia = nullptr;
  QMdiArea* m_mdi = nullptr;
  Form1* m_form1 = nullptr;
  QMdiSubWindow* m_form1Window = nullptr;
  QPointer<Form3> m_form3;
  QLabel* m_label = nullptr;
  std::array<QToolButton*, kFlags + 1> m_flags{};  // Flagga(1..6)
  SketchPane* m_picture2 = nullptr;
  SketchPane* m_picture1 = nullptr;
  std::array<QPushButton*, kSupportButtons> m_stod{};
  QList<QAction*> m_recent;
  QAction* m_recentSeparator = nullptr;
};

}  // namespace solvow::forms

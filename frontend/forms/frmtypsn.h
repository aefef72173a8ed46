// frmTypsn "TYPSNITT": the choice of the report font.
//
// List1 holds the fixed-pitch fonts installed (a proportional one would break the report's
// columns); a click on one makes it the report font and shows
// the viewer in it at once (List3 names it). List2 names the font the report was in when the
// form opened, set in that font; a stored font that is not fixed-pitch is kept, and the note
// Obs says so. "OK / Stäng" keeps the choice and stores it in Solvfnt.ini;
// "Avbryt / Stäng" (and closing the window) goes back to the font of List2.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

#include "report_text.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace solvow {

class Form6;

// The installed font families with characters of one width, in the font database's order.
QStringList fixedPitchFamilies();

class FrmTypsn : public QDialog {
  Q_OBJECT

 public:
  // `viewer` may be null (no report shown).
  FrmTypsn(ReportSettings& settings, Form6* viewer, QWidget* parent = nullptr);

  // Where a failure to store the choice is reported; by default a message box.
  void setNotify(std::function<void(const QString&)> notify) { m_notify = std::move(notify); }

  void reject() override;

 private:
  void choose(QListWidgetItem* item);
  void keep();
  void apply(const QString& family);

  ReportSettings& m_settings;
  Form6* m_viewer;
  QString m_stored;
  std::function<void(const QString&)> m_notify;
  QListWidget* m_list1 = nullptr;
  QListWidget* m_list2 = nullptr;
  QListWidget* m_list3 = nullptr;
  QLabel* m_note = nullptr;
  QPushButton* m_sluttyp = nullptr;
  QPushButton* m_cmdAvbr = nullptr;
};

}  // namespace solvow

// The deletion dialog DelFile, its confirmation Veri and its instruction window Help.
#pragma once

#include <QDialog>
#include <QString>

#include "fileinfo.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace solvow::forms {

// Veri: asks before one file is deleted. Label1 holds the file name in upper case, Label3 the
// entry's position in the file list.
class Veri : public QDialog {
  Q_OBJECT

 public:
  enum Answer { Ja = 0, Angra = 1 };

  Veri(const QString& entry, int position, QWidget* parent = nullptr);
  Answer answer() const { return m_answer; }
  int position() const { return m_position; }
  QPushButton* button(int index) const;  // Command1 0 "Ja", 1 "Ångra"

 private:
  int m_position;
  Answer m_answer = Angra;  // closing the window keeps the file
  QPushButton* m_buttons[2];
};

// Help: two lines of text set by the caller and "OK".
class Help : public QDialog {
  Q_OBJECT

 public:
  Help(const QString& line1, const QString& line2, QWidget* parent = nullptr);
};

// DelFile: deletes the selected files of its list. The caller sets the pattern of the list
// ("*.RES", "*.IND", "*.IND;*.RES") and the caption, and shows it modally. The lists open in
// the remembered folder of `state` (the working folder when there is none).
class DelFile : public QDialog {
  Q_OBJECT

 public:
  explicit DelFile(const FileDialogState& state, QWidget* parent = nullptr);

  void setPattern(const QString& patterns) { m_lists->setPattern(patterns); }

  FolderLists* lists() const { return m_lists; }
  QCheckBox* bekr() const { return m_bekr; }
  QPushButton* button(int index) const;  // DlgButton 0 "Ta bort", 1 "Avsluta", 2 "Hjälp"

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void deleteSelected();
  void showHelp();
  // Deletes `entry` of the list's folder; a message names a file that stays.
  void deleteEntry(const QString& entry);

  const FileDialogState& m_state;
  FolderLists* m_lists;
  QCheckBox* m_bekr;
  QPushButton* m_buttons[3];
};

// The menu entries del1, del2 and del3: DelFile with `patterns` and the caption "Ta bort Filer",
// shown modally.
void showDelFile(const FileDialogState& state, const QString& patterns, QWidget* parent);

}  // namespace solvow::forms

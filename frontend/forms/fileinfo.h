// The program's own file dialog FileInfo, and the drive, folder and file lists it shares with
// the deletion dialog DelFile.
//
// The dialogs only choose names and folders; opening, reading and writing is the caller's
// business. Folders are absolute and "/"-separated; the remembered folder ends with "/".
#pragma once

#include <QDialog>
#include <QObject>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QWidget;

namespace solvow::forms {

enum class FileDialogMode { Open, Save };

// The dialogs' state, kept for the whole program beside the case store.
struct FileDialogState {
  FileDialogMode mode = FileDialogMode::Open;
  bool cancelled = false;
  QString chosenName;  // as typed or picked; empty after "Avbryt"
  QString lastFolder;  // ends with "/"; empty after "Avbryt" or before the first use
};

// The drive list DriveDropDown, the folder list DirsBox, the file list FileListBox and the
// label PathSpec, kept moving together. The widgets are children of `parent`; the dialog lays
// them out.
class FolderLists : public QObject {
  Q_OBJECT

 public:
  explicit FolderLists(QWidget* parent);

  QComboBox* drives() const { return m_drives; }
  QListWidget* folders() const { return m_folders; }
  QListWidget* files() const { return m_files; }
  QLabel* pathSpec() const { return m_pathSpec; }

  // The drives offered; by default the mounted file-system roots.
  void setDrives(const QStringList& roots);

  // Moves all lists to `folder`; false (and the lists stay) when it cannot be listed, with
  // the platform's reason in `error`.
  bool setFolder(const QString& folder, QString* error = nullptr);
  QString folder() const { return m_folder; }

  void setPattern(const QString& patterns);
  QString pattern() const { return m_pattern; }

  // Lists the files of the folder again.
  void refresh();
  // The entries of the file list, in list order.
  QStringList entries() const;

 signals:
  void folderChanged(const QString& folder);

 private:
  void driveChosen(int index);
  void folderActivated(QListWidgetItem* item);
  void showDriveOfFolder();

  QWidget* m_parent;
  QComboBox* m_drives;
  QListWidget* m_folders;
  QListWidget* m_files;
  QLabel* m_pathSpec;
  QString m_folder;
  QString m_pattern = QStringLiteral("*.*");
};

// FileInfo: picks a file to open or names the file to save as. The caller sets the mode in
// the state, the caption and the pattern, and shows it modally; afterwards it reads the
// cancelled flag, the chosen name and the remembered folder of the state.
class FileInfo : public QDialog {
  Q_OBJECT

 public:
  explicit FileInfo(FileDialogState& state, QWidget* parent = nullptr);

  // The pattern of the file list and, in open mode, of the name box ("*.IND").
  void setPattern(const QString& patterns);
  // The case's own file (absolute path): saving over it asks no question.
  void setOwnFile(const QString& path) { m_ownFile = path; }
  // Save mode for a file other than a case ("pdf"): the name box starts with `proposal`, and a
  // typed name is read by outputFileName with this suffix instead of the case-name rule.
  void setOutputFile(const QString& suffix, const QString& proposal) {
    m_outputSuffix = suffix;
    m_proposal = proposal;
  }

  FolderLists* lists() const { return m_lists; }
  QLineEdit* nameBox() const { return m_textBox; }
  QPushButton* button(int index) const;  // DlgButton 0 "OK", 1 "Avbryt"

  void reject() override;  // the close control and Escape count as "Avbryt"

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void okClicked();
  void cancelClicked();
  void fileClicked(QListWidgetItem* item);
  void fileDoubleClicked(QListWidgetItem* item);
  // The current folder and `name` as the choice; false when a save must not go on.
  bool choose(const QString& name);
  bool saveMayGoOn(const QString& typed);

  FileDialogState& m_state;
  FolderLists* m_lists;
  QLineEdit* m_textBox;
  QLabel* m_obs;
  QPushButton* m_buttons[2];
  QString m_ownFile;
  QString m_outputSuffix;
  QString m_proposal;
};

// What the user chose in FileInfo.
struct FileChoice {
  bool cancelled = true;
  QString folder;  // ends with "/"
  QString name;    // as typed or picked
};

// The file a name typed for an output file names: blanks trimmed; without a point in the name
// "." + `suffix` is added. Empty, with `error` set, for an empty name or one holding "/" or "\"
// (it would leave the chosen folder).
QString outputFileName(const QString& typed, const QString& suffix, QString* error);

// Shows FileInfo modally in save mode with `caption` over the files "*.<suffix>" of `folder`,
// proposing `proposal`; asks before replacing a file. The absolute path of the file chosen,
// or empty when the user cancelled. `state` is the state of these output files, apart from
// the one of the case files.
QString chooseOutputFile(FileDialogState& state, const QString& caption, const QString& folder,
                         const QString& proposal, const QString& suffix, QWidget* parent);

// Shows FileInfo modally in `mode` with `caption` and `patterns` ("Välj Indatafil", "*.IND"
// for Open; "Spara som..", "*.IND" for Save as, with `ownFile` the case's own file when it
// has one) and returns the choice; the state keeps the remembered folder for the next time.
FileChoice chooseFile(FileDialogState& state, FileDialogMode mode, const QString& caption,
                      const QString& patterns, QWidget* parent, const QString& ownFile = {});

}  // namespace solvow::forms

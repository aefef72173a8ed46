#include "fileinfo.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "case_file.h"
#include "file_access.h"
#include "file_lists.h"

namespace solvow::forms {
namespace {

const QColor kSaveModeNames(192, 192, 192);

const char* const kObsText =
    "OBS! Filnamnet får innehålla max åtta tecken och inga mellanslag, komma, punkt eller "
    "å, ä, ö";

QString absoluteResolved(const QString& path) {
  return QFileInfo(resolveExisting(path)).absoluteFilePath();
}

}  // namespace

// --- FolderLists ---

FolderLists::FolderLists(QWidget* parent)
    : QObject(parent),
      m_parent(parent),
      m_drives(new QComboBox(parent)),
      m_folders(new QListWidget(parent)),
      m_files(new QListWidget(parent)),
      m_pathSpec(new QLabel(parent)) {
  m_drives->setObjectName(QStringLiteral("DriveDropDown"));
  m_folders->setObjectName(QStringLiteral("DirsBox"));
  m_files->setObjectName(QStringLiteral("FileListBox"));
  m_pathSpec->setObjectName(QStringLiteral("PathSpec"));
  m_pathSpec->setTextInteractionFlags(Qt::TextSelectableByMouse);
  setDrives(driveRoots());
  connect(m_drives, &QComboBox::activated, this, &FolderLists::driveChosen);
  connect(m_folders, &QListWidget::itemActivated, this, &FolderLists::folderActivated);
  setFolder(QDir::currentPath());
}

void FolderLists::setDrives(const QStringList& roots) {
  m_drives->clear();
  m_drives->addItems(roots);
  showDriveOfFolder();
}

bool FolderLists::setFolder(const QString& folder, QString* error) {
  const QString absolute = QDir::cleanPath(QDir(m_folder).absoluteFilePath(folder));
  const QString why = folderError(absolute);
  if (!why.isEmpty()) {
    if (error != nullptr) *error = QStringLiteral("%1: %2").arg(absolute, why);
    return false;
  }
  m_folder = absolute;
  m_folders->clear();
  m_folders->addItems(listFolders(m_folder));
  m_pathSpec->setText(m_folder);
  showDriveOfFolder();
  refresh();
  emit folderChanged(m_folder);
  return true;
}

void FolderLists::setPattern(const QString& patterns) {
  m_pattern = patterns;
  refresh();
}

void FolderLists::refresh() {
  m_files->clear();
  if (!m_folder.isEmpty()) m_files->addItems(listFiles(m_folder, m_pattern));
}

QStringList FolderLists::entries() const {
  QStringList out;
  for (int i = 0; i < m_files->count(); ++i) out.append(m_files->item(i)->text());
  return out;
}

void FolderLists::driveChosen(int index) {
  const QString root = m_drives->itemText(index);
  if (driveOf(m_folder, {root}) == root) return;  // already on that drive
  QString error;
  if (!setFolder(root, &error)) {
    QMessageBox::critical(m_parent, m_parent->windowTitle(), error);
    showDriveOfFolder();
  }
}

void FolderLists::folderActivated(QListWidgetItem* item) {
  QString error;
  if (!setFolder(QDir(m_folder).filePath(item->text()), &error))
    QMessageBox::critical(m_parent, m_parent->windowTitle(), error);
}

void FolderLists::showDriveOfFolder() {
  QStringList roots;
  for (int i = 0; i < m_drives->count(); ++i) roots.append(m_drives->itemText(i));
  const int index = static_cast<int>(roots.indexOf(driveOf(m_folder, roots)));
  const QSignalBlocker block(m_drives);
  m_drives->setCurrentIndex(index);
}

// --- FileInfo ---

FileInfo::FileInfo(FileDialogState& state, QWidget* parent)
    : QDialog(parent),
      m_state(state),
      m_lists(new FolderLists(this)),
      m_textBox(new QLineEdit(this)),
      m_obs(new QLabel(this)),
      m_buttons{new QPushButton(QStringLiteral("OK"), this),
                new QPushButton(QStringLiteral("Avbryt"), this)} {
  setObjectName(QStringLiteral("FileInfo"));
  m_textBox->setObjectName(QStringLiteral("TextBox"));
  m_obs->setObjectName(QStringLiteral("OBS"));
  m_obs->setWordWrap(true);
  for (int i = 0; i < 2; ++i) {
    m_buttons[i]->setObjectName(QStringLiteral("DlgButton"));
    m_buttons[i]->setProperty("index", i);
    m_buttons[i]->setAutoDefault(false);
  }
  m_buttons[0]->setDefault(true);

  auto* nameLabel = new QLabel(QStringLiteral("FILNAMN:"), this);
  nameLabel->setBuddy(m_textBox);
  auto* left = new QVBoxLayout;
  left->addWidget(nameLabel);
  left->addWidget(m_textBox);
  left->addWidget(m_lists->files(), 1);
  auto* right = new QVBoxLayout;
  right->addWidget(m_lists->pathSpec());
  right->addWidget(m_lists->folders(), 1);
  right->addWidget(m_lists->drives());
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(m_buttons[0]);
  buttons->addWidget(m_buttons[1]);
  buttons->addStretch(1);
  auto* grid = new QGridLayout(this);
  grid->addLayout(left, 0, 0);
  grid->addLayout(right, 0, 1);
  grid->addLayout(buttons, 0, 2);
  grid->addWidget(m_obs, 1, 0, 1, 3);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  resize(560, 360);

  connect(m_buttons[0], &QPushButton::clicked, this, &FileInfo::okClicked);
  connect(m_buttons[1], &QPushButton::clicked, this, &FileInfo::cancelClicked);
  connect(m_lists->files(), &QListWidget::itemClicked, this, &FileInfo::fileClicked);
  connect(m_lists->files(), &QListWidget::itemDoubleClicked, this, &FileInfo::fileDoubleClicked);
}

QPushButton* FileInfo::button(int index) const {
  return index >= 0 && index < 2 ? m_buttons[index] : nullptr;
}

void FileInfo::setPattern(const QString& patterns) {
  m_lists->setPattern(patterns);
  m_textBox->setText(patterns);
}

void FileInfo::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  if (!m_state.lastFolder.isEmpty()) m_lists->setFolder(m_state.lastFolder);
  m_lists->refresh();
  QPalette palette = m_lists->files()->palette();
  if (m_state.mode == FileDialogMode::Save) {
    palette.setColor(QPalette::Text, kSaveModeNames);
    m_textBox->setText(m_outputSuffix.isEmpty() ? QStringLiteral("test") : m_proposal);
    m_obs->setText(m_outputSuffix.isEmpty() ? QString::fromUtf8(kObsText) : QString());
  } else {
    palette.setColor(QPalette::Text,
                     QApplication::palette(m_lists->files()).color(QPalette::WindowText));
    const QStringList entries = m_lists->entries();
    m_textBox->setText(!m_state.chosenName.isEmpty() && entries.contains(m_state.chosenName)
                           ? m_state.chosenName
                           : m_lists->pattern());
    m_obs->clear();
  }
  m_lists->files()->setPalette(palette);
  m_textBox->selectAll();
  m_textBox->setFocus();
}

void FileInfo::reject() { cancelClicked(); }

void FileInfo::cancelClicked() {
  m_state.chosenName.clear();
  m_state.lastFolder.clear();
  m_state.cancelled = true;
  QDialog::reject();
}

void FileInfo::okClicked() {
  if (m_state.mode == FileDialogMode::Save) {
    choose(m_textBox->text());
    return;
  }
  const NameBoxFolder split = splitNameBox(m_textBox->text(), m_lists->folder());
  if (!split.folder.isEmpty()) {
    QString error;
    if (!m_lists->setFolder(split.folder, &error)) {
      QMessageBox::critical(this, windowTitle(), error);
      return;
    }
  }
  const NameBoxReading reading = readNameBox(split.rest, m_lists->entries());
  switch (reading.action) {
    case NameBoxAction::Stay:
      m_textBox->setText(m_lists->pattern());
      m_textBox->selectAll();
      return;
    case NameBoxAction::NewPattern:
      m_lists->setPattern(reading.text);
      m_textBox->setText(reading.text);
      m_textBox->selectAll();
      return;
    case NameBoxAction::ChooseEntry: {
      const QList<QListWidgetItem*> items =
          m_lists->files()->findItems(reading.text, Qt::MatchExactly | Qt::MatchCaseSensitive);
      if (!items.isEmpty()) m_lists->files()->setCurrentItem(items.front());
      choose(reading.text);
      return;
    }
    case NameBoxAction::ChooseName:
      choose(reading.text);
      return;
  }
}

void FileInfo::fileClicked(QListWidgetItem* item) { m_textBox->setText(item->text()); }

void FileInfo::fileDoubleClicked(QListWidgetItem* item) {
  m_textBox->setText(item->text());
  if (choose(m_textBox->text())) m_lists->setPattern(QStringLiteral("*.*"));
}

bool FileInfo::choose(const QString& name) {
  if (m_state.mode == FileDialogMode::Save && !saveMayGoOn(name)) return false;
  m_state.chosenName = name;
  m_state.lastFolder = withTrailingSlash(m_lists->folder());
  m_state.cancelled = false;
  QDialog::accept();
  return true;
}

bool FileInfo::saveMayGoOn(const QString& typed) {
  SaveAsName names;
  if (m_outputSuffix.isEmpty())
    names = saveAsName(typed);
  else
    names.fileName = outputFileName(typed, m_outputSuffix, &names.error);
  if (!names.error.isEmpty()) {
    QMessageBox::warning(this, windowTitle(), names.error);
    return false;
  }
  const QString target = absoluteResolved(QDir(m_lists->folder()).filePath(names.fileName));
  if (!QFileInfo::exists(target)) {
    const QString problem =
        m_outputSuffix.isEmpty() ? newCaseNameProblem(names.baseName) : QString();
    if (!problem.isEmpty()) QMessageBox::warning(this, windowTitle(), problem);
    return problem.isEmpty();
  }
  if (!m_ownFile.isEmpty() && absoluteResolved(m_ownFile) == target) return true;
  QMessageBox box(QMessageBox::Question, windowTitle(),
                  QStringLiteral("Filen finns redan. Vill Du ersätta den?"), QMessageBox::NoButton,
                  this);
  QPushButton* yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("Nej"), QMessageBox::NoRole);
  box.setDefaultButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

QString outputFileName(const QString& typed, const QString& suffix, QString* error) {
  const QString name = typed.trimmed();
  QString problem;
  if (name.isEmpty())
    problem = QStringLiteral("Skriv ett filnamn.");
  else if (name.contains(u'/') || name.contains(u'\\'))
    problem = QStringLiteral("Filnamnet %1 får inte innehålla / eller \\.").arg(name);
  if (error != nullptr) *error = problem;
  if (!problem.isEmpty()) return {};
  return name.contains(u'.') ? name : name + u'.' + suffix;
}

QString chooseOutputFile(FileDialogState& state, const QString& caption, const QString& folder,
                         const QString& proposal, const QString& suffix, QWidget* parent) {
  state.mode = FileDialogMode::Save;
  state.lastFolder = withTrailingSlash(folder);
  FileInfo dialog(state, parent);
  dialog.setWindowTitle(caption);
  dialog.setPattern(QStringLiteral("*.") + suffix);
  dialog.setOutputFile(suffix, proposal);
  dialog.exec();
  if (state.cancelled) return {};
  return QDir(state.lastFolder).filePath(outputFileName(state.chosenName, suffix, nullptr));
}

FileChoice chooseFile(FileDialogState& state, FileDialogMode mode, const QString& caption,
                      const QString& patterns, QWidget* parent, const QString& ownFile) {
  state.mode = mode;
  FileInfo dialog(state, parent);
  dialog.setWindowTitle(caption);
  dialog.setPattern(patterns);
  dialog.setOwnFile(ownFile);
  dialog.exec();
  FileChoice choice;
  choice.cancelled = state.cancelled;
  if (!state.cancelled) {
    choice.folder = state.lastFolder;
    choice.name = state.chosenName;
  }
  return choice;
}

}  // namespace solvow::forms

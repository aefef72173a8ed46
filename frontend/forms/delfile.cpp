#include "delfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "file_access.h"

namespace solvow::forms {

// --- Veri ---

Veri::Veri(const QString& entry, int position, QWidget* parent)
    : QDialog(parent),
      m_position(position),
      m_buttons{new QPushButton(QStringLiteral("Ja"), this),
                new QPushButton(QStringLiteral("Ångra"), this)} {
  setObjectName(QStringLiteral("Veri"));
  setWindowTitle(QStringLiteral("Bekräfta"));
  auto* question = new QLabel(QStringLiteral("Är Du säker på att Du vill ta bort:"), this);
  question->setObjectName(QStringLiteral("Label2"));
  auto* name = new QLabel(entry.toUpper(), this);
  name->setObjectName(QStringLiteral("Label1"));
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  auto* where = new QLabel(QString::number(position), this);
  where->setObjectName(QStringLiteral("Label3"));
  where->setVisible(false);

  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (int i = 0; i < 2; ++i) {
    m_buttons[i]->setObjectName(QStringLiteral("Command1"));
    m_buttons[i]->setProperty("index", i);
    row->addWidget(m_buttons[i]);
  }
  row->addStretch(1);
  m_buttons[1]->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(question);
  layout->addWidget(name);
  layout->addWidget(where);
  layout->addLayout(row);

  connect(m_buttons[0], &QPushButton::clicked, this, [this] {
    m_answer = Ja;
    accept();
  });
  connect(m_buttons[1], &QPushButton::clicked, this, [this] {
    m_answer = Angra;
    reject();
  });
}

QPushButton* Veri::button(int index) const {
  return index >= 0 && index < 2 ? m_buttons[index] : nullptr;
}

// --- Help ---

Help::Help(const QString& line1, const QString& line2, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Help"));
  setWindowTitle(QStringLiteral("Hjälp"));
  auto* first = new QLabel(line1, this);
  first->setObjectName(QStringLiteral("Label1"));
  auto* second = new QLabel(line2, this);
  second->setObjectName(QStringLiteral("Label2"));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Command1"));
  ok->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(first);
  layout->addWidget(second);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

// --- DelFile ---

DelFile::DelFile(const FileDialogState& state, QWidget* parent)
    : QDialog(parent),
      m_state(state),
      m_lists(new FolderLists(this)),
      m_bekr(new QCheckBox(QStringLiteral("Bekräfta"), this)),
      m_buttons{new QPushButton(QStringLiteral("Ta bort"), this),
                new QPushButton(QStringLiteral("Avsluta"), this),
                new QPushButton(QStringLiteral("Hjälp"), this)} {
  setObjectName(QStringLiteral("DelFile"));
  m_bekr->setObjectName(QStringLiteral("bekr"));
  m_lists->files()->setSelectionMode(QAbstractItemView::MultiSelection);
  for (int i = 0; i < 3; ++i) {
    m_buttons[i]->setObjectName(QStringLiteral("DlgButton"));
    m_buttons[i]->setProperty("index", i);
    m_buttons[i]->setAutoDefault(false);
  }

  auto* right = new QVBoxLayout;
  right->addWidget(m_lists->pathSpec());
  right->addWidget(m_lists->folders(), 1);
  right->addWidget(m_lists->drives());
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : m_buttons) buttons->addWidget(b);
  buttons->addSpacing(12);
  buttons->addWidget(m_bekr);
  buttons->addStretch(1);
  auto* grid = new QGridLayout(this);
  grid->addWidget(m_lists->files(), 0, 0);
  grid->addLayout(right, 0, 1);
  grid->addLayout(buttons, 0, 2);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  resize(560, 340);

  connect(m_buttons[0], &QPushButton::clicked, this, &DelFile::deleteSelected);
  connect(m_buttons[1], &QPushButton::clicked, this, &QDialog::accept);
  connect(m_buttons[2], &QPushButton::clicked, this, &DelFile::showHelp);
}

QPushButton* DelFile::button(int index) const {
  return index >= 0 && index < 3 ? m_buttons[index] : nullptr;
}

void DelFile::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  m_bekr->setChecked(true);
  if (!m_state.lastFolder.isEmpty()) m_lists->setFolder(m_state.lastFolder);
  m_lists->refresh();
}

void DelFile::deleteSelected() {
  QListWidget* list = m_lists->files();
  // The selected entries with their positions, taken before any dialog changes the list.
  QList<std::pair<int, QString>> selected;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->isSelected()) selected.append({i, list->item(i)->text()});
  for (const auto& [position, entry] : selected) {
    if (m_bekr->isChecked()) {
      Veri veri(entry, position, this);
      veri.exec();
      if (veri.answer() == Veri::Ja)
        deleteEntry(entry);
      else
        list->item(position)->setSelected(false);
    } else {
      deleteEntry(entry);
    }
  }
  m_lists->refresh();
  m_bekr->setChecked(true);
}

void DelFile::deleteEntry(const QString& entry) {
  const QString path = QDir(m_lists->folder()).filePath(entry);
  if (removeResolved(path)) return;
  QMessageBox::warning(this, windowTitle(),
                       QStringLiteral("Filen %1 kunde inte tas bort.").arg(path));
}

void DelFile::showHelp() {
  Help help(QStringLiteral("Clicka med musen på de Filer Du vill ta bort"),
            QStringLiteral("Clicka sedan på 'Ta bort'"), this);
  help.exec();
}

void showDelFile(const FileDialogState& state, const QString& patterns, QWidget* parent) {
  DelFile dialog(state, parent);
  dialog.setPattern(patterns);
  dialog.setWindowTitle(QStringLiteral("Ta bort Filer"));
  dialog.exec();
}

}  // namespace solvow::forms

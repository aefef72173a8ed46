#include "frmtypsn.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include "form6.h"
#include "startup_files.h"

namespace solvow {

FrmTypsn::FrmTypsn(ReportSettings& settings, Form6* viewer, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_viewer(viewer), m_stored(settings.fontName) {
  setObjectName(QStringLiteral("frmTypsn"));
  setWindowTitle(QStringLiteral("TYPSNITT"));
  setModal(true);
  m_notify = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };

  auto makeList = [this](const char* name) {
    auto* list = new QListWidget(this);
    list->setObjectName(QString::fromLatin1(name));
    return list;
  };
  m_list1 = makeList("List1");
  m_list2 = makeList("List2");
  m_list3 = makeList("List3");
  m_list1->addItems(fixedPitchFamilies());
  m_list2->addItem(m_stored);
  m_list2->setFont(QFont(m_stored));
  m_list3->addItem(m_stored);
  m_list2->setMaximumHeight(m_list2->sizeHintForRow(0) * 2 + 8);
  m_list3->setMaximumHeight(m_list3->sizeHintForRow(0) * 2 + 8);

  m_sluttyp = new QPushButton(QStringLiteral("OK / Stäng"), this);
  m_sluttyp->setObjectName(QStringLiteral("sluttyp"));
  m_cmdAvbr = new QPushButton(QStringLiteral("Avbryt / Stäng"), this);
  m_cmdAvbr->setObjectName(QStringLiteral("CmdAvbr"));

  // A stored font that is not fixed-pitch stays the report font; the note says what it does.
  m_note = new QLabel(this);
  m_note->setObjectName(QStringLiteral("Obs"));
  m_note->setWordWrap(true);
  if (!QFontDatabase::isFixedPitch(m_stored))
    m_note->setText(QStringLiteral("Obs! Det lagrade typsnittet %1 har inte fast teckenbredd: "
                                   "rapportens kolumner hamnar inte rakt under varandra. Välj "
                                   "ett typsnitt i listan.")
                        .arg(m_stored));
  m_note->setVisible(!m_note->text().isEmpty());

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Installerade skrivarfonter"), this), 0, 0);
  grid->addWidget(m_list1, 1, 0, 5, 1);
  grid->addWidget(new QLabel(QStringLiteral("Lagrat fontval"), this), 0, 1);
  grid->addWidget(m_list2, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Visas just nu"), this), 2, 1);
  grid->addWidget(m_list3, 3, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_sluttyp);
  buttons->addWidget(m_cmdAvbr);
  grid->addLayout(buttons, 5, 1, Qt::AlignBottom);
  grid->addWidget(m_note, 6, 0, 1, 2);
  grid->setRowStretch(4, 1);

  connect(m_list1, &QListWidget::itemClicked, this, &FrmTypsn::choose);
  connect(m_list1, &QListWidget::itemActivated, this, &FrmTypsn::choose);
  connect(m_sluttyp, &QPushButton::clicked, this, &FrmTypsn::keep);
  connect(m_cmdAvbr, &QPushButton::clicked, this, &FrmTypsn::reject);
}

QStringList fixedPitchFamilies() {
  QStringList fixed;
  for (const QString& family : QFontDatabase::families())
    if (QFontDatabase::isFixedPitch(family)) fixed.append(family);
  return fixed;
}

void FrmTypsn::choose(QListWidgetItem* item) {
  if (item == nullptr) return;
  m_list3->clear();
  m_list3->addItem(item->text());
  apply(item->text());
}

void FrmTypsn::keep() {
  const bool written =
      m_settings.files != nullptr && writeFontSetting(*m_settings.files, m_settings.iniFolder,
                                                      m_settings.fontName, m_settings.dialogue);
  if (!written && m_notify)
    m_notify(
        QStringLiteral("Typsnittet kunde inte sparas i %1.").arg(QString::fromLatin1(kFontFile)));
  accept();
}

void FrmTypsn::reject() {
  apply(m_stored);
  QDialog::reject();
}

void FrmTypsn::apply(const QString& family) {
  m_settings.fontName = family;
  if (m_viewer != nullptr) m_viewer->setReportFont(family);
}

}  // namespace solvow

#include "notices.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "startup_files.h"

namespace solvow::forms {
namespace {

QLabel* productLine(QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(kProductLine), parent);
  label->setObjectName(QStringLiteral("Label3"));
  QFont font = label->font();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.25);
  label->setFont(font);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

QLabel* textLabel(const QString& text, const char* name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setWordWrap(true);
  return label;
}

}  // namespace

QString scopeNoticeText1() {
  return QStringLiteral(
      "OBS! Beräkningen anger armering endast i bjälklagsfält och innerstöd med avseende på "
      "bärförmåga för angivna laster. Annan erforderlig armering för sprickfördelning, "
      "inspänning, kantarmering eller för totalstabilitet redovisas ej.");
}

QString scopeNoticeText2() {
  return QStringLiteral(
      "I detta program finns vissa begränsningar inbyggda som gör att storheter utanför vissa "
      "gränser inte accepteras. Det har dock inte varit möjligt att begränsa de kombinationer "
      "av indata som är olämpliga men ändå kan ge ett svar av datorn. Användare av programmet "
      "måste därför själv ansvara för att använda programmet med ett ingenjörsmässigt "
      "omdöme.");
}

Form10::Form10(QWidget* parent)
    : QDialog(parent),
      m_check1(new QCheckBox(QStringLiteral("Visa inte detta nästa gång"), this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)) {
  setObjectName(QStringLiteral("Form10"));
  setWindowTitle(QString::fromLatin1(kProductLine));
  m_check1->setObjectName(QStringLiteral("Check1"));
  m_ok->setObjectName(QStringLiteral("Command1"));
  m_ok->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(productLine(this));
  layout->addSpacing(8);
  layout->addWidget(textLabel(QStringLiteral("FÖRÄNDRINGAR i denna version:"), "Label1", this));
  layout->addWidget(
      textLabel(QStringLiteral("1. Diverse smärre justeringar och förtydligande"), "Label2", this));
  layout->addSpacing(12);
  layout->addWidget(m_check1);
  layout->addWidget(m_ok, 0, Qt::AlignHCenter);
  setMinimumWidth(420);

  connect(m_ok, &QPushButton::clicked, this, [this] {
    m_hide = m_check1->isChecked();
    accept();
  });
}

Form9::Form9(QWidget* parent) : QDialog(parent), m_ok(new QPushButton(QStringLiteral("OK"), this)) {
  setObjectName(QStringLiteral("Form9"));
  setWindowTitle(QString::fromLatin1(kProductLine));
  m_ok->setObjectName(QStringLiteral("Command1"));
  m_ok->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(productLine(this));
  layout->addSpacing(8);
  layout->addWidget(textLabel(scopeNoticeText1(), "Label1", this));
  layout->addSpacing(8);
  layout->addWidget(textLabel(scopeNoticeText2(), "Label2", this));
  layout->addSpacing(8);
  layout->addWidget(m_ok, 0, Qt::AlignHCenter);
  setMinimumWidth(520);

  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

bool showChangeNoticeIfDue(FileTable& files, const QString& workFolder,
                           const DiskDialogue& dialogue, QWidget* parent) {
  if (!changeNoticeDue(readHiddenVersion(files, workFolder, dialogue))) return false;
  Form10 notice(parent);
  notice.exec();
  if (notice.hideNextTime()) writeHiddenVersion(files, workFolder, kProgramVersion, dialogue);
  return true;
}

void showScopeNotice(QWidget* parent) {
  Form9 notice(parent);
  notice.exec();
}

}  // namespace solvow::forms

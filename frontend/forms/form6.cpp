#include "form6.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "frmtypsn.h"

namespace solvow {

namespace {
constexpr int kViewerPointSize = 10;
}

Form6::Form6(ReportSettings& settings, QWidget* parent) : QWidget(parent), m_settings(settings) {
  setObjectName(QStringLiteral("Form6"));
  setWindowTitle(QStringLiteral("Utdata"));

  m_menuBar = new QMenuBar(this);
  m_ater = m_menuBar->addAction(QStringLiteral("Återgå"));
  m_ater->setObjectName(QStringLiteral("åter"));
  m_typsn = m_menuBar->addMenu(QStringLiteral("Typsnitt"));
  m_typsn->setObjectName(QStringLiteral("Typsn"));
  m_red = m_typsn->addAction(QStringLiteral("Redigera"));
  m_red->setObjectName(QStringLiteral("Red"));
  m_forh = m_menuBar->addAction(QStringLiteral("Förhandsgranska..."));
  m_forh->setObjectName(QStringLiteral("forh"));
  m_staleLine = staleLineLabel(this);
  m_verdict = new QLabel(this);
  m_verdict->setObjectName(QStringLiteral("Utfall"));
  m_verdict->setWordWrap(true);
  m_verdict->setMargin(4);
  m_verdict->hide();

  m_textBox = new QPlainTextEdit(this);
  m_textBox->setObjectName(QStringLiteral("FileTextBox"));
  m_textBox->setReadOnly(true);
  m_textBox->setLineWrapMode(QPlainTextEdit::NoWrap);
  setReportFont(QStringLiteral("Courier New"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setMenuBar(m_menuBar);
  layout->addWidget(m_staleLine);
  layout->addWidget(m_verdict);
  layout->addWidget(m_textBox);

  connect(m_ater, &QAction::triggered, this, &Form6::returnRequested);
  connect(m_red, &QAction::triggered, this, &Form6::editFont);
  connect(m_forh, &QAction::triggered, this, &Form6::previewRequested);
}

QLabel* staleLineLabel(QWidget* parent) {
  auto* line = new QLabel(staleResultLine(), parent);
  line->setObjectName(QStringLiteral("Inaktuell"));
  line->setWordWrap(true);
  line->setMargin(4);
  line->setStyleSheet(QStringLiteral("background: #fff3b0; color: #800000; font-weight: bold;"));
  line->hide();
  return line;
}

void Form6::setStale(bool stale) {
  m_stale = stale;
  m_staleLine->setVisible(stale);
  // The verdict was the calculated case's; it says nothing of the changed one.
  m_verdict->setVisible(!stale && !m_verdict->text().isEmpty());
  setWindowTitle(stale ? staleCaption(QStringLiteral("Utdata")) : QStringLiteral("Utdata"));
}

void Form6::setVerdict(const QString& line) {
  m_verdict->setText(line);
  const bool met = line.startsWith(QStringLiteral("Alla kontroller uppfyllda"));
  m_verdict->setStyleSheet(
      met ? QStringLiteral("background: #dff0d8; color: #1e5b1e; font-weight: bold;")
          : QStringLiteral("background: #f8d7da; color: #800000; font-weight: bold;"));
  m_verdict->setVisible(!m_stale && !line.isEmpty());
}

QString Form6::verdict() const { return m_verdict->text(); }

void Form6::showReportText(const QString& text) {
  m_text = text;
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  m_textBox->setPlainText(shown);
  setReportFont(m_settings.fontName);
}

bool Form6::loadReport(const QString& path) {
  if (m_settings.files == nullptr) return false;
  QStringList lines;
  if (!readReportLines(*m_settings.files, path, m_settings.dialogue, &lines)) return false;
  showReportText(reportViewerText(lines));
  return true;
}

void Form6::setReportFont(const QString& family) {
  QFont font(family, kViewerPointSize);
  font.setStyleHint(QFont::TypeWriter);
  m_textBox->setFont(font);
}

void Form6::editFont() {
  FrmTypsn form(m_settings, this, this);
  form.exec();
}

}  // namespace solvow

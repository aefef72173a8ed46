#include "helpwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "file_access.h"

namespace solvow::forms {

QString helpDocumentPath(const QString& programFolder) {
  return resolveExisting(QDir(programFolder).filePath(QString::fromLatin1(kHelpFile)));
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this)) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Solvodeck – Hjälp"));
  m_browser->setObjectName(QStringLiteral("HelpText"));
  m_browser->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_browser);
  resize(760, 640);
}

bool HelpWindow::load(const QString& path) {
  const QFileInfo info(path);
  if (!info.isFile() || !info.isReadable()) {
    m_browser->clear();
    return false;
  }
  m_browser->setSource(QUrl::fromLocalFile(info.absoluteFilePath()), QTextDocument::HtmlResource);
  return !m_browser->document()->isEmpty();
}

HelpWindow* showHelp(const QString& programFolder, QWidget* parent) {
  static QPointer<HelpWindow> window;
  const QString path = helpDocumentPath(programFolder);
  if (window == nullptr) {
    window = new HelpWindow(parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
  }
  if (!window->load(path)) {
    QMessageBox::warning(parent, QStringLiteral("Hjälp"),
                         QStringLiteral("Hjälpfilen %1 kan inte läsas.").arg(path));
    return nullptr;
  }
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

}  // namespace solvow::forms

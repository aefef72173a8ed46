// The program's own help window: the help document, an HTML file in the program folder.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace solvow::forms {

inline constexpr const char* kHelpFile = "solvo_help.html";

// The help document of `programFolder` (its name resolved ignoring case).
QString helpDocumentPath(const QString& programFolder);

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Shows the document; false, with the window left empty, when it cannot be read.
  bool load(const QString& path);
  QTextBrowser* browser() const { return m_browser; }

 private:
  QTextBrowser* m_browser;
};

// F1: shows the help document of `programFolder` in the one help window (created on first
// use, raised afterwards). A missing document gives a message that names it. Returns the
// window, or nullptr when the document could not be shown.
HelpWindow* showHelp(const QString& programFolder, QWidget* parent);

}  // namespace solvow::forms

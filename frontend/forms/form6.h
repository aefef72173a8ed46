// Form6 "Utdata": the report on screen.
//
// The report lies in the text box FileTextBox in the report font. The menu "Återgå" asks the
// main window to close the viewer and bring the input form back; "Typsnitt" / "Redigera"
// opens the font form, whose choice shows in the viewer at once.
#pragma once

#include <QString>
#include <QWidget>

#include "report_text.h"

class QAction;
class QMenu;
class QMenuBar;
class QPlainTextEdit;

namespace solvow {

class Form6 : public QWidget {
  Q_OBJECT

 public:
  explicit Form6(ReportSettings& settings, QWidget* parent = nullptr);

  // Shows `text` (lines separated by CR LF, as the report is gathered) in the report font.
  void showReportText(const QString& text);
  // Reads the report file `path` afresh and shows it; false when it cannot be opened (the
  // viewer then keeps what it showed).
  bool loadReport(const QString& path);

  // Sets FileTextBox in `family`.
  void setReportFont(const QString& family);

  QString reportText() const { return m_text; }
  QPlainTextEdit* textBox() const { return m_textBox; }

 signals:
  // "Återgå": the viewer is done; the main window closes it and shows the input form.
  void returnRequested();

 private:
  void editFont();

  ReportSettings& m_settings;
  QString m_text;
  QMenuBar* m_menuBar = nullptr;
  QAction* m_ater = nullptr;
  QMenu* m_typsn = nullptr;
  QAction* m_red = nullptr;
  QPlainTextEdit* m_textBox = nullptr;
};

}  // namespace solvow

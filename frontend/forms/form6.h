// Form6 "Utdata": the report on screen.
//
// The report lies in the text box FileTextBox in the report font. The menu "Återgå" asks the
// main window to close the viewer and bring the input form back; "Typsnitt" / "Redigera"
// opens the font form, whose choice shows in the viewer at once; "Förhandsgranska..." asks
// for the print preview of the report. The line Utfall above the text holds the engine's
// verdict of the run that wrote the report. While the case differs from the calculated one, the
// caption and the line Inaktuell above the text say so.
#pragma once

#include <QString>
#include <QWidget>

#include "report_text.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;

namespace solvow {

// The line Inaktuell above a result of an older version of the case; hidden at first.
QLabel* staleLineLabel(QWidget* parent);

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

  // The engine's verdict line above the report, in the line Utfall: green when every check is
  // met, red otherwise; hidden when `line` is empty.
  void setVerdict(const QString& line);
  QString verdict() const;

  // Marks the report as calculated for another version of the case, or as current.
  void setStale(bool stale);
  bool isStale() const { return m_stale; }

  QString reportText() const { return m_text; }
  QPlainTextEdit* textBox() const { return m_textBox; }

 signals:
  // "Återgå": the viewer is done; the main window closes it and shows the input form.
  void returnRequested();
  // "Förhandsgranska...": the printout of the report in the print preview.
  void previewRequested();

 private:
  void editFont();

  ReportSettings& m_settings;
  QString m_text;
  QMenuBar* m_menuBar = nullptr;
  QAction* m_ater = nullptr;
  QMenu* m_typsn = nullptr;
  QAction* m_red = nullptr;
  QAction* m_forh = nullptr;
  QLabel* m_staleLine = nullptr;
  QLabel* m_verdict = nullptr;
  QPlainTextEdit* m_textBox = nullptr;
  bool m_stale = false;
};

}  // namespace solvow

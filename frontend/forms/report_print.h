// Printing reports: the program's printer, page by page in the report's own paging.
//
// Each printed page starts with a heading line of 68 blanks followed by "sid " and the page
// number, then an empty line, then the page's report lines (at most 70). The font is a
// setting of the printer that lasts from one print job to the next: printing the current
// report sets it to the report font; printing a chosen report file keeps it.
#pragma once

#include <QList>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <functional>

#include "file_access.h"

class QPainter;
class QWidget;

namespace solvow {

// The hourglass pointer for as long as the object lives.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

class ReportPrinter {
 public:
  // Asks the user where the printout goes (a printer or a PDF file); false when cancelled.
  using TargetChooser = std::function<bool(QPrinter&)>;

  ReportPrinter();
  ReportPrinter(const ReportPrinter&) = delete;
  ReportPrinter& operator=(const ReportPrinter&) = delete;

  QPrinter& printer() { return m_printer; }
  // The printer's current font; at first the system's fixed-pitch font.
  QString fontFamily() const { return m_fontFamily; }
  void setFontFamily(const QString& family) { m_fontFamily = family; }
  // Used when the printer has no destination yet (no printer installed and no PDF file
  // named); by default the printer set-up dialog.
  void setTargetChooser(TargetChooser chooser) { m_chooseTarget = std::move(chooser); }

  // True when a print job can start without asking: a valid installed printer, or a file.
  bool hasTarget() const;

  // Starts a print job on `painter`, asking for a destination first when there is none.
  // False with `error` set when no destination was chosen or the printer cannot start.
  bool startJob(QPainter& painter, QString* error);

  // Prints the pages as one job and ends it. No pages: nothing is printed and the result is
  // true. False with `error` set when the printer could not be started or was not chosen.
  bool printPages(const QList<QStringList>& pages, QString* error);

 private:
  QPrinter m_printer;
  QString m_fontFamily;
  TargetChooser m_chooseTarget;
};

// The heading line of printed page `page`: 68 blanks, "sid ", the number.
QString pageHeading(int page);

// The message shown when the report of a case cannot be read:
// "Resultatfil till " + base name + ".IND" + " saknas !".
QString missingReportMessage(const QString& baseName);

// "Resultat på skrivare": prints the report of the case `baseName` from `workingFolder` in
// `reportFont`, which becomes the printer's font. False with `error` set to the missing-report
// message when the report cannot be opened, or to the printer's failure.
bool printCurrentReport(ReportPrinter& printer, FileTable& files, const QString& workingFolder,
                        const QString& baseName, const QString& reportFont,
                        const DiskDialogue& dialogue, QString* error);

// "Skriv ut..." once a report file was chosen: prints `path` in the printer's current font.
bool printReportFile(ReportPrinter& printer, FileTable& files, const QString& path,
                     const DiskDialogue& dialogue, QString* error);

// "Skrivarinställning...": the printer set-up dialog; a cancel changes nothing. True when
// the user confirmed a choice.
bool printerSetup(QPrinter& printer, QWidget* parent);

}  // namespace solvow

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

class QPagedPaintDevice;
class QPainter;
class QPrintPreviewDialog;
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
  // Asks for the file a print to a file goes to, proposing `proposedName` ("PLATTA.pdf");
  // the absolute path, or empty when the user cancelled.
  using FileNamer = std::function<QString(const QString& proposedName)>;

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
  // Used for every print job to a file whose destination the user chose in a dialog.
  void setFileNamer(FileNamer namer) { m_nameFile = std::move(namer); }

  // "Skrivarinställning...": the set-up dialog on this printer. True when confirmed; a print
  // to a file chosen there asks for its file name at every job.
  bool setUp(QWidget* parent);

  // True when a print job can start without asking: a valid installed printer, or a file.
  bool hasTarget() const;

  // Starts a print job on `painter`, asking for a destination first when there is none and
  // for the file name, proposing `proposedName`, when the destination is a file the user
  // chose. False with `error` set when no destination was chosen or the printer cannot start;
  // false with `error` empty when the user cancelled the file name.
  bool startJob(QPainter& painter, QString* error, const QString& proposedName = {});

  // Prints the pages as one job and ends it. No pages: nothing is printed and the result is
  // true. False with `error` set when the printer could not be started or was not chosen.
  bool printPages(const QList<QStringList>& pages, QString* error,
                  const QString& proposedName = {});

 private:
  bool chooseTarget(QWidget* parent);

  QPrinter m_printer;
  QString m_fontFamily;
  TargetChooser m_chooseTarget;
  FileNamer m_nameFile;
  bool m_askFileName = false;
};

// Paints `pages` on `device`, begun by `painter`, one page after the other (the first on the
// current page), in `family`: the heading line, an empty line, the page's lines. `resolution`:
// the device's dots per inch.
void paintReportPages(QPainter& painter, QPagedPaintDevice& device, int resolution,
                      const QList<QStringList>& pages, const QString& family);

// The heading line of printed page `page`: 68 blanks, "sid ", the number.
QString pageHeading(int page);

// "Resultat på skrivare": prints the report of the case `baseName` from `workingFolder` in
// `reportFont`, which becomes the printer's font. False with `error` set to the missing-report
// message when the report cannot be opened, or to the printer's failure.
bool printCurrentReport(ReportPrinter& printer, FileTable& files, const QString& workingFolder,
                        const QString& baseName, const QString& reportFont,
                        const DiskDialogue& dialogue, QString* error);

// "Skriv ut..." once a report file was chosen: prints `path` in the printer's current font.
bool printReportFile(ReportPrinter& printer, FileTable& files, const QString& path,
                     const DiskDialogue& dialogue, QString* error);

// Makes the "Skriv ut" of a print preview run `print` instead of Qt's own print dialog, so
// that printing from the preview asks in the program's Swedish dialogs and proposes a file
// named after the current case. False when the preview has no such action.
bool takeOverPreviewPrint(QPrintPreviewDialog& preview, const std::function<void()>& print);

// The printer set-up dialog "Skrivarinställning": the printer (or a PDF file), the paper and
// the orientation, "OK" and "Avbryt"; a cancel changes nothing. True when the user confirmed.
bool printerSetup(QPrinter& printer, QWidget* parent);

}  // namespace solvow

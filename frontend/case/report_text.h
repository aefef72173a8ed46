// The engine's report as text: its lines, the page mark, the viewer text, the printed pages,
// the page header that names the case, and the report font chosen for them. No widgets here.
//
// The report is a plain text file, one line per record, written by the engine in the working
// folder. Its Swedish letters may come in the DOS code page (Å 143, Ä 142, Ö 153, å 134,
// ä 132, ö 148) or the Windows code page; every occurrence is shown as the letter, and the
// other bytes are read as Windows-1252.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

#include "file_access.h"

namespace solvow {

// The report font and where its choice is stored; one for the whole program. The viewer and
// the font form change `fontName`; "OK / Stäng" of the font form writes it to Solvfnt.ini in
// `iniFolder` through `files`.
struct ReportSettings {
  QString fontName = QStringLiteral("Courier New");
  QString iniFolder;
  FileTable* files = nullptr;
  DiskDialogue dialogue;
};

// A result shown after the case was changed: the line above the result and the caption.
QString staleResultLine();
QString staleCaption(const QString& caption);

// The message shown when the report of a case cannot be read:
// "Resultatfil till " + base name + ".IND" + " saknas !".
QString missingReportMessage(const QString& baseName);

// A report file read line by line (lines end with CR LF or LF; the last line needs no line
// end), every line converted to the shown letters. Opened through the file-open routine;
// false when it could not be opened (the dialogue has then had its say).
bool readReportLines(FileTable& files, const QString& path, const DiskDialogue& dialogue,
                     QStringList* lines);

// The same for bytes already in memory.
QStringList reportLines(const QByteArray& bytes);

// The engine's page mark: a line holding "^" alone in its first column (blanks after it
// aside). A "^" anywhere else (in the case name of a header, in the heading) is text.
bool isPageMark(QStringView line);

// The text the viewer shows: each line preceded by CR LF, so the text begins with an empty
// line and has no line end after its last line. The page marks are left out: the next page's
// header begins with an empty line of its own.
QString reportViewerText(const QStringList& lines);

// The lines split into printed pages. A page ends after its 70th line, at a page mark, and at
// the end of the report. The marks themselves are on no page, and no page is empty: a mark
// right after a full page or after another mark ends nothing. An empty report has no pages.
inline constexpr int kLinesPerPage = 70;
QList<QStringList> reportPages(const QStringList& lines);

// What the header of the report's first page says about the case: the case name after
// "INDATAFIL : " (the first 8 characters of the case name, blanks around it removed), the
// date after "DATUM : " and the time after "TID   : " as written, and the heading: the line
// after the section title "INDATA" / "------", from column 6, trailing blanks removed.
struct ReportHeader {
  QString caseName;     // "PLATTA"
  QString date;         // "2026.12.09"
  QString time;         // "04:12:00"
  QString heading;      // empty when the first page has no title block
  bool titled = false;  // the title block "INDATA" / "------" was found: a case's report
};

// The header of the first page, or nothing when the lines hold no "INDATAFIL : " line in the
// first header (within the first page's first 10 lines).
std::optional<ReportHeader> reportHeader(const QStringList& lines);

// Solvfnt.ini in `folder`: replaced by one line, the font name (Windows-1252) and CR LF; the
// start-up reads it back with readReportFont. False when it could not be written.
bool writeFontSetting(FileTable& files, const QString& folder, const QString& fontName,
                      const DiskDialogue& dialogue);

}  // namespace solvow

// The engine's report as text: its file name, its lines, the viewer text, the printed pages,
// and the report font chosen for them. No widgets here.
//
// The report is a plain text file, one line per record, written by the engine in the working
// folder. Its Swedish letters may come in the DOS code page (Å 143, Ä 142, Ö 153, å 134,
// ä 132, ö 148) or the Windows code page; every occurrence is shown as the letter, and the
// other bytes are read as Windows-1252.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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

// The text the viewer shows: each line preceded by CR LF, so the text begins with an empty
// line and has no line end after its last line.
QString reportViewerText(const QStringList& lines);

// The lines split into printed pages. A page ends after its 70th line, after a line holding
// "^" (the engine's page mark, printed with the page), and at the end of the report. An empty
// report has no pages.
inline constexpr int kLinesPerPage = 70;
QList<QStringList> reportPages(const QStringList& lines);

// Solvfnt.ini in `folder`: replaced by one line, the font name (Windows-1252) and CR LF; the
// start-up reads it back with readReportFont. False when it could not be written.
bool writeFontSetting(FileTable& files, const QString& folder, const QString& fontName,
                      const DiskDialogue& dialogue);

}  // namespace solvow

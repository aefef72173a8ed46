// The design-case file (.IND) as the front end writes and reads it, and the case operations
// New, Open, Save and Save as on the case store.
//
// The file has 37 lines and the lines 38-40 (the deck during casting, the props of every
// span in 3-character columns, the lowest natural frequency) and 41 (the largest crack width),
// each ending with CR LF; a file of 37 or 40 lines reads with the defaults of the lines it
// leaves out. Where each value stands and the range it must lie in is the case-format table
// of the platform library, which the engine reads too. Lines 1 and 2 hold the case name and the
// heading in Windows-1252 with the Swedish letters in the DOS code page; fixed-column lines
// hold reals in 7-character columns ("##0.000") or, for the support widths, 6-character
// columns ("#0.000"), always with a point; the other lines hold one value each. The engine
// reads the same layout.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "case_store.h"
#include "file_access.h"

namespace solvow {

inline constexpr int kCaseFileLines = 37;         // lines of the original layout
inline constexpr int kCaseFileLinesWritten = 41;  // with the casting lines and the crack width

// The bytes of the design-case file of `store`. Nothing when a value of the case lies outside
// its range in the case-format table (the reader and the engine would refuse the file);
// `error` then says which.
std::optional<QByteArray> caseFileBytes(const CaseStore& store, QString* error = nullptr);

// Reads a design-case file. The defaults routine and the reading work on a copy of `store`;
// only a file read to its 37th line (or its 40th or 41st when it goes on) with every value
// inside its range replaces the case, so a file that ends early, ends inside a fixed-column
// last line, or holds a value outside its range leaves `store` untouched and `error` names
// the file (`fileLabel`) and the line. Lines end with CR LF or LF; text lines are taken whole,
// commas and quotes included. The editing state (names, flags, folders) is not changed.
bool readCaseBytes(const QByteArray& bytes, const QString& fileLabel, CaseStore& store,
                   QString* error = nullptr);

// The file reader and writer on a file opened with FileTable::open (read and write mode).
// Writing clears the changed flag and sets the named flag.
bool readCase(FileTable& files, qint16 number, CaseStore& store, QString* error = nullptr);
bool writeCase(FileTable& files, qint16 number, CaseStore& store, QString* error = nullptr);

// New case: defaults and the default-case file "solvo.def" of the program folder. The case is
// unnamed and unchanged; its file name is the base name the default case holds, plus ".IND".
bool newCase(CaseStore& store, FileTable& files, const DiskDialogue& dialogue,
             QString* error = nullptr);

// Open: defaults and the file `name` in `folder`; the case is named and unchanged, its file
// name its base name plus ".IND" and its folder `folder`.
bool openCase(CaseStore& store, FileTable& files, const QString& folder, const QString& name,
              const DiskDialogue& dialogue, QString* error = nullptr);

// After Open: a file copied or renamed on disk still names its old case in line 1, and the
// engine would write the report of that other case. When the case name differs from the name
// of the file (up to its first point, ignoring case), the case takes the file's name and is
// marked changed, so that the run asks for a save, which writes that name into line 1.
// Returns the message that says so; empty when the names agree.
QString adoptFileName(CaseStore& store);

// Save: writes the case to its folder under its file name. The file is written beside the
// target under a temporary name and renamed into place, so a failed save leaves the old file
// as it was; `error` then names the file and the cause.
bool saveCase(CaseStore& store, QString* error = nullptr);

// Writes `bytes` to `path` as Save writes a case: beside it under a temporary name, renamed
// into place once every byte is on the disk. False with `error` naming the file and the cause.
bool replaceFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// The names Save as gives a typed name: upper case, trimmed of blanks; with a point the file
// name is the text up to and including the first point followed by "IND" and the base name
// the text before the point; otherwise text + ".IND" and the text. A name holding "/" or "\"
// (it would leave the chosen folder) or giving an empty base name is refused with a message.
struct SaveAsName {
  QString fileName;
  QString baseName;
  QString error;  // empty when the name can be used
};
SaveAsName saveAsName(const QString& typed);

// What a base name given to a new file breaks of the note under the name box ("at most eight
// characters, no blanks, commas, points or å, ä, ö"): the report keeps nine characters and
// the engine's console and file names keep plain letters, so a longer or other name can end in
// another case's report. Empty when the name keeps the note. Names of files that exist
// already are the user's own and are not judged.
inline constexpr int kNewCaseNameLength = 8;
QString newCaseNameProblem(const QString& baseName);

// Save as: the typed name in `folder`. On success the case takes the new names and folder;
// on failure it keeps its names and flags.
bool saveCaseAs(CaseStore& store, const QString& folder, const QString& typed,
                QString* error = nullptr);

}  // namespace solvow

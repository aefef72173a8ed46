// The small settings files the front end reads at start-up, all in its working folder:
//
//   solvo.ini    first item: the program folder (where solvowb, solvo.def and the help
//                document lie), Swedish letters in the DOS code page
//   solvo.ver    bytes 1 to 4: a little-endian single-precision number, the version whose
//                change notice the user has chosen not to see again
//   Solvfnt.ini  first item: the font name of the report text
//
// Names resolve as on a file system that ignores case; every file is opened through
// FileTable::open.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "file_access.h"

namespace solvow {

// The program version; the change notice is shown while solvo.ver holds less.
inline constexpr float kProgramVersion = 7.1f;
// The product line of both notices.
inline constexpr const char* kProductLine = "Fjalvik Solvodeck ver 7.10";

inline constexpr const char* kIniFile = "solvo.ini";
inline constexpr const char* kVersionFile = "solvo.ver";
inline constexpr const char* kFontFile = "Solvfnt.ini";

// The first item of a settings file, read as a list-directed input reads it: leading blanks
// skipped; a quoted item runs to the closing quote; otherwise the item ends at the first comma
// or line end and trailing blanks are dropped. Empty for an empty file.
QByteArray firstItem(const QByteArray& bytes);

// The program folder that solvo.ini in `workFolder` names, as an absolute path (a relative
// entry counts from the working folder). A text that is valid UTF-8 with letters beyond ASCII
// is taken as UTF-8; otherwise every DOS letter is converted and the rest read as
// Windows-1252. Nothing when the file is missing or its first item is empty: the caller then
// takes the folder of the program itself.
std::optional<QString> readProgramFolder(FileTable& files, const QString& workFolder,
                                         const DiskDialogue& dialogue);

// The version stored in solvo.ver of `workFolder`. The byte-wise open creates a missing file
// empty, as the program always has; a file shorter than 4 bytes reads as 0.
float readHiddenVersion(FileTable& files, const QString& workFolder, const DiskDialogue& dialogue);

// Whether the change notice is due: the stored version is below the program version, the two
// compared as single-precision numbers.
inline bool changeNoticeDue(float stored) { return stored < kProgramVersion; }

// Writes `version` as 4 bytes at the start of solvo.ver, leaving any later bytes as they are.
bool writeHiddenVersion(FileTable& files, const QString& workFolder, float version,
                        const DiskDialogue& dialogue);

// The report font that Solvfnt.ini names, or nothing when the file is missing or empty. The
// font form writes the file (one line, the name); a quoted name reads as well.
std::optional<QString> readReportFont(FileTable& files, const QString& workFolder,
                                      const DiskDialogue& dialogue);

}  // namespace solvow

// What the drive, folder and file lists of the file dialogs show, and how the name box of the
// open dialog is read, without any window.
//
// Drives are the mounted file-system roots. Folders are absolute and "/"-separated; a folder
// the dialogs remember ends with "/". File patterns use "*" and "?", match ignoring case, and
// several patterns are separated by ";" ("*.IND;*.RES").
#pragma once

#include <QString>
#include <QStringList>

namespace solvow {

// The patterns of a pattern text, blanks around each dropped, empty ones left out.
QStringList splitPatterns(const QString& patterns);

// Whether `name` matches one of the patterns, ignoring case. "*.*" matches every name, also
// one without an extension.
bool matchesPatterns(const QString& name, const QString& patterns);

// The files (not folders) of `folder` that match `patterns`, sorted ignoring case.
QStringList listFiles(const QString& folder, const QString& patterns);

// ".." (except at a root) followed by the sub-folders of `folder`, sorted ignoring case.
QStringList listFolders(const QString& folder);

// The mounted file-system roots that can be listed, sorted.
QStringList driveRoots();

// The root among `roots` that holds `folder`: the longest one that is a prefix of it.
QString driveOf(const QString& folder, const QStringList& roots);

// `folder` with one trailing "/".
QString withTrailingSlash(const QString& folder);

// Why `folder` cannot be listed, in the platform's words; empty when it can.
QString folderError(const QString& folder);

// The name box of the open dialog read as a command line. A text naming a folder (it holds a
// "/" or "\") moves the lists there first; what follows the last separator is then read on its
// own: empty keeps the dialog open, an entry of the file list (ignoring case) is chosen, a text
// with "*" or "?" becomes the new pattern, anything else is the chosen name.
struct NameBoxFolder {
  QString folder;  // absolute folder to move to; empty when the text names none
  QString rest;    // the text after the folder part, trimmed
};
NameBoxFolder splitNameBox(const QString& text, const QString& currentFolder);

enum class NameBoxAction { Stay, ChooseEntry, NewPattern, ChooseName };
struct NameBoxReading {
  NameBoxAction action = NameBoxAction::Stay;
  QString text;  // the entry as listed, the pattern or the name
};
NameBoxReading readNameBox(const QString& rest, const QStringList& entries);

}  // namespace solvow

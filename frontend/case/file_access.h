// Opening files of the front end, and the disk-error dialogue.
//
// Every file the front end reads or writes is opened through FileTable::open, which hands out
// a file number (1 to 255; 0 never names an open file) and consults the disk-error dialogue
// when opening fails. The dialogue itself is shown by the caller: the forms show a message box
// titled "Disk Error", tests answer it themselves.
//
// Names of existing files resolve as on a file system that ignores case: the exact name first,
// otherwise the entry of the same folder whose name matches ignoring case, its letters in UTF-8
// or in either code page (the rule the engine shares).
#pragma once

#include <QFile>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <span>

namespace solvow {

// Access modes of the file-open routine.
enum class FileMode : qint16 {
  Write = 1,  // creates or replaces the file
  Read = 2,
  Append = 3,
  Random = 4,  // records of a given length
  Binary = 5,  // byte-wise
};

enum class DiskButtons { Ok, YesNo, YesNoCancel };

// The button the user pressed in the disk-error dialogue.
enum class DiskAnswer { Ok, Retry, Ignore, Cancel, Abort, Yes, No };

// What the failed step should do next.
enum class DiskErrorResult : qint16 { TryAgain = 0, Skip = 1, GiveUp = 2, NotDiskError = 3 };

inline constexpr const char* kDiskErrorTitle = "Disk Error";

struct DiskErrorMessage {
  int number;        // error number of the file layer
  const char* text;  // shown under the title "Disk Error"
  DiskButtons buttons;
  bool questionIcon;
};

// The error numbers this front end produces when opening fails, in the file layer's numbering.
namespace diskerr {
inline constexpr int kBadFileMode = 54;
inline constexpr int kFileAlreadyOpen = 55;
inline constexpr int kFileNotFound = 53;  // not in the table: no message
inline constexpr int kBadFileName = 64;
inline constexpr int kTooManyFiles = 67;      // not in the table: no message
inline constexpr int kPermissionDenied = 70;  // not in the table: no message
inline constexpr int kPathAccess = 75;        // not in the table: no message
inline constexpr int kPathNotFound = 76;
}  // namespace diskerr

// The messages of the disk-error dialogue, one row per error number.
std::span<const DiskErrorMessage> diskErrorTable();

// The row of `number`, or nullptr when the number has no message.
const DiskErrorMessage* findDiskError(int number);

// Shows the message and returns the button pressed.
using DiskDialogue = std::function<DiskAnswer(const DiskErrorMessage&)>;

// The disk-error dialogue: NotDiskError without asking for a number not in the table;
// otherwise the answer decides: OK or Retry try again, Ignore skips, Cancel or Abort give up,
// Yes and No are not a disk error. An empty `dialogue` counts as Cancel.
DiskErrorResult diskError(int number, const DiskDialogue& dialogue);

// The open files of the front end by file number.
class FileTable {
 public:
  static constexpr qint16 kMaxFiles = 255;
  // Tries of one open: after the third failure the open gives up, whatever the answers.
  static constexpr int kMaxTries = 3;

  FileTable();
  ~FileTable();
  FileTable(const FileTable&) = delete;
  FileTable& operator=(const FileTable&) = delete;

  // Opens `name` in `mode` (1 to 5) and returns the lowest free file number, or 0 when the
  // mode is outside 1 to 5, when opening failed and the dialogue did not ask to try again, or
  // after the third failed try. `recordLength` counts for Random only. A missing file opened
  // for reading returns 0 without a message.
  qint16 open(const QString& name, int mode, qint16 recordLength, const DiskDialogue& dialogue);

  // The open file of `number`, or nullptr.
  QFile* file(qint16 number) const;
  qint16 recordLength(qint16 number) const;
  FileMode mode(qint16 number) const;

  // Closes the file; false when `number` names no open file.
  bool close(qint16 number);
  int openCount() const { return static_cast<int>(m_files.size()); }

 private:
  struct Entry {
    std::unique_ptr<QFile> file;
    FileMode mode;
    qint16 recordLength;
  };
  // One attempt; returns the error number, 0 on success.
  int tryOpen(const QString& name, FileMode mode, qint16 recordLength, qint16 number);

  std::map<qint16, Entry> m_files;
};

// The name an existing file answers to: `path` itself when it exists, otherwise the entry of
// its folder whose name equals the last part of `path` ignoring case, otherwise `path`.
QString resolveExisting(const QString& path);

// `name` in `folder` ("" is the current folder). Joined as text: a name that starts with ":"
// stays a file of that folder, never one of Qt's resource paths.
QString inFolder(const QString& folder, const QString& name);

// The name of the report the engine writes for a case of base name `baseName`: its first nine
// characters without trailing blanks, then ".RES", by the engine's own rule. The report on
// disk is then found by resolveExisting, whatever the case of its letters.
QString reportFileName(const QString& baseName);

// Deletes the case-insensitive match of `path`; false when there was none or it stayed.
bool removeResolved(const QString& path);

}  // namespace solvow

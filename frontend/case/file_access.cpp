#include "file_access.h"

#include <QDir>
#include <QFileInfo>
#include <array>

#include "file_names.h"
#include "text_conv.h"

namespace solvow {
namespace {

constexpr std::array<DiskErrorMessage, 9> kDiskErrors{{
    {54, "Bad FileMode", DiskButtons::Ok, false},
    {55, "File Already Open", DiskButtons::Ok, false},
    {57, "Device IO", DiskButtons::YesNo, false},
    {61, "Disk Full", DiskButtons::YesNoCancel, true},
    {62, "Input Past End Of File", DiskButtons::Ok, false},
    {64, "Bad Filename, Bad Filename Or Number", DiskButtons::Ok, false},
    {68, "Device Unavailable", DiskButtons::YesNo, false},
    {71, "Disk Not Ready", DiskButtons::Ok, false},
    {76, "Path Does Not Exist", DiskButtons::Ok, false},
}};

bool writes(FileMode m) { return m != FileMode::Read; }

}  // namespace

std::span<const DiskErrorMessage> diskErrorTable() { return kDiskErrors; }

const DiskErrorMessage* findDiskError(int number) {
  for (const DiskErrorMessage& m : kDiskErrors)
    if (m.number == number) return &m;
  return nullptr;
}

DiskErrorResult diskError(int number, const DiskDialogue& dialogue) {
  const DiskErrorMessage* message = findDiskError(number);
  if (message == nullptr) return DiskErrorResult::NotDiskError;
  const DiskAnswer answer = dialogue ? dialogue(*message) : DiskAnswer::Cancel;
  switch (answer) {
    case DiskAnswer::Ok:
    case DiskAnswer::Retry:
      return DiskErrorResult::TryAgain;
    case DiskAnswer::Ignore:
      return DiskErrorResult::Skip;
    case DiskAnswer::Cancel:
    case DiskAnswer::Abort:
      return DiskErrorResult::GiveUp;
    case DiskAnswer::Yes:
    case DiskAnswer::No:
      break;
  }
  return DiskErrorResult::NotDiskError;
}

FileTable::FileTable() = default;

FileTable::~FileTable() = default;

qint16 FileTable::open(const QString& name, int mode, qint16 recordLength,
                       const DiskDialogue& dialogue) {
  if (mode < 1 || mode > 5) return 0;
  for (int attempt = 1; attempt <= kMaxTries; ++attempt) {
    qint16 number = 1;
    while (number <= kMaxFiles && m_files.count(number) != 0) ++number;
    const int error = number > kMaxFiles
                          ? diskerr::kTooManyFiles
                          : tryOpen(name, static_cast<FileMode>(mode), recordLength, number);
    if (error == 0) return number;
    if (attempt == kMaxTries) break;
    if (diskError(error, dialogue) != DiskErrorResult::TryAgain) return 0;
  }
  return 0;
}

int FileTable::tryOpen(const QString& name, FileMode mode, qint16 recordLength, qint16 number) {
  if (name.isEmpty()) return diskerr::kBadFileName;
  const QString path = resolveExisting(name);
  const QFileInfo info(path);
  if (!info.absoluteDir().exists()) return diskerr::kPathNotFound;
  if (info.isDir()) return diskerr::kPathAccess;
  if (mode == FileMode::Read && !info.exists()) return diskerr::kFileNotFound;
  const QString absolute = info.absoluteFilePath();
  for (const auto& [n, entry] : m_files) {
    if (QFileInfo(entry.file->fileName()).absoluteFilePath() == absolute &&
        (writes(mode) || writes(entry.mode)))
      return diskerr::kFileAlreadyOpen;
  }

  auto file = std::make_unique<QFile>(path);
  QIODevice::OpenMode flags;
  switch (mode) {
    case FileMode::Write:
      flags = QIODevice::WriteOnly | QIODevice::Truncate;
      break;
    case FileMode::Read:
      flags = QIODevice::ReadOnly;
      break;
    case FileMode::Append:
      flags = QIODevice::WriteOnly | QIODevice::Append;
      break;
    case FileMode::Random:
    case FileMode::Binary:
      flags = QIODevice::ReadWrite;
      break;
  }
  if (!file->open(flags))
    return file->error() == QFileDevice::PermissionsError ? diskerr::kPermissionDenied
                                                          : diskerr::kPathAccess;
  m_files.emplace(number, Entry{std::move(file), mode, recordLength});
  return 0;
}

QFile* FileTable::file(qint16 number) const {
  const auto it = m_files.find(number);
  return it == m_files.end() ? nullptr : it->second.file.get();
}

qint16 FileTable::recordLength(qint16 number) const {
  const auto it = m_files.find(number);
  return it == m_files.end() ? qint16{0} : it->second.recordLength;
}

FileMode FileTable::mode(qint16 number) const {
  const auto it = m_files.find(number);
  return it == m_files.end() ? FileMode::Read : it->second.mode;
}

bool FileTable::close(qint16 number) {
  const auto it = m_files.find(number);
  if (it == m_files.end()) return false;
  it->second.file->close();
  m_files.erase(it);
  return true;
}

QString resolveExisting(const QString& path) {
  const QFileInfo info(path);
  if (info.exists()) return path;
  const QDir dir = info.dir();
  const std::optional<std::filesystem::path> found = solvo::platform::find_existing(
      std::filesystem::path(QFile::encodeName(dir.path()).toStdString()),
      QFile::encodeName(info.fileName()).toStdString(), true);
  return found ? inFolder(info.path(),
                          QFile::decodeName(QByteArray::fromStdString(found->filename().native())))
               : path;
}

QString inFolder(const QString& folder, const QString& name) {
  if (folder.isEmpty()) return name.startsWith(u':') ? QStringLiteral("./") + name : name;
  return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

QString reportFileName(const QString& baseName) {
  std::u32string letters;
  for (const uint c : baseName.toUcs4()) letters += static_cast<char32_t>(c);
  return QString::fromStdString(solvo::platform::report_file_name(letters));
}

bool removeResolved(const QString& path) {
  const QString resolved = resolveExisting(path);
  if (!QFileInfo::exists(resolved)) return false;
  return QFile::remove(resolved);
}

}  // namespace solvow

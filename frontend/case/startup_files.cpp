#include "startup_files.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <cstring>

#include "text_conv.h"

namespace solvow {
namespace {

QString pathIn(const QString& folder, const char* name) {
  return QDir(folder).filePath(QString::fromLatin1(name));
}

// The whole file, or nothing when it cannot be opened.
std::optional<QByteArray> readAll(FileTable& files, const QString& path, FileMode mode,
                                  const DiskDialogue& dialogue) {
  const qint16 number = files.open(path, static_cast<int>(mode), 0, dialogue);
  if (number == 0) return std::nullopt;
  QByteArray bytes = files.file(number)->readAll();
  files.close(number);
  return bytes;
}

bool isUtf8BeyondAscii(const QByteArray& bytes) {
  bool beyond = false;
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) beyond = true;
  if (!beyond) return false;
  QStringDecoder decoder(QStringDecoder::Utf8);
  const QString decoded = decoder.decode(bytes);
  return !decoded.isEmpty() && !decoder.hasError();
}

}  // namespace

QByteArray firstItem(const QByteArray& bytes) {
  qsizetype i = 0;
  while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t')) ++i;
  if (i < bytes.size() && bytes[i] == '"') {
    const qsizetype start = i + 1;
    qsizetype end = start;
    while (end < bytes.size() && bytes[end] != '"' && bytes[end] != '\r' && bytes[end] != '\n')
      ++end;
    return bytes.mid(start, end - start);
  }
  qsizetype end = i;
  while (end < bytes.size() && bytes[end] != ',' && bytes[end] != '\r' && bytes[end] != '\n') ++end;
  QByteArray item = bytes.mid(i, end - i);
  while (!item.isEmpty() && (item.back() == ' ' || item.back() == '\t')) item.chop(1);
  return item;
}

std::optional<QString> readProgramFolder(FileTable& files, const QString& workFolder,
                                         const DiskDialogue& dialogue) {
  const auto bytes = readAll(files, pathIn(workFolder, kIniFile), FileMode::Read, dialogue);
  if (!bytes) return std::nullopt;
  const QByteArray item = firstItem(*bytes);
  if (item.isEmpty()) return std::nullopt;
  const QString folder =
      isUtf8BeyondAscii(item) ? QString::fromUtf8(item) : fromWindows1252(dosToWindowsAll(item));
  return QDir::cleanPath(QDir(workFolder).absoluteFilePath(folder));
}

float readHiddenVersion(FileTable& files, const QString& workFolder, const DiskDialogue& dialogue) {
  const auto bytes = readAll(files, pathIn(workFolder, kVersionFile), FileMode::Binary, dialogue);
  if (!bytes || bytes->size() < 4) return 0.0f;
  const auto b = [&](int k) {
    return static_cast<quint32>(static_cast<unsigned char>((*bytes)[k]));
  };
  const quint32 bits = b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
  float version = 0.0f;
  std::memcpy(&version, &bits, sizeof version);
  return version;
}

bool writeHiddenVersion(FileTable& files, const QString& workFolder, float version,
                        const DiskDialogue& dialogue) {
  const qint16 number =
      files.open(pathIn(workFolder, kVersionFile), static_cast<int>(FileMode::Binary), 0, dialogue);
  if (number == 0) return false;
  quint32 bits = 0;
  std::memcpy(&bits, &version, sizeof bits);
  char out[4];
  for (int k = 0; k < 4; ++k) out[k] = static_cast<char>((bits >> (8 * k)) & 0xFFu);
  QFile* file = files.file(number);
  const bool ok = file->seek(0) && file->write(out, 4) == 4 && file->flush();
  files.close(number);
  return ok;
}

std::optional<QString> readReportFont(FileTable& files, const QString& workFolder,
                                      const DiskDialogue& dialogue) {
  const auto bytes = readAll(files, pathIn(workFolder, kFontFile), FileMode::Read, dialogue);
  if (!bytes) return std::nullopt;
  const QByteArray item = firstItem(*bytes);
  if (item.isEmpty()) return std::nullopt;
  return fromWindows1252(item);
}

}  // namespace solvow

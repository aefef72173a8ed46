#include "recent_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace solvow {

RecentFiles::RecentFiles(const QString& workFolder)
    : m_file(QDir(workFolder).filePath(QString::fromLatin1(kRecentFile))) {}

void RecentFiles::read() {
  m_paths.clear();
  QFile file(m_file);
  if (!file.open(QIODevice::ReadOnly)) return;
  const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
  for (QString line : lines) {
    line = line.trimmed();
    if (line.isEmpty() || m_paths.contains(line, Qt::CaseInsensitive)) continue;
    m_paths.append(line);
    if (m_paths.size() == kCount) break;
  }
}

bool RecentFiles::add(const QString& path) {
  const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  m_paths.removeIf(
      [&clean](const QString& p) { return p.compare(clean, Qt::CaseInsensitive) == 0; });
  m_paths.prepend(clean);
  while (m_paths.size() > kCount) m_paths.removeLast();
  return write();
}

bool RecentFiles::remove(const QString& path) {
  m_paths.removeIf([&path](const QString& p) { return p.compare(path, Qt::CaseInsensitive) == 0; });
  return write();
}

QString RecentFiles::menuText(int index, const QString& path) {
  QString name = QFileInfo(path).fileName();
  name.replace(u'&', QStringLiteral("&&"));
  return QStringLiteral("%1 %2").arg(index + 1).arg(name);
}

bool RecentFiles::write() const {
  QSaveFile file(m_file);
  if (!file.open(QIODevice::WriteOnly)) return false;
  for (const QString& p : m_paths) file.write(p.toUtf8() + '\n');
  return file.commit();
}

}  // namespace solvow

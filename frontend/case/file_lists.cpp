#include "file_lists.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace solvow {
namespace {

void sortIgnoringCase(QStringList& names) {
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
}

QString platformError(int number) { return QString::fromLocal8Bit(std::strerror(number)); }

}  // namespace

QStringList splitPatterns(const QString& patterns) {
  QStringList out;
  for (const QString& p : patterns.split(u';')) {
    const QString t = p.trimmed();
    if (!t.isEmpty()) out.append(t);
  }
  return out;
}

bool matchesPatterns(const QString& name, const QString& patterns) {
  for (const QString& p : splitPatterns(patterns)) {
    if (p == QStringLiteral("*.*")) return true;  // every file, with or without an extension
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(p),
                                QRegularExpression::CaseInsensitiveOption);
    if (re.match(name).hasMatch()) return true;
  }
  return false;
}

QStringList listFiles(const QString& folder, const QString& patterns) {
  QStringList out;
  const QStringList entries =
      QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
  for (const QString& e : entries)
    if (matchesPatterns(e, patterns)) out.append(e);
  sortIgnoringCase(out);
  return out;
}

QStringList listFolders(const QString& folder) {
  const QDir dir(folder);
  QStringList out = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Unsorted);
  sortIgnoringCase(out);
  if (!dir.isRoot()) out.prepend(QStringLiteral(".."));
  return out;
}

QStringList driveRoots() {
  QStringList roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady() || !QFileInfo(volume.rootPath()).isDir()) continue;
    const QString root = withTrailingSlash(volume.rootPath());
    if (!roots.contains(root)) roots.append(root);
  }
  if (!roots.contains(QStringLiteral("/"))) roots.append(QStringLiteral("/"));
  std::sort(roots.begin(), roots.end());
  return roots;
}

QString driveOf(const QString& folder, const QStringList& roots) {
  const QString f = withTrailingSlash(QDir::cleanPath(folder));
  QString best;
  for (const QString& r : roots) {
    const QString root = withTrailingSlash(r);
    if (f.startsWith(root) && root.size() > best.size()) best = r;
  }
  return best;
}

QString withTrailingSlash(const QString& folder) {
  if (folder.isEmpty() || folder.endsWith(u'/')) return folder;
  return folder + u'/';
}

QString folderError(const QString& folder) {
  const QFileInfo info(folder);
  if (!info.exists()) return platformError(ENOENT);
  if (!info.isDir()) return platformError(ENOTDIR);
  if (!info.isReadable() || !info.isExecutable()) return platformError(EACCES);
  return {};
}

NameBoxFolder splitNameBox(const QString& text, const QString& currentFolder) {
  QString t = text.trimmed();
  t.replace(u'\\', u'/');
  const qsizetype cut = t.lastIndexOf(u'/');
  if (cut < 0) return {QString(), t};
  const QString part = cut == 0 ? QStringLiteral("/") : t.left(cut);
  return {QDir::cleanPath(QDir(currentFolder).absoluteFilePath(part)), t.mid(cut + 1).trimmed()};
}

NameBoxReading readNameBox(const QString& rest, const QStringList& entries) {
  if (rest.isEmpty()) return {NameBoxAction::Stay, QString()};
  if (entries.contains(rest)) return {NameBoxAction::ChooseEntry, rest};
  for (const QString& e : entries)
    if (e.compare(rest, Qt::CaseInsensitive) == 0) return {NameBoxAction::ChooseEntry, e};
  if (rest.contains(u'*') || rest.contains(u'?')) return {NameBoxAction::NewPattern, rest};
  return {NameBoxAction::ChooseName, rest};
}

}  // namespace solvow

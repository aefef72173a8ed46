// The list of the last case files opened or saved, newest first, as the file menu shows them.
//
// The list is kept in the settings file Solvsen.ini of the working folder, beside solvo.ini:
// one full path a line, UTF-8, newest first. A missing or unreadable file is an empty list.
#pragma once

#include <QString>
#include <QStringList>

namespace solvow {

inline constexpr const char* kRecentFile = "Solvsen.ini";

class RecentFiles {
 public:
  static constexpr int kCount = 4;

  explicit RecentFiles(const QString& workFolder);

  // The paths, newest first; at most kCount.
  const QStringList& paths() const { return m_paths; }

  // Reads the settings file; an unreadable file gives an empty list.
  void read();
  // `path` first (once; a path naming the same file in other letter case counts as the same),
  // the oldest beyond kCount dropped; the settings file rewritten. False when it could not
  // be written (the list in memory is still right).
  bool add(const QString& path);
  // Takes `path` out of the list and rewrites the file.
  bool remove(const QString& path);

  // "1 NAME.IND" for the entry at `index` (0-based), with & doubled for the menu.
  static QString menuText(int index, const QString& path);

 private:
  bool write() const;

  QString m_file;
  QStringList m_paths;
};

}  // namespace solvow

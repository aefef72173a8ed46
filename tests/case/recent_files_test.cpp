// The list of recent case files and its settings file.
#include "recent_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace solvow {
namespace {

TEST(RecentFiles, NewestFirstFourAtMostEachOnce) {
  QTemporaryDir dir;
  RecentFiles r(dir.path());
  r.read();
  EXPECT_TRUE(r.paths().isEmpty());
  for (const char* p : {"/a/A.IND", "/a/B.IND", "/b/C.IND", "/a/D.IND", "/a/E.IND"})
    ASSERT_TRUE(r.add(QString::fromUtf8(p)));
  EXPECT_EQ(r.paths(), (QStringList{"/a/E.IND", "/a/D.IND", "/b/C.IND", "/a/B.IND"}));
  r.add(QStringLiteral("/b/c.ind"));  // the same file in other letters: moves to the top
  EXPECT_EQ(r.paths(), (QStringList{"/b/c.ind", "/a/E.IND", "/a/D.IND", "/a/B.IND"}));

  RecentFiles again(dir.path());
  again.read();
  EXPECT_EQ(again.paths(), r.paths());
  again.remove(QStringLiteral("/a/D.IND"));
  RecentFiles third(dir.path());
  third.read();
  EXPECT_EQ(third.paths(), (QStringList{"/b/c.ind", "/a/E.IND", "/a/B.IND"}));
}

TEST(RecentFiles, TheSettingsFileLiesInTheWorkingFolderOnePathALine) {
  QTemporaryDir dir;
  RecentFiles r(dir.path());
  r.add(QStringLiteral("/fall/ÖVNING.IND"));
  r.add(QStringLiteral("/fall/KONTOR3.IND"));
  QFile f(QDir(dir.path()).filePath(QStringLiteral("Solvsen.ini")));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("/fall/KONTOR3.IND\n/fall/\xC3\x96VNING.IND\n"));
}

TEST(RecentFiles, AHandEditedFileIsReadWithoutBlanksAndDuplicates) {
  QTemporaryDir dir;
  QFile f(QDir(dir.path()).filePath(QStringLiteral("Solvsen.ini")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("\r\n/x/A.IND\r\n/x/a.ind\n\n/x/B.IND\n/x/C.IND\n/x/D.IND\n/x/E.IND\n");
  f.close();
  RecentFiles r(dir.path());
  r.read();
  EXPECT_EQ(r.paths(), (QStringList{"/x/A.IND", "/x/B.IND", "/x/C.IND", "/x/D.IND"}));
}

TEST(RecentFiles, MenuTextNumbersTheFileName) {
  EXPECT_EQ(RecentFiles::menuText(0, QStringLiteral("/fall/KONTOR3.IND")),
            QStringLiteral("1 KONTOR3.IND"));
  EXPECT_EQ(RecentFiles::menuText(3, QStringLiteral("/fall/A&B.IND")),
            QStringLiteral("4 A&&B.IND"));
}

}  // namespace
}  // namespace solvow

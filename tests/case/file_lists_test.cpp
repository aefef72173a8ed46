#include "file_lists.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace solvow {
namespace {

TEST(FilePatterns, MatchIgnoringCaseWithSeveralPatterns) {
  struct Case {
    const char* name;
    const char* patterns;
    bool want;
  };
  const Case cases[] = {
      {"PLAN1.IND", "*.IND", true},
      {"plan1.ind", "*.IND", true},
      {"PLAN1.INDX", "*.IND", false},
      {"PLAN1.RES", "*.IND", false},
      {"PLAN1.RES", "*.IND;*.RES", true},
      {"plan1.res", " *.ind ; *.RES ", true},
      {"A.IND", "?.IND", true},
      {"AB.IND", "?.IND", false},
      {"MOMK", "*.*", true},  // no extension, still every file
      {"MOMK.DAT", "*.*", true},
      {"MOMK.DAT", "", false},
      {"MOMK.DAT", ";", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(matchesPatterns(QString::fromLatin1(c.name), QString::fromLatin1(c.patterns)), c.want)
        << c.name << " / " << c.patterns;
}

class FolderListing : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  void touch(const QString& name) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
};

TEST_F(FolderListing, FilesOnlyMatchingSortedIgnoringCase) {
  for (const char* n : {"b.IND", "A.ind", "c.res", "C.IND"}) touch(QString::fromLatin1(n));
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("plan.IND")));  // a folder, never listed
  EXPECT_EQ(listFiles(dir.path(), QStringLiteral("*.IND")),
            (QStringList{"A.ind", "b.IND", "C.IND"}));
  EXPECT_EQ(listFiles(dir.path(), QStringLiteral("*.IND;*.RES")),
            (QStringList{"A.ind", "b.IND", "C.IND", "c.res"}));
}

TEST_F(FolderListing, FoldersStartWithTheParentExceptAtTheRoot) {
  QDir d(dir.path());
  for (const char* n : {"rapporter", "Ark", "indata"}) ASSERT_TRUE(d.mkdir(QString::fromLatin1(n)));
  touch(QStringLiteral("a.IND"));
  EXPECT_EQ(listFolders(dir.path()), (QStringList{"..", "Ark", "indata", "rapporter"}));
  EXPECT_FALSE(listFolders(QStringLiteral("/")).contains(QStringLiteral("..")));
}

TEST(Drives, TheLongestRootHoldingTheFolder) {
  const QStringList roots{"/", "/media/usb/", "/media/usb2/"};
  const std::pair<const char*, const char*> cases[] = {
      {"/media/usb/cases", "/media/usb/"},
      {"/media/usb2", "/media/usb2/"},
      {"/media/usbx", "/"},
      {"/home/eng", "/"},
      {"/", "/"},
  };
  for (const auto& [folder, want] : cases)
    EXPECT_EQ(driveOf(QString::fromLatin1(folder), roots), QString::fromLatin1(want)) << folder;
  EXPECT_TRUE(driveRoots().contains(QStringLiteral("/")));
}

TEST(NameBox, FolderPartIsSplitOffAndResolved) {
  const QString current = QStringLiteral("/w/cases");
  struct Case {
    const char* text;
    const char* folder;
    const char* rest;
  };
  const Case cases[] = {
      {"*.RES", "", "*.RES"},
      {"  PLAN1  ", "", "PLAN1"},
      {"..\\rapporter\\*.RES", "/w/rapporter", "*.RES"},
      {"../rapporter/", "/w/rapporter", ""},
      {"/tmp/", "/tmp", ""},
      {"sub/plan.ind", "/w/cases/sub", "plan.ind"},
      {"/x", "/", "x"},
  };
  for (const Case& c : cases) {
    const NameBoxFolder got = splitNameBox(QString::fromLatin1(c.text), current);
    EXPECT_EQ(got.folder, QString::fromLatin1(c.folder)) << c.text;
    EXPECT_EQ(got.rest, QString::fromLatin1(c.rest)) << c.text;
  }
}

TEST(NameBox, EntryThenPatternThenName) {
  const QStringList entries{"PLAN1.IND", "plan1.ind", "TEST.IND"};
  struct Case {
    const char* rest;
    NameBoxAction action;
    const char* text;
  };
  const Case cases[] = {
      {"plan1.ind", NameBoxAction::ChooseEntry, "plan1.ind"},  // exact entry first
      {"test.ind", NameBoxAction::ChooseEntry, "TEST.IND"},    // then ignoring case
      {"*.RES", NameBoxAction::NewPattern, "*.RES"},
      {"PL?N*.IND", NameBoxAction::NewPattern, "PL?N*.IND"},
      {"NY.IND", NameBoxAction::ChooseName, "NY.IND"},
      {"", NameBoxAction::Stay, ""},
  };
  for (const Case& c : cases) {
    const NameBoxReading got = readNameBox(QString::fromLatin1(c.rest), entries);
    EXPECT_EQ(got.action, c.action) << c.rest;
    EXPECT_EQ(got.text, QString::fromLatin1(c.text)) << c.rest;
  }
}

}  // namespace
}  // namespace solvow

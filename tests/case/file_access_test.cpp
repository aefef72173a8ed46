#include "file_access.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

namespace solvow {
namespace {

// A dialogue that records the messages it was shown and always gives the same answer.
struct ScriptedDialogue {
  DiskAnswer answer;
  std::vector<int> shown;
  DiskDialogue fn() {
    return [this](const DiskErrorMessage& m) {
      shown.push_back(m.number);
      return answer;
    };
  }
};

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

TEST(DiskError, AnswersGiveTheResult) {
  const std::pair<DiskAnswer, DiskErrorResult> cases[] = {
      {DiskAnswer::Ok, DiskErrorResult::TryAgain},
      {DiskAnswer::Retry, DiskErrorResult::TryAgain},
      {DiskAnswer::Ignore, DiskErrorResult::Skip},
      {DiskAnswer::Cancel, DiskErrorResult::GiveUp},
      {DiskAnswer::Abort, DiskErrorResult::GiveUp},
      {DiskAnswer::Yes, DiskErrorResult::NotDiskError},
      {DiskAnswer::No, DiskErrorResult::NotDiskError},
  };
  for (const auto& [answer, want] : cases) {
    ScriptedDialogue d{answer, {}};
    EXPECT_EQ(diskError(61, d.fn()), want) << static_cast<int>(answer);
    EXPECT_EQ(d.shown, std::vector<int>{61});
  }
}

TEST(DiskError, NumbersWithoutAMessageAreNotDiskErrors) {
  ScriptedDialogue d{DiskAnswer::Ok, {}};
  for (int number : {53, 70, 75, 0, 999})
    EXPECT_EQ(diskError(number, d.fn()), DiskErrorResult::NotDiskError);
  EXPECT_TRUE(d.shown.empty());
}

class FileTableTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  FileTable files;
  QString path(const QString& name) const { return dir.filePath(name); }
};

TEST_F(FileTableTest, MissingFileForReadingGivesZeroWithoutADialogue) {
  ScriptedDialogue d{DiskAnswer::Retry, {}};
  EXPECT_EQ(files.open(path("SAKNAS.IND"), 2, 0, d.fn()), 0);
  EXPECT_TRUE(d.shown.empty());
  EXPECT_EQ(files.openCount(), 0);
}

TEST_F(FileTableTest, RetriesOfAPathThatDoesNotExistEndAfterTheThirdTry) {
  ScriptedDialogue d{DiskAnswer::Ok, {}};
  EXPECT_EQ(files.open(path("finns/inte/X.IND"), 1, 0, d.fn()), 0);
  EXPECT_EQ(d.shown, (std::vector<int>{76, 76}));
}

TEST_F(FileTableTest, CancelGivesUpAtOnce) {
  ScriptedDialogue d{DiskAnswer::Cancel, {}};
  EXPECT_EQ(files.open(path("finns/inte/X.IND"), 1, 0, d.fn()), 0);
  EXPECT_EQ(d.shown, std::vector<int>{76});
}

TEST_F(FileTableTest, ModesOutsideOneToFiveOpenNothing) {
  writeFile(path("A.IND"), "x");
  ScriptedDialogue d{DiskAnswer::Ok, {}};
  for (int mode : {0, 6, -1}) EXPECT_EQ(files.open(path("A.IND"), mode, 0, d.fn()), 0);
  EXPECT_TRUE(d.shown.empty());
  EXPECT_EQ(files.openCount(), 0);
}

TEST_F(FileTableTest, NumbersAreTheLowestFreeAndNeverZero) {
  writeFile(path("A.IND"), "a");
  const qint16 first = files.open(path("A.IND"), 2, 0, {});
  const qint16 second = files.open(path("B.TXT"), 1, 0, {});
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(files.file(0), nullptr);
  ASSERT_TRUE(files.close(first));
  EXPECT_FALSE(files.close(first));
  EXPECT_EQ(files.open(path("A.IND"), 2, 0, {}), 1);
}

TEST_F(FileTableTest, ModesReadWriteAndAppend) {
  const qint16 w = files.open(path("M.TXT"), 1, 0, {});
  ASSERT_NE(w, 0);
  files.file(w)->write("abc");
  files.close(w);
  const qint16 a = files.open(path("M.TXT"), 3, 0, {});
  ASSERT_NE(a, 0);
  files.file(a)->write("def");
  files.close(a);
  const qint16 r = files.open(path("M.TXT"), 2, 0, {});
  ASSERT_NE(r, 0);
  EXPECT_EQ(files.file(r)->readAll(), QByteArray("abcdef"));
  files.close(r);
  const qint16 w2 = files.open(path("M.TXT"), 1, 0, {});  // write replaces
  files.close(w2);
  EXPECT_EQ(QFileInfo(path("M.TXT")).size(), 0);
  const qint16 rnd = files.open(path("R.DAT"), 4, 64, {});
  EXPECT_EQ(files.recordLength(rnd), 64);
  EXPECT_EQ(files.mode(rnd), FileMode::Random);
}

TEST_F(FileTableTest, AFileOpenForWritingCannotBeOpenedAgain) {
  ScriptedDialogue d{DiskAnswer::Ok, {}};
  ASSERT_NE(files.open(path("W.TXT"), 1, 0, d.fn()), 0);
  EXPECT_EQ(files.open(path("W.TXT"), 3, 0, d.fn()), 0);
  EXPECT_EQ(d.shown, (std::vector<int>{55, 55}));
}

TEST_F(FileTableTest, ExistingNamesResolveIgnoringCase) {
  writeFile(path("plan1.ind"), "x");
  EXPECT_EQ(QFileInfo(resolveExisting(path("PLAN1.IND"))).fileName(), QStringLiteral("plan1.ind"));
  EXPECT_EQ(resolveExisting(path("PLAN2.IND")), path("PLAN2.IND"));
  const qint16 r = files.open(path("Plan1.Ind"), 2, 0, {});
  ASSERT_NE(r, 0);
  EXPECT_EQ(files.file(r)->readAll(), QByteArray("x"));
  files.close(r);
  // Writing an existing name replaces that file instead of adding a second one.
  const qint16 w = files.open(path("PLAN1.IND"), 1, 0, {});
  files.file(w)->write("y");
  files.close(w);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("plan1.ind")});
  // The letters of the code page fold too (the base name is held in upper case, the engine
  // names its report as the case name stands): Ä finds ä, but not another letter.
  writeFile(path("\u00e4.txt"), "z");
  EXPECT_EQ(resolveExisting(path("\u00c4.TXT")), path("\u00e4.txt"));
  EXPECT_EQ(resolveExisting(path("\u00c5.TXT")), path("\u00c5.TXT"));
  EXPECT_TRUE(removeResolved(path("PLAN1.ind")));
  EXPECT_FALSE(QFile::exists(path("plan1.ind")));
}

}  // namespace
}  // namespace solvow

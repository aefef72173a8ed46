#include "startup_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace solvow {
namespace {

class StartupFilesTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  FileTable files;
  int dialogues = 0;
  DiskDialogue dialogue = [this](const DiskErrorMessage&) {
    ++dialogues;
    return DiskAnswer::Cancel;
  };

  QString work() const { return dir.path(); }
  void write(const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray read(const QString& name) const {
    QFile f(dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
};

TEST(FirstItem, ReadsTheFirstItemAsListInputDoes) {
  const std::pair<QByteArray, QByteArray> cases[] = {
      {"\"c:\\solvow\\run\\\"\r\n", "c:\\solvow\\run\\"},
      {"  /opt/solvo , second\r\n", "/opt/solvo"},
      {"/opt/solvo\r\nnext line\r\n", "/opt/solvo"},
      {"/opt/solvo", "/opt/solvo"},
      {"Courier New\r\n", "Courier New"},
      {"\"Courier New, Bold\"", "Courier New, Bold"},
      {"", ""},
      {"\r\n", ""},
  };
  for (const auto& [bytes, want] : cases) EXPECT_EQ(firstItem(bytes), want) << bytes.data();
}

TEST_F(StartupFilesTest, ProgramFolderIsAbsoluteAndItsDosLettersConverted) {
  // 148 is the DOS byte of ö; both of them must name the folder.
  write("solvo.ini", "\"/opt/Bj\x94rk\x94/run\"\r\n");
  EXPECT_EQ(readProgramFolder(files, work(), dialogue), QStringLiteral("/opt/Björkö/run"));

  write("solvo.ini", "../program\r\n");
  const QString parent = QDir::cleanPath(work() + QStringLiteral("/.."));
  EXPECT_EQ(readProgramFolder(files, work(), dialogue), parent + QStringLiteral("/program"));
}

TEST_F(StartupFilesTest, ProgramFolderWrittenInUtf8StaysAsWritten) {
  // "Ä" in UTF-8 is C3 84, and 84 would be the DOS byte of ä.
  write("solvo.ini", "/opt/\xC3\x84ngen\r\n");
  EXPECT_EQ(readProgramFolder(files, work(), dialogue), QStringLiteral("/opt/Ängen"));
}

TEST_F(StartupFilesTest, MissingOrEmptyIniGivesNoFolder) {
  EXPECT_FALSE(readProgramFolder(files, work(), dialogue).has_value());
  write("solvo.ini", "");
  EXPECT_FALSE(readProgramFolder(files, work(), dialogue).has_value());
  EXPECT_EQ(dialogues, 0);
  EXPECT_EQ(files.openCount(), 0);
}

// 7.1 in single precision: exponent 2 (biased 0x81), fraction 0.775 * 2^23 = 6501171.2,
// rounded 0x633333; bits 0x40E33333, stored lowest byte first.
const QByteArray kVersion71("\x33\x33\xE3\x40", 4);

TEST_F(StartupFilesTest, StoredVersionReadsAsLittleEndianFloat) {
  const std::pair<QByteArray, float> cases[] = {
      {kVersion71, 7.1f},
      {QByteArray("\x00\x00\xE0\x40", 4), 7.0f},     // 0x40E00000
      {QByteArray("\x00\x00\x80\x3F", 4), 1.0f},     // 0x3F800000
      {QByteArray("\x33\x33\xE3\x40XYZ", 7), 7.1f},  // later bytes do not count
      {QByteArray("\x33\x33", 2), 0.0f},             // too short
  };
  for (const auto& [bytes, want] : cases) {
    write("solvo.ver", bytes);
    EXPECT_EQ(readHiddenVersion(files, work(), dialogue), want) << bytes.toHex().data();
  }
}

TEST_F(StartupFilesTest, MissingVersionFileReadsZeroAndIsCreatedEmpty) {
  EXPECT_EQ(readHiddenVersion(files, work(), dialogue), 0.0f);
  EXPECT_EQ(read("solvo.ver"), QByteArray());
  EXPECT_EQ(files.openCount(), 0);
}

TEST_F(StartupFilesTest, WritingTheVersionPutsFourBytesAtTheStart) {
  ASSERT_TRUE(writeHiddenVersion(files, work(), kProgramVersion, dialogue));
  EXPECT_EQ(read("solvo.ver"), kVersion71);

  write("solvo.ver", "ABCDEFGH");
  ASSERT_TRUE(writeHiddenVersion(files, work(), kProgramVersion, dialogue));
  EXPECT_EQ(read("solvo.ver"), kVersion71 + QByteArray("EFGH"));
}

TEST(ChangeNotice, DueBelowTheProgramVersionInSinglePrecision) {
  EXPECT_TRUE(changeNoticeDue(0.0f));
  EXPECT_TRUE(changeNoticeDue(7.0f));
  EXPECT_TRUE(changeNoticeDue(7.09f));
  EXPECT_FALSE(changeNoticeDue(7.1f));
  // 7.1 as a double is above its float, but read back as a float it is the same number.
  EXPECT_FALSE(changeNoticeDue(static_cast<float>(7.1)));
  EXPECT_FALSE(changeNoticeDue(7.2f));
}

TEST_F(StartupFilesTest, ReportFontPlainOrQuotedAndMissingFileGivesNothing) {
  EXPECT_FALSE(readReportFont(files, work(), dialogue).has_value());
  write("Solvfnt.ini", "\"Liberation Mono\"\r\n");
  EXPECT_EQ(readReportFont(files, work(), dialogue), QStringLiteral("Liberation Mono"));

  write("Solvfnt.ini", "Courier New\r\n");
  EXPECT_EQ(readReportFont(files, work(), dialogue), QStringLiteral("Courier New"));
  EXPECT_EQ(files.openCount(), 0);
}

}  // namespace
}  // namespace solvow

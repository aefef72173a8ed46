// Report names, the lookup ignoring case and the atomic write, in scratch folders.
#include "file_names.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <set>
#include <string>

#include "atomic_write.h"
#include "test_files.h"

namespace solvo::platform {
namespace {

namespace fs = std::filesystem;
using solvo::testing::put;
using solvo::testing::slurp;

TEST(CaseName, StaysInTheWorkingFolder) {
  struct Row {
    std::string line;
    bool ok;
  };
  const Row rows[] = {
      {"PLAN1", true},
      {"", true},
      {"NAMNL\x99S", true},
      {"\x86"
       "bc",
       true},
      {"A.B", true},
      {"...", true},
      {" . x", true},
      {"ABCDEFGHIJKLMNOP", true},
      {"../EVIL", false},
      {"A/B", false},
      {"A\\B", false},
      {".", false},
      {"..", false},
      {"  ..  ", false},
      {std::string("A\0B", 3), false},
      {"A\tB", false},
      {"A\x1f", false},
      {"A\x7f", false},
      {"A\x81", false},
      {"A\x8d", false},
      {"A\x90", false},
      {"A\x9d", false},
      {"\x8f", true},          // the DOS byte of Å, not the unused Windows byte
      {"ABCDEFGHIJ/", false},  // the whole line counts, not only the part naming the report
  };
  for (const Row& r : rows) EXPECT_EQ(case_name_ok(r.line), r.ok) << r.line;
}

TEST(ReportName, FromTheFirstNineCaseNameBytes) {
  struct Row {
    std::string name, want;
  };
  const Row rows[] = {
      {"PLAN1", "PLAN1.RES"},
      {"PLAN1    ", "PLAN1.RES"},
      {"ABCDEFGHIJK", "ABCDEFGHI.RES"},
      {"ABCDEFGH  X", "ABCDEFGH.RES"},
      {" A", " A.RES"},
      {"", ".RES"},
      {"\x86"
       "bc",
       "åbc.RES"},
      {"NAMNL\x99S", "NAMNLÖS.RES"},
      {"R\x8eKNA\x8f\x99\x86\x84\x94", "RÄKNAÅÖåä.RES"},  // nine bytes, ten letters given
      {"\xe9\x80", "é€.RES"},
  };
  for (const Row& r : rows) EXPECT_EQ(report_file_name(r.name), r.want) << r.name;
}

// The front end's base name, as letters: the same rule, a letter the case file cannot hold
// written as the "?" the file holds for it.
TEST(ReportName, FromTheBaseNameLetters) {
  struct Row {
    std::u32string letters;
    std::string want;
  };
  const Row rows[] = {
      {U"ÅBC", "ÅBC.RES"}, {U"PLAN1   ", "PLAN1.RES"}, {U"ABCDEFGHIJ", "ABCDEFGHI.RES"},
      {U"Ž", "Ž.RES"},     {U"\u0100B", "?B.RES"},     {U"\U0001F600", "?.RES"},
  };
  for (const Row& r : rows) EXPECT_EQ(report_file_name(r.letters), r.want) << r.want;
  // Both forms agree on the bytes and the letters they stand for.
  EXPECT_EQ(report_file_name(std::string("\x86"
                                         "bc\x8e")),
            report_file_name(U"åbcÄ"));
}

TEST(FileName, SameIgnoringCaseInEitherCodePage) {
  struct Row {
    std::string a, b;
    bool same;
  };
  const Row rows[] = {
      {"abc.res", "ABC.RES", true},
      {"Plan1.Res", "PLAN1.RES", true},
      {"åbc.RES", "ÅBC.RES", true},
      {"\x86"
       "bc.RES",
       "ÅBC.RES", true},  // an older report named in the DOS byte
      {"\xE5"
       "bc.RES",
       "ÅBC.RES", true},  // or in the Windows byte
      {"ÄÖ.res", "äö.RES", true},
      {"é.RES", "É.RES", true},
      {"ÿ.RES", "Ÿ.RES", true},
      {"abd.RES", "ABC.RES", false},
      {"åbc.RES", "ABC.RES", false},
      {"äbc.RES", "ÅBC.RES", false},
      {"ABC.RES", "ABC.RESX", false},
      {"ABC.RES", "ABC.RE", false},
      {"ß.RES", "SS.RES", false},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(same_file_name(r.a, r.b), r.same) << r.a << " " << r.b;
    EXPECT_EQ(same_file_name(r.b, r.a), r.same) << r.b << " " << r.a;
  }
}

class Scratch : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/solvo-platform-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::set<std::string> files() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename().string());
    return names;
  }

  fs::path dir_;
};

TEST_F(Scratch, FindsTheExactNameFirstThenAMatchIgnoringCase) {
  put(dir_ / "Plan1.res", "x");
  put(dir_ / "åbc.RES", "y");
  put(dir_ /
          "\x94"
          "st.RES",
      "z");
  fs::create_directory(dir_ / "Sub");
  struct Row {
    std::string name;
    std::string want;  // empty: none
  };
  const Row rows[] = {
      {"PLAN1.RES", "Plan1.res"},
      {"Plan1.res", "Plan1.res"},
      {"ÅBC.RES", "åbc.RES"},
      {"ÖST.RES",
       "\x94"
       "st.RES"},
      {"PLAN2.RES", ""},
      {"SUB", ""},
      {"", ""},
  };
  for (const Row& r : rows) {
    const auto found = find_existing(dir_, r.name);
    EXPECT_EQ(found ? found->filename().string() : std::string(), r.want) << r.name;
  }
  const auto folder = find_existing(dir_, "SUB", true);
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(folder->filename(), "Sub");

  // The exact name wins over an earlier match in another case.
  put(dir_ / "PLAN1.RES", "exact");
  EXPECT_EQ(find_existing(dir_, "PLAN1.RES")->filename(), "PLAN1.RES");
}

TEST_F(Scratch, AtomicWriteReplacesTheMatchIgnoringCase) {
  put(dir_ / "Plan1.res", "old");
  ::chmod((dir_ / "Plan1.res").c_str(), 0640);
  WriteResult w = write_file_atomic(dir_, "PLAN1.RES", "new");
  ASSERT_EQ(w.error, 0);
  EXPECT_EQ(w.target, dir_ / "Plan1.res");
  EXPECT_EQ(files(), std::set<std::string>{"Plan1.res"});  // no second file, no temporary
  EXPECT_EQ(slurp(dir_ / "Plan1.res"), "new");
  struct stat st {};
  ASSERT_EQ(::stat((dir_ / "Plan1.res").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  // A new file, and a data file that removes its old version first. The new file has the
  // permissions the umask leaves of rw-rw-rw- (here 027: rw-r-----).
  const mode_t mask = ::umask(027);
  const WriteResult fresh = write_file_atomic(dir_, "MOMK.DAT", std::string(100000, 'm'));
  ::umask(mask);
  ASSERT_EQ(fresh.error, 0);
  EXPECT_EQ(slurp(dir_ / "MOMK.DAT"), std::string(100000, 'm'));
  ASSERT_EQ(::stat((dir_ / "MOMK.DAT").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  put(dir_ / "Al.dat", "old");
  ASSERT_EQ(write_file_atomic(dir_, "AL.DAT", "new", OldFile::RemoveFirst).error, 0);
  EXPECT_EQ(files(), (std::set<std::string>{"Plan1.res", "MOMK.DAT", "Al.dat"}));
  EXPECT_EQ(slurp(dir_ / "Al.dat"), "new");
}

TEST_F(Scratch, FailedWriteLeavesTheOldFileAndNothingElse) {
  // A folder in the way of the name: the rename fails even for root.
  fs::create_directory(dir_ / "OLD.RES");
  put(dir_ / "OLD.RES" / "keep", "old");
  const WriteResult w = write_file_atomic(dir_, "OLD.RES", "new report");
  EXPECT_NE(w.error, 0);
  EXPECT_EQ(slurp(dir_ / "OLD.RES" / "keep"), "old");
  EXPECT_EQ(files(), std::set<std::string>{"OLD.RES"});

  // A folder that does not exist.
  EXPECT_EQ(write_file_atomic(dir_ / "missing", "A.RES", "x").error, ENOENT);
}

}  // namespace
}  // namespace solvo::platform

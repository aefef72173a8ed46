// The built solvowb run as a process in a scratch working folder.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "run_files.h"
#include "test_files.h"

namespace solvo {
namespace {

namespace fs = std::filesystem;

using solvo::testing::slurp;

using solvo::testing::put;

class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/solvowb-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { fs::remove_all(dir_); }

  struct Result {
    int status;
    std::string out, err;
  };

  // Runs solvowb with the folder as its working folder.
  Result run_engine() {
    std::string cmd = "cd '" + dir_.string() + "' && '" SOLVOWB_PATH "' >'" +
                      (dir_ / "..out").string() + "' 2>'" + (dir_ / "..err").string() + "'";
    int raw = std::system(cmd.c_str());
    Result r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(dir_ / "..out"), slurp(dir_ / "..err")};
    fs::remove(dir_ / "..out");
    fs::remove(dir_ / "..err");
    return r;
  }

  std::set<std::string> files() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_))
      if (e.path().filename() != platform::kLockFile)  // the folder's lock, kept between runs
        names.insert(e.path().filename().string());
    return names;
  }

  fs::path dir_;
};

const std::string kFirst = "\n\n\n\n\n" + std::string(23, ' ') + "LÄSER INDATA FRÅN FIL  ......\n";

TEST_F(ScratchFolder, GoodCaseWritesTheProgressLines) {
  put(dir_ / "~indata~.tmp", slurp(SOLVO_DATA "/solvo.def"));  // as the front end names it
  Result r = run_engine();
  EXPECT_EQ(r.status, 0) << r.err;
  // The verdict is the last line. The default case fails: its two spans of 6.0 m on
  // supports 0, 0.1 and 0 m wide, 0.16 m thick, have the slenderness 5.95/(33 0.16) = 1.13.
  const std::string lines = kFirst + "\n" + std::string(23, ' ') +
                            "BERÄKNING PÅGÅR .............\n\n" + std::string(46, ' ') + "KLART!\n";
  ASSERT_EQ(r.out.substr(0, lines.size()), lines);
  const std::string verdict = r.out.substr(lines.size());
  EXPECT_EQ(verdict.rfind("Ej uppfyllt: ", 0), 0u) << verdict;
  EXPECT_NE(verdict.find("Svikt fack 1"), std::string::npos) << verdict;
  EXPECT_EQ(std::count(verdict.begin(), verdict.end(), '\n'), 1) << verdict;
  EXPECT_EQ(verdict.back(), '\n');
  EXPECT_EQ(r.err, "");
  // The exchange file is only read.
  EXPECT_EQ(slurp(dir_ / "~indata~.tmp"), slurp(SOLVO_DATA "/solvo.def"));
  // The report is named by the case name, its DOS letter in UTF-8.
  EXPECT_EQ(files(), (std::set<std::string>{"~indata~.tmp", "NAMNLÖS.RES", "MOMK.DAT", "MOMD.DAT",
                                            "AL.DAT", "MOMENTBRAND.RES"}));
  std::string report = slurp(dir_ / "NAMNLÖS.RES");
  EXPECT_EQ(std::count(report.begin(), report.end(), '^'), 6);
}

TEST_F(ScratchFolder, ReportThatCannotBeCreatedEndsTheRunWithNoFileOfIt) {
  put(dir_ / "~INDATA~.TMP", slurp(SOLVO_DATA "/solvo.def"));
  put(dir_ / "MOMK.DAT", "old moments");       // of an earlier design
  fs::create_directory(dir_ / "NAMNLÖS.RES");  // in the way of the report
  put(dir_ / "NAMNLÖS.RES" / "x", "");
  Result r = run_engine();
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "NAMNLÖS.RES: Is a directory\n");
  EXPECT_NE(r.out.find("*** FEL VID ÖPPNING AV FIL ***\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("KLART!"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(dir_ / "NAMNLÖS.RES"));
  EXPECT_EQ(files(), (std::set<std::string>{"~INDATA~.TMP", "NAMNLÖS.RES"}));
}

TEST_F(ScratchFolder, EverySampleCaseRuns) {
  for (const auto& e : fs::directory_iterator(SOLVO_DATA "/samples")) {
    put(dir_ / "~INDATA~.TMP", slurp(e.path()));
    Result r = run_engine();
    EXPECT_EQ(r.status, 0) << e.path() << ": " << r.err;
  }
}

TEST_F(ScratchFolder, MissingCaseFileIsReportedAndNothingWritten) {
  Result r = run_engine();
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, kFirst);
  EXPECT_NE(r.err.find("~INDATA~.TMP"), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  EXPECT_TRUE(files().empty());
}

TEST_F(ScratchFolder, BadCasesEndWithOneLineAndWriteNothing) {
  std::string good = slurp(SOLVO_DATA "/solvo.def");
  struct {
    const char* what;
    std::string text;
    const char* names;
  } cases[] = {
      {"market 9", good.replace(good.find("\r\n1\r\n"), 5, "\r\n9\r\n"), "line 3"},
      {"empty file", "", "line 1"},
      {"case name with a folder", "../EVIL\r\n" + good.substr(good.find("\r\n") + 2), "line 1"},
      {"cut after line 20", good.substr(0, 200), "line"},
  };
  for (const auto& c : cases) {
    fs::remove_all(dir_);
    fs::create_directory(dir_);
    put(dir_ / "~INDATA~.TMP", c.text);
    Result r = run_engine();
    EXPECT_EQ(r.status, 2) << c.what;
    EXPECT_EQ(r.out, kFirst) << c.what;
    EXPECT_NE(r.err.find(c.names), std::string::npos) << c.what << ": " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.what << ": " << r.err;
    EXPECT_EQ(files(), std::set<std::string>{"~INDATA~.TMP"}) << c.what;
  }
  EXPECT_FALSE(fs::exists(dir_.parent_path() / "EVIL.RES"));
}

}  // namespace
}  // namespace solvo

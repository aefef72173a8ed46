// solvowb on bad case files: the corpus of tests/data/bad with the outcome each must have
// (expected.txt), the default case cut after every line, and lines of a megabyte. A run
// either refuses the case (exit status 2, one line naming the line of the case, nothing
// written) or completes (exit status 0, the report and the data files); it never crashes,
// hangs or writes outside its working folder.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "run_files.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

const char kCaseName[] = "~INDATA~.TMP";
const fs::path kBad = fs::path(SOLVO_TEST_DATA) / "bad";

using solvo::testing::slurp;

struct Expected {
  std::string file;
  std::string engine;  // "refused:N", "completes" or "completes*"
};

std::vector<Expected> manifest() {
  std::vector<Expected> rows;
  std::ifstream in(kBad / "expected.txt");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Expected e;
    fields >> e.file >> e.engine;
    rows.push_back(e);
  }
  return rows;
}

// The default case cut after `lines` of its lines.
std::string default_case_cut(int lines) {
  const std::string text = slurp(fs::path(SOLVO_DATA) / "solvo.def");
  size_t end = 0;
  for (int k = 0; k < lines; ++k) end = text.find('\n', end) + 1;
  return text.substr(0, end);
}

// The default case with line `number` (1-based) replaced.
std::string default_case_with(int number, const std::string& replacement) {
  const std::string text = slurp(fs::path(SOLVO_DATA) / "solvo.def");
  std::string out;
  size_t start = 0;
  for (int k = 1; start < text.size(); ++k) {
    size_t end = text.find("\r\n", start);
    out += (k == number ? replacement : text.substr(start, end - start)) + "\r\n";
    start = end + 2;
  }
  return out;
}

struct Outcome {
  int status = -1;  // exit status; -1 when the program did not exit (a signal)
  std::string out, err;
  std::set<std::string> files;   // in the working folder after the run
  std::set<std::string> beside;  // in the folder that holds the working folder
  std::string report;            // the .RES file other than MOMENTBRAND.RES
};

// Runs solvowb on `case_bytes` in a fresh working folder inside a fresh folder, with a time
// limit of 60 s (the sanitizer build is slow; a correct run takes well under a second).
Outcome run_engine(const std::string& case_bytes) {
  char tmpl[] = "/tmp/solvowb-bad-XXXXXX";
  EXPECT_NE(mkdtemp(tmpl), nullptr);
  const fs::path outer = tmpl;
  const fs::path work = outer / "work";
  fs::create_directory(work);
  std::ofstream(work / kCaseName, std::ios::binary) << case_bytes;
  const std::string cmd = "cd '" + work.string() + "' && timeout 60 '" SOLVOWB_PATH "' >'" +
                          (outer / "out").string() + "' 2>'" + (outer / "err").string() + "'";
  const int raw = std::system(cmd.c_str());
  Outcome o;
  o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  o.out = slurp(outer / "out");
  o.err = slurp(outer / "err");
  fs::remove(outer / "out");
  fs::remove(outer / "err");
  for (const auto& e : fs::directory_iterator(work)) {
    const std::string name = e.path().filename().string();
    if (name == solvo::platform::kLockFile) continue;  // the folder's lock, kept between runs
    o.files.insert(name);
    if (name.size() > 4 && name.substr(name.size() - 4) == ".RES" && name != "MOMENTBRAND.RES")
      o.report = slurp(e.path());
  }
  for (const auto& e : fs::directory_iterator(outer)) o.beside.insert(e.path().filename().string());
  fs::remove_all(outer);
  return o;
}

// Checks a refusal at line `line`: exit status 2, one line naming the line, nothing written.
void expect_refused(const Outcome& o, int line, const std::string& label) {
  EXPECT_EQ(o.status, 2) << label << "\n" << o.err;
  EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << label << ": not one line: " << o.err;
  EXPECT_NE(o.err.find(std::string(kCaseName) + ", line " + std::to_string(line) + ":"),
            std::string::npos)
      << label << ": " << o.err;
  EXPECT_EQ(o.files, std::set<std::string>{kCaseName}) << label;
  EXPECT_EQ(o.beside, std::set<std::string>{"work"}) << label;
}

// Checks a completed run: exit status 0, nothing on the error stream, the report and the four
// data files beside the case, nothing outside the folder, and no NaN or infinity in the report
// (an impossible number is written as asterisks).
void expect_completed(const Outcome& o, bool asterisks, const std::string& label) {
  EXPECT_EQ(o.status, 0) << label << "\n" << o.err;
  EXPECT_EQ(o.err, "") << label;
  EXPECT_EQ(o.files.size(), 6u) << label;
  for (const char* name : {kCaseName, "MOMK.DAT", "MOMD.DAT", "AL.DAT", "MOMENTBRAND.RES"})
    EXPECT_EQ(o.files.count(name), 1u) << label << ": " << name;
  EXPECT_NE(o.report.find("INDATAFIL : "), std::string::npos) << label;
  EXPECT_EQ(o.beside, std::set<std::string>{"work"}) << label;
  for (const char* bad : {"nan", "NAN", "inf", "INF"})
    EXPECT_EQ(o.report.find(std::string(" ") + bad), std::string::npos) << label << ": " << bad;
  if (asterisks) {
    EXPECT_NE(o.report.find("*****"), std::string::npos) << label;
  }
}

TEST(BadCaseFiles, EveryFileOfTheCorpusHasItsOutcome) {
  const std::vector<Expected> rows = manifest();
  ASSERT_GE(rows.size(), 40u);
  std::set<std::string> listed;
  for (const Expected& e : rows) {
    listed.insert(e.file);
    const std::string bytes = slurp(kBad / e.file);
    ASSERT_TRUE(fs::exists(kBad / e.file)) << e.file;
    const Outcome o = run_engine(bytes);
    if (e.engine.rfind("refused:", 0) == 0)
      expect_refused(o, std::stoi(e.engine.substr(8)), e.file);
    else
      expect_completed(o, e.engine == "completes*", e.file);
  }
  // Every case file of the folder has its line in the manifest.
  for (const auto& f : fs::directory_iterator(kBad))
    if (f.path().extension() == ".IND") {
      EXPECT_EQ(listed.count(f.path().filename().string()), 1u) << f.path();
    }
}

// A file that ends after line k (k = 0..36, whole lines) is refused at line k + 1: every line
// of the 37 is needed, and the free-form lines of the default case are never blank.
// After line 37 the file may end (the casting lines keep their defaults); once line 38 is
// there, lines 39 and 40 must follow.
TEST(BadCaseFiles, ACaseCutAfterAnyLineIsRefusedAtTheNext) {
  for (int k = 0; k < 37; ++k)
    expect_refused(run_engine(default_case_cut(k)), k + 1, "cut after line " + std::to_string(k));
  for (int k : {38, 39})
    expect_refused(run_engine(default_case_cut(k)), k + 1, "cut after line " + std::to_string(k));
  expect_completed(run_engine(default_case_cut(37)), false, "cut after line 37");
}

// A case cut in the middle of a line: the last line is then shorter. Whatever it holds, the run
// either refuses the case or completes, never anything else.
TEST(BadCaseFiles, ACaseCutInsideALineIsRefusedOrCompletes) {
  const std::string whole = default_case_cut(37);
  for (size_t cut = 1; cut < whole.size(); cut += 7) {
    const Outcome o = run_engine(whole.substr(0, cut));
    EXPECT_TRUE(o.status == 0 || o.status == 2) << "cut at byte " << cut << ": " << o.status;
    if (o.status == 2) {
      EXPECT_EQ(o.files, std::set<std::string>{kCaseName}) << cut;
    }
  }
}

TEST(BadCaseFiles, AHeadingOfAMegabyteIsCutToFortyCharacters) {
  const Outcome o = run_engine(default_case_with(2, std::string(1 << 20, 'H')));
  expect_completed(o, false, "1 MB heading");
  EXPECT_NE(o.report.find(std::string(40, 'H')), std::string::npos);
  EXPECT_EQ(o.report.find(std::string(41, 'H')), std::string::npos);
}

TEST(BadCaseFiles, AWholeNumberOfAMegabyteOfDigitsIsRefused) {
  expect_refused(run_engine(default_case_with(20, std::string(1 << 20, '7'))), 20, "1 MB cover");
}

}  // namespace

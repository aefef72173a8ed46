// The same case calculated twice gives the same report and data files, byte for byte, apart
// from the date and time in the page headers: in one process, and as two runs of solvowb in
// two working folders.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "engine.h"
#include "run_files.h"
#include "test_files.h"

namespace solvo {
namespace {

namespace fs = std::filesystem;

using solvo::testing::slurp;

// The text without the lines that hold the date and the time of the run.
std::string without_clock(const std::string& text) {
  std::string out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line))
    if (line.find("DATUM : ") == std::string::npos && line.find("TID   : ") == std::string::npos)
      out += line + "\n";
  return out;
}

// Every case delivered with the program.
std::map<std::string, std::string> delivered_cases() {
  std::map<std::string, std::string> cases{
      {"solvo.def", slurp(fs::path(SOLVO_DATA) / "solvo.def")}};
  for (const auto& e : fs::directory_iterator(fs::path(SOLVO_DATA) / "samples"))
    cases[e.path().filename().string()] = slurp(e.path());
  return cases;
}

// The files solvowb leaves in a fresh folder holding `case_bytes`, by name.
std::map<std::string, std::string> solvowb_files(const std::string& case_bytes) {
  char tmpl[] = "/tmp/solvowb-twice-XXXXXX";
  EXPECT_NE(mkdtemp(tmpl), nullptr);
  const fs::path dir = tmpl;
  std::ofstream(dir / "~INDATA~.TMP", std::ios::binary) << case_bytes;
  const std::string cmd = "cd '" + dir.string() + "' && '" SOLVOWB_PATH "' >/dev/null 2>&1";
  const int raw = std::system(cmd.c_str());
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().filename() != platform::kLockFile)  // the folder's lock, kept between runs
      files[e.path().filename().string()] = slurp(e.path());
  fs::remove_all(dir);
  return files;
}

TEST(Determinism, TwoRunsOfSolvowbWriteTheSameFiles) {
  for (const auto& [name, bytes] : delivered_cases()) {
    const auto first = solvowb_files(bytes);
    const auto second = solvowb_files(bytes);
    ASSERT_EQ(first.size(), 6u) << name;  // the case, the report and four data files
    ASSERT_EQ(second.size(), first.size()) << name;
    for (const auto& [file, contents] : first) {
      ASSERT_EQ(second.count(file), 1u) << name << ": " << file;
      EXPECT_EQ(without_clock(second.at(file)), without_clock(contents)) << name << ": " << file;
    }
  }
}

// A calculation in a process that has calculated another case gives the same files as the
// first calculation of the process: nothing of one run reaches the next.
TEST(Determinism, ACaseGivesTheSameFilesWhateverWasCalculatedBefore) {
  const auto cases = delivered_cases();
  for (const auto& [name, bytes] : cases) {
    auto alone = std::make_unique<solvo::Run>();
    calculate(*alone, bytes);
    for (const auto& [other, other_bytes] : cases) {
      auto after = std::make_unique<solvo::Run>();
      calculate(*after, other_bytes);
      calculate(*after, bytes);
      ASSERT_EQ(after->files.size(), alone->files.size()) << name << " after " << other;
      for (size_t k = 0; k < alone->files.size(); ++k) {
        EXPECT_EQ(after->files[k].name, alone->files[k].name);
        EXPECT_EQ(without_clock(after->files[k].contents), without_clock(alone->files[k].contents))
            << name << " after " << other << ": " << alone->files[k].name;
      }
    }
  }
}

}  // namespace
}  // namespace solvo

// The built solvowb under faults: files that cannot be written, a second engine in the same
// folder, two engines racing, and kills at random moments. Every run leaves the whole old set
// of files or the whole new one.
#include "run_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include "engine.h"
#include "file_names.h"
#include "search.h"
#include "test_files.h"

namespace solvo {
namespace {

namespace fs = std::filesystem;
using solvo::testing::put;
using solvo::testing::slurp;
using solvo::testing::TempFolder;

const char* const kDataFiles[] = {"MOMK.DAT", "AL.DAT", "MOMENTBRAND.RES"};

// The default case under the name KONTOR with heading `heading` and permanent load `load`
// (line 12), so that two variants share the report's name and differ in every file.
std::string kontor_case(const std::string& heading, const std::string& load) {
  std::istringstream in(slurp(SOLVO_DATA "/solvo.def"));
  std::string out, line;
  for (int no = 1; std::getline(in, line); ++no) {
    if (no == 1) line = "KONTOR\r";
    if (no == 2) line = heading + "\r";
    if (no == 12) line = load + "\r";
    out += line + "\n";
  }
  return out;
}

const std::string kCaseA = kontor_case("Kontor A", "0.500  0.500");
const std::string kCaseB = kontor_case("Kontor B", "1.500  1.500");

// Starts solvowb in `dir`, its output to files beside the folder; `child` runs in the new
// process before the program starts.
pid_t start_engine(const fs::path& dir, const std::function<void()>& child = {}) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(dir.c_str()) != 0) ::_exit(120);
    const int out = ::open((dir.string() + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    const int err = ::open((dir.string() + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (child) child();
    ::execl(SOLVOWB_PATH, "solvowb", static_cast<char*>(nullptr));
    ::_exit(121);
  }
  return pid;
}

struct Ended {
  int status = -1;  // the exit status, or -1 for a signal
  std::string err;
};

Ended wait_engine(const fs::path& dir, pid_t pid) {
  int raw = 0;
  ::waitpid(pid, &raw, 0);
  Ended e{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(dir.string() + ".err")};
  fs::remove(dir.string() + ".out");
  fs::remove(dir.string() + ".err");
  return e;
}

Ended run_engine(const fs::path& dir, const std::function<void()>& child = {}) {
  return wait_engine(dir, start_engine(dir, child));
}

// The files of a whole run, by name: the report and the data files.
using FileSet = std::map<std::string, std::string>;

FileSet run_files_of(const fs::path& dir) {
  FileSet set;
  for (const char* name : {"KONTOR.RES", "MOMK.DAT", "AL.DAT", "MOMENTBRAND.RES"})
    if (fs::exists(dir / name)) set[name] = slurp(dir / name);
  return set;
}

// The heading line of a report, without the date and time that differ between two runs.
std::string heading_of(const std::string& report) {
  return report.find("Kontor A") != std::string::npos   ? "A"
         : report.find("Kontor B") != std::string::npos ? "B"
                                                        : "?";
}

// The sets that runs of case A and of case B write, each alone in a folder of its own.
struct Reference {
  FileSet a, b;
};

const Reference& reference() {
  static const Reference r = [] {
    Reference ref;
    for (auto [text, set] : {std::pair{&kCaseA, &ref.a}, std::pair{&kCaseB, &ref.b}}) {
      TempFolder t;
      put(t.path() / "~INDATA~.TMP", *text);
      run_engine(t.path());
      *set = run_files_of(t.path());
    }
    return ref;
  }();
  return r;
}

enum class SetState { kOldA, kNewB, kNone, kMixed };

// What the folder holds: A's whole set, B's whole set, no report at all, or a mixture (a
// report beside data files of the other case, or data files of both without the journal
// that finishes them).
SetState state_of(const fs::path& dir) {
  const FileSet now = run_files_of(dir);
  int from_a = 0, from_b = 0;
  for (const char* name : kDataFiles) {
    if (!now.count(name)) continue;
    from_a += now.at(name) == reference().a.at(name);
    from_b += now.at(name) == reference().b.at(name);
  }
  // No report: a run killed while renaming, whose journal the next run finishes; without a
  // journal, data files of both runs are a mixture.
  if (!now.count("KONTOR.RES"))
    return from_a > 0 && from_b > 0 && !fs::exists(dir / platform::kCommitJournal)
               ? SetState::kMixed
               : SetState::kNone;
  const std::string case_of = heading_of(now.at("KONTOR.RES"));
  if (case_of == "A" && from_a == 3 && now.size() == 4) return SetState::kOldA;
  if (case_of == "B" && from_b == 3 && now.size() == 4) return SetState::kNewB;
  return SetState::kMixed;
}

int temporaries_in(const fs::path& dir) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(dir))
    n += e.path().filename().string().rfind(platform::kTempPrefix, 0) == 0;
  return n;
}

// ---- Files that cannot be written ----

TEST(EngineFiles, AFileThatCannotBeWrittenEndsWithStatusThreeAndNoFileOfTheRun) {
  struct Row {
    const char* what;
    std::function<void(const fs::path&)> prepare;
    std::function<void()> child;
    const char* line;  // the one line on the error channel
  };
  const Row rows[] = {
      {"report name taken by a folder",
       [](const fs::path& dir) {
         fs::remove(dir / "KONTOR.RES");
         fs::create_directory(dir / "KONTOR.RES");
       },
       {},
       "KONTOR.RES: Is a directory\n"},
      {"a data file's name taken by a folder",
       [](const fs::path& dir) {
         fs::remove(dir / "AL.DAT");
         fs::create_directory(dir / "AL.DAT");
       },
       {},
       "AL.DAT: Is a directory\n"},
      // No more than 2000 bytes a file: MOMK.DAT, the first written, does not fit.
      {"file size limit", [](const fs::path&) {},
       [] {
         ::signal(SIGXFSZ, SIG_IGN);
         const rlimit limit{2000, 2000};
         ::setrlimit(RLIMIT_FSIZE, &limit);
       },
       "MOMK.DAT: File too large\n"},
      // A folder without write permission, the engine run by a user who is not root.
      {"read-only folder",
       [](const fs::path& dir) {
         for (const auto& e : fs::directory_iterator(dir)) ::chmod(e.path().c_str(), 0666);
         ::chmod(dir.c_str(), 0555);
       },
       [] {
         if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(122);
       },
       "MOMK.DAT: Permission denied\n"},
  };
  for (const Row& row : rows) {
    TempFolder t;
    ::chmod(t.path().c_str(), 0755);
    put(t.path() / "~INDATA~.TMP", kCaseA);
    ASSERT_EQ(run_engine(t.path()).status, 0) << row.what;  // the old design's set
    put(t.path() / "~INDATA~.TMP", kCaseB);
    row.prepare(t.path());
    const Ended e = run_engine(t.path(), row.child);
    ::chmod(t.path().c_str(), 0755);
    EXPECT_EQ(e.status, kExitNotWritten) << row.what;
    EXPECT_EQ(e.err, row.line) << row.what;
    // Nothing of A's set is left to be read as the result (in a read-only folder the old
    // files are emptied), nothing of B's and no temporary.
    for (const auto& [name, bytes] : run_files_of(t.path())) {
      if (!fs::is_directory(t.path() / name)) {
        EXPECT_EQ(bytes.size(), 0u) << row.what << ": " << name;
      }
    }
    EXPECT_EQ(temporaries_in(t.path()), 0) << row.what;
  }
}

// ---- The folder's lock ----

TEST(EngineFiles, ASecondEngineInTheFolderWaitsThenRefuses) {
  TempFolder t;
  put(t.path() / "~INDATA~.TMP", kCaseA);
  platform::FolderLock held(t.path(), std::chrono::milliseconds(0));
  ASSERT_EQ(held.state(), platform::FolderLock::State::kHeld);
  std::ostringstream out, err;
  StreamOut console(out), errors(err);
  EXPECT_EQ(run_solvowb(t.path(), console, errors, std::chrono::milliseconds(100)), kExitRefused);
  EXPECT_EQ(err.str(),
            "another calculation is already running in the working folder; try again when it "
            "has finished\n");
  EXPECT_FALSE(fs::exists(t.path() / "KONTOR.RES"));
  StreamOut search_errors(err);
  err.str("");
  put(t.path() / "PLAN", "concrete 4 5\n");
  EXPECT_EQ(
      run_solvowb_search(t.path(), "PLAN", console, search_errors, std::chrono::milliseconds(100)),
      kExitRefused);
  EXPECT_NE(err.str().find("already running"), std::string::npos) << err.str();
  EXPECT_FALSE(fs::exists(t.path() / platform::kSearchReportFile));
  // The program itself waits its few seconds, then refuses in the same words.
  const auto start = std::chrono::steady_clock::now();
  const Ended e = run_engine(t.path());
  EXPECT_GE(std::chrono::steady_clock::now() - start, platform::kLockWait);
  EXPECT_EQ(e.status, kExitRefused);
  EXPECT_NE(e.err.find("already running in the working folder"), std::string::npos) << e.err;
  EXPECT_EQ(run_files_of(t.path()), FileSet{});
}

// Two engines started together, the case file replaced between the starts: whichever reads
// the case writes that case's whole set; the folder never holds a mixture.
TEST(EngineFiles, TwoEnginesRacingNeverMixTheirFiles) {
  std::mt19937 random(24);
  int mixed = 0;
  for (int k = 0; k < 25; ++k) {
    TempFolder t;
    put(t.path() / "~INDATA~.TMP", kCaseA);
    fs::create_directory(t.path() / "second");
    const pid_t first = start_engine(t.path());
    ::usleep(static_cast<useconds_t>(random() % 3000));
    put(t.path() / "second.TMP", kCaseB);
    fs::rename(t.path() / "second.TMP", t.path() / "~INDATA~.TMP");
    const pid_t second = start_engine(t.path());
    EXPECT_EQ(wait_engine(t.path(), first).status, 0);
    EXPECT_EQ(wait_engine(t.path(), second).status, 0);
    const SetState s = state_of(t.path());
    mixed += s == SetState::kMixed || s == SetState::kNone;
  }
  EXPECT_EQ(mixed, 0);
}

// Kills at random moments of a run that replaces A's set by B's: SIGTERM leaves A's set or
// B's and no temporary. SIGKILL may leave temporaries, and killed between the renames no
// report and a journal: the next engine in the folder finishes the renames, removes the
// temporaries, and the folder holds A's or B's whole set. A report never stands beside data
// files of another run.
TEST(EngineFiles, AKillAtAnyMomentLeavesTheOldSetOrTheNewOne) {
  // How long a run takes here, to spread the kills over it.
  TempFolder probe;
  put(probe.path() / "~INDATA~.TMP", kCaseB);
  const auto start = std::chrono::steady_clock::now();
  run_engine(probe.path());
  const auto run_us = std::chrono::duration_cast<std::chrono::microseconds>(
                          std::chrono::steady_clock::now() - start)
                          .count();
  std::mt19937 random(25);
  for (const int sig : {SIGTERM, SIGKILL}) {
    std::map<SetState, int> seen;
    for (int k = 0; k < 30; ++k) {
      TempFolder t;
      put(t.path() / "~INDATA~.TMP", kCaseA);
      ASSERT_EQ(run_engine(t.path()).status, 0);
      put(t.path() / "~INDATA~.TMP", kCaseB);
      const pid_t pid = start_engine(t.path());
      ::usleep(static_cast<useconds_t>(random() % static_cast<unsigned>(run_us + 1)));
      ::kill(pid, sig);
      wait_engine(t.path(), pid);
      const SetState s = state_of(t.path());
      ++seen[s];
      EXPECT_NE(s, SetState::kMixed) << "signal " << sig << ", kill " << k;
      if (sig == SIGTERM) {
        EXPECT_EQ(temporaries_in(t.path()), 0) << "kill " << k;
        EXPECT_NE(s, SetState::kNone) << "kill " << k;
      } else {
        std::ostringstream err;
        StreamOut errors(err);
        EXPECT_NE(take_folder(t.path(), errors, std::chrono::milliseconds(0)), nullptr);
        const SetState after = state_of(t.path());
        EXPECT_TRUE(after == SetState::kOldA || after == SetState::kNewB) << "kill " << k;
        EXPECT_EQ(temporaries_in(t.path()), 0) << "kill " << k;
        EXPECT_FALSE(fs::exists(t.path() / platform::kCommitJournal)) << "kill " << k;
      }
      // The next run removes what a killed one left and writes B's whole set.
      EXPECT_EQ(run_engine(t.path()).status, 0);
      EXPECT_EQ(temporaries_in(t.path()), 0);
      EXPECT_EQ(state_of(t.path()), SetState::kNewB);
    }
  }
}

}  // namespace
}  // namespace solvo

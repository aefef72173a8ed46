// The files of a run written together under the folder's lock, in scratch folders: the old
// set replaced whole, a failure that leaves no file of the run, the lock, the temporaries of
// killed runs and the permissions of a new file.
#include "run_files.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <functional>
#include <set>
#include <string>

#include "test_files.h"

namespace solvo::platform {
namespace {

namespace fs = std::filesystem;
using solvo::testing::put;
using solvo::testing::slurp;
using solvo::testing::TempFolder;

std::set<std::string> names(const fs::path& dir) {
  std::set<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.insert(e.path().filename().string());
  return out;
}

// Runs `body` in a child process and gives its exit status (-1 for a signal).
int in_child(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const std::string kNewReport(3000, 'r');
const std::string kNewMoments(5000, 'm');

std::vector<RunFile> new_set() {
  return {{"MOMK.DAT", kNewMoments}, {"AL.DAT", "new al"}, {"KONTOR.RES", kNewReport}};
}

void put_old_set(const fs::path& dir) {
  put(dir / "momk.dat", "old moments");  // found ignoring case, replaced under its own name
  put(dir / "AL.DAT", "old al");
  put(dir / "KONTOR.RES", "old report");
}

TEST(RunFiles, ReplaceTheOldSetWholeAndLeaveNoTemporary) {
  TempFolder t;
  put_old_set(t.path());
  const RunFilesResult r = write_run_files(t.path(), new_set());
  ASSERT_EQ(r.error, 0) << r.name;
  EXPECT_EQ(names(t.path()), (std::set<std::string>{"momk.dat", "AL.DAT", "KONTOR.RES"}));
  EXPECT_EQ(slurp(t.path() / "momk.dat"), kNewMoments);
  EXPECT_EQ(slurp(t.path() / "AL.DAT"), "new al");
  EXPECT_EQ(slurp(t.path() / "KONTOR.RES"), kNewReport);
}

// A new file has what the umask leaves of rw-rw-rw-, whatever the file it replaces had, and
// a symbolic link in its place is replaced, its target (outside the folder) left alone.
TEST(RunFiles, NewFilesHaveTheUmasksPermissionsAndNeverWriteThroughALink) {
  TempFolder outside, t;
  put(outside.path() / "target", "not ours");
  ::chmod((outside.path() / "target").c_str(), 0600);
  ASSERT_EQ(::symlink((outside.path() / "target").c_str(), (t.path() / "MOMK.DAT").c_str()), 0);
  put(t.path() / "KONTOR.RES", "old");
  ::chmod((t.path() / "KONTOR.RES").c_str(), 0604);
  const mode_t mask = ::umask(027);
  const RunFilesResult r = write_run_files(t.path(), new_set());
  ::umask(mask);
  ASSERT_EQ(r.error, 0);
  for (const char* name : {"MOMK.DAT", "AL.DAT", "KONTOR.RES"}) {
    struct stat st {};
    ASSERT_EQ(::lstat((t.path() / name).c_str(), &st), 0) << name;
    EXPECT_TRUE(S_ISREG(st.st_mode)) << name;
    EXPECT_EQ(st.st_mode & 07777, 0640u) << name;  // 0666 & ~027
  }
  EXPECT_EQ(slurp(outside.path() / "target"), "not ours");
  struct stat st {};
  ASSERT_EQ(::stat((outside.path() / "target").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

// Every way a file cannot be written: the failing file and its reason, and afterwards no file
// of the run in the folder, neither new nor old, and no temporary.
TEST(RunFiles, AFileThatCannotBeWrittenLeavesNoFileOfTheRun) {
  struct Row {
    const char* what;
    std::function<void(const fs::path&)> prepare;
    // The errno when the file that failed is `name`, else 100; in a child where it must be.
    std::function<int(const fs::path&, const std::string& name)> write;
    int error;
    const char* name;
  };
  const auto plain = [](const fs::path& dir, const std::string& name) {
    const RunFilesResult r = write_run_files(dir, new_set());
    return r.name == name ? r.error : 100;
  };
  const auto nothing = [](const fs::path&) {};
  const Row rows[] = {
      {"report name taken by a folder",
       [](const fs::path& dir) {
         fs::remove(dir / "KONTOR.RES");
         fs::create_directory(dir / "kontor.res");
       },
       plain, EISDIR, "KONTOR.RES"},
      {"data file name taken by a folder",
       [](const fs::path& dir) {
         fs::remove(dir / "AL.DAT");
         fs::create_directory(dir / "AL.DAT");
       },
       plain, EISDIR, "AL.DAT"},
      // A file size limit of 4000 bytes: the 5000 bytes of MOMK.DAT do not fit, as on a
      // full disk (the limit says "File too large").
      {"file size limit", nothing,
       [](const fs::path& dir, const std::string& name) {
         return in_child([&] {
           ::signal(SIGXFSZ, SIG_IGN);
           const rlimit limit{4000, 4000};
           ::setrlimit(RLIMIT_FSIZE, &limit);
           const RunFilesResult r = write_run_files(dir, new_set());
           return r.name == name ? r.error : 100;
         });
       },
       EFBIG, "MOMK.DAT"},
      // A folder without write permission, for a user who is not root; the old files can
      // then only be emptied.
      {"read-only folder",
       [](const fs::path& dir) {
         for (const char* n : {"momk.dat", "AL.DAT", "KONTOR.RES"})
           ::chmod((dir / n).c_str(), 0666);
         ::chmod(dir.c_str(), 0555);
       },
       [](const fs::path& dir, const std::string& name) {
         return in_child([&] {
           if (::geteuid() == 0 && ::setuid(65534) != 0) return 101;
           const RunFilesResult r = write_run_files(dir, new_set());
           return r.name == name ? r.error : 100;
         });
       },
       EACCES, "MOMK.DAT"},
  };
  for (const Row& row : rows) {
    TempFolder t;
    ::chmod(t.path().c_str(), 0755);
    put_old_set(t.path());
    row.prepare(t.path());
    EXPECT_EQ(row.write(t.path(), row.name), row.error) << row.what;
    ::chmod(t.path().c_str(), 0755);
    for (const auto& e : fs::directory_iterator(t.path())) {
      const std::string n = e.path().filename().string();
      if (fs::is_directory(e.path())) continue;  // the folder in the way stays
      // A read-only folder keeps its old files, emptied; every other folder loses them.
      EXPECT_EQ(slurp(e.path()).size(), 0u) << row.what << ": " << n;
      EXPECT_NE(n.rfind(kTempPrefix, 0), 0u) << row.what << ": " << n;
    }
  }
}

// A disk that is really full: a tmpfs of 64 KB filled to the last block (needs the right to
// mount, which a container may not give).
TEST(RunFiles, AFullDiskSaysSoAndLeavesNoFileOfTheRun) {
  TempFolder t;
  if (::mount("tmpfs", t.path().c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "no tmpfs can be mounted here";
  put_old_set(t.path());
  put(t.path() / "filler", std::string(200000, 'f'));  // cut short where the disk is full
  const RunFilesResult r = write_run_files(t.path(), new_set());
  EXPECT_EQ(r.error, ENOSPC);
  EXPECT_EQ(r.name, "MOMK.DAT");
  EXPECT_EQ(names(t.path()), std::set<std::string>{"filler"});
  ::umount(t.path().c_str());
}

TEST(FolderLock, ASecondHolderWaitsThenIsRefused) {
  TempFolder t;
  FolderLock first(t.path(), std::chrono::milliseconds(0));
  ASSERT_EQ(first.state(), FolderLock::State::kHeld);
  const auto start = std::chrono::steady_clock::now();
  {
    FolderLock second(t.path(), std::chrono::milliseconds(150));
    EXPECT_EQ(second.state(), FolderLock::State::kBusy);
  }
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
  // A child process is refused as well (the lock is the folder's, not the process's).
  EXPECT_EQ(in_child([&] {
              FolderLock child(t.path(), std::chrono::milliseconds(50));
              return static_cast<int>(child.state());
            }),
            static_cast<int>(FolderLock::State::kBusy));
  EXPECT_TRUE(fs::exists(t.path() / kLockFile));
}

TEST(FolderLock, IsTakenWhenTheHolderLetsGoWithinTheWait) {
  TempFolder t;
  const pid_t pid = ::fork();
  if (pid == 0) {
    FolderLock holder(t.path(), std::chrono::milliseconds(0));
    ::usleep(200000);
    ::_exit(0);
  }
  ::usleep(50000);
  FolderLock waiting(t.path(), std::chrono::milliseconds(3000));
  EXPECT_EQ(waiting.state(), FolderLock::State::kHeld);
  ::waitpid(pid, nullptr, 0);
}

TEST(FolderLock, AFolderWhereNoLockFileCanBeMadeGoesOnWithout) {
  TempFolder t;
  FolderLock lock(t.path() / "missing", std::chrono::milliseconds(100));
  EXPECT_EQ(lock.state(), FolderLock::State::kNoLockFile);
}

TEST(StaleTemporaries, OnlyTheEnginesOwnAreRemoved) {
  TempFolder t;
  const std::string own = std::string(kTempPrefix);
  for (const std::string& n : {own + "a1B2c3", own + "zzzzzz"}) put(t.path() / n, "stale");
  const std::set<std::string> kept = {".MOMK.DAT.a1b2c3",  // another writer's temporary
                                      "solvowb-tmp-abc",   // not the prefix
                                      own.substr(0, own.size() - 1), "KONTOR.RES"};
  for (const std::string& n : kept) put(t.path() / n, "keep");
  fs::create_directory(t.path() / (own + "dir"));  // a folder is never removed
  EXPECT_EQ(remove_stale_temporaries(t.path()), 2);
  std::set<std::string> want = kept;
  want.insert(own + "dir");
  EXPECT_EQ(names(t.path()), want);
}

// SIGTERM at random moments of a write of some megabytes: the temporaries go with the
// process, and the folder holds the old set or the new set, never a mixture.
TEST(RunFiles, SigtermAtAnyMomentLeavesTheOldSetOrTheNewOne) {
  const std::string big(4 << 20, 'b');
  int old_sets = 0, new_sets = 0;
  for (int k = 0; k < 20; ++k) {
    TempFolder t;
    put_old_set(t.path());
    const pid_t pid = ::fork();
    if (pid == 0) {
      const RunFilesResult r = write_run_files(
          t.path(), {{"MOMK.DAT", big}, {"AL.DAT", big}, {"KONTOR.RES", kNewReport}});
      ::_exit(r.error);
    }
    ::usleep(static_cast<useconds_t>(k * 1000));
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    const std::string report = slurp(t.path() / "KONTOR.RES");
    const std::string moments = slurp(t.path() / "momk.dat");
    const std::string al = slurp(t.path() / "AL.DAT");
    const bool is_old = report == "old report" && moments == "old moments" && al == "old al";
    const bool is_new = report == kNewReport && moments == big && al == big;
    EXPECT_TRUE(is_old || is_new) << "kill " << k;
    old_sets += is_old;
    new_sets += is_new;
    EXPECT_EQ(names(t.path()), (std::set<std::string>{"momk.dat", "AL.DAT", "KONTOR.RES"}));
  }
  EXPECT_EQ(old_sets + new_sets, 20);
}

}  // namespace
}  // namespace solvo::platform

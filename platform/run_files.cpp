#include "run_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <optional>
#include <thread>

#include "file_names.h"
#include "posix_write.h"

namespace solvo::platform {

namespace fs = std::filesystem;

namespace {

// ---- The temporaries that a signal removes ----
//
// Kept in fixed storage: the signal handler may only call what is safe there (unlink, raise).
constexpr int kMaxTemps = 16;
char g_temps[kMaxTemps][PATH_MAX];
volatile sig_atomic_t g_temp_count = 0;
constexpr int kCleanupSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void remove_temps_and_end(int sig) {
  for (sig_atomic_t k = 0; k < g_temp_count; ++k) ::unlink(g_temps[k]);
  g_temp_count = 0;
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

// Installs the handler once, for each signal that is not ignored (a run started with nohup
// keeps ignoring SIGHUP).
void install_cleanup() {
  static const bool installed = [] {
    for (const int sig : kCleanupSignals) {
      struct sigaction old {};
      if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
      struct sigaction act {};
      act.sa_handler = remove_temps_and_end;
      sigemptyset(&act.sa_mask);
      for (const int other : kCleanupSignals) sigaddset(&act.sa_mask, other);
      ::sigaction(sig, &act, nullptr);
    }
    return true;
  }();
  (void)installed;
}

// Holds back the cleanup signals while it lives: what is done meanwhile is not cut short.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t set;
    sigemptyset(&set);
    for (const int sig : kCleanupSignals) sigaddset(&set, sig);
    ::pthread_sigmask(SIG_BLOCK, &set, &old_);
  }
  ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t old_;
};

// With the cleanup signals held by the caller from the file's creation on, so that no signal
// falls between the two.
void register_temp(const std::string& path) {
  if (g_temp_count >= kMaxTemps || path.size() >= PATH_MAX) return;
  std::memcpy(g_temps[g_temp_count], path.c_str(), path.size() + 1);
  g_temp_count = g_temp_count + 1;
}

void forget_temps() {
  const SignalsHeld held;
  g_temp_count = 0;
}

// ---- Writing ----

// One file of the run: where it goes and the temporary that holds it meanwhile.
struct Staged {
  fs::path target;
  std::string temp;
};

// The path that the new file replaces: the existing entry answering to the name, else the
// name itself. A folder of that name cannot be replaced (EISDIR).
int target_of(const fs::path& folder, const std::string& name, fs::path& target) {
  const std::optional<fs::path> existing = find_existing(folder, name, /*directories=*/true);
  target = existing ? *existing : folder / fs::path(name);
  struct stat st {};
  if (::lstat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return EISDIR;
  return 0;
}

int write_temp(const fs::path& folder, std::string_view contents, mode_t mode, std::string& temp) {
  temp = (folder_path(folder) / (std::string(kTempPrefix) + "XXXXXX")).string();
  int fd = -1;
  {
    const SignalsHeld held;
    fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd >= 0) register_temp(temp);
  }
  if (fd < 0) {
    temp.clear();
    return errno;
  }
  int code = ::fchmod(fd, mode) != 0 ? errno : 0;
  if (code == 0) code = write_all(fd, contents);
  if (::close(fd) != 0 && code == 0) code = errno;
  return code;
}

// Removes the old file; where the folder forbids that, empties it (never through a link).
void remove_old(const fs::path& folder, const std::string& name) {
  const std::optional<fs::path> existing = find_existing(folder, name);
  if (!existing || ::unlink(existing->c_str()) == 0 || errno == ENOENT) return;
  const int fd = ::open(existing->c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) ::close(fd);
}

void remove_temps(const std::vector<Staged>& staged) {
  for (const Staged& s : staged)
    if (!s.temp.empty()) ::unlink(s.temp.c_str());
  forget_temps();
}

RunFilesResult failed(const fs::path& folder, const std::vector<RunFile>& files,
                      const std::vector<Staged>& staged, int error, const std::string& name) {
  remove_temps(staged);
  ::unlink((folder_path(folder) / kCommitJournal).c_str());
  for (const RunFile& f : files) remove_old(folder, f.name);
  return {error, name};
}

fs::path journal_path(const fs::path& folder) { return folder_path(folder) / kCommitJournal; }

// The renames to come, one "temporary/target" line each (names in the folder: neither holds
// a "/" or a line end), written whole under the journal's name before the first rename.
int write_journal(const fs::path& folder, const std::vector<Staged>& staged, mode_t mode) {
  std::string text;
  for (const Staged& s : staged)
    text += fs::path(s.temp).filename().string() + "/" + s.target.filename().string() + "\n";
  std::string temp;
  int error = write_temp(folder, text, mode, temp);
  if (error == 0 && ::rename(temp.c_str(), journal_path(folder).c_str()) != 0) error = errno;
  if (error != 0 && !temp.empty()) ::unlink(temp.c_str());
  return error;
}

// The renames, the last file last; the old last file goes before the first rename. Killed
// meanwhile (SIGKILL, a power cut), the journal lets the next run finish them.
RunFilesResult commit(const fs::path& folder, const std::vector<RunFile>& files,
                      std::vector<Staged>& staged, mode_t mode) {
  const SignalsHeld held;
  if (const int error = write_journal(folder, staged, mode); error != 0)
    return failed(folder, files, staged, error, files.back().name);
  if (staged.size() > 1) ::unlink(staged.back().target.c_str());
  for (size_t k = 0; k < staged.size(); ++k) {
    if (::rename(staged[k].temp.c_str(), staged[k].target.c_str()) != 0)
      return failed(folder, files, staged, errno, files[k].name);
    staged[k].temp.clear();
  }
  ::unlink(journal_path(folder).c_str());
  forget_temps();
  return {};
}

}  // namespace

FolderLock::FolderLock(const fs::path& folder, std::chrono::milliseconds wait) {
  const fs::path path = folder_path(folder) / kLockFile;
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, new_file_mode());
  if (fd_ < 0) return;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      state_ = State::kHeld;
      return;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) break;  // no locks on this file system
    if (std::chrono::steady_clock::now() >= deadline) {
      state_ = State::kBusy;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

int remove_stale_temporaries(const fs::path& folder) {
  int removed = 0;
  const std::string_view prefix = kTempPrefix;
  DIR* dir = ::opendir(folder_path(folder).c_str());
  if (dir == nullptr) return 0;
  std::vector<fs::path> stale;
  while (const dirent* e = ::readdir(dir))
    if (std::string_view(e->d_name).substr(0, prefix.size()) == prefix)
      stale.push_back(folder / e->d_name);
  ::closedir(dir);
  for (const fs::path& p : stale) {
    struct stat st {};
    if (::lstat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(p.c_str()) == 0) ++removed;
  }
  return removed;
}

RunFilesResult write_run_files(const fs::path& folder, const std::vector<RunFile>& files) {
  install_cleanup();
  std::vector<Staged> staged(files.size());
  for (size_t k = 0; k < files.size(); ++k)
    if (const int error = target_of(folder, files[k].name, staged[k].target); error != 0)
      return failed(folder, files, {}, error, files[k].name);
  const mode_t mode = new_file_mode();
  for (size_t k = 0; k < files.size(); ++k)
    if (const int error = write_temp(folder, files[k].contents, mode, staged[k].temp); error != 0)
      return failed(folder, files, staged, error, files[k].name);
  return commit(folder, files, staged, mode);
}

bool finish_interrupted_commit(const fs::path& folder) {
  std::string text;
  {
    const int fd = ::open(journal_path(folder).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    char block[4096];
    ssize_t n = 0;
    while ((n = ::read(fd, block, sizeof block)) > 0) text.append(block, static_cast<size_t>(n));
    ::close(fd);
  }
  const fs::path dir = folder_path(folder);
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = text.substr(start, end - start);
    const size_t slash = line.find('/');
    if (slash == std::string::npos || line.rfind(kTempPrefix, 0) != 0) continue;
    const fs::path temp = dir / line.substr(0, slash);
    struct stat st {};
    if (::lstat(temp.c_str(), &st) == 0 && S_ISREG(st.st_mode))
      ::rename(temp.c_str(), (dir / line.substr(slash + 1)).c_str());
  }
  ::unlink(journal_path(folder).c_str());
  return true;
}

}  // namespace solvo::platform

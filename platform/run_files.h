// The files of one engine run in the working folder: they appear together or not at all.
//
// A run holds the folder's lock for as long as it works there, so two engines never mix their
// files. Every file of the run is first written whole to a temporary file of the engine's own
// name in the folder; only when all of them are written are they renamed over the old files,
// the last one (the report) last, with the old report removed before the first rename, so
// that an old report never stands beside new data files. A file that cannot be written
// leaves none of the new files and none of the old files of the run's names: no result is
// better than an older design's result. SIGTERM, SIGINT and SIGHUP remove the temporaries
// before the program ends; the renames are not interrupted by them. A run killed outright
// while renaming (SIGKILL, a power cut) has left a journal of its renames, which the next
// run in the folder finishes first; until then the folder holds no report.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace solvo::platform {

// The lock file of the working folder; it stays in the folder between runs.
inline constexpr const char kLockFile[] = ".solvowb.lock";
// Every temporary file of a run starts so; nothing else the programs write does.
inline constexpr const char kTempPrefix[] = ".solvowb-tmp-";
// The renames of a run that has begun to rename its files, until it has done so.
inline constexpr const char kCommitJournal[] = ".solvowb-commit";
// How long a second engine waits for the first to finish.
inline constexpr std::chrono::milliseconds kLockWait{3000};

// The exclusive lock of a working folder (flock on kLockFile), released when the object goes
// or the process ends, however it ends.
class FolderLock {
 public:
  enum class State {
    kHeld,        // this process holds the lock
    kBusy,        // another process held it for the whole wait
    kNoLockFile,  // the lock file cannot be made (a read-only folder): the run goes on
                  // without a lock, and writing its files fails with the reason
  };
  FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds wait);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  State state() const { return state_; }

 private:
  int fd_ = -1;
  State state_ = State::kNoLockFile;
};

// Finishes the renames of a run that was killed while renaming its files (the journal it
// left), so that the folder holds that run's whole set. Call with the lock held, before
// remove_stale_temporaries. False when there was nothing to finish.
bool finish_interrupted_commit(const std::filesystem::path& folder);

// Removes the temporary files of earlier runs that were killed before they could (only
// names starting with kTempPrefix). Call with the lock held. Returns how many were removed.
int remove_stale_temporaries(const std::filesystem::path& folder);

struct RunFile {
  std::string name;           // as the run names it; an existing file answering to it
                              // ignoring case is the one replaced
  std::string_view contents;  // bytes
};

struct RunFilesResult {
  int error = 0;     // 0, or the errno of the step that failed
  std::string name;  // the file that could not be written (as `RunFile::name`)
};

// Writes the files of a run in `folder`, the last of `files` renamed last. The new files get
// the permissions that the umask leaves of rw-rw-rw-; a symbolic link in the place of one is
// replaced by the file, never written through. On failure no new file is left and the old
// files of these names are removed (or, where the folder forbids that, emptied).
RunFilesResult write_run_files(const std::filesystem::path& folder,
                               const std::vector<RunFile>& files);

}  // namespace solvo::platform

#include "atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "file_names.h"
#include "posix_write.h"

namespace solvo::platform {

namespace fs = std::filesystem;

namespace {

// Permissions of the file that is replaced (when there is one), or those a newly created
// file gets.
mode_t permissions_for(const std::optional<fs::path>& existing) {
  struct stat old {};
  if (existing && ::stat(existing->c_str(), &old) == 0) return old.st_mode & 07777;
  return new_file_mode();
}

// Flushes the folder's entries (the rename) to the disk. A file system that cannot flush a
// folder (EINVAL) has nothing more to do.
void sync_folder(const fs::path& folder) {
  const int fd = ::open(folder_path(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

WriteResult write_file_atomic(const fs::path& folder, std::string_view name,
                              std::string_view contents, OldFile old, bool flush) {
  WriteResult result;
  result.target = folder / fs::path(std::string(name));
  const std::optional<fs::path> existing = find_existing(folder, name);
  if (existing) result.target = *existing;
  const mode_t mode = permissions_for(existing);
  if (existing && old == OldFile::RemoveFirst) std::remove(existing->c_str());

  const fs::path dir = folder_path(folder);
  std::string temp = (dir / ("." + result.target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    result.error = errno;
    return result;
  }
  int code = 0;
  if (::fchmod(fd, mode) != 0) code = errno;
  if (code == 0) code = write_all(fd, contents);
  if (code == 0 && flush && ::fsync(fd) != 0) code = errno;
  if (::close(fd) != 0 && code == 0) code = errno;
  if (code == 0 && ::rename(temp.c_str(), result.target.c_str()) != 0) code = errno;
  if (code != 0) {
    ::unlink(temp.c_str());
    result.error = code;
    return result;
  }
  if (flush) sync_folder(dir);
  return result;
}

}  // namespace solvo::platform

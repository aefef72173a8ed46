// The small steps of writing a file that the atomic write and the run's files share.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string_view>

namespace solvo::platform {

// Writes every byte of `contents` to `fd`, again after an interruption; 0, or the errno of the
// write that failed (EIO for a write that wrote nothing: a full disk is a failure, not a
// shorter file).
int write_all(int fd, std::string_view contents);

// The permissions a newly created file gets under the process's umask (0666 less the mask).
mode_t new_file_mode();

// The folder as a path to open: "." for the empty path (the current folder).
std::filesystem::path folder_path(const std::filesystem::path& folder);

}  // namespace solvo::platform

// Writing a file so that no reader ever sees it half written and a failed write leaves the
// old file as it was.
#pragma once

#include <filesystem>
#include <string_view>

namespace solvo::platform {

// What happens to the old file (the one find_existing gives for the name, whatever its case).
enum class OldFile {
  KeepUntilReplaced,  // stays whole until the new one is complete (case files, the report)
  RemoveFirst,        // removed before writing: no reader wants it any more (data files)
};

struct WriteResult {
  int error = 0;                 // 0, or the errno of the step that failed
  std::filesystem::path target;  // the file written (or meant to be written)
};

// Writes `contents` as the file `name` in `folder`: into a new file of a unique temporary name
// in the same folder, every write checked (a short write on a full disk is a failure, not a
// shorter file), flushed to the disk, then renamed over the target, and the folder flushed so
// the rename itself lasts. The target is the existing file that answers to `name` ignoring
// case, else `name` as given; the new file gets the old one's permissions, or those of a new
// file. On failure nothing of the new file is left behind.
// Without `flush` the file and the folder are not flushed to the disk (data files that every
// run writes anew): still never half written, but a power cut may take the last one.
WriteResult write_file_atomic(const std::filesystem::path& folder, std::string_view name,
                              std::string_view contents, OldFile old = OldFile::KeepUntilReplaced,
                              bool flush = true);

}  // namespace solvo::platform

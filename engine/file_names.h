// File names in the working folder, as a case-insensitive file system would treat them:
// an existing file is found by its exact name, otherwise by the entry whose name matches
// ignoring ASCII case; a file written replaces its case-insensitive match.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace solvo {

// The existing regular file in `folder` named `name`, exactly or ignoring ASCII case.
std::optional<std::filesystem::path> resolve_existing(const std::filesystem::path& folder,
                                                      std::string_view name);

// The UTF-8 name of a file named by case-file bytes: the DOS letters Å Ä Ö å ä ö (bytes
// 143 142 153 134 132 148) become those letters, other bytes above 127 are read as
// Windows-1252 (the front end's code page).
std::string dos_name_to_utf8(std::string_view bytes);

// Writes `contents` to `name` in `folder` through a temporary file in the same folder that
// is renamed into place, so no reader ever sees a half-written file. An existing file whose
// name matches ignoring case is the one replaced. With `keep_old` the old file stays whole
// until the new one is complete (the report); without it the old file is removed first,
// which spares the file system the forced write-back of a replacing rename (data files).
// Returns false and sets `error` on failure (nothing of the new file is left behind).
bool write_file_replacing(const std::filesystem::path& folder, std::string_view name,
                          std::string_view contents, std::string& error, bool keep_old = true);

}  // namespace solvo

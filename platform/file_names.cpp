#include "file_names.h"

#include <dirent.h>

#include <algorithm>
#include <system_error>
#include <vector>

#include "code_page.h"
#include "posix_write.h"

namespace solvo::platform {

namespace fs = std::filesystem;

namespace {

std::string_view trimmed(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

bool case_name_ok(std::string_view line) {
  for (const char c : line) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || is_control_byte(b)) return false;
  }
  const std::string_view t = trimmed(line);
  return t != "." && t != "..";
}

bool case_name_blank(std::string_view line) {
  return line.substr(0, kCaseNameLength).find_first_not_of(' ') == std::string_view::npos;
}

std::string report_file_name(std::string_view case_name) {
  std::u32string letters;
  for (const char b : case_name.substr(0, kCaseNameLength))
    letters += from_case_byte(static_cast<unsigned char>(b));
  return report_file_name(letters);
}

std::string report_file_name(std::u32string_view letters) {
  letters = letters.substr(0, kCaseNameLength);
  while (!letters.empty() && letters.back() == U' ') letters.remove_suffix(1);
  std::string name;
  for (const char32_t c : letters) append_utf8(name, to_windows1252(c) ? c : U'?');
  return name + ".RES";
}

bool same_file_name(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size())
    if (to_upper(next_name_char(a, i)) != to_upper(next_name_char(b, j))) return false;
  return i == a.size() && j == b.size();
}

namespace {

// The entry of `folder` that answers to `name` and that `usable` takes: the exact name first,
// otherwise the first match ignoring case, in name order.
template <typename Usable>
std::optional<fs::path> find_matching(const fs::path& folder, std::string_view name,
                                      Usable usable) {
  if (name.empty()) return std::nullopt;
  const fs::path exact = folder / fs::path(std::string(name));
  if (usable(exact)) return exact;
  // The folder's entries through the C library (fewer system calls than a
  // directory_iterator: the engine looks for every file it writes).
  std::vector<fs::path> matches;
  if (DIR* dir = ::opendir(folder_path(folder).c_str())) {
    while (const dirent* e = ::readdir(dir)) {
      const std::string_view entry(e->d_name);
      if (entry != "." && entry != ".." && same_file_name(entry, name))
        matches.push_back(folder / fs::path(std::string(entry)));
    }
    ::closedir(dir);
  }
  std::sort(matches.begin(), matches.end());
  for (const fs::path& p : matches)
    if (usable(p)) return p;
  return std::nullopt;
}

}  // namespace

std::optional<fs::path> find_existing(const fs::path& folder, std::string_view name,
                                      bool directories) {
  std::error_code ec;
  return find_matching(folder, name, [&](const fs::path& p) {
    return fs::is_regular_file(p, ec) || (directories && fs::is_directory(p, ec));
  });
}

std::optional<fs::path> find_entry(const fs::path& folder, std::string_view name) {
  std::error_code ec;
  return find_matching(folder, name, [&](const fs::path& p) {
    return fs::symlink_status(p, ec).type() != fs::file_type::not_found && !ec;
  });
}

}  // namespace solvo::platform

// Names in the working folder, alike in the engine and the front end.
//
// The engine names its report after the case name, the first line of the case file; the
// front end looks for that report by the case's base name, which it holds in upper case. Both
// sides meet here: the report name is formed from the case-name bytes by one rule, and an
// existing file is found as a file system that ignores case would find it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace solvo::platform {

// The case name names the report in the working folder, so it must stay there: no "/", no
// "\", no control character (bytes below 32, 127 and the bytes Windows-1252 leaves unused),
// and not "." or ".." once blanks at either end are removed. `line` is the whole first line of
// the case file, in its bytes.
bool case_name_ok(std::string_view line);

// Characters of a case name that make up its report name.
inline constexpr size_t kCaseNameLength = 9;

// True when the characters of the case name that make up the report name are all blank (or
// there are none): the report would be the hidden file ".RES". Both readers refuse such a case.
bool case_name_blank(std::string_view line);

// The design search's report and its table for a spreadsheet: more than nine characters
// before the point, so no case's report (at most nine, then ".RES") can have either name.
inline constexpr const char kSearchReportFile[] = "SOLVO-SEARCH.RES";
inline constexpr const char kSearchTableFile[] = "SOLVO-SEARCH.CSV";

// The report's name on disk for the case-name bytes: the first 9 bytes, trailing blanks
// removed, then ".RES"; each byte as its letter in UTF-8 (the DOS bytes of the Swedish letters
// as those letters, every other byte as Windows-1252). "\x86bc" gives "åbc.RES".
std::string report_file_name(std::string_view case_name);

// The same for a case name held as letters (the front end's base name): the first 9 letters,
// trailing blanks removed, each letter the code page cannot hold written as "?" as the case
// file would hold it, in UTF-8, then ".RES".
std::string report_file_name(std::u32string_view letters);

// Two file names that a file system ignoring case would take for the same file: compared
// character by character after to_upper, each character read by next_name_char, so a letter
// matches whether it stands in UTF-8, as a DOS byte or as a Windows-1252 byte.
bool same_file_name(std::string_view a, std::string_view b);

// The existing entry of `folder` that answers to `name`: the exact name first, otherwise the
// first entry (in name order) that same_file_name matches. Directories count only with
// `directories`.
std::optional<std::filesystem::path> find_existing(const std::filesystem::path& folder,
                                                   std::string_view name, bool directories = false);

// The same lookup for an entry of any kind (a FIFO, a folder, a dangling link), so that a
// program can say what stands under the name instead of "no such file".
std::optional<std::filesystem::path> find_entry(const std::filesystem::path& folder,
                                                std::string_view name);

}  // namespace solvo::platform

// Fuzz target: the bytes of a case file through the whole calculation in memory, as solvowb
// runs it. Besides the sanitizers' reports, a run must end in one of two ways:
//  - refused: a CaseError with a one-line message naming the line;
//  - completed: a report named after the case and the data files, every name a plain file name
//    in the working folder, and the same files again when the case is calculated a second time
//    (apart from the date and time in the page headers).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "case_input.h"
#include "engine.h"

namespace {

[[noreturn]] void fail(const char* what, std::string_view detail) {
  std::fprintf(stderr, "fuzz_engine: %s: %.*s\n", what, static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

bool plain_file_name(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name)
    if (c == '/' || c == '\\' || c == '\0') return false;
  return true;
}

// The report without its date and time lines.
std::string without_clock(std::string_view text) {
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    std::string_view line = text.substr(start, end - start);
    if (line.find("DATUM : ") == std::string_view::npos &&
        line.find("TID   : ") == std::string_view::npos)
      out += line;
    start = end;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto first = std::make_unique<solvo::Run>();
  try {
    solvo::calculate(*first, text);
  } catch (const solvo::CaseError& e) {
    const std::string_view message = e.what();
    if (message.empty() || message.find('\n') != std::string_view::npos ||
        message.find('\r') != std::string_view::npos)
      fail("a refusal is not one line", message);
    if (e.line() < 1) fail("a refusal names no line", message);
    return 0;
  }

  bool report = false;
  for (const solvo::OutputFile& f : first->files) {
    if (!plain_file_name(f.name)) fail("a file outside the working folder", f.name);
    report = report || f.report;
  }
  if (!report) fail("a completed run without a report", text.substr(0, 64));

  auto second = std::make_unique<solvo::Run>();
  solvo::calculate(*second, text);
  if (second->files.size() != first->files.size()) fail("a second run wrote other files", "");
  for (size_t k = 0; k < first->files.size(); ++k) {
    const solvo::OutputFile& a = first->files[k];
    const solvo::OutputFile& b = second->files[k];
    if (a.name != b.name || without_clock(a.contents) != without_clock(b.contents))
      fail("a second run gave another file", a.name);
  }
  return 0;
}

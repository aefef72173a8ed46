// Reading the design case and deriving the material values: the start of every run.
//
// The case file has 37 lines, and lines 38-40 (deck during casting, props, lowest natural
// frequency) and 41 (largest crack width) when present; fixed-format lines keep their columns,
// free-form lines give the first value of the line (blank lines passed over). Lines may end
// with CR LF or LF. Where each value stands and what it may hold is the case-format table of
// the platform library (case_format.h); a value outside it is refused.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "run_state.h"

namespace solvo {

// A case that cannot be read, or that holds a value outside its range. what() is one line:
// "<file>, line <n>: expected <what was expected> (found "<text>")", the text at most 80
// bytes of the input with control bytes escaped (platform::quoted_input).
class CaseError : public std::runtime_error {
 public:
  CaseError(const std::string& file, int line, const std::string& expected,
            const std::string& found);
  int line() const { return line_; }

 private:
  int line_;
};

// What an existing entry named as the case file is when it is no file to read: "it is a
// folder", "it is a FIFO", ...; nullptr for a regular file (or a link to one). Reading a FIFO
// would wait for a writer that never comes.
const char* not_a_case_file(const std::filesystem::path& path);

// Puts the engine defaults into the case and clears the result members.
void blkdat(Run& run);

// Fills run.indat, prfil, rubrad, utfil, the first members of run.dat and run.matdat from
// the bytes of a case file. `file` names the file in messages. Calls blkdat first and
// berdat last. Throws CaseError.
void insolvo(Run& run, std::string_view case_text, const std::string& file = "~INDATA~.TMP");

// Derived material values, gamma_d, clear spans and self weights.
void berdat(Run& run);

}  // namespace solvo

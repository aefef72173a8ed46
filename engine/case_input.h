// Reading the design case and deriving the material values: the start of every run.
//
// The case file has 37 lines, and lines 38-40 (deck during casting, props, lowest natural
// frequency) when present; fixed-format lines keep their columns, free-form lines give the
// first value of the line (blank lines passed over). Lines may end with CR LF or LF.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "run_state.h"

namespace solvo {

// A case that cannot be read, or that holds a code outside its table. what() is one line:
// "<file>, line <n>: <what was expected> (found "<text>")".
class CaseError : public std::runtime_error {
 public:
  CaseError(const std::string& file, int line, const std::string& expected,
            const std::string& found);
  int line() const { return line_; }

 private:
  int line_;
};

// Puts the engine defaults into the case and clears the result members.
void blkdat(Run& run);

// Fills run.indat, prfil, rubrad, utfil, the first members of run.dat and run.matdat from
// the bytes of a case file. `file` names the file in messages. Calls blkdat first and
// berdat last. Throws CaseError.
void insolvo(Run& run, std::string_view case_text, const std::string& file = "~INDATA~.TMP");

// Derived material values, gamma_d, clear spans and self weights.
void berdat(Run& run);

}  // namespace solvo

// One run of the engine: read the case, analyse, design, report.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string_view>

#include "console.h"
#include "run_state.h"

namespace solvo {

// The calculation driver: clear spans again, then the analysis, the design (which ends
// with the fire design), the checks of report page 6 and the report. `flag` is set to 0 and handed to the analysis.
void solvober(Run& run, int32_t& flag);

// The whole calculation in memory: the case bytes in, run.files out. Throws CaseError.
void calculate(Run& run, std::string_view case_text);

// Reads ~INDATA~.TMP in `folder` into `run` (insolvo). False after one line on `errors`
// naming the file (and the line and what was expected).
bool read_case(const std::filesystem::path& folder, Run& run, TextOut& errors);

// The program: reads ~INDATA~.TMP in `folder`, calculates, writes the report and data files
// there, and writes the progress lines to `console` (UTF-8), the last of them the verdict
// ("Alla kontroller uppfyllda" or "Ej uppfyllt: " and the checks that fail). Returns the exit status: 0 for a
// completed run, 2 for a case that cannot be read (one line on `errors`, no files written).
int run_solvowb(const std::filesystem::path& folder, TextOut& console, TextOut& errors);
int run_solvowb(const std::filesystem::path& folder, std::ostream& console, std::ostream& errors);

}  // namespace solvo

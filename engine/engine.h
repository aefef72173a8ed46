// One run of the engine: read the case, analyse, design, report.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string_view>
#include <vector>

#include "console.h"
#include "run_files.h"
#include "run_state.h"

namespace solvo {

// The calculation driver: clear spans again, then the analysis, the design (which ends
// with the fire design), the checks of report page 6 and the report. `flag` is set to 0 and handed
// to the analysis.
void solvober(Run& run, int32_t& flag);

// The whole calculation in memory: the case bytes in, run.files out. Throws CaseError.
void calculate(Run& run, std::string_view case_text);

// Reads ~INDATA~.TMP in `folder` into `run` (insolvo). False after one line on `errors`
// naming the file (and the line and what was expected).
bool read_case(const std::filesystem::path& folder, Run& run, TextOut& errors);

// The program's exit statuses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 2;     // bad input, or another calculation in the folder
inline constexpr int kExitNotWritten = 3;  // a file of the run could not be written

// Takes the working folder for one run: the lock, waiting up to `wait` for another engine,
// then the temporaries of earlier killed runs removed. Null after one line on `errors` when
// another calculation held the folder all the time.
std::unique_ptr<platform::FolderLock> take_folder(const std::filesystem::path& folder,
                                                  TextOut& errors, std::chrono::milliseconds wait);

// Writes the files of a run together (platform::write_run_files), the last of `files` last.
// Returns kExitDone, or kExitNotWritten after one line on `errors`: "<file>: <reason>".
int write_files(const std::filesystem::path& folder, const std::vector<platform::RunFile>& files,
                TextOut& errors);

// The program: reads ~INDATA~.TMP in `folder`, calculates, writes the report and data files
// there, and writes the progress lines to `console` (UTF-8), the last of them the verdict
// ("Alla kontroller uppfyllda" or "Ej uppfyllt: " and the checks that fail). Returns the exit
// status: 0 for a completed run, 2 for a case that cannot be read or a folder that another
// calculation holds (one line on `errors`, no files written), 3 when a file of the run cannot
// be written (one line on `errors` naming it; no file of the run is left, neither new nor
// old).
int run_solvowb(const std::filesystem::path& folder, TextOut& console, TextOut& errors,
                std::chrono::milliseconds lock_wait = platform::kLockWait);
int run_solvowb(const std::filesystem::path& folder, std::ostream& console, std::ostream& errors);

}  // namespace solvo

#include "engine.h"

#include <cstring>

#include "analysis.h"
#include "case_input.h"
#include "checks.h"
#include "design.h"
#include "file_names.h"
#include "report.h"
#include "verdict.h"

namespace solvo {

namespace {

const char kCaseFile[] = "~INDATA~.TMP";

std::string blanks(int n) { return std::string(static_cast<size_t>(n), ' '); }

}  // namespace

void solvober(Run& run, int32_t& flag) {
  flag = 0;
  const Indat& c = run.indat;
  for (int i = 1; i <= c.n; ++i)
    run.dat.clear_span[i] = c.span[i] - 0.5f * (c.support_width[i] + c.support_width[i + 1]);
  snikra(run, flag);
  dimen(run);
  slab_checks(run);
  utskr(run);
}

void calculate(Run& run, std::string_view case_text) {
  insolvo(run, case_text);
  int32_t flag = 0;
  solvober(run, flag);
}

bool read_case(const std::filesystem::path& folder, Run& run, TextOut& errors) {
  auto path = platform::find_existing(folder, kCaseFile);
  if (!path) path = platform::find_entry(folder, kCaseFile);
  if (!path) {
    errors << kCaseFile << ": the case file cannot be opened (no such file in the working folder)"
           << end_line;
    return false;
  }
  if (const char* kind = not_a_case_file(*path)) {
    errors << kCaseFile << ": the case file cannot be read (" << kind << ")" << end_line;
    return false;
  }
  std::string text;
  if (const int error = read_whole_file(*path, text); error != 0) {
    errors << kCaseFile << ": the case file cannot be read (" << std::strerror(error) << ")"
           << end_line;
    return false;
  }
  try {
    insolvo(run, text, kCaseFile);
  } catch (const CaseError& e) {
    errors << e.what() << end_line;
    return false;
  }
  return true;
}

int run_solvowb(const std::filesystem::path& folder, std::ostream& console, std::ostream& errors) {
  StreamOut console_lines(console);
  StreamOut error_lines(errors);
  return run_solvowb(folder, console_lines, error_lines);
}

std::unique_ptr<platform::FolderLock> take_folder(const std::filesystem::path& folder,
                                                  TextOut& errors, std::chrono::milliseconds wait) {
  auto lock = std::make_unique<platform::FolderLock>(folder, wait);
  if (lock->state() == platform::FolderLock::State::kBusy) {
    errors << "another calculation is already running in the working folder; try again when "
              "it has finished"
           << end_line;
    return nullptr;
  }
  if (lock->state() == platform::FolderLock::State::kHeld) {
    platform::finish_interrupted_commit(folder);
    platform::remove_stale_temporaries(folder);
  }
  return lock;
}

int write_files(const std::filesystem::path& folder, const std::vector<platform::RunFile>& files,
                TextOut& errors) {
  const platform::RunFilesResult written = platform::write_run_files(folder, files);
  if (written.error == 0) return kExitDone;
  errors << written.name << ": " << std::strerror(written.error) << end_line;
  return kExitNotWritten;
}

int run_solvowb(const std::filesystem::path& folder, TextOut& console, TextOut& errors,
                std::chrono::milliseconds lock_wait) {
  console << "\n\n\n\n\n" << blanks(23) << "LÄSER INDATA FRÅN FIL  ......" << end_line;

  const auto lock = take_folder(folder, errors, lock_wait);
  if (!lock) return kExitRefused;
  Run run;
  if (!read_case(folder, run, errors)) return kExitRefused;

  console << "\n" << blanks(23) << "BERÄKNING PÅGÅR ............." << end_line;
  int32_t flag = 0;
  solvober(run, flag);

  // The report last: it is what says that a run's files are there. None of the files is
  // flushed to the disk: every one is calculated again from the case in a millisecond, while
  // a flush costs tens of them; a power cut can at worst take the last run's results.
  std::vector<platform::RunFile> files;
  std::string report_name;
  std::string_view report;
  for (const OutputFile& file : run.files) {
    if (file.report) {
      report_name = platform::report_file_name(run.prfil);
      report = file.contents;
    } else {
      files.push_back({file.name, file.contents});
    }
  }
  if (!report_name.empty()) files.push_back({report_name, report});
  if (const int status = write_files(folder, files, errors); status != kExitDone) {
    console << "*** FEL VID ÖPPNING AV FIL ***" << end_line;
    return status;
  }

  console << "\n" << blanks(46) << "KLART!" << end_line;
  console << verdict_line(slab_verdict(run)) << end_line;
  return kExitDone;
}

}  // namespace solvo

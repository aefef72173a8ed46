#include "engine.h"

#include <cstring>

#include "analysis.h"
#include "case_input.h"
#include "checks.h"
#include "design.h"
#include "report.h"
#include "verdict.h"
#include "atomic_write.h"
#include "file_names.h"

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
    errors << kCaseFile
           << ": the case file cannot be opened (no such file in the working folder)" << end_line;
    return false;
  }
  if (const char* kind = not_a_case_file(*path)) {
    errors << kCaseFile << ": the case file cannot be read (" << kind << ")" << end_line;
    return false;
  }
  std::string text;
  if (const int error = read_whole_file(*path, text); error != 0) {
    errors << kCaseFile << ": the case file cannot be read (" << std::strerror(error) << ")" << end_line;
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

int run_solvowb(const std::filesystem::path& folder, std::ostream& console,
                std::ostream& errors) {
  StreamOut console_lines(console);
  StreamOut error_lines(errors);
  return run_solvowb(folder, console_lines, error_lines);
}

int run_solvowb(const std::filesystem::path& folder, TextOut& console, TextOut& errors) {
  console << "\n\n\n\n\n" << blanks(23) << "LÄSER INDATA FRÅN FIL  ......" << end_line;

  Run run;
  if (!read_case(folder, run, errors)) return 2;

  console << "\n" << blanks(23) << "BERÄKNING PÅGÅR ............." << end_line;
  int32_t flag = 0;
  solvober(run, flag);

  for (const OutputFile& file : run.files) {
    const std::string name = file.report ? platform::report_file_name(run.prfil) : file.name;
    // The old report stays whole until the new one is complete; the data files of the last
    // run are of no use to anybody once this run writes its own. None of them is flushed to
    // the disk: every file here is calculated again from the case in a millisecond, while a
    // flush costs tens of them, and a power cut can at worst take the last run's results,
    // never leave half a file (the case files the user types are flushed).
    const platform::WriteResult written = platform::write_file_atomic(
        folder, name, file.contents,
        file.report ? platform::OldFile::KeepUntilReplaced : platform::OldFile::RemoveFirst,
        /*flush=*/false);
    if (written.error == 0) continue;
    if (file.report)
      console << "*** FEL VID ÖPPNING AV FIL ***" << end_line;
    else
      errors << name << ": " << std::strerror(written.error) << end_line;
  }

  console << "\n" << blanks(46) << "KLART!" << end_line;
  console << verdict_line(slab_verdict(run)) << end_line;
  return 0;
}

}  // namespace solvo

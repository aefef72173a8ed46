// The design search: every combination of the values that a search plan lets vary
// (slab thickness per group of spans, concrete class, top bar size, curtailment, props during
// casting) is calculated in memory as a run of its own, checked as pages 2 and 6 of its
// report would show it, and priced; the search's report (platform::kSearchReportFile) lists
// the designs that pass, cheapest first (as many as the plan's "listed", with the count of all
// that passed), and the best of those that fail with the check that governs each; beside it
// the same rows as a table for a spreadsheet (platform::kSearchTableFile). Their names are
// longer than any report's name (nine characters and ".RES"), so no case loses its report
// to the search.
//
// Cost per m2 of slab (the spans' length from the first to the last support centre):
//   concrete price of the class (per m3) x concrete volume (m3/m2)
//   + steel price (per kg) x (top bars + bottom bars + the top bars that the crack width
//     over the supports needs beyond them) (kg/m2)
//   + prop price (per m of a line of props) x props in all spans / the spans' length.
// Concrete volume: (thickness - 0.0165 m of rib voids) x length, summed over the spans and
// both cantilevers, divided by the spans' length. Steel: the top bars of the chosen
// curtailment and the bottom bars for fire, as page 2 of the report prints them.
//
// A design passes when the verdict of the run passes (verdict.h): every utilisation of page 2
// and of page 6 (the crack width over the supports
// included) at most 1.00, no span below the least depth, and bars that can be built
// wherever bars are needed.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "console.h"
#include "run_files.h"
#include "run_state.h"
#include "search_plan.h"
#include "verdict.h"

namespace solvo {

// One design to calculate: the case with these values in place.
struct Candidate {
  Span1<kMaxSpans> thickness{};  // every span, m
  int32_t concrete_class = 0;    // 1..9
  int32_t top_bar = 0;           // 1..5
  int32_t top_layout = 0;        // 1 (one length) or 2 (staggered)
  Int1<kMaxSpans> props{};       // temporary props of every span, 0..4
};

struct Outcome {
  Candidate candidate;
  float concrete = 0;   // m3/m2
  float steel_top = 0;  // kg/m2
  float steel_bottom = 0;
  float steel_crack = 0;  // kg/m2 that the spacings the crack width needs would add
  float cost = 0;
  float worst = 0;  // of the governing check (infinity: not a valid design; NaN fails)
  Check check = Check::kSpanMoment;
  int where = 1;        // the span or support of that check
  int32_t spacing = 0;  // the smallest top bar spacing of the design, mm (0: no top bars)
  bool passes = false;
};

// The candidate that the case itself is.
Candidate case_candidate(const Indat& c);

// Every candidate of `plan` for the case of `base` (read by insolvo), in the order in which
// the search's report numbers them: thickness groups outermost (the first group slowest), then
// concrete, bar, curtailment and props.
std::vector<Candidate> candidates(const Indat& c, const SearchPlan& plan);

// Checks and prices a completed calculation (run.utdat filled by dimen, run.checkdat by
// slab_checks).
Outcome assess(const Run& run, const SearchPlan& plan);

// The calculation of one candidate from scratch, as a plain run of the engine would do it
// (the report left out).
Outcome calculate_candidate(const Run& base, const Candidate& cand, const SearchPlan& plan);

// Called with (calculated, total) after each group of candidates; from several threads, but
// never at the same time.
using Progress = std::function<void(int64_t, int64_t)>;

// Calculates every candidate on `threads` threads (at least 1), each with run states of its
// own. Candidates that share thicknesses and concrete class share one analysis, which does
// not depend on the top bars, the curtailment or the props. Returns the outcomes in candidate
// order.
std::vector<Outcome> run_search(const Run& base, const SearchPlan& plan, int threads,
                                const Progress& progress = {});

// The search's two files: the report (Windows-1252, CR LF; every column as wide as its widest
// value and a blank) and the table (semicolon separated, decimal point, UTF-8, CR LF, a header
// row, then one row per listed design: the list "Fallet", "Godkänd" or "Underkänd", and every
// column of the report; a value that is not a number left empty).
struct SearchFiles {
  std::string report;
  std::string table;
};
SearchFiles search_files(const Run& base, const SearchPlan& plan,
                         const std::vector<Outcome>& outcomes);
// The report alone.
std::string search_report(const Run& base, const SearchPlan& plan,
                          const std::vector<Outcome>& outcomes);

// The threads of a search: the processors that the process may run on (its affinity, so that
// taskset and the limits of a container count).
int search_threads();

// The program started as "solvowb --search PLAN": takes the folder's lock, reads ~INDATA~.TMP
// and the plan file `plan_name` in `folder`, searches, prints "k/N" progress lines to
// `console` and writes the search's two files together. Returns 0; 2 for a case or a plan
// that cannot be read or a folder that another calculation holds (one line on `errors`,
// nothing written); 3 when a file cannot be written (one line naming it, neither file left).
int run_solvowb_search(const std::filesystem::path& folder, const std::string& plan_name,
                       TextOut& console, TextOut& errors,
                       std::chrono::milliseconds lock_wait = platform::kLockWait);
int run_solvowb_search(const std::filesystem::path& folder, const std::string& plan_name,
                       std::ostream& console, std::ostream& errors);

}  // namespace solvo

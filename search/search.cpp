#include "search.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <ostream>
#include <thread>

#include "analysis.h"
#include "case_input.h"
#include "checks.h"
#include "comdat.h"
#include "comdat_deck.h"
#include "design.h"
#include "engine.h"
#include "file_names.h"
#include "fortran_io.h"
#include "section.h"

namespace solvo {

namespace {

// Puts the values of a candidate into a case and derives its material values again.
void apply(Run& run, const Candidate& cand) {
  Indat& c = run.indat;
  for (int i = 1; i <= c.n; ++i) c.thickness[i] = cand.thickness[i];
  c.concrete_class = cand.concrete_class;
  c.top_bar = cand.top_bar;
  c.top_layout = cand.top_layout;
  c.props = cand.props;
  berdat(run);
}

// Props of all spans per m2 of the spans: metres of prop lines per m2.
float props_per_m2(const Indat& c) {
  float count = 0, length = 0;
  for (int i = 1; i <= c.n; ++i) {
    count += static_cast<float>(c.props[i]);
    length += c.span[i];
  }
  return length > 0 ? count / length : 0.0f;
}

// Concrete of the spans and cantilevers per m2 of the spans, m3/m2.
float concrete_volume(const Indat& c) {
  const float voids = comdat::kRibVoidDepth;
  float volume = 0, length = 0;
  for (int i = 1; i <= c.n; ++i) {
    volume += (c.thickness[i] - voids) * c.span[i];
    length += c.span[i];
  }
  volume += (c.thickness[1] - voids) * c.cant_left + (c.thickness[c.n] - voids) * c.cant_right;
  return length > 0 ? volume / length : 0.0f;
}

int32_t smallest_spacing(const Indat& c, const Utdat& u) {
  int32_t least = 0;
  for (int j = 1; j <= c.n + 1; ++j) {
    const int32_t s = u.s[j] > 0 ? static_cast<int32_t>(u.s[j]) : 0;
    if (s > 0 && (least == 0 || s < least)) least = s;
  }
  return least;
}

// The mixed-radix digits of the candidate order: groups, concrete, bar, curtailment.
struct Axes {
  std::vector<size_t> sizes;
  size_t per_analysis = 1;  // bars x curtailments: the candidates of one analysis
};

Axes axes(const SearchPlan& plan) {
  Axes a;
  for (const ThicknessGroup& g : plan.groups) a.sizes.push_back(g.thicknesses.size());
  a.sizes.push_back(plan.concrete.size());
  a.sizes.push_back(plan.bars.size());
  a.sizes.push_back(plan.layouts.size());
  a.sizes.push_back(std::max<size_t>(plan.props.size(), 1));
  a.per_analysis = plan.bars.size() * plan.layouts.size() * a.sizes.back();
  return a;
}

Candidate candidate_at(const Indat& c, const SearchPlan& plan, size_t index) {
  const Axes a = axes(plan);
  std::vector<size_t> digit(a.sizes.size());
  for (size_t k = a.sizes.size(); k-- > 0;) {
    digit[k] = index % a.sizes[k];
    index /= a.sizes[k];
  }
  Candidate cand = case_candidate(c);
  for (size_t g = 0; g < plan.groups.size(); ++g)
    for (int i : plan.groups[g].spans) cand.thickness[i] = plan.groups[g].thicknesses[digit[g]];
  const size_t base = plan.groups.size();
  cand.concrete_class = plan.concrete[digit[base]];
  cand.top_bar = plan.bars[digit[base + 1]];
  cand.top_layout = plan.layouts[digit[base + 2]];
  if (!plan.props.empty())
    for (int i = 1; i <= c.n; ++i) cand.props[i] = plan.props[digit[base + 3]];
  return cand;
}

// The candidates of one analysis: the first of them is `first`, all share its thicknesses
// and concrete class. The checks of page 6 do not depend on the top bars or the curtailment
// (only the spacing against cracking does, which passes or fails nothing, and the crack
// width, which the design of each bar size finds): their verdict is found once per number
// of props.
void search_one_analysis(const Run& base, const SearchPlan& plan, size_t first,
                         std::vector<Outcome>& out) {
  Run analysed = base;
  apply(analysed, candidate_at(base.indat, plan, first));
  int32_t flag = 0;
  snikra(analysed, flag);
  analysed.files.clear();
  const size_t props = std::max<size_t>(plan.props.size(), 1);
  std::vector<CheckVerdict> verdicts;
  {
    Run checked = analysed;
    for (size_t p = 0; p < props; ++p) {
      checked.indat.props = candidate_at(base.indat, plan, first + p).props;
      verdicts.push_back(slab_checks(checked, CheckScope::kVerdict));
    }
  }
  size_t index = first;
  for (size_t b = 0; b < plan.bars.size(); ++b) {
    Run designed = analysed;
    apply(designed, candidate_at(base.indat, plan, index));
    dimen(designed);
    for (size_t l = 0; l < plan.layouts.size(); ++l) {
      for (size_t p = 0; p < props; ++p, ++index) {
        designed.indat.top_layout = plan.layouts[l];
        designed.indat.props = candidate_at(base.indat, plan, index).props;
        designed.checkdat.verdict = verdicts[p];
        out[index] = assess(designed, plan);
      }
    }
  }
}

// Reports progress to the caller one call at a time, never backwards.
class ProgressGate {
 public:
  ProgressGate(const Progress& progress, int64_t total) : progress_(progress), total_(total) {}
  void add(int64_t count) {
    const int64_t now = done_.fetch_add(count) + count;
    if (!progress_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (now <= shown_) return;
    shown_ = now;
    progress_(now, total_);
  }

 private:
  const Progress& progress_;
  const int64_t total_;
  std::atomic<int64_t> done_{0};
  std::mutex mutex_;
  int64_t shown_ = 0;
};

// The cells of one design's row, as the search's report and its table give them: Nr, the
// thicknesses of the groups, concrete, bar diameter, curtailment, props, spacing, volume,
// steel top, steel bottom, cost, largest utilisation, the check.
enum Column {
  kNr,
  kThickness,
  kConcrete,
  kDiameter,
  kCurtailment,
  kProps,
  kSpacing,
  kVolume,
  kSteelTop,
  kSteelBottom,
  kCost,
  kWorst,
  kCheck,
  kColumns
};

// A real as the table prints it: `d` decimals; a value too large for that in the free form
// (with an exponent); "-" for a value that is not a number or infinite (the check says why).
std::string number_cell(float v, int d) {
  if (!std::isfinite(v)) return "-";
  std::string s = f_field(v, 48, d);
  if (s.find('*') != std::string::npos) s = free_field(v);
  return s.substr(s.find_first_not_of(' '));
}

struct Row {
  std::string list;  // "Fallet", "Godkänd", "Underkänd"
  std::array<std::string, kColumns> cells;
  std::vector<std::string> thickness;  // one per group
};

Row make_row(const SearchPlan& plan, int32_t nr, const Outcome& o, std::string list) {
  const Candidate& c = o.candidate;
  Row r;
  r.list = std::move(list);
  r.cells[kNr] = std::to_string(nr);
  for (const ThicknessGroup& g : plan.groups)
    r.thickness.push_back(number_cell(c.thickness[g.spans.front()], 3));
  std::string t;
  for (const std::string& part : r.thickness) t += (t.empty() ? "" : "/") + part;
  r.cells[kThickness] = plan.groups.empty() ? "-" : t;
  r.cells[kConcrete] = comdat::kConcrete[static_cast<size_t>(c.concrete_class)].name;
  r.cells[kDiameter] =
      std::to_string(static_cast<int>(comdat::kBar[static_cast<size_t>(c.top_bar)].diameter));
  r.cells[kCurtailment] = c.top_layout == 2 ? "PÅ" : "AV";
  r.cells[kProps] = plan.props.empty() ? "-" : std::to_string(c.props[1]);
  r.cells[kSpacing] = std::to_string(o.spacing);
  r.cells[kVolume] = number_cell(o.concrete, 4);
  r.cells[kSteelTop] = number_cell(o.steel_top, 2);
  r.cells[kSteelBottom] = number_cell(o.steel_bottom, 2);
  r.cells[kCost] = number_cell(o.cost, 2);
  r.cells[kWorst] = number_cell(o.worst, 3);
  r.cells[kCheck] = check_name(o.check, o.where);
  return r;
}

// Characters of UTF-8 text.
int letters(std::string_view utf8) {
  int n = 0;
  for (const char ch : utf8) n += (static_cast<unsigned char>(ch) & 0xC0) != 0x80 ? 1 : 0;
  return n;
}

// The designs that the files list: the case itself, the cheapest passing designs and the
// rejected ones nearest to passing.
struct Listing {
  std::vector<Row> rows;  // the case first, then the passing and the rejected designs
  size_t passing_listed = 0, rejected_listed = 0;
  int64_t passing = 0, total = 0;
};

Listing make_listing(const Run& base, const SearchPlan& plan,
                     const std::vector<Outcome>& outcomes) {
  std::vector<const Outcome*> pass, fail;
  for (const Outcome& o : outcomes) (o.passes ? pass : fail).push_back(&o);
  std::stable_sort(pass.begin(), pass.end(),
                   [](const Outcome* a, const Outcome* b) { return a->cost < b->cost; });
  std::stable_sort(fail.begin(), fail.end(), [](const Outcome* a, const Outcome* b) {
    return a->worst < b->worst || (a->worst == b->worst && a->cost < b->cost);
  });
  Listing l;
  l.passing = static_cast<int64_t>(pass.size());
  l.total = static_cast<int64_t>(outcomes.size());
  l.passing_listed = std::min(pass.size(), static_cast<size_t>(plan.passing_listed));
  l.rejected_listed = std::min(fail.size(), static_cast<size_t>(plan.rejected_listed));
  const Outcome own = calculate_candidate(base, case_candidate(base.indat), plan);
  l.rows.push_back(make_row(plan, 0, own, "Fallet"));
  for (size_t k = 0; k < l.passing_listed; ++k)
    l.rows.push_back(make_row(plan, static_cast<int32_t>(k + 1), *pass[k], "Godkänd"));
  for (size_t k = 0; k < l.rejected_listed; ++k)
    l.rows.push_back(make_row(plan, static_cast<int32_t>(k + 1), *fail[k], "Underkänd"));
  return l;
}

// The search's report, line by line. Every column is as wide as its widest value and a
// blank, and never narrower than its heading, so that a value never runs into the next one.
class SearchReport {
 public:
  SearchReport(const Run& base, const SearchPlan& plan, const Listing& listing)
      : base_(base), plan_(plan), listing_(listing) {
    constexpr std::array<int, kColumns> kLeast = {5, 18, 7, 5, 4, 6, 5, 8, 7, 7, 8, 7, 0};
    width_ = kLeast;
    for (const Row& r : listing_.rows)
      for (int k = 0; k < kCheck; ++k)
        width_[k] = std::max(width_[k], letters(r.cells[static_cast<size_t>(k)]) + 1);
  }

  std::string write() {
    heading();
    cost_rule();
    counts();
    const auto first = listing_.rows.begin() + 1;
    const auto rejected = first + static_cast<std::ptrdiff_t>(listing_.passing_listed);
    table("GODKÄNDA, BILLIGAST FÖRST", first, rejected);
    table("UNDERKÄNDA, NÄRMAST GODKÄND FÖRST", rejected, listing_.rows.end());
    w_.a("^").endl();
    return w_.take();
  }

 private:
  void heading() {
    w_.a("SÖKNING AV LÖSNING").t(56).a("INDATAFIL : ").raw(base_.prfil, 8).endl();
    w_.raw(base_.rubrad, 40).endl();
    w_.endl();
  }

  void cost_rule() {
    w_.a("KOSTNAD = BETONGPRIS x BETONGVOLYM + STÅLPRIS x STÅLVIKT, per m2 bjälklag").endl();
    w_.a("  Betongvolym (m3/m2): (tjocklek - 0.0165 m profilvolym) x längd, summerat över").endl();
    w_.a("  fack och konsoler, delat med fackens längd").endl();
    w_.a("  Stålvikt (kg/m2): armering över stöd (vald avkortning) + armering i fält").endl();
    w_.a("  (brand), som sid 2 i resultatet, + armering som sprickbredden över stöd").endl();
    w_.a("  kräver utöver den (sid 6)").endl();
    w_.a("  Betongpris per m3:");
    for (int32_t c = 1; c <= comdat::kConcreteClasses; ++c) {
      if (c == 4 || c == 7) w_.endl().x(19);
      w_.x(1).a(comdat::kConcrete[static_cast<size_t>(c)].name).x(1);
      w_.a(number_cell(plan_.concrete_price[static_cast<size_t>(c)], 2), 9);
    }
    w_.endl();
    w_.a("  Stålpris per kg:").a(number_cell(plan_.steel_price, 2), 9).endl();
    w_.a("  Stämp: pris per m stämplinje")
        .a(number_cell(plan_.prop_price, 2), 9)
        .a(" x antal stämplinjer / fackens längd")
        .endl();
    w_.a("GODKÄND: alla nyttjandegrader på sid 2 och 6 <= 1.00, armering med lösning och").endl();
    w_.a("  tjocklek minst 0.085 m i alla fack").endl();
    w_.endl();
  }

  void counts() {
    w_.a("Tjockleksgrupper (m):");
    if (plan_.groups.empty()) w_.a(" inga, fallets tjocklekar");
    w_.endl();
    for (size_t g = 0; g < plan_.groups.size(); ++g) {
      w_.a("  Grupp").i(static_cast<int32_t>(g + 1), 3).a(": fack");
      for (int i : plan_.groups[g].spans) w_.i(i, 3);
      w_.endl();
    }
    w_.a("Prövade:").i(static_cast<int32_t>(listing_.total), 8);
    w_.a("   Godkända:").i(static_cast<int32_t>(listing_.passing), 8);
    w_.a("   Underkända:").i(static_cast<int32_t>(listing_.total - listing_.passing), 8).endl();
    if (listing_.passing > static_cast<int64_t>(listing_.passing_listed))
      w_.a("Listade: de")
          .i(static_cast<int32_t>(listing_.passing_listed), 8)
          .a(" billigaste av")
          .i(static_cast<int32_t>(listing_.passing), 8)
          .a(" godkända (planens \"listed\")")
          .endl();
    w_.a("Fallet självt:").endl();
    column_heads();
    row(listing_.rows.front());
    w_.endl();
  }

  void cell(int k, std::string_view text) {
    const int pad = width_[k] - letters(text);
    if (k == kThickness) {  // left-aligned after one blank
      w_.x(1).a(text).x(std::max(pad - 1, 0));
    } else {
      w_.x(std::max(pad, 1)).a(text);
    }
  }

  void column_heads() {
    static constexpr std::array<const char*, kColumns> kHead = {
        "Nr",     "Tjocklek (m)", "Betong", "Diam",    "Avk",    "Stämp",   "S",
        "Betong", "Stål",         "Stål",   "Kostnad", "Max.ny", "Kontroll"};
    static constexpr std::array<const char*, kColumns> kUnit = {
        "", "", "", "", "", "", "mm", "m3/m2", "överk.", "fält", "per m2", "", ""};
    for (int k = 0; k < kColumns; ++k) cell(k, kHead[static_cast<size_t>(k)]);
    w_.endl();
    for (int k = 0; k < kCheck; ++k)
      if (*kUnit[static_cast<size_t>(k)] != '\0')
        cell(k, kUnit[static_cast<size_t>(k)]);
      else
        w_.x(width_[k]);
    w_.endl();
  }

  void table(std::string_view title, std::vector<Row>::const_iterator from,
             std::vector<Row>::const_iterator to) {
    w_.a(title).endl();
    column_heads();
    for (auto r = from; r != to; ++r) row(*r);
    w_.endl();
  }

  void row(const Row& r) {
    for (int k = 0; k < kColumns; ++k) cell(k, r.cells[static_cast<size_t>(k)]);
    w_.endl();
  }

  const Run& base_;
  const SearchPlan& plan_;
  const Listing& listing_;
  std::array<int, kColumns> width_{};
  FortranWriter w_;
};

// The search's table: semicolons, decimal points, UTF-8, CR LF, a header row, then the rows
// of the report with the list each belongs to. A value that is not a number is left empty.
std::string search_table(const SearchPlan& plan, const Listing& listing) {
  std::string out = "Lista;Nr";
  for (const ThicknessGroup& g : plan.groups) {
    std::string spans;
    for (size_t k = 0; k < g.spans.size(); ++k) {
      const bool run_on = k > 0 && g.spans[k] == g.spans[k - 1] + 1;
      const bool runs_on = k + 1 < g.spans.size() && g.spans[k + 1] == g.spans[k] + 1;
      if (run_on && runs_on) continue;
      spans += (k == 0 ? "" : run_on ? "-" : ",") + std::to_string(g.spans[k]);
    }
    out += ";Tjocklek fack " + spans + " (m)";
  }
  out +=
      ";Betong;Diameter (mm);Avkortning;Stämp;S (mm);Betongvolym (m3/m2);"
      "Stål överkant (kg/m2);Stål fält (kg/m2);Kostnad (per m2);Max. nyttjandegrad;"
      "Kontroll\r\n";
  for (const Row& r : listing.rows) {
    out += r.list + ";" + r.cells[kNr];
    for (const std::string& t : r.thickness) out += ";" + t;
    for (int k = kConcrete; k < kColumns; ++k) {
      const std::string& c = r.cells[static_cast<size_t>(k)];
      out += ";" + (c == "-" ? std::string() : c);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace

Candidate case_candidate(const Indat& c) {
  Candidate cand;
  cand.thickness = c.thickness;
  cand.concrete_class = c.concrete_class;
  cand.top_bar = c.top_bar;
  cand.top_layout = c.top_layout;
  cand.props = c.props;
  return cand;
}

std::vector<Candidate> candidates(const Indat& c, const SearchPlan& plan) {
  std::vector<Candidate> all;
  const auto total = static_cast<size_t>(plan.candidates());
  all.reserve(total);
  for (size_t k = 0; k < total; ++k) all.push_back(candidate_at(c, plan, k));
  return all;
}

Outcome assess(const Run& run, const SearchPlan& plan) {
  const Indat& c = run.indat;
  const Utdat& u = run.utdat;
  Outcome o;
  o.candidate = case_candidate(c);
  o.concrete = concrete_volume(c);
  o.steel_top = c.top_layout == 2 ? u.wb : u.wa;
  o.steel_bottom = u.wf;
  o.steel_crack = c.top_layout == 2 ? run.crack.extra_wb : run.crack.extra_wa;
  o.cost = plan.concrete_price[static_cast<size_t>(c.concrete_class)] * o.concrete +
           plan.steel_price * (o.steel_top + o.steel_bottom + o.steel_crack) +
           plan.prop_price * props_per_m2(c);
  const Verdict v = slab_verdict(run);
  o.worst = v.governing.utilisation;
  o.check = v.governing.check;
  o.where = v.governing.where;
  o.spacing = smallest_spacing(c, u);
  o.passes = v.passes;
  return o;
}

Outcome calculate_candidate(const Run& base, const Candidate& cand, const SearchPlan& plan) {
  Run run = base;
  apply(run, cand);
  int32_t flag = 0;
  snikra(run, flag);
  dimen(run);
  slab_checks(run);
  return assess(run, plan);
}

std::vector<Outcome> run_search(const Run& base, const SearchPlan& plan, int threads,
                                const Progress& progress) {
  const auto total = static_cast<size_t>(plan.candidates());
  std::vector<Outcome> out(total);
  const size_t per = axes(plan).per_analysis;
  const size_t analyses = per > 0 ? total / per : 0;
  ProgressGate gate(progress, static_cast<int64_t>(total));
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t a = next++; a < analyses; a = next++) {
      search_one_analysis(base, plan, a * per, out);
      gate.add(static_cast<int64_t>(per));
    }
  };
  const size_t count = std::clamp<size_t>(static_cast<size_t>(std::max(threads, 1)), 1,
                                          std::max<size_t>(analyses, 1));
  std::vector<std::thread> pool;
  for (size_t k = 1; k < count; ++k) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
  return out;
}

SearchFiles search_files(const Run& base, const SearchPlan& plan,
                         const std::vector<Outcome>& outcomes) {
  const Listing listing = make_listing(base, plan, outcomes);
  return {SearchReport(base, plan, listing).write(), search_table(plan, listing)};
}

std::string search_report(const Run& base, const SearchPlan& plan,
                          const std::vector<Outcome>& outcomes) {
  return search_files(base, plan, outcomes).report;
}

int search_threads() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

int run_solvowb_search(const std::filesystem::path& folder, const std::string& plan_name,
                       std::ostream& console, std::ostream& errors) {
  StreamOut console_lines(console);
  StreamOut error_lines(errors);
  return run_solvowb_search(folder, plan_name, console_lines, error_lines);
}

int run_solvowb_search(const std::filesystem::path& folder, const std::string& plan_name,
                       TextOut& console, TextOut& errors, std::chrono::milliseconds lock_wait) {
  if (plan_name.empty() || plan_name.find_first_of("/\\") != std::string::npos) {
    errors << plan_name << ": the search plan must be a file in the working folder" << end_line;
    return kExitRefused;
  }
  const auto lock = take_folder(folder, errors, lock_wait);
  if (!lock) return kExitRefused;
  Run base;
  if (!read_case(folder, base, errors)) return kExitRefused;
  auto path = platform::find_existing(folder, plan_name);
  std::string text;
  if (path && read_whole_file(*path, text) != 0) path.reset();
  if (!path) {
    errors << plan_name << ": the search plan cannot be read (no such file in the working folder)"
           << end_line;
    return kExitRefused;
  }
  SearchPlan plan;
  try {
    plan = read_search_plan(text, plan_name, base.indat);
  } catch (const CaseError& e) {
    errors << e.what() << end_line;
    return kExitRefused;
  }

  console << "0/" << plan.candidates() << end_line;
  const std::vector<Outcome> outcomes = run_search(
      base, plan, search_threads(),
      [&console](int64_t done, int64_t total) { console << done << "/" << total << end_line; });
  const SearchFiles files = search_files(base, plan, outcomes);
  return write_files(
      folder,
      {{platform::kSearchTableFile, files.table}, {platform::kSearchReportFile, files.report}},
      errors);
}

}  // namespace solvo

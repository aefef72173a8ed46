// No design that looks valid and is not: the least slab depth, the top bar spacing within
// what can be built (at most min(2h, 250 mm), at least the diameter plus a clear distance of
// the diameter and 20 mm), the bottom bars for fire one to a rib at most (150 mm), supports
// and spans without a solution named on pages 2 and 5 and credited no area, and the fire
// class REI 120 that is designed as REI 90.
//
// Unless a test says otherwise: market 1, C35/45 (fcd = 23333.3, fck 35 MPa, CRd,c = 0.12),
// top bars grade 500 (fyd = 434782.6) of 10 mm (78.5 mm2, 0.664 kg/m) with 15 mm cover, so
// a = 0.020 m. The required areas were worked out by exact equilibrium of the compression zone
// in the ribs, solved by bisection in double precision (not by the engine's damped
// iteration); the values stand at each test.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include "analysis.h"
#include "case_input.h"
#include "checks.h"
#include "comdat.h"
#include "design.h"
#include "engine.h"
#include "fire.h"
#include "reference_case.h"
#include "report.h"
#include "search.h"
#include "test_files.h"
#include "verdict.h"

namespace solvo {
namespace {

constexpr int kRow = 3;  // the default load-set selector: both expressions

Run slab(int n, float span, float thickness) {
  Run run;
  Indat& c = run.indat;
  c.n = n;
  for (int i = 1; i <= n; ++i) {
    c.span[i] = span;
    c.thickness[i] = thickness;
  }
  for (int j = 1; j <= n + 1; ++j) c.support_width[j] = 0.1f;
  berdat(run);
  for (int i = 1; i <= n; ++i) run.dat.clear_span[i] = span - 0.1f;
  return run;
}

// The report of a completed run, with a fixed clock; cp1252 bytes, CR LF.
std::string report_of(Run& run) {
  std::tm now{};
  now.tm_year = 124;
  now.tm_mon = 2;
  now.tm_mday = 5;
  utskr(run, now);
  return run.files.back().contents;
}

// The lines of page `page` (1..6) of a report.
std::vector<std::string> page_lines(const std::string& report, int page) {
  std::vector<std::string> lines;
  std::istringstream in(report);
  int at = 1;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "^") {
      ++at;
      continue;
    }
    if (at == page) lines.push_back(line);
  }
  return lines;
}

bool has_line(const std::vector<std::string>& lines, const std::string& want) {
  for (const std::string& l : lines)
    if (l == want) return true;
  return false;
}

// ---- Largest and least spacing over a support ---------------------------------------------

// The rule's values: whole millimetres of 2h, at most 250; the diameter plus the larger of
// the diameter and 20 mm.
TEST(SpacingLimits, FollowTheSlabAndTheBar) {
  const std::pair<float, int32_t> most[] = {{0.085f, 170},  {0.10f, 200},  {0.12f, 240},
                                            {0.1245f, 249}, {0.125f, 250}, {0.30f, 250}};
  for (const auto& [h, want] : most) EXPECT_EQ(most_top_spacing(h), want) << h;
  const std::pair<float, int32_t> least[] = {{6, 26},  {8, 28},  {10, 30},
                                             {12, 32}, {16, 36}, {25, 50}};
  for (const auto& [dia, want] : least) EXPECT_EQ(least_top_spacing(dia), want) << dia;
}

// A small moment, 2 kNm/m, over the middle support of two spans: the bars need little area.
//   h = 0.10, d = 0.08: As = 5.865E-5 m2/m, S = 78.5/0.05865 = 1338 mm > 2h = 200 mm;
//   h = 0.20, d = 0.18: As = 2.565E-5 m2/m, S = 3059 mm > 250 mm.
// The spacing becomes the limit, the area credited that of the bars at the limit, 78.5/200 =
// 0.3925 and 78.5/250 = 0.314 mm2/mm; the required area is kept as designed.
TEST(DesignSupports, SpacingAboveTheLargestTakesTheLimit) {
  struct Case {
    float h;
    float as;      // required, m2/m
    float s;       // mm
    float credit;  // m2/m
  };
  const Case cases[] = {{0.10f, 5.865E-5f, 200, 3.925E-4f}, {0.20f, 2.565E-5f, 250, 3.14E-4f}};
  for (const Case& k : cases) {
    solvo::Run run = slab(2, 4.1f, k.h);
    run.arbvar.ms_min[kRow][2] = -2.0f;
    design_supports(run);
    const Utdat& u = run.utdat;
    EXPECT_NEAR(u.as[2], k.as, 0.002f * k.as) << k.h;
    EXPECT_EQ(u.s[2], k.s) << k.h;
    EXPECT_NEAR(u.as_credit[2], k.credit, 1E-9f) << k.h;
    EXPECT_EQ(u.top_solution[2], BarSolution::kSolved) << k.h;
  }
}

// The credited area carries into the shear check of both spans at the middle support
// (h = 0.10, 2 kNm/m as above): d = 0.085, rho = 0.0003925/0.085 = 0.0046176, k = 2,
// v = 0.24 (100 0.0046176 35)^(1/3) = 0.24 16.1618^(1/3) = 0.60679 MPa above
// vmin = 0.035 2^1.5 35^0.5 = 0.58566, VR = 0.60679 85 = 51.577 kN/m. With the required area
// alone it would be vmin 85 = 49.781 (utilisation 1.036).
// The weight over the supports follows from the spacing: 0.664 L1/200 over 8.2 m of spans.
TEST(DesignSupports, TheLimitedSpacingIsWhatTheChecksAndWeightsUse) {
  solvo::Run run = slab(2, 4.1f, 0.10f);
  run.arbvar.ms_min[kRow][2] = -2.0f;
  run.arbvar.vr_max[kRow][1] = 51.577f;
  run.arbvar.vl_max[kRow][2] = 51.577f;
  run.arbvar.zr[kRow][1] = 0.5f;
  run.arbvar.zl[kRow][2] = 0.5f;
  design_supports(run);
  design_spans(run);
  top_bar_lengths(run);
  const Utdat& u = run.utdat;
  EXPECT_NEAR(u.uvr[1], 1.0f, 0.001f);
  EXPECT_NEAR(u.uvl[2], 1.0f, 0.001f);
  // L1 = (0.5 + 0.5 + 0.08 + 0.08) 1000 = 1160, within the truncation of the float sum.
  EXPECT_NEAR(u.l1[2], 1160, 1);
  EXPECT_NEAR(u.wa, 0.664f * static_cast<float>(u.l1[2]) / 200.0f / 8.2f, 1E-5f);
}

// A large moment over a 0.30 m slab (cover 15 mm):
//   380 kNm/m with Ø12 (113 mm2, d = 0.279): As = 4002.6 mm2/m, S = 113/4.0026 = 28.2 -> 28
//   < 12 + 20 = 32 mm; with Ø16 (201 mm2, d = 0.277): As = 4049.5, S = 49.6 >= 36: Ø16 helps.
//   500 kNm/m with Ø16: As = 5888.6 (the bars yield, strain 0.0031), S = 34.1 -> 34 < 36, and
//   there is no larger bar: the area does not fit one layer.
// Either way the support has no solution: spacing 0, no area credited.
TEST(DesignSupports, BarsCloserThanBuildableHaveNoSolution) {
  struct Case {
    int32_t bar;
    float moment;
    BarSolution why;
    int32_t needed, hint;
  };
  const Case cases[] = {{4, 380.0f, BarSolution::kTooClose, 28, 5},
                        {5, 500.0f, BarSolution::kAboveOneLayer, 34, 0}};
  for (const Case& k : cases) {
    solvo::Run run = slab(2, 6.0f, 0.30f);
    run.indat.top_bar = k.bar;
    berdat(run);
    run.arbvar.ms_min[kRow][2] = -k.moment;
    design_supports(run);
    const Utdat& u = run.utdat;
    EXPECT_EQ(u.top_solution[2], k.why) << k.moment;
    EXPECT_EQ(u.top_needed[2], k.needed) << k.moment;
    EXPECT_EQ(u.top_hint[2], k.hint) << k.moment;
    EXPECT_EQ(u.s[2], 0.0f) << k.moment;
    EXPECT_EQ(u.as_credit[2], 0.0f) << k.moment;
    EXPECT_GT(u.as[2], 0.004f) << k.moment;  // the area designed stays for the record
  }
}

// ---- A support without a solution ---------------------------------------------------------

// 300 kNm/m over a 0.10 m slab: no compression depth carries it (no equilibrium). The
// support gets spacing 0 and no area: the shear at the middle support has the resistance of
// the concrete alone, vmin d = 0.58566 85 = 49.781 kN/m (not the 10^6 mm2 of the
// section routine's answer), and in fire the support has no capacity. Pages 2 and 5 say so,
// and the verdict fails with this support named.
TEST(SupportWithoutSolution, IsCreditedNothingAndSaysSo) {
  solvo::Run run = slab(2, 4.1f, 0.10f);
  run.arbvar.ms_min[kRow][2] = -300.0f;
  run.arbvar.vr_max[kRow][1] = 100.0f;
  run.arbvar.vl_max[kRow][2] = 100.0f;
  design_supports(run);
  design_spans(run);
  top_bar_lengths(run);
  fire_parameters(run);
  fire_support_capacities(run);
  const Utdat& u = run.utdat;
  EXPECT_EQ(u.top_solution[2], BarSolution::kNoEquilibrium);
  EXPECT_EQ(u.s[2], 0.0f);
  EXPECT_EQ(u.as_credit[2], 0.0f);
  EXPECT_NEAR(u.uvr[1], 100.0f / 49.781f, 0.002f);
  EXPECT_NEAR(u.uvl[2], 100.0f / 49.781f, 0.002f);
  EXPECT_EQ(u.mr_fire[2], 0.0f);

  const std::string report = report_of(run);
  const std::string note =
      "     OBS! St\xf6"
      "d 2 saknar l\xf6sning: ingen j\xe4mvikt, snittet b\xe4r inte momentet";
  EXPECT_TRUE(has_line(page_lines(report, 2), note));
  const std::vector<std::string> page5 = page_lines(report, 5);
  EXPECT_TRUE(has_line(page5, note));
  EXPECT_FALSE(has_line(page_lines(report, 3), note));
  for (const std::string& l : page5) EXPECT_LE(l.size(), 80u) << l;

  const Verdict v = slab_verdict(run);
  EXPECT_FALSE(v.passes);
  EXPECT_EQ(check_name(v.governing.check, v.governing.where), "Stödarmering saknar lösning stöd 2");
}

// The notes of bars too close name the bar size and the one that helps (case of the test
// above: Ø12 needs 28 mm, Ø16 gives a solution).
TEST(SupportWithoutSolution, TooCloseNamesTheLargerBar) {
  solvo::Run run = slab(2, 6.0f, 0.30f);
  run.indat.top_bar = 4;
  berdat(run);
  run.arbvar.ms_min[kRow][2] = -380.0f;
  design_supports(run);
  const std::vector<std::string> page2 = page_lines(report_of(run), 2);
  EXPECT_TRUE(has_line(page2,
                       "     OBS! St\xf6"
                       "d 2 saknar l\xf6sning: \xd8"
                       "12 ger s 28 < 32 mm; "
                       "\xd8"
                       "16 ger l\xf6sning"));
}

// One bar runs over supports 2 and 3 of a merged pair: without a solution at support 3, the
// bar has none at support 2 either, which says so and is credited nothing.
TEST(SupportWithoutSolution, MergedPartnerHasNoneEither) {
  solvo::Run run = slab(3, 4.1f, 0.10f);
  run.arbvar.merge[kRow][3] = 1;
  run.arbvar.ms_min[kRow][2] = -2.0f;
  run.arbvar.ms_min[kRow][3] = -300.0f;
  design_supports(run);
  const Utdat& u = run.utdat;
  EXPECT_EQ(u.top_solution[3], BarSolution::kNoEquilibrium);
  EXPECT_EQ(u.top_solution[2], BarSolution::kPairPartner);
  EXPECT_EQ(u.as_credit[2], 0.0f);
  EXPECT_EQ(u.s[2], 0.0f);
  EXPECT_TRUE(has_line(page_lines(report_of(run), 5),
                       "     OBS! St\xf6"
                       "d 2 saknar l\xf6sning: samma st\xe5ng som st\xf6"
                       "d 3"));
}

// ---- Bottom bars for fire ---------------------------------------------------------------------

// REI 60, 0.14 m slab, bars 42 mm up, fire span moment 15 kNm/m: Ab = 2.9978E-4 m2/m (worked
// in the fire design's tests). Ø6 (28.3 mm2) needs 28.3/0.29978 = 94.4 -> 94 mm: more than
// one bar to a 150 mm rib, no solution, but Ø8 (50.3 mm2) gives 167 mm. The bar length stays
// (0.1 + 4.0 + 0.1 m), the weight leaves the span out.
TEST(BottomBars, MoreThanOneBarToARibHasNoSolution) {
  solvo::Run run = slab(1, 4.1f, 0.14f);
  run.indat.fire_minutes = 60;
  run.indat.bot_bar = 1;
  berdat(run);
  run.dat.clear_span[1] = 4.0f;
  fire_parameters(run);
  run.arbvar.m_span_max[kFireRow][1] = 15.0f;
  bottom_bars(run);
  const Utdat& u = run.utdat;
  EXPECT_EQ(u.bottom_solution[1], BarSolution::kTooClose);
  EXPECT_EQ(u.bottom_needed[1], 94);
  EXPECT_EQ(u.bottom_hint[1], 2);
  EXPECT_EQ(u.sb[1], 0);
  EXPECT_EQ(u.lb[1], 4200);
  EXPECT_EQ(u.wf, 0.0f);
  const std::string note =
      "     OBS! F\xe4lt 1 (brand) saknar l\xf6sning: \xd8"
      "6 ger s 94 < 150 mm; \xd8"
      "8 ger l\xf6sning";
  const std::string report = report_of(run);
  EXPECT_TRUE(has_line(page_lines(report, 2), note));
  EXPECT_TRUE(has_line(page_lines(report, 5), note));
  EXPECT_FALSE(slab_verdict(run).passes);

  run.indat.bot_bar = 2;  // Ø8: 167 mm, one bar to a rib
  berdat(run);
  bottom_bars(run);
  EXPECT_EQ(run.utdat.bottom_solution[1], BarSolution::kSolved);
  EXPECT_EQ(run.utdat.sb[1], 167);
}

// ---- Least slab depth ------------------------------------------------------------------------

// A whole run of one 3.0 m span: 0.080 m is below 80 mm with 40 mm over the 45 mm ribs
// (0.085 m); 0.085 m itself is not.
TEST(LeastDepth, AThinnerSpanFailsAndSaysSo) {
  for (float h : {0.08f, 0.085f}) {
    solvo::Run run = slab(1, 3.0f, h);
    run.indat.imposed_load[1] = 2.0f;
    int32_t flag = 0;
    solvober(run, flag);
    const std::vector<std::string> page2 = page_lines(run.files.back().contents, 2);
    const bool thin = h < 0.0849f;
    EXPECT_EQ(has_line(page2,
                       "     OBS! Fack 1: tjocklek 0.080 m, minst 0.085 m (80 mm, 40 mm \xf6ver "
                       "profilen)"),
              thin)
        << h;
    const Verdict v = slab_verdict(run);
    if (thin) {
      EXPECT_FALSE(v.passes);
      EXPECT_EQ(v.governing.check, Check::kLeastDepth);
      EXPECT_EQ(v.governing.where, 1);
    } else {
      for (const VerdictItem& f : v.failing) EXPECT_NE(f.check, Check::kLeastDepth);
    }
  }
}

// A search whose thicknesses start below the least depth finds those designs failing with
// that check governing.
TEST(LeastDepth, TheSearchFindsThinDesignsFailing) {
  solvo::Run base = slab(2, 3.0f, 0.12f);
  for (int i = 1; i <= 2; ++i) base.indat.imposed_load[i] = 2.0f;
  const SearchPlan plan = read_search_plan("thickness 0.06 0.10 0.01\n", "PLAN", base.indat);
  const std::vector<Outcome> out = run_search(base, plan, 1);
  ASSERT_EQ(out.size(), 5u);
  for (const Outcome& o : out) {
    const float h = o.candidate.thickness[1];
    if (h < kLeastSlabDepth) {
      EXPECT_FALSE(o.passes) << h;
      EXPECT_EQ(o.check, Check::kLeastDepth) << h;
    } else {
      EXPECT_NE(o.check, Check::kLeastDepth) << h;
    }
  }
}

// ---- Fire class REI 120 ------------------------------------------------------------------------

// The class REI 120 is designed as REI 90: "Brandklass" prints what was designed and page 1
// says so; REI 90 asked for itself gets no such line.
TEST(FireClass, Rei120IsDesignedAsRei90AndPageOneSaysSo) {
  for (int32_t option : {3, 4}) {
    solvo::Run run = slab(1, 3.0f, 0.14f);
    run.indat.fire_minutes = 90;
    run.indat.fire_option = option;
    int32_t flag = 0;
    solvober(run, flag);
    const std::vector<std::string> page1 = page_lines(run.files.back().contents, 1);
    size_t at = 0;
    while (at < page1.size() && page1[at].rfind("     Brandklass :", 0) != 0) ++at;
    ASSERT_LT(at + 1, page1.size());
    EXPECT_EQ(page1[at], "     Brandklass :" + std::string(28, ' ') + "REI90");
    EXPECT_EQ(page1[at + 1] == "     OBS! REI 120 dimensioneras inte; REI 90 redovisas",
              option == 4)
        << option;
  }
}

// The same read from a case file: line 25 holds the fire option (KONSOL has 3, REI 90).
TEST(FireClass, OptionFourOfTheCaseFileGetsTheLine) {
  std::string text = testing::slurp(SOLVO_DATA "/samples/KONSOL.IND");
  size_t at = 0;
  for (int line = 1; line < 25; ++line) at = text.find("\r\n", at) + 2;
  ASSERT_EQ(text.substr(at, 3), "3\r\n");
  text[at] = '4';
  solvo::Run run;
  calculate(run, text);
  EXPECT_EQ(run.indat.fire_minutes, 90);
  EXPECT_TRUE(has_line(page_lines(run.files.back().contents, 1),
                       "     OBS! REI 120 dimensioneras inte; REI 90 redovisas"));
}

// ---- Generated slabs
// -------------------------------------------------------------------------------

// The numbers of a report line, NaN for a field that is not one.
std::vector<double> numbers(const std::string& line) {
  std::vector<double> v;
  std::istringstream in(line);
  for (std::string f; in >> f;) {
    char* end = nullptr;
    const double x = std::strtod(f.c_str(), &end);
    v.push_back(*end == '\0' ? x : NAN);
  }
  return v;
}

bool has_prefix(const std::vector<std::string>& lines, const std::string& prefix) {
  for (const std::string& l : lines)
    if (l.rfind(prefix, 0) == 0) return true;
  return false;
}

struct Tally {
  int limited = 0, no_solution = 0, bottom_no_solution = 0, supports = 0;
  std::array<int, 6> top_why{}, bottom_why{};  // by BarSolution
};

// Page 5 of one generated case: every support spacing printed is 0 or within the limits of
// its bar and slab, every bottom spacing 0 or one bar to a rib at most; where a support or span
// that needs bars prints 0, an "OBS!" line names it.
void check_page5(const Run& run, const std::string& name, Tally& tally) {
  const Indat& c = run.indat;
  const Utdat& u = run.utdat;
  const std::vector<std::string> page = page_lines(run.files.back().contents, 5);
  size_t head = 0;
  while (head < page.size() && page[head].rfind("     St\xf6"
                                                "d     Diam",
                                                0) != 0)
    ++head;
  ASSERT_LT(head + static_cast<size_t>(c.n) + 1, page.size()) << name;
  const int32_t least = least_top_spacing(run.matdat.dia_top);
  for (int j = 1; j <= c.n + 1; ++j) {
    const std::vector<double> row = numbers(page[head + static_cast<size_t>(j)]);
    ASSERT_GE(row.size(), 3u) << name;
    ASSERT_EQ(row[0], j) << name;
    const double s = row[2];
    const float h = j == 1         ? c.thickness[1]
                    : j == c.n + 1 ? c.thickness[c.n]
                                   : std::fmin(c.thickness[j - 1], c.thickness[j]);
    const std::string note =
        "     OBS! St\xf6"
        "d " +
        std::to_string(j) + " saknar l\xf6sning: ";
    const bool named = has_prefix(page, note);
    ++tally.supports;
    if (s > 0) {
      EXPECT_GE(s, least) << name << " support " << j;
      EXPECT_LE(s, std::fmin(std::floor(2000.0 * h + 1e-3), 250.0)) << name << " support " << j;
      EXPECT_FALSE(named) << name << " support " << j;
      if (s == most_top_spacing(h)) ++tally.limited;
    } else if (u.as[j] > 0) {  // bars needed, none printed
      EXPECT_TRUE(named) << name << " support " << j;
      EXPECT_EQ(u.as_credit[j], 0.0f) << name << " support " << j;
      EXPECT_EQ(u.mr_fire[j], 0.0f) << name << " support " << j;
      ++tally.no_solution;
    }
    ++tally.top_why[static_cast<size_t>(u.top_solution[static_cast<size_t>(j)])];
  }
  size_t spans = head;
  while (spans < page.size() && page[spans].rfind("     F\xe4lt     Diam", 0) != 0) ++spans;
  ASSERT_LT(spans + static_cast<size_t>(c.n), page.size()) << name;
  for (int i = 1; i <= c.n; ++i) {
    const std::vector<double> row = numbers(page[spans + static_cast<size_t>(i)]);
    ASSERT_EQ(row.size(), 4u) << name;
    const bool named =
        has_prefix(page, "     OBS! F\xe4lt " + std::to_string(i) + " (brand) saknar l\xf6sning: ");
    if (row[2] > 0) {
      EXPECT_GE(row[2], kLeastBottomSpacing) << name << " span " << i;
    }
    EXPECT_EQ(named, row[2] == 0 && row[3] > 0) << name << " span " << i;
    if (named) ++tally.bottom_no_solution;
    ++tally.bottom_why[static_cast<size_t>(u.bottom_solution[static_cast<size_t>(i)])];
  }
}

// A thousand generated slabs of every market: no spacing outside the limits without a line
// that names the support, and a verdict that fails wherever such a line stands.
TEST(GeneratedSlabs, NoSpacingOutsideTheLimitsWithoutANote) {
  reference::RandomSlabs slabs(22022);
  Tally tally;
  for (int index = 0; index < 1000; ++index) {
    solvo::Run run;
    slabs.next(run, index);
    int32_t flag = 0;
    solvober(run, flag);
    const std::string name = "case " + std::to_string(index);
    check_page5(run, name, tally);
    const std::string page2 = run.files.back().contents;
    const bool noted = page2.find("saknar l\xf6sning") != std::string::npos;
    if (noted) {
      EXPECT_FALSE(slab_verdict(run).passes) << name;
    }
  }
  // The rules are met many times: spacings at the limit, supports and spans without a solution.
  EXPECT_GT(tally.limited, 200);
  EXPECT_GT(tally.no_solution, 10);
  EXPECT_GT(tally.bottom_no_solution, 10);
  std::cout << tally.supports << " supports; " << tally.limited << " at the largest spacing, "
            << tally.no_solution << " without a solution; " << tally.bottom_no_solution
            << " spans whose bottom bars have none\n";
  std::cout << "supports by solution (solved, no convergence, no equilibrium, too close, above"
               " one layer, pair):";
  for (int k : tally.top_why) std::cout << " " << k;
  std::cout << "\nspans likewise:";
  for (int k : tally.bottom_why) std::cout << " " << k;
  std::cout << "\n";
}

}  // namespace
}  // namespace solvo

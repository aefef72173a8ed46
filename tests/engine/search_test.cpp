// The design search: the plan file, the candidates it names, the checks and the
// price of each design, and the search's report and table, on the ten-span sample case
// (spans 4.2 4.5 5.0 5.5 6.0 6.0 5.5 5.0 4.5 4.2 m, supports 0.1 m wide except 0 at both ends,
// cantilevers 0.8 and 0.6 m, C35/45, top bars 12 mm staggered).
#include "search.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "case_input.h"
#include "engine.h"
#include "file_names.h"
#include "test_files.h"

namespace solvo {
namespace {

namespace fs = std::filesystem;
using solvo::testing::put;
using solvo::testing::slurp;

// The sample's 37 lines of the original layout: no props during casting.
std::string ten_span_text() {
  const std::string all = slurp(SOLVO_DATA "/samples/TIOFACK.IND");
  size_t end = 0;
  for (int line = 0; line < 37 && end != std::string::npos; ++line)
    end = all.find('\n', end + (line > 0));
  return all.substr(0, end == std::string::npos ? all.size() : end + 1);
}

Run ten_spans() {
  Run run;
  insolvo(run, ten_span_text());
  return run;
}

SearchPlan plan_of(const std::string& text) {
  return read_search_plan(text, "PLAN", ten_spans().indat);
}

// ---- The plan file ----

TEST(SearchPlan, NamesWhatVariesAndKeepsTheCaseForTheRest) {
  const SearchPlan s = plan_of(
      "# the benchmark's space\r\n"
      "thickness 0.10 0.20 0.005   # one thickness for every span\r\n"
      "\r\n"
      "concrete C20/25 c25/30 9\r\n"
      "\tbar 8 16\r\n"
      "curtailment off on\r\n"
      "props 0 2\r\n"
      "price concrete 1200\r\n"
      "price concrete C60/75 1800\r\n"
      "price steel 11.5\r\n"
      "price prop 40\r\n"
      "rejected 5");
  ASSERT_EQ(s.groups.size(), 1u);
  EXPECT_EQ(s.groups[0].spans, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  // (0.20 - 0.10) / 0.005 + 1 = 21 thicknesses, each the float nearest to its decimal
  // (what the case reader makes of "0.105").
  ASSERT_EQ(s.groups[0].thicknesses.size(), 21u);
  EXPECT_EQ(s.groups[0].thicknesses.front(), 0.10f);
  EXPECT_EQ(s.groups[0].thicknesses[1], 0.105f);
  EXPECT_EQ(s.groups[0].thicknesses[13], 0.165f);
  EXPECT_EQ(s.groups[0].thicknesses.back(), 0.20f);
  EXPECT_EQ(s.concrete, (std::vector<int32_t>{1, 2, 9}));
  EXPECT_EQ(s.bars, (std::vector<int32_t>{2, 5}));  // 8 and 16 mm are codes 2 and 5
  EXPECT_EQ(s.layouts, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(s.concrete_price[1], 1200.0f);
  EXPECT_EQ(s.concrete_price[8], 1200.0f);
  EXPECT_EQ(s.concrete_price[9], 1800.0f);  // one class's price stands over the general one
  EXPECT_EQ(s.steel_price, 11.5f);
  EXPECT_EQ(s.prop_price, 40.0f);
  EXPECT_EQ(s.props, (std::vector<int32_t>{0, 2}));
  EXPECT_EQ(s.rejected_listed, 5);
  EXPECT_EQ(s.candidates(), 21 * 3 * 2 * 2 * 2);
}

TEST(SearchPlan, WhatAFileLeavesOutIsTheCase) {
  const SearchPlan s = plan_of("# only the concrete varies\nconcrete 4 5\n");
  EXPECT_TRUE(s.groups.empty());
  // The sample: concrete code 4, bar code 4 (12 mm), line 19 = 1 (staggered, layout 2).
  EXPECT_EQ(s.concrete, (std::vector<int32_t>{4, 5}));
  EXPECT_EQ(s.bars, (std::vector<int32_t>{4}));
  EXPECT_EQ(s.layouts, (std::vector<int32_t>{2}));
  EXPECT_EQ(s.concrete_price[4], 1550.0f);
  EXPECT_EQ(s.steel_price, 15.0f);
  EXPECT_EQ(s.prop_price, 0.0f);
  EXPECT_TRUE(s.props.empty());  // every span keeps its own props
  EXPECT_EQ(s.passing_listed, 200);
  EXPECT_EQ(s.candidates(), 2);
}

// From, to and step are rounded to whole millimetres: 0.1004 -> 100 mm, 0.1196 -> 120 mm,
// 0.0051 -> 5 mm: 100, 105, 110, 115, 120 mm. A step of 0.9 mm is refused (kBadPlans).
TEST(SearchPlan, ThicknessesAreWholeMillimetres) {
  struct Row {
    const char* line;
    std::vector<float> want;
  };
  const Row rows[] = {
      {"thickness 0.1004 0.1196 0.0051", {0.100f, 0.105f, 0.110f, 0.115f, 0.120f}},
      {"thickness 0.1 0.103 0.001", {0.100f, 0.101f, 0.102f, 0.103f}},
      {"thickness 0.1 0.1024 0.0014", {0.100f, 0.101f, 0.102f}},  // 1.4 mm -> 1 mm
      {"thickness 0.1 0.1034 0.0016", {0.100f, 0.102f}},          // 1.6 mm -> 2 mm, to 103
  };
  for (const Row& r : rows) {
    const SearchPlan s = plan_of(r.line);
    ASSERT_EQ(s.groups.size(), 1u) << r.line;
    EXPECT_EQ(s.groups[0].thicknesses, r.want) << r.line;
  }
}

TEST(SearchPlan, SpanGroupsVaryEachOnItsOwn) {
  const SearchPlan s = plan_of(
      "thickness 1-2,9-10 0.12 0.14 0.01\n"
      "thickness 5,6 0.18 0.20 0.02\n");
  ASSERT_EQ(s.groups.size(), 2u);
  EXPECT_EQ(s.groups[0].spans, (std::vector<int>{1, 2, 9, 10}));
  EXPECT_EQ(s.groups[1].spans, (std::vector<int>{5, 6}));
  EXPECT_EQ(s.candidates(), 3 * 2);
  // Spans 3, 4, 7 and 8 keep the case's 0.16 and 0.18 m; the last candidate has the last
  // value of every group.
  const Candidate last = candidates(ten_spans().indat, s).back();
  const float want[] = {0, 0.14f, 0.14f, 0.16f, 0.18f, 0.20f, 0.20f, 0.18f, 0.16f, 0.14f, 0.14f};
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(last.thickness[i], want[i]) << "span " << i;
}

struct BadPlan {
  const char* text;
  int line;
  const char* expected;  // part of the message
};

const BadPlan kBadPlans[] = {
    {"thicknes 0.1 0.2 0.01", 1, "a keyword: thickness, concrete, bar, curtailment, props"},
    {"# fine\n\nbar 10 11", 3, "top bar diameters in mm"},
    {"bar", 1, "top bar diameters in mm"},
    {"bar 10 10", 1, "each once"},
    {"bar 3", 1, "top bar diameters"},  // a code is not a diameter
    {"concrete C32/40", 1, "concrete classes by name"},
    {"concrete 0", 1, "concrete classes by name"},
    {"concrete 10", 1, "concrete classes by name"},
    {"concrete 4\nconcrete 5", 2, "\"concrete\" once"},
    {"curtailment yes", 1, "curtailment \"off\""},
    {"props 3", 1, "numbers of props in every span, 0, 1 or 2"},
    {"props 1 1", 1, "each once"},
    {"price prop", 1, "price prop PRICE"},
    {"thickness 0.2 0.1 0.01", 1, "FROM <= TO"},
    {"thickness 0.10 0.20 0", 1, "STEP at least 0.001"},
    {"thickness 0.10 0.20 -0.01", 1, "STEP at least 0.001"},
    {"thickness 0.10 0.20 0.0009", 1, "whole millimetres"},
    {"thickness 0.10 0.20 0.0001", 1, "STEP at least 0.001"},
    {"thickness 1e40 1e41 0.01", 1, "thickness [SPANS]"},
    {"thickness 0.04 0.20 0.01", 1, "above the deck's 0.045"},
    {"thickness 0.10 1.5 0.01", 1, "at most 1.0"},
    {"thickness 0.10 0.20", 1, "thickness [SPANS] FROM TO STEP"},
    {"thickness 0.10 0.20 0.01 7", 1, "the spans of a thickness group"},
    {"thickness 0.10 0.2x 0.01", 1, "thickness [SPANS]"},
    {"thickness 0.10 nan 0.01", 1, "thickness [SPANS]"},
    {"thickness 0-2 0.10 0.20 0.01", 1, "within spans 1 to 10"},
    {"thickness 9-11 0.10 0.20 0.01", 1, "within spans 1 to 10"},
    {"thickness 3-2 0.10 0.20 0.01", 1, "the spans of a thickness group"},
    {"thickness 1,,2 0.10 0.20 0.01", 1, "the spans of a thickness group"},
    {"thickness 1-3 0.1 0.2 0.01\nthickness 3 0.1 0.2 0.01", 2, "one thickness group only"},
    {"thickness 0.1 0.2 0.01\nthickness 4 0.1 0.2 0.01", 2, "one thickness group only"},
    {"price steel -1", 1, "price steel PRICE (per kg, 0 to 10000)"},
    {"price steel 1e40", 1, "price steel PRICE (per kg, 0 to 10000)"},
    {"price steel 10000.5", 1, "price steel PRICE (per kg, 0 to 10000)"},
    {"price concrete 100001", 1, "price concrete [CLASS] PRICE (per m3, 0 to 100000)"},
    {"price concrete C30/37 1e40", 1, "price concrete [CLASS] PRICE (per m3, 0 to 100000)"},
    {"price prop 100001", 1, "per m of a line of props, 0 to 100000"},
    {"listed -1", 1, "listed COUNT, a whole number 0 to 10000"},
    {"listed 10001", 1, "listed COUNT"},
    {"listed 5\nlisted 6", 2, "\"listed\" once"},
    // Plans that give only the case's own design (C35/45, 12 mm, staggered, its
    // thicknesses): nothing to search.
    {"", 1, "a plan that varies the case"},
    {"# nothing\nprice steel 12\n", 3, "a plan that varies the case"},
    {"concrete C35/45\nbar 12\ncurtailment on", 3, "a plan that varies the case"},
    {"thickness 1-2,9-10 0.14 0.14 0.01\nthickness 5,6 0.20 0.20 0.01", 2,
     "a plan that varies the case"},
    {"price gold 10", 1, "price concrete [CLASS]"},
    {"price concrete C99/99 10", 1, "price concrete [CLASS]"},
    {"price steel 10\nprice steel 12", 2, "\"price steel\" once"},
    {"rejected -1", 1, "rejected COUNT"},
    {"rejected 1001", 1, "rejected COUNT"},
    // 501 x 501 thicknesses in two groups: 251,001 candidates, refused at the line that
    // makes them too many.
    {"thickness 1 0.10 0.60 0.001\nthickness 2 0.10 0.60 0.001", 2, "at most 200000 candidates"},
};

TEST(SearchPlan, BadFilesNameTheFileTheLineAndWhatWasExpected) {
  const Indat c = ten_spans().indat;
  for (const BadPlan& b : kBadPlans) {
    try {
      read_search_plan(b.text, "SÖK.SPC", c);
      ADD_FAILURE() << "accepted: " << b.text;
    } catch (const CaseError& e) {
      const std::string msg = e.what();
      EXPECT_EQ(msg.rfind("SÖK.SPC, line " + std::to_string(b.line) + ": expected ", 0), 0u)
          << b.text << " -> " << msg;
      EXPECT_NE(msg.find(b.expected), std::string::npos) << b.text << " -> " << msg;
      EXPECT_EQ(msg.find('\n'), std::string::npos) << msg;
    }
  }
}

// ---- The calculation of the candidates ----

// The case file with a candidate's values written into lines 7 (thicknesses, F7.3 fields),
// 16 (concrete), 18 (bar size) and 19 (curtailment), and lines 38-40 (continuous deck, the
// props of every span in columns of 3, 5 Hz), as the front end would save it.
std::string case_text_of(const Candidate& cand) {
  std::istringstream in(ten_span_text());
  std::string out, line;
  for (int no = 1; std::getline(in, line); ++no) {
    if (no == 7) {
      line.clear();
      for (int i = 1; i <= 10; ++i) {
        char field[16];
        std::snprintf(field, sizeof field, "%-7.3f", static_cast<double>(cand.thickness[i]));
        line += field;
      }
      line += "\r";
    }
    if (no == 16) line = std::to_string(cand.concrete_class) + "\r";
    if (no == 18) line = std::to_string(cand.top_bar) + "\r";
    if (no == 19) line = std::string(cand.top_layout == 2 ? "1" : "0") + "\r";
    if (no <= 37) out += line + "\n";
  }
  out += "1\r\n";
  for (int i = 1; i <= 10; ++i) out += std::to_string(cand.props[i]) + "  ";
  out += "\r\n5.0\r\n";
  return out;
}

void expect_same(const Outcome& a, const Outcome& b, const std::string& label) {
  EXPECT_EQ(std::memcmp(&a.candidate, &b.candidate, sizeof a.candidate), 0) << label;
  EXPECT_EQ(a.concrete, b.concrete) << label;
  EXPECT_EQ(a.steel_top, b.steel_top) << label;
  EXPECT_EQ(a.steel_bottom, b.steel_bottom) << label;
  EXPECT_EQ(a.cost, b.cost) << label;
  EXPECT_TRUE(a.worst == b.worst || (std::isnan(a.worst) && std::isnan(b.worst))) << label;
  EXPECT_EQ(a.check, b.check) << label;
  EXPECT_EQ(a.where, b.where) << label;
  EXPECT_EQ(a.spacing, b.spacing) << label;
  EXPECT_EQ(a.passes, b.passes) << label;
}

// The search shares one analysis among the candidates that differ only in their top bars;
// each of its results must be what the ordinary run of that candidate's case file gives.
TEST(Search, EveryCandidateIsWhatItsOwnCaseFileGives) {
  const solvo::Run base = ten_spans();
  const SearchPlan plan = plan_of(
      "thickness 1-5 0.12 0.16 0.04\n"
      "thickness 6-10 0.15 0.15 0.01\n"
      "concrete 1 9\nbar 6 16\ncurtailment off on\nprops 0 2");
  const std::vector<Outcome> found = run_search(base, plan, 2);
  ASSERT_EQ(found.size(), 32u);
  for (size_t k = 0; k < found.size(); ++k) {
    solvo::Run normal;
    calculate(normal, case_text_of(found[k].candidate));
    expect_same(found[k], assess(normal, plan), "candidate " + std::to_string(k));
  }
}

TEST(Search, OneThreadAndTwoGiveTheSameOutcomes) {
  const solvo::Run base = ten_spans();
  const SearchPlan plan = plan_of("thickness 0.12 0.20 0.02\nconcrete 2 5\nbar 8 10 12");
  std::vector<int64_t> seen;
  const auto one = run_search(base, plan, 1, [&](int64_t k, int64_t) { seen.push_back(k); });
  const auto two = run_search(base, plan, 2);
  ASSERT_EQ(one.size(), two.size());
  for (size_t k = 0; k < one.size(); ++k) expect_same(one[k], two[k], std::to_string(k));
  // Progress: one report per analysis of 3 candidates, rising to the total 5 x 2 x 3 = 30.
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 30);
  for (size_t k = 1; k < seen.size(); ++k) EXPECT_GT(seen[k], seen[k - 1]);
}

// One thickness of 0.165 m for every span, C20/25, 12 mm staggered:
//  - slenderness of span 5 (inner, clear span 6.0 - 0.05 - 0.05 = 5.9 m): 5.9 / (36 x 0.165)
//    = 0.9933, the largest utilisation (a normal run of this case prints 0.99 there and no
//    other value above 0.91);
//  - concrete: (0.165 - 0.0165) x (50.4 m of spans + 0.8 + 0.6 of cantilevers) / 50.4
//    = 0.1485 x 51.8 / 50.4 = 0.15262 m3/m2;
//  - cost: 1400 x 0.15262 + 15 x (top + bottom kg/m2).
// 0.160 m fails on the same span: 5.9 / (36 x 0.160) = 1.0243. Two props in every span keep
// the deck during casting well inside its limits (deck spans of 2.0 m at most), and cost
// 40 x 20 prop lines / 50.4 m = 15.87 per m2.
TEST(Search, ChecksAndPricesADesignAsPageTwoShowsIt) {
  const solvo::Run base = ten_spans();
  const SearchPlan plan =
      plan_of("thickness 0.160 0.165 0.005\nconcrete C20/25\nprops 2\nprice prop 40");
  const auto found = run_search(base, plan, 1);
  ASSERT_EQ(found.size(), 2u);
  const Outcome& thin = found[0];
  const Outcome& ok = found[1];
  EXPECT_FALSE(thin.passes);
  EXPECT_EQ(check_name(thin.check, thin.where), "Svikt fack 5");
  EXPECT_NEAR(thin.worst, 1.0243f, 0.0001f);
  EXPECT_TRUE(ok.passes);
  EXPECT_EQ(check_name(ok.check, ok.where), "Svikt fack 5");
  EXPECT_NEAR(ok.worst, 0.9933f, 0.0001f);
  EXPECT_NEAR(ok.concrete, 0.15262f, 0.00001f);
  EXPECT_NEAR(ok.cost, 1400.0f * 0.15262f + 15.0f * (ok.steel_top + ok.steel_bottom) + 15.873f,
              0.02f);
  // The sample's page 2 prints 2.09 kg/m2 over the supports for its own thicknesses; a
  // thinner slab over the long spans cannot need less steel over its supports.
  EXPECT_GT(ok.steel_top, 2.0f);
}

// The sample as it stands, without props: the deck of spans 5 and 6 (6.0 m) carries 0.20 m of
// wet concrete alone, g = 0.089 + 26 x (0.20 - 0.0165) = 4.86 kN/m2; under the ultimate
// load w >= 0.91 x 1.35 x 4.86 = 5.97 kN/m2 its hogging moment over the inner supports is of
// the order of w L2 / 10 = 21 kNm/m against 5.29: page 6 fails it, whatever page 2 says.
TEST(Search, TheConstructionStageOfPageSixCountsToo) {
  const solvo::Run base = ten_spans();
  const auto found = run_search(base, plan_of("props 0 2"), 1);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_FALSE(found[0].passes);
  EXPECT_EQ(check_name(found[0].check, found[0].where).rfind("Byggskede, ", 0), 0u)
      << check_name(found[0].check, found[0].where);
  EXPECT_GT(found[0].worst, 3.0f);
  // Two props in every span: the sample passes, its largest utilisation the slenderness of
  // span 1 on page 2, 4.2 - 0.05 = 4.15 m / (33 x 0.14) = 0.898.
  EXPECT_TRUE(found[1].passes);
  EXPECT_EQ(check_name(found[1].check, found[1].where), "Svikt fack 1");
  EXPECT_NEAR(found[1].worst, 0.898f, 0.001f);
}

TEST(Search, ADesignWithoutSolutionOrWithNaNNeverPasses) {
  solvo::Run run = ten_spans();
  for (int i = 1; i <= 10; ++i) run.indat.props[i] = 2;
  int32_t flag = 0;
  solvober(run, flag);
  const SearchPlan plan = plan_of("concrete 4 5");
  ASSERT_TRUE(assess(run, plan).passes);  // the sample with props passes (largest 0.90)

  solvo::Run nan_run = run;
  nan_run.utdat.udt[3] = std::nanf("");
  const Outcome nan = assess(nan_run, plan);
  EXPECT_FALSE(nan.passes);
  EXPECT_EQ(check_name(nan.check, nan.where), "Def(tillk.) fack 3");

  solvo::Run top = run;
  top.utdat.as[4] = 1000000.0f;  // samm1s found no equilibrium: spacing 0
  top.utdat.s[4] = 0;
  top.utdat.top_solution[4] = BarSolution::kNoEquilibrium;
  const Outcome no_top = assess(top, plan);
  EXPECT_FALSE(no_top.passes);
  EXPECT_EQ(check_name(no_top.check, no_top.where), "Stödarmering saknar lösning stöd 4");

  solvo::Run bottom = run;
  bottom.utdat.sb[7] = 0;  // bars needed over a length, no spacing carries the fire moment
  bottom.utdat.lb[7] = 5100;
  bottom.utdat.bottom_solution[7] = BarSolution::kNoConvergence;
  const Outcome no_bottom = assess(bottom, plan);
  EXPECT_FALSE(no_bottom.passes);
  EXPECT_EQ(check_name(no_bottom.check, no_bottom.where),
            "Fältarmering (brand) saknar lösning fack 7");
}

// ---- The search's report and the program ----

class SearchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/solvo-search-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    put(dir_ / "~INDATA~.TMP", ten_span_text());
  }
  void TearDown() override { fs::remove_all(dir_); }

  int search(const std::string& plan_name) {
    out_.str("");
    err_.str("");
    return run_solvowb_search(dir_, plan_name, out_, err_);
  }

  fs::path dir_;
  std::ostringstream out_, err_;
};

// The data lines of one table of the search's report: the lines after `title` and its two heading
// lines, up to the empty line.
std::vector<std::vector<std::string>> table_rows(const std::string& text,
                                                 const std::string& title) {
  std::vector<std::vector<std::string>> rows;
  size_t at = text.find(title);
  if (at == std::string::npos) return rows;
  std::istringstream in(text.substr(at));
  std::string line;
  for (int skip = 0; skip < 3; ++skip) std::getline(in, line);
  while (std::getline(in, line) && line != "\r") {
    std::istringstream words(line);
    std::vector<std::string> fields;
    for (std::string w; words >> w;) fields.push_back(w);
    rows.push_back(fields);
  }
  return rows;
}

TEST_F(SearchFolder, WritesPassingDesignsCheapestFirstAndTheNearestRejected) {
  put(dir_ / "PLAN", "thickness 0.14 0.20 0.01\nconcrete 1 4\nbar 10 12\nprops 2\nrejected 3\n");
  ASSERT_EQ(search("PLAN"), 0) << err_.str();
  EXPECT_EQ(err_.str(), "");
  // Progress lines: "0/28" first, "28/28" last (7 x 2 x 2 candidates).
  const std::string out = out_.str();
  EXPECT_EQ(out.rfind("0/28\n", 0), 0u) << out;
  EXPECT_EQ(out.substr(out.size() - 6), "28/28\n") << out;

  const std::string res = slurp(dir_ / platform::kSearchReportFile);
  EXPECT_NE(res.find("Pr\xF6vade:      28"), std::string::npos);  // written as Windows-1252
  const auto pass = table_rows(res, "GODK\xC4NDA, BILLIGAST");
  const auto fail = table_rows(res, "UNDERK\xC4NDA, N\xC4RMAST");
  ASSERT_FALSE(pass.empty());
  ASSERT_EQ(fail.size(), 3u);
  // Slenderness of span 5: 0.14, 0.15 and 0.16 m fail (5.9 / (36 x 0.16) = 1.024); 0.17 m
  // is the first to pass (5.9 / 6.12 = 0.964).
  for (const auto& row : pass) {
    ASSERT_GE(row.size(), 13u);
    EXPECT_GE(std::stof(row[1]), 0.17f) << row[1];
    EXPECT_EQ(row[5], "2");  // props
    EXPECT_LE(std::stof(row[11]), 1.0f);
  }
  EXPECT_EQ(pass.size(), 4u * 2 * 2);  // 0.17 .. 0.20
  for (size_t k = 1; k < pass.size(); ++k)
    EXPECT_LE(std::stof(pass[k - 1][10]), std::stof(pass[k][10])) << "cost order, row " << k;
  // Nearest to passing: 0.16 m, 1.024 on span 5, for all four of its designs.
  for (const auto& row : fail) {
    EXPECT_EQ(row[1], "0.160");
    EXPECT_NEAR(std::stof(row[11]), 1.024f, 0.001f);
    EXPECT_EQ(row[12] + " " + row[13] + " " + row[14], "Svikt fack 5");
  }
}

TEST_F(SearchFolder, MissingOrBadSpecificationWritesNothing) {
  struct {
    const char* name;
    const char* text;  // nullptr: no such file
    const char* message;
  } cases[] = {
      {"PLAN", nullptr, "PLAN: the search plan cannot be read"},
      {"../PLAN", nullptr, "../PLAN: the search plan must be a file in the working"},
      {"PLAN", "bar 10\nconcrete C90/105\n", "PLAN, line 2: expected concrete classes"},
  };
  for (const auto& c : cases) {
    fs::remove(dir_ / "PLAN");
    if (c.text != nullptr) put(dir_ / "PLAN", c.text);
    EXPECT_EQ(search(c.name), 2) << c.name;
    const std::string err = err_.str();
    EXPECT_EQ(err.rfind(c.message, 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(out_.str(), "");
    EXPECT_FALSE(fs::exists(dir_ / platform::kSearchReportFile));
  }
}

// The program's arguments: "--search PLAN" searches, anything else but no argument at all
// is refused with the usage line.
TEST_F(SearchFolder, TheProgramTakesSearchAndNothingElse) {
  put(dir_ / "plan.txt", "bar 10 12\n");
  auto run = [&](const std::string& args) {
    const std::string cmd = "cd '" + dir_.string() + "' && '" SOLVOWB_PATH "' " + args +
                            " >/dev/null 2>'" + (dir_ / "..err").string() + "'";
    const int raw = std::system(cmd.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  EXPECT_EQ(run("--search plan.txt"), 0);
  EXPECT_TRUE(fs::exists(dir_ / platform::kSearchReportFile));
  EXPECT_FALSE(fs::exists(dir_ / "TIOFACK.RES"));  // the search writes no report
  EXPECT_EQ(run("--search"), 2);
  EXPECT_EQ(run("--serch plan.txt"), 2);
  EXPECT_NE(slurp(dir_ / "..err").find("usage: solvowb"), std::string::npos);
}

// ---- The columns, the cap on the passing designs, the table for a spreadsheet ----

const char kRaceOfPlans[] =
    "thickness 0.14 0.20 0.01\nconcrete 1 4\nbar 10 12\nprops 2\nrejected 3\n";

// Every line of a table of the report has its fields end where their headings end: no value
// runs into the next column, however wide (costs of 10,000 and more here).
TEST_F(SearchFolder, EveryColumnHoldsItsWidestValue) {
  put(dir_ / "PLAN", std::string(kRaceOfPlans) + "price concrete 100000\nprice steel 10000\n");
  ASSERT_EQ(search("PLAN"), 0) << err_.str();
  const std::string res = slurp(dir_ / platform::kSearchReportFile);
  std::istringstream in(res);
  std::string line, head;
  int rows = 0;
  while (std::getline(in, line)) {
    if (line.rfind("   Nr", 0) == 0 || line.rfind("    Nr", 0) == 0) {
      head = line;
      continue;
    }
    std::istringstream words(line);
    int nr = 0;
    if (head.empty() || !(words >> nr)) continue;
    // The right edge of each of the first 12 fields, in the line and in its heading
    // ("Tjocklek (m)" is left-aligned: its left edge).
    auto edges = [](const std::string& text, bool heading) {
      std::vector<size_t> out;
      size_t at = 0;
      for (int field = 0; field < 12; ++field) {
        at = text.find_first_not_of(' ', at);
        size_t end = text.find(' ', at);
        if (heading && field == 1) end = text.find(' ', end + 1);  // "Tjocklek (m)"
        out.push_back(field == 1 ? at : end);
        at = end;
      }
      return out;
    };
    EXPECT_EQ(edges(line, false), edges(head, true)) << line << "\n" << head;
    // Cost = 100000 x volume + 10000 x (steel top + bottom), from the printed values, to the
    // rounding of the printed values (4 and 2 decimals).
    std::vector<std::string> f;
    std::istringstream all(line);
    for (std::string w; all >> w;) f.push_back(w);
    const double cost = 100000.0 * std::stod(f[7]) + 10000.0 * (std::stod(f[8]) + std::stod(f[9]));
    EXPECT_NEAR(std::stod(f[10]), cost, 100000.0 * 0.00005 + 10000.0 * 0.01) << line;
    EXPECT_GE(std::stod(f[10]), 10000.0) << line;
    ++rows;
  }
  EXPECT_EQ(rows, 1 + 16 + 3);  // the case, the 16 passing designs, 3 rejected
}

// "listed 5": the five cheapest of the 16 passing designs, the same five as the full list
// begins with, and the count of all that passed stated.
TEST_F(SearchFolder, ThePassingDesignsListedAreCappedWithTheirCountStated) {
  put(dir_ / "PLAN", kRaceOfPlans);
  ASSERT_EQ(search("PLAN"), 0) << err_.str();
  const auto all = table_rows(slurp(dir_ / platform::kSearchReportFile), "GODK\xC4NDA, BILLIGAST");
  ASSERT_EQ(all.size(), 16u);
  put(dir_ / "PLAN", std::string(kRaceOfPlans) + "listed 5\n");
  ASSERT_EQ(search("PLAN"), 0) << err_.str();
  const std::string res = slurp(dir_ / platform::kSearchReportFile);
  const auto five = table_rows(res, "GODK\xC4NDA, BILLIGAST");
  ASSERT_EQ(five.size(), 5u);
  for (size_t k = 0; k < 5; ++k) EXPECT_EQ(five[k], all[k]) << "row " << k + 1;
  EXPECT_NE(res.find("Godk\xE4nda:      16"), std::string::npos);
  EXPECT_NE(res.find("Listade: de       5 billigaste av      16 godk\xE4nda"), std::string::npos);
  EXPECT_EQ(table_rows(res, "UNDERK\xC4NDA, N\xC4RMAST").size(), 3u);
}

// The table for a spreadsheet: a header row, then the case, the passing and the rejected
// designs, each with every field of its report row, in UTF-8.
TEST_F(SearchFolder, TheTableHoldsEveryRowOfTheReport) {
  put(dir_ / "PLAN", kRaceOfPlans);
  ASSERT_EQ(search("PLAN"), 0) << err_.str();
  const std::string res = slurp(dir_ / platform::kSearchReportFile);
  const std::string csv = slurp(dir_ / platform::kSearchTableFile);
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(csv);
  for (std::string line; std::getline(in, line);) {
    ASSERT_FALSE(line.empty());
    ASSERT_EQ(line.back(), '\r');
    line.pop_back();
    std::vector<std::string> f;
    std::istringstream fields(line);
    for (std::string v; std::getline(fields, v, ';');) f.push_back(v);
    lines.push_back(f);
  }
  ASSERT_EQ(lines.size(), 1u + 1 + 16 + 3);
  EXPECT_EQ(lines[0][0], "Lista");
  EXPECT_EQ(lines[0][2], "Tjocklek fack 1-10 (m)");
  EXPECT_EQ(lines[0].back(), "Kontroll");
  EXPECT_EQ(lines[1][0], "Fallet");
  EXPECT_EQ(lines[2][0], "Godk\xC3\xA4nd");  // UTF-8
  EXPECT_EQ(lines[18][0], "Underk\xC3\xA4nd");
  const auto pass = table_rows(res, "GODK\xC4NDA, BILLIGAST");
  const auto fail = table_rows(res, "UNDERK\xC4NDA, N\xC4RMAST");
  for (size_t k = 1; k < lines.size(); ++k) {
    ASSERT_EQ(lines[k].size(), lines[0].size()) << "row " << k;
    if (k < 2) continue;
    const auto& r = k < 18 ? pass[k - 2] : fail[k - 18];
    // Nr .. largest utilisation: the same text; "PÅ" in UTF-8 against Windows-1252.
    for (size_t c = 0; c < 12; ++c) {
      const std::string want = r[c] == "P\xC5" ? "P\xC3\x85" : r[c];
      EXPECT_EQ(lines[k][c + 1], want) << "row " << k << ", column " << c;
    }
    std::string check = r[12];
    for (size_t c = 13; c < r.size(); ++c) check += " " + r[c];
    EXPECT_EQ(lines[k].back(), check) << "row " << k;
  }
}

// The search's files are named so that no case's report can take either name.
TEST(SearchFiles, NoCasesReportHasTheSearchsNames) {
  for (const char* name : {"SEARCH", "search", "SOLVO-SEA", "SOLVO-SEARCH",
                           "SOLVO-the search's report", "SOLVO-its table", "SOLVO-SEARCHX"}) {
    const std::string report = platform::report_file_name(std::string_view(name));
    EXPECT_FALSE(platform::same_file_name(report, platform::kSearchReportFile)) << name;
    EXPECT_FALSE(platform::same_file_name(report, platform::kSearchTableFile)) << name;
  }
}

TEST_F(SearchFolder, ASearchFileThatCannotBeWrittenLeavesNeither) {
  put(dir_ / "PLAN", kRaceOfPlans);
  put(dir_ / platform::kSearchTableFile, "old table");
  fs::create_directory(dir_ / platform::kSearchReportFile);
  EXPECT_EQ(search("PLAN"), kExitNotWritten);
  EXPECT_EQ(err_.str(), std::string(platform::kSearchReportFile) + ": Is a directory\n");
  EXPECT_FALSE(fs::exists(dir_ / platform::kSearchTableFile));
}

// The threads follow the processors the process may run on.
TEST(SearchThreads, FollowTheAffinity) {
  cpu_set_t old;
  ASSERT_EQ(sched_getaffinity(0, sizeof old, &old), 0);
  EXPECT_EQ(search_threads(), CPU_COUNT(&old));
  cpu_set_t one;
  CPU_ZERO(&one);
  for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
    if (CPU_ISSET(cpu, &old)) {
      CPU_SET(cpu, &one);
      break;
    }
  ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
  EXPECT_EQ(search_threads(), 1);
  sched_setaffinity(0, sizeof old, &old);
}

}  // namespace
}  // namespace solvo

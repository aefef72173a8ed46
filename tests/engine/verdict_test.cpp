// The one verdict of a slab: which checks fail, which governs, and the console's line.
// The results are set by hand in an otherwise empty run of three spans, so that each row
// of the table names its own cause.
#include "verdict.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "design.h"

namespace solvo {
namespace {

// Three spans 0.2 m thick, every utilisation 0.5: a slab that passes.
solvo::Run passing() {
  solvo::Run run;
  run.indat.n = 3;
  for (int i = 1; i <= 3; ++i) {
    run.indat.thickness[i] = 0.2f;
    Utdat& u = run.utdat;
    u.uf[i] = u.uvl[i] = u.uvr[i] = u.ub[i] = u.udi[i] = u.udt[i] = u.us[i] = 0.5f;
  }
  run.checkdat.verdict.governing = CheckKind::kDeckSagging;
  run.checkdat.verdict.span = 1;
  run.checkdat.verdict.utilisation = 0.4f;
  return run;
}

struct Case {
  const char* name;
  std::function<void(Run&)> change;
  bool passes;
  std::string governing;  // check_name of the governing check
  std::string line;       // verdict_line
};

const float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(SlabVerdict, DecidesFromEveryCheckAndNamesTheGoverning) {
  const Case cases[] = {
      {"all within", [](solvo::Run&) {}, true, "Fält fack 1", "Alla kontroller uppfyllda"},
      {"largest governs while passing", [](solvo::Run& r) { r.utdat.udt[2] = 0.9f; }, true,
       "Def(tillk.) fack 2", "Alla kontroller uppfyllda"},
      {"exactly 1.0 passes", [](solvo::Run& r) { r.utdat.us[3] = 1.0f; }, true, "Svikt fack 3",
       "Alla kontroller uppfyllda"},
      {"two checks fail, worst first",
       [](solvo::Run& r) {
         r.utdat.us[1] = 1.1f;
         r.utdat.uf[2] = 1.2f;
       },
       false, "Fält fack 2", "Ej uppfyllt: Fält fack 2, Svikt fack 1"},
      {"one check at two spans is named once, at its worst",
       [](solvo::Run& r) {
         r.utdat.uvr[1] = 1.05f;
         r.utdat.uvr[3] = 1.3f;
       },
       false, "Tvärkr hö fack 3", "Ej uppfyllt: Tvärkr hö fack 3"},
      {"not a number fails and governs over a larger utilisation",
       [](solvo::Run& r) {
         r.utdat.uf[1] = 1.5f;
         r.utdat.udt[3] = kNaN;
       },
       false, "Def(tillk.) fack 3", "Ej uppfyllt: Def(tillk.) fack 3, Fält fack 1"},
      {"a span below the least depth governs over everything",
       [](solvo::Run& r) {
         r.utdat.uf[1] = 3.0f;
         r.utdat.udi[1] = kNaN;
         r.indat.thickness[2] = 0.084f;
       },
       false, "Minsta plattjocklek fack 2",
       "Ej uppfyllt: Minsta plattjocklek fack 2, Def(init.) fack 1, Fält fack 1"},
      {"the least depth itself passes",
       [](solvo::Run& r) { r.indat.thickness[2] = kLeastSlabDepth; }, true, "Fält fack 1",
       "Alla kontroller uppfyllda"},
      {"a support without a solution",
       [](solvo::Run& r) { r.utdat.top_solution[4] = BarSolution::kNoConvergence; }, false,
       "Stödarmering saknar lösning stöd 4", "Ej uppfyllt: Stödarmering saknar lösning stöd 4"},
      {"bars too close are no solution",
       [](solvo::Run& r) { r.utdat.top_solution[2] = BarSolution::kTooClose; }, false,
       "Stödarmering saknar lösning stöd 2", "Ej uppfyllt: Stödarmering saknar lösning stöd 2"},
      {"bottom bars without a solution",
       [](solvo::Run& r) { r.utdat.bottom_solution[3] = BarSolution::kAboveOneLayer; }, false,
       "Fältarmering (brand) saknar lösning fack 3",
       "Ej uppfyllt: Fältarmering (brand) saknar lösning fack 3"},
      {"page 6 fails",
       [](solvo::Run& r) {
         r.checkdat.verdict = {false, CheckKind::kFrequency, 2, 1.25f};
         r.utdat.ub[1] = 1.1f;
       },
       false, "Egenfrekvens fack 2", "Ej uppfyllt: Egenfrekvens fack 2, Vidhäft fack 1"},
      {"every failing page-6 check is named, the governing first",
       [](solvo::Run& r) {
         CheckVerdict& p6 = r.checkdat.verdict;
         p6 = {false, CheckKind::kDeckDeflection, 1, 6.9f};
         p6.failing[0] = {CheckKind::kDeckSagging, 1, 3.2f};
         p6.failing[1] = {CheckKind::kDeckHogging, 2, 4.3f};
         p6.failing[2] = {CheckKind::kDeckDeflection, 1, 6.9f};
         p6.failing_count = 3;
       },
       false, "Byggskede, nedböjning fack 1",
       "Ej uppfyllt: Byggskede, nedböjning fack 1, Byggskede, stödmoment fack 2, "
       "Byggskede, fältmoment fack 1"},
      {"a page-6 kind without a name of its own is still named and fails",
       [](solvo::Run& r) {
         r.checkdat.verdict = {false, static_cast<CheckKind>(99), 1, 1.4f};
       },
       false, "Kontroll sid 6 fack 1", "Ej uppfyllt: Kontroll sid 6 fack 1"},
      {"page 6 failing without a utilisation above 1.0 still fails",
       [](solvo::Run& r) {
         r.checkdat.verdict = {false, CheckKind::kDeckHogging, 3, 0.7f};
       },
       false, "Byggskede, stödmoment fack 3", "Ej uppfyllt: Byggskede, stödmoment fack 3"},
  };
  for (const Case& c : cases) {
    solvo::Run run = passing();
    c.change(run);
    const Verdict v = slab_verdict(run);
    EXPECT_EQ(v.passes, c.passes) << c.name;
    EXPECT_EQ(check_name(v.governing.check, v.governing.where), c.governing) << c.name;
    EXPECT_EQ(verdict_line(v), c.line) << c.name;
    EXPECT_EQ(v.passes, v.failing.empty()) << c.name;
  }
}

// Of equal utilisations the lowest span governs, the columns of page 2 left to right within
// a span: the order in which the design search has always named them.
TEST(SlabVerdict, EqualUtilisationsGoToTheFirstSpanAndColumn) {
  solvo::Run run = passing();
  run.utdat.uvr[1] = 0.8f;
  run.utdat.uvl[2] = 0.8f;
  run.utdat.uf[2] = 0.8f;
  const Verdict v = slab_verdict(run);
  EXPECT_EQ(check_name(v.governing.check, v.governing.where), "Tvärkr hö fack 1");
  EXPECT_FLOAT_EQ(v.governing.utilisation, 0.8f);
}

// An invalid design's utilisation is infinite, so that the search ranks it after every design
// that only fails a utilisation.
TEST(SlabVerdict, InvalidDesignsHaveNoFiniteUtilisation) {
  solvo::Run run = passing();
  run.utdat.top_solution[1] = BarSolution::kNoEquilibrium;
  const Verdict v = slab_verdict(run);
  EXPECT_TRUE(std::isinf(v.governing.utilisation));
  ASSERT_EQ(v.failing.size(), 1u);
  EXPECT_EQ(v.failing[0].where, 1);
}

TEST(CheckName, CountsSupportsAndSpans) {
  EXPECT_EQ(check_name(Check::kSlenderness, 5), "Svikt fack 5");
  EXPECT_EQ(check_name(Check::kTopBars, 11), "Stödarmering saknar lösning stöd 11");
  EXPECT_EQ(check_name(Check::kLeastDepth, 1), "Minsta plattjocklek fack 1");
  EXPECT_EQ(check_name(Check::kDeckDeflection, 10), "Byggskede, nedböjning fack 10");
  EXPECT_EQ(check_name(Check::kPage6Other, 2), "Kontroll sid 6 fack 2");
}

}  // namespace
}  // namespace solvo

// Crack widths over the supports against hand calculations and the second calculation of
// crack_width_check.py (strips instead of closed-form moments, double precision), which prints
// every step of each vector below.
//
// The "floor" vector by hand (x in the ribs): h 160, c 20, Ø10 at 120 mm, C30/37, M 15 kNm/m.
//   alpha_e = 210/33 = 6.3636; d = 160 - 20 - 5 = 135; As = 78.5 * 1000/120 = 654.17 mm2/m.
//   Ribs per metre (1000/150 pitches): width 400 + 8.889 y, so the first moment of the
//   compression zone is 200 x^2 + 1.4815 x^3 = alpha_e As (d - x) = 4162.9 (135 - x):
//   x = 39.28 (200 * 1543.2 + 1.4815 * 60624 = 398 460 against 4162.9 * 95.72 = 398 460).
//   Icr = (1000/150) (20 x^3 + 1.3333 x^4/12) + 4162.9 * 95.72^2
//       = 6.6667 (1 212 480 + 264 620) + 38 138 000 = 4.7986E7 mm4.
//   sigma_s = 6.3636 * 15E6 * 95.72/4.7986E7 = 190.40 MPa.
//   hc,ef = min(2.5 * 25, (160 - 39.28)/3, 80) = 40.24; rho = 654.17/40 240 = 0.016257.
//   (190.40 - 0.4 * 2.9/0.016257 * (1 + 6.3636 * 0.016257))/210000 = 5.318E-4 below
//   0.6 * 190.40/210000 = 5.440E-4: the lower limit governs.
//   Spacing 120 <= 5 (20 + 5) = 125: sr,max = 3.4 * 20 + 0.17 * 10/0.016257 = 172.57 mm.
//   wk = 172.57 * 5.440E-4 = 0.0939 mm.
#include "crack_width.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis.h"
#include "case_input.h"
#include "checks.h"
#include "comdat.h"
#include "design.h"
#include "fortran_io.h"
#include "reference_case.h"
#include "report.h"
#include "run_state.h"
#include "search.h"
#include "section.h"
#include "verdict.h"

namespace solvo {
namespace {

// The neutral axis is found to 1E-5 d and the chain runs in floats: 0.2 % covers both against
// the double-precision strips of the script.
constexpr double kTol = 0.002;

void expect_near_rel(double got, double want, const std::string& what) {
  EXPECT_NEAR(got, want, kTol * std::fabs(want)) << what;
}

// ---- The formula chain -------------------------------------------------------------------

struct Vector {
  const char* name;
  CrackInput in;
  double x, sigma, rho, sr, wk;
  bool floor, wide;
};

CrackInput input(float m, float h, float c, float phi, float area, float spacing, float ecm,
                 float fctm) {
  CrackInput in;
  in.m = m;
  in.h = h;
  in.cover = c;
  in.phi = phi;
  in.bar_area = area;
  in.spacing = spacing;
  in.es = 210000.0f;
  in.ecm = ecm;
  in.fct_eff = fctm;
  return in;
}

const Vector kVectors[] = {
    // Ø16 at 100 mm in 200 mm, C30/37: x above the ribs, the formula above its lower limit.
    {"formula", input(40, 200, 20, 16, 201, 100, 33000, 2.9f), 66.464, 136.664, 0.04516, 128.24,
     0.06326, false, false},
    // The hand calculation at the top of this file.
    {"floor", input(15, 160, 20, 10, 78.5f, 120, 33000, 2.9f), 39.284, 190.401, 0.01626, 172.57,
     0.09388, true, false},
    // Ø16 at 200 mm > 5 (20 + 8) = 140 mm in 300 mm, C25/30: 1.3 (h - x) = 302.4 above
    // (7.11) 257.5.
    {"wide, 7.14 governs", input(60, 300, 20, 16, 201, 200, 31000, 2.6f), 67.350, 243.454, 0.01436,
     302.44, 0.23615, false, true},
    // Ø10 at 200 mm > 125 mm in 160 mm: 1.3 (h - x) = 166.1 below (7.11) 252.5, which the
    // bars still govern next to them.
    {"wide, 7.11 governs", input(15, 160, 20, 10, 78.5f, 200, 33000, 2.9f), 32.197, 310.113,
     0.00921, 252.51, 0.22374, true, true},
};

TEST(CrackWidth, HandWorkedVectors) {
  for (const Vector& v : kVectors) {
    const CrackResult r = crack_width(v.in);
    const std::string n = v.name;
    expect_near_rel(r.section.x, v.x, n + " x");
    expect_near_rel(r.sigma_s, v.sigma, n + " sigma_s");
    expect_near_rel(r.rho, v.rho, n + " rho");
    expect_near_rel(r.sr_max, v.sr, n + " sr,max");
    expect_near_rel(r.wk, v.wk, n + " wk");
    EXPECT_EQ(r.floor_governs, v.floor) << n;
    EXPECT_EQ(r.wide, v.wide) << n;
  }
}

// Without ribs the zone is a rectangle of 1000 mm: x = (-nAs + sqrt(nAs^2 + 2 b nAs d))/b with
// nAs = 7 * 1000 = 7000, d = 150: x = 39.357, Icr = b x^3/3 + nAs (d - x)^2 = 1.06014E8 mm4,
// and 20 kNm/m gives sigma_s = 7 * 20E6 * 110.643/1.06014E8 = 146.11 MPa.
TEST(CrackWidth, SolidSectionHasTheClosedFormNeutralAxis) {
  const RibGeometry solid{0.0f, 0.15f, 0.0f, 0.15f};
  const CrackedSection s = cracked_section(solid, 7.0f, 1000.0f, 150.0f);
  ASSERT_TRUE(s.valid);
  expect_near_rel(s.x, 39.3573, "x");
  expect_near_rel(s.icr, 1.060141e8, "Icr");
  expect_near_rel(steel_stress(20.0f, 7.0f, s, 150.0f), 146.112, "sigma_s");
}

TEST(CrackWidth, NoSectionWithoutBarsOrDepth) {
  EXPECT_FALSE(cracked_section(kDeckRibs, 6.0f, 0.0f, 150.0f).valid);
  EXPECT_FALSE(cracked_section(kDeckRibs, 6.0f, 500.0f, 0.0f).valid);
  CrackInput in = kVectors[0].in;
  in.spacing = 0;
  EXPECT_TRUE(std::isinf(crack_width(in).wk));
}

struct HeightCase {
  float h, d, x, want;
};

TEST(CrackWidth, EffectiveTensionHeightIsTheLeastOfThree) {
  const HeightCase cases[] = {
      {200, 172, 66.464f, 44.512f},  // (h - x)/3
      {300, 272, 67.35f, 70.0f},     // 2.5 (h - d)
      {100, 95, 10.0f, 12.5f},       // 2.5 (h - d) again, a thin cover
  };
  for (const HeightCase& c : cases)
    EXPECT_NEAR(effective_tension_height(c.h, c.d, c.x), c.want, 1e-3f) << c.h;
}

struct StrainCase {
  float sigma;
  double want;
  bool floor;
};

// fct 3, rho 0.02, alpha_e 6, Es 200000: the concrete between cracks takes
// 0.4 * 3/0.02 * (1 + 0.12) = 67.2 MPa; the limit is 0.6 sigma.
TEST(CrackWidth, StrainDifferenceNeverBelowSixTenthsOfTheSteelStrain) {
  const StrainCase cases[] = {
      {200, (200 - 67.2) / 200000.0, false},  // 6.64E-4 > 6.0E-4
      {100, 0.6 * 100 / 200000.0, true},      // 1.64E-4 < 3.0E-4
      {168, 0.6 * 168 / 200000.0, true},      // 0.4 sigma = 67.2: both alike
  };
  for (const StrainCase& c : cases) {
    bool floor = false;
    const float e = strain_difference(c.sigma, 3.0f, 0.02f, 6.0f, 200000.0f, &floor);
    EXPECT_NEAR(e, c.want, 1e-6 * c.want + 1e-9) << c.sigma;
    EXPECT_EQ(floor, c.floor) << c.sigma;
  }
}

struct SpacingCase {
  float spacing, h, x;
  double want;
  bool wide;
};

// c 20, Ø10, rho 0.01: (7.11) 68 + 0.17 * 10/0.01 = 238 mm; wide above 5 (20 + 5) = 125 mm.
TEST(CrackWidth, CrackSpacingOfTheBarsAndBetweenThem) {
  const SpacingCase cases[] = {
      {100, 300, 50, 238.0, false},
      {125, 300, 50, 238.0, false},  // at the limit: still next to the bars
      {126, 300, 50, 325.0, true},   // 1.3 (300 - 50)
      {200, 160, 40, 238.0, true},   // 1.3 * 120 = 156 < 238
  };
  for (const SpacingCase& c : cases) {
    bool wide = false;
    EXPECT_NEAR(crack_spacing_max(20, 10, 0.01f, c.spacing, c.h, c.x, &wide), c.want, 1e-3)
        << c.spacing;
    EXPECT_EQ(wide, c.wide) << c.spacing;
  }
}

// ---- Properties of the chain --------------------------------------------------------------

TEST(CrackWidth, WithTheBarsFixedWkGrowsWithTheMoment) {
  for (const Vector& v : kVectors) {
    CrackInput in = v.in;
    float last = -1;
    for (float m = 2.0f; m <= 120.0f; m += 2.0f) {
      in.m = m;
      const float wk = crack_width(in).wk;
      EXPECT_GT(wk, last) << v.name << " M " << m;
      last = wk;
    }
  }
}

TEST(CrackWidth, CloserBarsGiveASmallerWk) {
  for (const Vector& v : kVectors) {
    CrackInput in = v.in;
    in.spacing = 300;
    float last = crack_width(in).wk;
    for (float s = 299; s >= 30; s -= 1) {
      in.spacing = s;
      const float wk = crack_width(in).wk;
      EXPECT_LE(wk, last) << v.name << " spacing " << s;
      last = wk;
    }
  }
}

TEST(CrackWidth, SpacingFoundIsTheLargestThatHolds) {
  for (const Vector& v : kVectors) {
    for (float wmax : {0.05f, 0.1f, 0.2f}) {
      const int32_t s = spacing_for_crack_width(v.in, wmax, 36, 250);
      CrackInput in = v.in;
      if (s == 0) {
        in.spacing = 36;
        EXPECT_GT(crack_width(in).wk, wmax) << v.name << " " << wmax;
        continue;
      }
      in.spacing = static_cast<float>(s);
      EXPECT_LE(crack_width(in).wk, wmax) << v.name << " " << wmax;
      if (s < 250) {
        in.spacing = static_cast<float>(s + 1);
        EXPECT_GT(crack_width(in).wk, wmax) << v.name << " " << wmax;
      }
    }
  }
  // Nothing buildable carries 60 kNm/m at 0.01 mm.
  EXPECT_EQ(spacing_for_crack_width(kVectors[2].in, 0.01f, 36, 250), 0);
}

// ---- One slab from the moment to wk ---------------------------------------------------------

// Two spans of 6.1 m on 0.1 m supports (Le = 6.0 m), h 0.18 m, C30/37, market 6 (gamma_d 1),
// rule 6.10b, permanent 1.0 and imposed 5.0 kN/m2, psi2 0.3, Ø12 grade 500, cover 20 mm.
// Worked in crack_width_check.py (complete_case):
//   G = 0.1635 * 25 + 0.089 + 1.0 = 5.1765 kN/m2.
//   Bars: w = 0.89 * 1.35 * 5.1765 + 1.5 * 5.0 = 13.7196; the middle support of two equal
//   spans with the twenty point loads of each, M = w Le^2/8 + w (0.05 Le)^2/16 = 61.815;
//   the ultimate block in the ribs at d = 0.154 gives x = 47.0 mm and As = 1135.6 mm2/m,
//   S = 113/1.1356 = 99.5 -> 99 mm.
//   Quasi-permanent: w = 5.1765 + 0.3 * 5.0 = 6.6765, M = -30.082 kNm/m.
//   Section at Ø12/99: As = 1141.4 mm2/m, x = 51.69 mm (above the ribs), sigma_s = 196.3 MPa,
//   hc,ef = (180 - 51.69)/3 = 42.77, rho = 0.02669, eps = 6.928E-4 (formula),
//   sr,max = 68 + 0.17 * 12/0.02669 = 144.4 mm (99 <= 5 (20 + 6)), wk = 0.1001 mm.
solvo::Run two_span_slab() {
  solvo::Run run;
  Indat& c = run.indat;
  c.n = 2;
  for (int i = 1; i <= 2; ++i) {
    c.span[i] = 6.1f;
    c.thickness[i] = 0.18f;
    c.perm_load[i] = 1.0f;
    c.imposed_load[i] = 5.0f;
  }
  for (int j = 1; j <= 3; ++j) c.support_width[j] = 0.1f;
  c.market = 6;
  c.load_set = 2;
  c.concrete_class = 3;
  c.top_bar = 4;
  c.top_cover = 20;
  c.psi2 = 0.3f;
  berdat(run);
  int32_t flag = 0;
  snikra(run, flag);
  dimen(run);
  return run;
}

TEST(CrackWidthSlab, TwoSpansFromTheMomentToWk) {
  const solvo::Run run = two_span_slab();
  const CrackSupport& s = run.crack.at[2];
  ASSERT_TRUE(s.checked);
  EXPECT_EQ(s.spacing, 99);
  EXPECT_NEAR(s.m, -30.082, 0.01 * 30.082);
  EXPECT_NEAR(s.r.sigma_s, 196.3, 0.01 * 196.3);
  EXPECT_NEAR(s.r.rho, 0.02669, 0.01 * 0.02669);
  EXPECT_NEAR(s.r.wk, 0.1001, 0.01 * 0.1001);
  EXPECT_NEAR(s.utilisation, 0.1001 / 0.4, 0.01 * 0.25);
  // The end supports have no cantilever and no row.
  EXPECT_FALSE(run.crack.at[1].checked);
  EXPECT_FALSE(run.crack.at[3].checked);
}

TEST(CrackWidthSlab, ASupportThatCracksTooWideNeedsCloserBarsAndSteel) {
  solvo::Run run = two_span_slab();
  run.indat.crack_wmax = 0.08f;
  crack_widths(run);
  const CrackSupport& s = run.crack.at[2];
  ASSERT_TRUE(s.checked);
  EXPECT_GT(s.utilisation, 1.0f);
  ASSERT_GT(s.needed, 0);
  EXPECT_LT(s.needed, 99);
  EXPECT_FALSE(crack_verdict(run.crack, 2).passes);
  EXPECT_EQ(crack_verdict(run.crack, 2).support, 2);
  // The bar over the middle support, at the closer spacing: wbar L1 (1/S' - 1/S) over the
  // 12.2 m of slab.
  const float l1 = static_cast<float>(run.utdat.l1[2]);
  const float want = 0.94f * l1 * (1.0f / static_cast<float>(s.needed) - 1.0f / 99.0f) / 12.2f;
  EXPECT_NEAR(run.crack.extra_wa, want, 1e-3f * want);
  EXPECT_GT(run.crack.extra_wb, 0.0f);
}

// ---- Generated slabs ------------------------------------------------------------------------

TEST(CrackWidthSlab, GeneratedSlabsKeepTheRules) {
  reference::RandomSlabs slabs(2626);
  int rows = 0, failing = 0, helped = 0;
  for (int index = 0; index < 300; ++index) {
    solvo::Run run;
    slabs.next(run, index);
    int32_t flag = 0;
    snikra(run, flag);
    dimen(run);
    const Indat& c = run.indat;
    const std::string at = "case " + std::to_string(index);
    for (int j = 1; j <= c.n + 1; ++j) {
      const CrackSupport& s = run.crack.at[static_cast<size_t>(j)];
      const bool end = (j == 1 && !(c.cant_left > 0)) || (j == c.n + 1 && !(c.cant_right > 0));
      // No row where no top bars were designed (no hogging) and at an end without cantilever.
      if (!(run.utdat.s[j] > 0) || !(run.utdat.as[j] > 0) || end) {
        EXPECT_FALSE(s.checked) << at << " support " << j;
      }
      if (!s.checked) continue;
      ++rows;
      EXPECT_EQ(s.m, run.arbvar.ms_min[kRowQuasiLong][j]) << at << " support " << j;
      const float h =
          1000.0f * std::fmin(c.thickness[std::max(j - 1, 1)], c.thickness[std::min(j, c.n)]);
      const float limit = std::fmin(250.0f, std::trunc(2.0f * h));
      EXPECT_EQ(s.spacing, static_cast<int32_t>(std::fmin(run.utdat.s[j], limit)))
          << at << " support " << j;
      if (s.utilisation <= 1.0f) {
        EXPECT_LE(s.r.wk, c.crack_wmax) << at << " support " << j;
        EXPECT_EQ(s.needed, 0) << at << " support " << j;
      } else {
        ++failing;
        EXPECT_FALSE(crack_verdict(run.crack, c.n).passes) << at;
      }
      if (s.needed > 0) {
        // The spacing needed holds, one more millimetre does not.
        ++helped;
        CrackInput in;
        in.m = -s.m;
        in.h = h;
        in.cover = static_cast<float>(c.top_cover);
        in.phi = run.matdat.dia_top;
        in.bar_area = run.matdat.area_top;
        in.es = 210000.0f;
        in.ecm = comdat::kConcrete[static_cast<size_t>(c.concrete_class)].ecm / 1000.0f;
        in.fct_eff = comdat::kFctm[static_cast<size_t>(c.concrete_class)];
        in.spacing = static_cast<float>(s.needed);
        EXPECT_LE(crack_width(in).wk, c.crack_wmax) << at << " support " << j;
        in.spacing = static_cast<float>(s.needed + 1);
        if (s.needed + 1 < s.spacing) {
          EXPECT_GT(crack_width(in).wk, c.crack_wmax) << at << " support " << j;
        }
      }
    }
    EXPECT_GE(run.crack.extra_wa, 0.0f) << at;
    // Where the verdict passes, every row holds wk <= wmax.
    if (crack_verdict(run.crack, c.n).passes) {
      for (int j = 1; j <= c.n + 1; ++j) {
        if (run.crack.at[static_cast<size_t>(j)].checked) {
          EXPECT_LE(run.crack.at[static_cast<size_t>(j)].r.wk, c.crack_wmax) << at;
        }
      }
    }
    // No check and no rows without a largest crack width.
    run.indat.crack_wmax = 0.0f;
    crack_widths(run);
    for (int j = 1; j <= c.n + 1; ++j)
      EXPECT_FALSE(run.crack.at[static_cast<size_t>(j)].checked) << at;
    EXPECT_TRUE(crack_verdict(run.crack, c.n).passes) << at;
    EXPECT_EQ(run.crack.extra_wa, 0.0f) << at;
  }
  // The generator reaches rows, failures and supports that closer bars put right.
  EXPECT_GT(rows, 300);
  EXPECT_GT(failing, 5);
  EXPECT_GT(helped, 5);
}

// ---- Page 6 and the design search ------------------------------------------------------------

std::vector<std::string> page6_lines(solvo::Run& run) {
  slab_checks(run);
  std::tm now{};
  now.tm_year = 124;
  now.tm_mday = 1;
  utskr(run, now);
  const std::string& text = run.files.back().contents;
  std::vector<std::string> lines;
  size_t start = 0;
  int marks = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 2;
    if (marks == 5) lines.push_back(line);
    if (line == "^") ++marks;
  }
  return lines;
}

int find_line(const std::vector<std::string>& lines, const std::string& text) {
  for (size_t k = 0; k < lines.size(); ++k)
    if (lines[k] == text) return static_cast<int>(k);
  return -1;
}

TEST(CrackWidthReport, OneRowPerSupportAfterTheAntiCrackSteel) {
  solvo::Run run = two_span_slab();
  const std::vector<std::string> page = page6_lines(run);
  const int anti = find_line(page, "     SPRICKARMERING");
  const int crack = find_line(page, "     SPRICKBREDD");
  const int freq = find_line(page, "     EGENFREKVENS");
  ASSERT_GT(anti, 0);
  ASSERT_GT(crack, anti);
  ASSERT_GT(freq, crack);
  EXPECT_EQ(page[static_cast<size_t>(crack + 2)].substr(0, 30), "     wk <= wmax = 0.40 mm (X0/");
  // One row: support 2, then M, sigma_s, rho (4 decimals), sr,max, wk, wmax, utilisation.
  const std::string& row = page[static_cast<size_t>(crack + 6)];
  const CrackSupport& s = run.crack.at[2];
  const std::string want = "        2 " + f_field(s.m, 8, 2) + " " + f_field(s.r.sigma_s, 7, 1) +
                           " " + f_field(s.r.rho, 9, 4) + " " + f_field(s.r.sr_max, 6, 1) + " " +
                           f_field(s.r.wk, 6, 3) + "  0.40 " + f_field(s.utilisation, 6, 2);
  EXPECT_EQ(row, want);
  EXPECT_EQ(row.substr(10, 8), "  -30.08");             // the hand-worked moment
  EXPECT_EQ(row.substr(27, 9), "   0.0267");            // and rho
  EXPECT_EQ(page[static_cast<size_t>(crack + 7)], "");  // the end supports have no row
}

TEST(CrackWidthReport, FailingSupportIsNamedWithTheSpacingItNeeds) {
  solvo::Run run = two_span_slab();
  run.indat.crack_wmax = 0.08f;
  crack_widths(run);
  const int32_t needed = run.crack.at[2].needed;
  ASSERT_GT(needed, 0);
  const std::vector<std::string> page = page6_lines(run);
  bool obs = false;
  for (const std::string& l : page)
    if (l.rfind("     OBS! Sprickbredd", 0) == 0) {
      obs = true;
      EXPECT_EQ(l.substr(l.size() - 9), utf8_to_cp1252("  stöd  2")) << l;
    }
  EXPECT_TRUE(obs);
  const int crack = find_line(page, "     SPRICKBREDD");
  ASSERT_GT(crack, 0);
  const std::string& row = page[static_cast<size_t>(crack + 6)];
  EXPECT_EQ(row.substr(row.size() - 9), "    " + i_field(needed, 5)) << row;
  EXPECT_EQ(page[static_cast<size_t>(crack + 7)],
            utf8_to_cp1252("     S behövs ger" + f_field(run.crack.extra_wa, 6, 2) +
                           " kg/m2 mer armering över stöd."));
}

TEST(CrackWidthReport, NoLargestWidthNoRows) {
  solvo::Run run = two_span_slab();
  run.indat.crack_wmax = 0.0f;
  crack_widths(run);
  const std::vector<std::string> page = page6_lines(run);
  const int crack = find_line(page, "     SPRICKBREDD");
  ASSERT_GT(crack, 0);
  EXPECT_EQ(
      page[static_cast<size_t>(crack + 2)],
      utf8_to_cp1252("     Ingen största sprickbredd angiven: sprickbredden kontrolleras ej."));
  EXPECT_EQ(page[static_cast<size_t>(crack + 3)], "");
}

TEST(CrackWidthSearch, ADesignThatCracksTooWideFailsAndPaysForTheSteel) {
  solvo::Run run = two_span_slab();
  const SearchPlan plan;
  const Outcome wide_enough = assess(run, plan);
  EXPECT_EQ(wide_enough.steel_crack, 0.0f);
  run.indat.crack_wmax = 0.02f;  // wk 0.100 mm is five times this
  crack_widths(run);
  const Outcome o = assess(run, plan);
  EXPECT_FALSE(o.passes);
  EXPECT_EQ(o.check, Check::kCrackWidth);
  EXPECT_EQ(o.where, 2);
  EXPECT_EQ(check_name(o.check, o.where), "Sprickbredd stöd 2");
  EXPECT_NEAR(o.worst, 0.1001 / 0.02, 0.01 * 5.0);
  EXPECT_EQ(o.steel_crack, run.crack.extra_wa);
  EXPECT_NEAR(o.cost - wide_enough.cost, plan.steel_price * o.steel_crack, 1e-3f);
}

}  // namespace
}  // namespace solvo

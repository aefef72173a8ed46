// The data groups of one engine run. Every engine routine takes the Run by reference;
// nothing is kept in globals, so a test can calculate many cases in one process.
//
// Units: kN, m, kN/m2, kNm/m unless a member says otherwise. Arrays indexed from 1 have
// one spare slot at [0] so that the formulas read with the same indices as the slab:
// span i = 1..n, support j = 1..n+1.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "checkdat.h"
#include "crack_width.h"
#include "slab_limits.h"
#include "utdat.h"

namespace solvo {

// The design case as read from the case file.
struct Indat {
  int32_t market = 1;            // 1..6
  int32_t safety_class = 2;      // 1..3
  int32_t n = 2;                 // number of spans, 1..10
  Span1<kMaxSpans> span{};       // span length, centre to centre of supports
  Span1<kMaxSpans> thickness{};  // slab thickness
  Span1<kMaxSupports> support_width{};
  int32_t load_category = 1;  // 0..9
  float gamma_g = 1.35f, xsi = 0.89f, gamma_q = 1.5f;
  float psi0 = 0.7f, psi1 = 0.5f, psi2 = 0.3f;
  int32_t load_set = 3;                       // 1 = 6.10a, 2 = 6.10b, 3 = both
  Span1<kMaxSpans> perm_load{};               // permanent load without self weight, kN/m2
  Span1<kMaxSpans> imposed_load{};            // kN/m2
  float cant_left = 0.0f, cant_right = 0.0f;  // cantilever lengths, 0 = none
  int32_t concrete_class = 4;                 // 1..9
  int32_t top_grade = 2;                      // 1..3
  int32_t top_bar = 3;                        // 1..5
  int32_t top_layout = 1;                     // 1 or 2
  int32_t top_cover = 15;                     // mm
  int32_t bot_grade = 2;                      // 1..3
  int32_t bot_bar = 1;                        // 1..5
  int32_t bot_placement = 42;                 // mm from the soffit to the bar centre
  int32_t fire_minutes = 60;                  // 30, 60 or 90: what the fire design designs for
  int32_t ceiling = 1;                        // 1 none, 2 13 mm gypsum board
  int32_t creep = 2;                          // creep factor
  float precamber = 0.0f;                     // mm
  int32_t defl_initial = 250;                 // limit span / this
  int32_t defl_additional = 500;              // limit span / this
  int32_t defl_load = 2;                      // 1 frequent, 2 characteristic
  int32_t line_loads = 0;                     // 0..5 in use
  Int1<kMaxLineLoads> ll_span{};
  Span1<kMaxLineLoads> ll_pos{};   // from the left support face of the span, m
  Span1<kMaxLineLoads> ll_load{};  // kN/m
  // Lines 38-40, after the 37 lines of the original layout; a file without them keeps these.
  int32_t deck_support = 1;  // the deck while the concrete is wet: 1 continuous over the
                             // supports and props, 2 simply supported between them
  Int1<kMaxSpans> props{};   // temporary props in each span, 0..4, equally spaced
  float freq_min = 5.0f;     // lowest acceptable natural frequency, Hz (0 = no check)
  // Line 41; a file of 37 or 40 lines keeps it.
  float crack_wmax = 0.4f;  // largest crack width over the supports, mm, 0 = no check
  // The fire option as the case gives it, 1..4; 4 asks for REI 120, which is designed as 90
  // minutes (fire_minutes).
  int32_t fire_option = 2;
};

// True when the case asks for REI 120, which the fire design does not design: it designs 90
// minutes for it.
inline bool asks_rei120(const Indat& c) { return c.fire_option == 4; }

// The analysis row that the design, the fire design and the report read: the load-set
// selector 1 (6.10a) or 2 (6.10b), otherwise row 3 (both).
inline int design_row(const Indat& c) {
  if (c.load_set == 1) return kRowUlsA;
  if (c.load_set == 2) return kRowUlsB;
  return kRowUlsBoth;
}

// Derived material values.
struct Matdat {
  float fypd = 0;     // deck design yield strength
  float es = 0;       // modulus of the reinforcement, kN/m2
  float fcd = 0;      // concrete design compressive strength
  float fctd = 0;     // concrete design tensile strength
  float ec = 0;       // concrete modulus, N/m2
  float fyd_top = 0;  // top bars
  float fyd_top_fire = 0;
  float dia_top = 0;   // mm
  float area_top = 0;  // mm2
  float mass_top = 0;  // kg/m
  float fyd_bot = 0;
  float dia_bot = 0;
  float area_bot = 0;
  float mass_bot = 0;
  float tau_rd = 0;    // design longitudinal shear strength
  float mrd_deck = 0;  // design moment resistance of the deck alone, kNm/m
};

// Derived per case, and the per-span values of the analysis.
struct Dat {
  float gamma_d = 1.0f;
  Span1<kMaxSpans> clear_span{};   // Le
  Span1<kMaxSpans> self_weight{};  // g0, kN/m2
};

// Tables with one row per load set k = 1..9 (row 9 the fire case).
using RowSpan = std::array<Span1<kMaxSpans>, kLoadSets + 1>;        // [k][i]
using RowSupport = std::array<Span1<kMaxSupports>, kLoadSets + 1>;  // [k][j]
using RowFlag = std::array<Int1<kMaxSupports>, kLoadSets + 1>;      // [k][j]
using Curve = std::array<float, kPoints>;                           // p = 0..20
using SpanCurves = std::array<Curve, kMaxSpans + 1>;                // [i][p]
using RowCurves = std::array<SpanCurves, kLoadSets + 1>;            // [k][i][p]

// The envelopes of the analysis, per load set: for every value the value of arrangement 0
// plus the sum of the positive differences of the other arrangements (max), or of the
// negative ones (min). Moments sagging positive; shears at both ends as magnitudes of the
// simple-span sense (a downward load gives positive left and right shears).
struct Arbvar {
  RowSupport ms_max{}, ms_min{};  // support moments
  RowSupport r_max{}, r_min{};    // support reactions, with the load on the support strip
  RowSpan vl_max{}, vl_min{};     // shear at the left end of the span
  RowSpan vr_max{}, vr_min{};     // shear at the right end of the span
  // The largest value over the interior points p = 1..19 of each envelope.
  RowSpan m_span_max{};  // of the max moment envelope: the span moment
  RowSpan m_span_min{};  // of the min moment envelope
  RowSpan d_span_max{};  // of the max deflection envelope, m
  RowSpan d_span_min{};  // of the min deflection envelope, m
  // The envelopes at the 21 points (p = 0 and 20 hold the support moments / 0 deflection).
  // Row 3 is not analysed: its point curves are row 2's.
  RowCurves m_max{}, m_min{}, d_max{}, d_min{};
  // Zero points of the min moment envelope seen from the left and the right support, the
  // reduced cut-off distances (where it has fallen to half the support moment), and the
  // zero points of the max envelope that shorten the shear span. Measured from the support
  // centre, m.
  RowSpan zl{}, zr{}, tl{}, tr{}, p1{}, p2{};
  // 1 where the top bars of this support and the previous one are one bar.
  RowFlag merge{};
};

// The load vector and the results of one load arrangement (krdef), and the loads per row.
struct Snitt {
  // Input of krdef.
  Span1<kMaxSpans> w{};   // load intensity of each span, kN/m2
  Span1<kMaxSpans> ei{};  // bending stiffness, N m2 per m
  int32_t nll = 0;        // line loads in use
  Int1<kMaxLineLoads> ll_span{};
  Span1<kMaxLineLoads> ll_pos{};   // from the left support face of the span, m
  Span1<kMaxLineLoads> ll_load{};  // factored, kN/m
  // Results of krdef. Support moments are also an input in the mode with given moments.
  Span1<kMaxSupports> m{};                    // support moments
  SpanCurves mom{};                           // bending moment at p = 0..20
  SpanCurves defl{};                          // deflection at p = 0..20, m (downward positive)
  Span1<kMaxSpans> vl{}, vr{};                // end shears
  Span1<kMaxSupports> r{};                    // support reactions
  Span1<kMaxSpans> rot_l{}, rot_r{};          // end-rotation load terms (times EI)
  std::array<Span1<kMaxSupports>, 3> coef{};  // sub-, main and super-diagonal by support
  Span1<kMaxSupports> rhs{};
  // Per row: the permanent load on every span, and the load of a span when it is the
  // loaded span (row 9: the fire load). The design takes the latter as the longitudinal
  // shear action.
  RowSpan g_row{};
  RowSpan q_loaded{};
};

// A file that the run writes, held in memory until the run has completed.
struct OutputFile {
  std::string name;      // as the engine names it, e.g. "MOMK.DAT"; bytes of the case name kept
  std::string contents;  // bytes, Windows line ends
  bool report = false;   // the report, named by utfil
};

struct Run {
  Indat indat;
  Dat dat;
  Matdat matdat;
  Arbvar arbvar;
  Snitt snitt;
  Utdat utdat;
  Checkdat checkdat;                          // the checks of report page 6
  CrackWidths crack;                          // crack widths over the supports, report page 6
  std::string rubrad = std::string(40, ' ');  // heading, 40 bytes
  std::string prfil = std::string(9, ' ');    // case name, 9 bytes
  std::string utfil = std::string(13, ' ');   // report file name, 13 bytes
  std::vector<OutputFile> files;              // in the order they were written
};

}  // namespace solvo

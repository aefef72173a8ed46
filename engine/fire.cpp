#include "fire.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "analysis.h"
#include "comdat.h"
#include "comdat_deck.h"
#include "design.h"
#include "fortran_io.h"
#include "numeric.h"
#include "section.h"

namespace solvo {

namespace {

// Fire class in minutes from the stored minutes: open bands around 30 and 60.
int fire_class(float r) {
  if (r > 29.0f && r < 31.0f) return 30;
  if (r > 59.0f && r < 61.0f) return 60;
  return 90;
}

bool has_ceiling_option(int32_t ceiling) { return ceiling == 1 || ceiling == 2; }

// Temperatures and section coefficients per class: REI 30, 60, 90.
struct ClassValues {
  float theta_d, theta_b;
  float c1, c2, c3, c4;
};
constexpr ClassValues kClass30{783.0f, 230.0f, 0.037f, 0.044f, 0.032f, 0.017f};
constexpr ClassValues kClass60{818.0f, 433.0f, 0.026f, 0.032f, 0.032f, 0.036f};
constexpr ClassValues kClass90{826.0f, 534.0f, 0.019f, 0.026f, 0.030f, 0.050f};

const ClassValues& class_values(float r) {
  switch (fire_class(r)) {
    case 30:
      return kClass30;
    case 60:
      return kClass60;
    default:
      return kClass90;
  }
}

// A reduction factor tabulated every 100 deg C from 0 to 1200 deg C.
using FactorTable = std::array<float, 13>;
constexpr FactorTable kSteelStrength = {1.0f,  1.0f,  1.0f,  1.0f,  1.0f,  0.78f, 0.47f,
                                        0.23f, 0.11f, 0.06f, 0.04f, 0.02f, 0.0f};
constexpr FactorTable kSteelModulus = {1.0f,  1.0f,  0.9f,    0.8f,   0.7f,    0.6f, 0.31f,
                                       0.13f, 0.09f, 0.0675f, 0.045f, 0.0225f, 0.0f};

// Linear within a step Tj < theta <= Tj + 100; 1 at and below 0 deg C, 0 from 1200 deg C.
float interpolate(const FactorTable& table, float theta) {
  if (!(theta > 0.0f)) return table[0];
  if (theta >= 1200.0f) return table[12];
  int step = 0;
  while (theta > 100.0f * static_cast<float>(step + 1)) ++step;
  const float tj = 100.0f * static_cast<float>(step);
  const float kj = table[static_cast<size_t>(step)];
  const float kn = table[static_cast<size_t>(step) + 1];
  return kj - (theta - tj) * (kj - kn) * 0.01f;
}

// The value at x (m from the left support face) of a curve sampled at the 21 points
// p * 0.05 * le: linear between the neighbouring points; x = le (and beyond) lies in the last
// interval, below 0 in the first. 0 when le is not positive.
float curve_at(const Curve& curve, float le, float x) {
  if (!(le > 0)) return 0;
  const float h = 0.05f * le;
  // Clamped to the intervals 0..19: x = le interpolates between points 19 and 20.
  const int m = std::clamp(ftrunc(20.0f * x / le), 0, kPoints - 2);
  const float xm = sample_point(m, le);
  return curve[m] + (curve[m + 1] - curve[m]) * (x - xm) / h;
}

// A span's moment curve at p = 0..20 from krdef's results, with the support moments at
// both ends.
Curve span_curve(const Snitt& s, int i) {
  Curve c = s.mom[i];
  c[0] = s.m[i];
  c[kPoints - 1] = s.m[i + 1];
  return c;
}

void write_curve(FortranWriter& w, const char* label, int i, const Curve& c) {
  w.a(label).i(i, 1).a(",X)/");
  for (float v : c) w.f(v, 10, 6).a("/");
  w.endl();
}

// Where between two neighbouring points (value `from`, then `to`) the curve reaches
// `target`, as a fraction of the step; requires from < target <= to.
float fraction(float from, float to, float target) { return (target - from) / (to - from); }

// Zero points and half-moment points of the fire curve of span i, measured from the support
// centres, into row 9 (zl, zr, tl, tr and the merge flags).
// Read this way on purpose: each end's zero point is the first point that reaches zero scanned
// from its own supporting end, with no test for a curve that turns down before it crosses; a
// span whose fire curve is negative at every point gets (B + Le)/2 at both ends.
void fire_zero_points(Run& run, int i, const Curve& curve) {
  const Indat& c = run.indat;
  Arbvar& av = run.arbvar;
  const float le = run.dat.clear_span[i];
  const float h = 0.05f * le;
  const float half_left = 0.5f * c.support_width[i];
  const float half_right = 0.5f * c.support_width[i + 1];
  float ms = curve[0], mr = curve[kPoints - 1];
  if (std::fabs(ms) < 0.0001f) ms = 0;
  if (std::fabs(mr) < 0.0001f) mr = 0;

  float zl = half_left, tl = half_left, zr = half_right, tr = half_right;
  bool hogging_throughout = false;

  // First point from the left (right) that reaches `target`, or -1.
  auto from_left = [&](float target) {
    for (int p = 1; p < kPoints; ++p)
      if (curve[p] >= target) return p;
    return -1;
  };
  auto from_right = [&](float target) {
    for (int p = kPoints - 2; p >= 0; --p)
      if (curve[p] >= target) return p;
    return -1;
  };

  if (ms < 0) {
    const int p = from_left(0.0f);
    if (p < 0) {
      hogging_throughout = true;
    } else {
      zl = half_left + h * static_cast<float>(p - 1) + h * fraction(curve[p - 1], curve[p], 0.0f);
      const int q = from_left(0.5f * ms);  // found: at the latest at p
      tl = half_left + h * static_cast<float>(q - 1) +
           h * fraction(curve[q - 1], curve[q], 0.5f * ms);
    }
  }
  if (mr < 0 && !hogging_throughout) {
    const int p = from_right(0.0f);
    if (p < 0) {
      hogging_throughout = true;
    } else {
      zr = half_right + h * static_cast<float>(kPoints - 2 - p) +
           h * fraction(curve[p + 1], curve[p], 0.0f);
      const int q = from_right(0.5f * mr);
      tr = half_right + h * static_cast<float>(kPoints - 2 - q) +
           h * fraction(curve[q + 1], curve[q], 0.5f * mr);
    }
  }
  if (hogging_throughout) {
    zl = tl = 0.5f * (c.support_width[i] + le);
    zr = tr = 0.5f * (c.support_width[i + 1] + le);
    if (av.merge[kFireRow][i] != 1) av.merge[kFireRow][i + 1] = 1;
  }
  av.zl[kFireRow][i] = zl;
  av.zr[kFireRow][i] = zr;
  av.tl[kFireRow][i] = tl;
  av.tr[kFireRow][i] = tr;
}

// The smallest bottom bar size above `bar` whose spacing for the area `ab` (m2/m) is one
// bar to a rib at most; 0 when none is. The depth of the bars does not depend on their size.
int32_t larger_bottom_bar(int32_t bar, float ab) {
  for (int32_t b = bar + 1; b <= comdat::kBarSizes; ++b)
    if (ftrunc(comdat::kBar[static_cast<size_t>(b)].area / (ab * 1000.0f)) >= kLeastBottomSpacing)
      return b;
  return 0;
}

}  // namespace

float fsd1(float r, int32_t ceiling) {
  return has_ceiling_option(ceiling) ? class_values(r).theta_d : 0.0f;
}

float fsd2(float r, int32_t ceiling) {
  return has_ceiling_option(ceiling) ? class_values(r).theta_b : 0.0f;
}

float red(float theta) { return interpolate(kSteelStrength, theta); }

float ered(float theta) { return interpolate(kSteelModulus, theta); }

void fire_parameters(Run& run) {
  const Indat& c = run.indat;
  Utdat& u = run.utdat;
  const float r = static_cast<float>(c.fire_minutes);
  u.theta_d = fsd1(r, c.ceiling);
  u.theta_b = fsd2(r, c.ceiling);
  u.ky_d = red(u.theta_d);
  u.ky_b = red(u.theta_b);
  u.ke_b = ered(u.theta_b);
  u.c1 = u.c2 = u.c3 = u.c4 = 0;
  if (has_ceiling_option(c.ceiling)) {
    const ClassValues& v = class_values(r);
    u.c1 = v.c1;
    u.c2 = v.c2;
    u.c3 = v.c3;
    u.c4 = v.c4;
  }
}

void fire_support_capacities(Run& run) {
  const Indat& c = run.indat;
  const Matdat& m = run.matdat;
  Utdat& u = run.utdat;
  const int n = c.n;
  // The compression zone over a support in fire: rib height c1, widths c3 and c2.
  const RibGeometry zone{u.c1, comdat::kRibPitch, u.c3, u.c2};
  for (int j = 1; j <= n + 1; ++j) {
    float h = c.thickness[1];
    if (j == n + 1) {
      h = c.thickness[n];
    } else if (j > 1) {
      h = std::fmin(c.thickness[j - 1], c.thickness[j]);
    }
    const float d = h - (0.5f * m.dia_top + static_cast<float>(c.top_cover)) * 0.001f - u.c4;
    // The bars placed: none where the support has no solution.
    const CapacityResult r = samm2s(m.fcd, m.fyd_top_fire, m.es, zone, d, u.as_credit[j], 0.0f);
    u.mr_fire[j] = r.status == kNoConvergence ? 0.0f : r.mr;
  }
}

namespace {

// The fire load into the section data: row 9's span loads, the line loads times psi2
// gammaD, short-term stiffness.
void set_fire_loads(Run& run) {
  const Indat& c = run.indat;
  Snitt& sn = run.snitt;
  for (int i = 1; i <= c.n; ++i) {
    sn.ei[i] = span_stiffness(run, 0.0f, i);
    sn.w[i] = sn.q_loaded[kFireRow][i];
  }
  sn.nll = c.line_loads;
  for (int l = 1; l <= kMaxLineLoads; ++l) {
    sn.ll_span[l] = c.ll_span[l];
    sn.ll_pos[l] = c.ll_pos[l];
    sn.ll_load[l] = c.ll_load[l] * c.psi2 * run.dat.gamma_d;
  }
}

// The elastic distribution under the fire load: its support moments (kNm/m) and the span
// curves, each written to the file as "M(i".
struct ElasticFire {
  Span1<kMaxSupports> ms{};
  std::array<Curve, kMaxSpans + 1> curve{};
};

ElasticFire elastic_fire_moments(Run& run, KrdefCache& cache, FortranWriter& out) {
  const int n = run.indat.n;
  krdef(run, 0, cache);
  ElasticFire e;
  for (int j = 1; j <= n + 1; ++j) e.ms[j] = run.snitt.m[j];
  for (int i = 1; i <= n; ++i) {
    e.curve[i] = span_curve(run.snitt, i);
    write_curve(out, "M(", i, e.curve[i]);
  }
  return e;
}

// Candidate support moments (kNm/m): per span a straight line through two points of the
// elastic curve, near the zero points of design row k, extended to both supports; `left`
// at the span's left support, `right` at its right one. A condition that fails gives
// 1000, whose candidate is never chosen.
struct SupportCandidates {
  Span1<kMaxSupports> left{}, right{};
};

SupportCandidates support_candidates(const Run& run, int k, const ElasticFire& e) {
  const Indat& c = run.indat;
  const Arbvar& av = run.arbvar;
  const int n = c.n;
  constexpr float kNoLine = 1000.0f;
  SupportCandidates cand;
  for (int i = 1; i <= n; ++i) {
    const float le = run.dat.clear_span[i];
    const float x1 = av.zl[k][i] - 0.5f * c.support_width[i];
    const float x2 = le - av.zr[k][i] + 0.5f * c.support_width[i + 1];
    float yl = kNoLine, yr = kNoLine;
    if (i == 1) {
      yl = 0;
      if (std::fabs(x2) >= 0.001f) yr = curve_at(e.curve[i], le, x2) * le / x2;
    } else if (i == n) {
      yr = 0;
      if (std::fabs(le - x1) >= 0.001f) yl = curve_at(e.curve[i], le, x1) * le / (le - x1);
    } else if (av.merge[k][i + 1] == 0 && std::fabs(x2 - x1) >= 0.001f) {
      const float m1 = curve_at(e.curve[i], le, x1);
      const float m2 = curve_at(e.curve[i], le, x2);
      yl = m1 + (m1 - m2) * x1 / (x2 - x1);
      yr = m1 - (m1 - m2) * (le - x1) / (x2 - x1);
    }
    cand.left[i] = e.ms[i] - yl;
    cand.right[i + 1] = e.ms[i + 1] - yr;
  }
  return cand;
}

// Fire support moments: the end supports keep their (cantilever) moments; an interior
// support takes the least hogging of its candidates and its capacity in fire.
Span1<kMaxSupports> fire_support_moments(const Run& run, const ElasticFire& e,
                                         const SupportCandidates& cand) {
  const int n = run.indat.n;
  Span1<kMaxSupports> mf = e.ms;
  if (n >= 2) {
    mf[1] = cand.left[1];
    mf[n + 1] = cand.right[n + 1];
    for (int j = 2; j <= n; ++j)
      mf[j] = std::max({cand.left[j], cand.right[j], -run.utdat.mr_fire[j]});
  }
  return mf;
}

// Row 9 from the redistributed analysis now in the section data: the same value as max
// and min envelope, the span curves written to the file as "MF(i", merge flags cleared.
void store_fire_row(Run& run, FortranWriter& out) {
  Arbvar& av = run.arbvar;
  const Snitt& sn = run.snitt;
  const int n = run.indat.n;
  for (int j = 1; j <= n + 1; ++j) {
    av.ms_max[kFireRow][j] = av.ms_min[kFireRow][j] = sn.m[j];
    av.r_max[kFireRow][j] = av.r_min[kFireRow][j] = sn.r[j];
    av.merge[kFireRow][j] = 0;
  }
  for (int i = 1; i <= n; ++i) {
    const Curve curve = span_curve(sn, i);
    float m_span = curve[1], d_span = sn.defl[i][1];
    for (int p = 2; p <= kPoints - 2; ++p) {
      m_span = std::max(m_span, curve[p]);
      d_span = std::max(d_span, sn.defl[i][p]);
    }
    av.m_span_max[kFireRow][i] = av.m_span_min[kFireRow][i] = m_span;
    av.d_span_max[kFireRow][i] = av.d_span_min[kFireRow][i] = d_span;
    av.m_max[kFireRow][i] = av.m_min[kFireRow][i] = curve;
    av.d_max[kFireRow][i] = av.d_min[kFireRow][i] = sn.defl[i];
    av.vl_max[kFireRow][i] = av.vl_min[kFireRow][i] = sn.vl[i];
    av.vr_max[kFireRow][i] = av.vr_min[kFireRow][i] = sn.vr[i];
    write_curve(out, "MF(", i, curve);
  }
}

}  // namespace

void brand(Run& run) {
  const int n = run.indat.n;
  FortranWriter out;
  out.reserve(16 + size_t{512} * static_cast<size_t>(n));  // two curves of 256 bytes a span
  out.a("   * Last ").i(0, 2).endl();

  set_fire_loads(run);
  // The redistributed analysis has the same loads as the elastic one.
  KrdefCache cache;
  const ElasticFire elastic = elastic_fire_moments(run, cache, out);
  const SupportCandidates cand = support_candidates(run, design_row(run.indat), elastic);
  const Span1<kMaxSupports> mf = fire_support_moments(run, elastic, cand);
  for (int j = 1; j <= n + 1; ++j) run.snitt.m[j] = mf[j];
  krdef(run, 1, cache);
  store_fire_row(run, out);
  for (int i = 1; i <= n; ++i) fire_zero_points(run, i, run.arbvar.m_max[kFireRow][i]);

  run.files.push_back(OutputFile{"MOMENTBRAND.RES", out.take(), false});
}

void bottom_bars(Run& run) {
  const Indat& c = run.indat;
  const Matdat& m = run.matdat;
  Utdat& u = run.utdat;
  const int n = c.n;
  const float fyb = m.fyd_bot * u.ky_b;
  const float fyp = m.fypd * u.ky_d;
  const float es = m.es * u.ke_b;
  float sum = 0, total = 0;
  for (int i = 1; i <= n; ++i) {
    const float t = c.thickness[i];
    const float le = run.dat.clear_span[i];
    total += le;
    const float moment = run.arbvar.m_span_max[kFireRow][i];
    const float ms = moment >= 0.01f ? moment : 0.0f;
    const float dp = t - comdat::kDeckCentroid;
    const float db = t - 0.001f * static_cast<float>(c.bot_placement);
    const FireAreaResult r = samm1(m.fcd, fyb, fyp, es, dp, db, comdat::kDeckArea, ms, 0.0f);
    // No solution (status 3), or the deck elastic with bars: the section does not work.
    // The deck carrying the moment alone needs no bars, whatever its status.
    float ab = r.area;
    const bool works = r.deck_alone || !(r.status == kSteelElastic || r.status == kNoConvergence);
    if (!works) ab = 10000.0f;
    u.ab[i] = ab;
    u.bottom_solution[static_cast<size_t>(i)] = BarSolution::kSolved;
    if (ab <= 0.00003f) {
      u.sb[i] = 0;
      u.lb[i] = 0;
      continue;
    }
    u.sb[i] = ftrunc(m.area_bot / (ab * 1000.0f));
    u.lb[i] = ftrunc((c.support_width[i] + le + c.support_width[i + 1]) * 1000.0f);
    if (!works) {
      u.bottom_solution[static_cast<size_t>(i)] =
          r.status == kNoConvergence ? BarSolution::kNoConvergence : BarSolution::kNoEquilibrium;
      u.sb[i] = 0;
    } else if (u.sb[i] < kLeastBottomSpacing) {
      u.bottom_needed[i] = u.sb[i];
      u.bottom_hint[i] = larger_bottom_bar(c.bot_bar, ab);
      u.bottom_solution[static_cast<size_t>(i)] =
          u.bottom_hint[i] > 0 ? BarSolution::kTooClose : BarSolution::kAboveOneLayer;
      u.sb[i] = 0;
    }
    if (u.sb[i] > 0) sum += m.mass_bot * static_cast<float>(u.lb[i]) / static_cast<float>(u.sb[i]);
  }
  u.wf = total > 0 ? sum / total : 0.0f;
}

void fire(Run& run) {
  fire_parameters(run);
  fire_support_capacities(run);
  brand(run);
  bottom_bars(run);
}

}  // namespace solvo

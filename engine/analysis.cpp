#include "analysis.h"

#include <cmath>
#include <cstring>

#include "comdat_deck.h"
#include "fortran_io.h"
#include "numeric.h"
#include "section.h"

namespace solvo {

namespace {

constexpr float kStep = 0.05f;  // one twentieth of the clear span

// Four neighbouring points at a time, with the compiler's vector extension: every lane does
// the IEEE operation of the point-by-point formula, so the results are the same bits.
constexpr int kLanes = 4;
using Lanes = float __attribute__((vector_size(16)));
using LaneMask = int32_t __attribute__((vector_size(16)));

template <size_t N>
Lanes load(const std::array<float, N>& row, int p) {
  Lanes v;
  std::memcpy(&v, &row[static_cast<size_t>(p)], sizeof v);
  return v;
}

template <size_t N>
void store(std::array<float, N>& row, int p, Lanes v) {
  std::memcpy(&row[static_cast<size_t>(p)], &v, sizeof v);
}

Lanes splat(float v) { return Lanes{v, v, v, v}; }
LaneMask point_numbers(int p) { return LaneMask{0, 1, 2, 3} + p; }
Lanes pick(LaneMask which, Lanes yes, Lanes no) { return which ? yes : no; }

// The factors of one load set: the permanent load on every span, the extra load of the
// loaded span, the line-load factor and the creep factor of the stiffness.
struct LoadSet {
  Span1<kMaxSpans> g{};
  Span1<kMaxSpans> q{};
  float l1 = 0;
  float creep = 0;
};

LoadSet load_set(const Run& run, int k) {
  const Indat& c = run.indat;
  const float gd = run.dat.gamma_d;
  LoadSet s;
  for (int i = 1; i <= c.n; ++i) {
    const float G = c.perm_load[i] + run.dat.self_weight[i];
    const float q = c.imposed_load[i];
    switch (k) {
      case kRowUlsA:
        s.g[i] = gd * c.gamma_g * G;
        s.q[i] = (c.market == 4 || c.market == 5) ? 0.0f : c.psi0 * gd * c.gamma_q * q;
        break;
      case kRowUlsB:
        s.g[i] = gd * c.xsi * c.gamma_g * G;
        s.q[i] = gd * c.gamma_q * q;
        break;
      case kRowQuasiLong:
      case kRowQuasiShort:
        s.g[i] = G;
        s.q[i] = c.psi2 * q;
        break;
      case kRowFrequent:
        s.g[i] = 0.0f;
        s.q[i] = c.psi1 * q;
        break;
      case kRowCharacteristic:
        s.g[i] = 0.0f;
        s.q[i] = G < q ? q : c.psi0 * q;
        break;
      case kRowQuasiGammaD:
        s.g[i] = gd * G;
        s.q[i] = gd * c.psi2 * q;
        break;
      default:
        break;
    }
  }
  switch (k) {
    case kRowUlsA:
      s.l1 = c.psi0 * gd * c.gamma_q;
      break;
    case kRowUlsB:
      s.l1 = gd * c.gamma_q;
      break;
    case kRowQuasiLong:
      s.l1 = c.psi2;
      s.creep = static_cast<float>(c.creep);
      break;
    case kRowQuasiShort:
      s.l1 = c.psi2;
      break;
    case kRowFrequent:
      s.l1 = c.psi1;
      break;
    case kRowCharacteristic:
      s.l1 = c.psi0;
      break;
    case kRowQuasiGammaD:
      s.l1 = gd * c.psi2;
      break;
    default:
      break;
  }
  return s;
}

// Every value that the envelopes of a load set collect from one arrangement.
struct Values {
  Span1<kMaxSupports> m{}, r{};
  Span1<kMaxSpans> vl{}, vr{};
  SpanCurves mom{}, defl{};
};

Values values_of(const Snitt& s) {
  Values v;
  v.m = s.m;
  v.r = s.r;
  v.vl = s.vl;
  v.vr = s.vr;
  v.mom = s.mom;
  v.defl = s.defl;
  return v;
}

// The difference of a value from arrangement 0 goes to the max when positive, else to the
// min.
void fold(float value, float base, float& hi, float& lo) {
  const float diff = value - base;
  if (diff > 0.0f)
    hi += diff;
  else
    lo += diff;
}

void fold(const Curve& value, const Curve& base, Curve& hi, Curve& lo) {
  for (int p = 0; p + kLanes <= kPoints; p += kLanes) {
    const Lanes diff = load(value, p) - load(base, p);
    const LaneMask up = diff > 0.0f;
    const Lanes h = load(hi, p);
    const Lanes l = load(lo, p);
    store(hi, p, pick(up, h + diff, h));
    store(lo, p, pick(up, l, l + diff));
  }
  fold(value[20], base[20], hi[20], lo[20]);
}

// Adds arrangement s to the envelopes max and min of a load set whose arrangement 0 is base.
void fold_arrangement(const Snitt& s, int n, const Values& base, Values& max, Values& min) {
  for (int q = 1; q <= n + 1; ++q) {
    fold(s.m[q], base.m[q], max.m[q], min.m[q]);
    fold(s.r[q], base.r[q], max.r[q], min.r[q]);
  }
  for (int i = 1; i <= n; ++i) {
    fold(s.vl[i], base.vl[i], max.vl[i], min.vl[i]);
    fold(s.vr[i], base.vr[i], max.vr[i], min.vr[i]);
    fold(s.mom[i], base.mom[i], max.mom[i], min.mom[i]);
    fold(s.defl[i], base.defl[i], max.defl[i], min.defl[i]);
  }
}

float largest_inner(const Curve& c) {
  float v = c[1];
  for (int p = 2; p <= 19; ++p)
    if (c[p] > v) v = c[p];
  return v;
}

// Stores the envelopes of load set k.
void store_row(Run& run, int k, const LoadSet& set, const Values& max, const Values& min) {
  const Indat& c = run.indat;
  Arbvar& a = run.arbvar;
  const int n = c.n;
  for (int j = 1; j <= n + 1; ++j) {
    a.ms_max[k][j] = max.m[j];
    a.ms_min[k][j] = min.m[j];
    // The load on the support strip itself.
    const float strip = set.g[j <= n ? j : n] * c.support_width[j];
    a.r_max[k][j] = max.r[j] + strip;
    a.r_min[k][j] = min.r[j] + strip;
  }
  for (int i = 1; i <= n; ++i) {
    a.vl_max[k][i] = max.vl[i];
    a.vl_min[k][i] = min.vl[i];
    a.vr_max[k][i] = max.vr[i];
    a.vr_min[k][i] = min.vr[i];
    a.m_max[k][i] = max.mom[i];
    a.m_min[k][i] = min.mom[i];
    a.d_max[k][i] = max.defl[i];
    a.d_min[k][i] = min.defl[i];
    a.m_span_max[k][i] = largest_inner(max.mom[i]);
    a.m_span_min[k][i] = largest_inner(min.mom[i]);
    a.d_span_max[k][i] = largest_inner(max.defl[i]);
    a.d_span_min[k][i] = largest_inner(min.defl[i]);
    run.snitt.g_row[k][i] = set.g[i];
    run.snitt.q_loaded[k][i] = set.g[i] + set.q[i];
  }
}

// Row 3, "6.10a and b", from rows 1 and 2: the more severe value of every table, the
// larger of a max table and the smaller of a min table. Its point curves are row 2's.
void form_row3(Run& run) {
  const int n = run.indat.n;
  Arbvar& a = run.arbvar;
  constexpr int A = kRowUlsA, B = kRowUlsB, BOTH = kRowUlsBoth;
  auto larger = [](auto& t, int i) { t[BOTH][i] = std::fmax(t[A][i], t[B][i]); };
  auto smaller = [](auto& t, int i) { t[BOTH][i] = std::fmin(t[A][i], t[B][i]); };
  for (int j = 1; j <= n + 1; ++j) {
    larger(a.ms_max, j);
    smaller(a.ms_min, j);
    larger(a.r_max, j);
    smaller(a.r_min, j);
  }
  for (int i = 1; i <= n; ++i) {
    larger(a.vl_max, i);
    smaller(a.vl_min, i);
    larger(a.vr_max, i);
    smaller(a.vr_min, i);
    larger(a.m_span_max, i);
    smaller(a.m_span_min, i);
    larger(a.d_span_max, i);
    smaller(a.d_span_min, i);
    a.m_max[BOTH][i] = a.m_max[B][i];
    a.m_min[BOTH][i] = a.m_min[B][i];
    a.d_max[BOTH][i] = a.d_max[B][i];
    a.d_min[BOTH][i] = a.d_min[B][i];
    const int from = a.m_span_max[B][i] > a.m_span_max[A][i] ? B : A;
    run.snitt.q_loaded[BOTH][i] = run.snitt.q_loaded[from][i];
    run.snitt.g_row[BOTH][i] = run.snitt.g_row[from][i];
  }
}

// A fraction for linear interpolation between two points; `fallback` (the division point
// itself) where the denominator is 0 or the values are not numbers.
float fraction(float num, float den, float fallback) {
  if (den == 0.0f) return fallback;
  const float f = num / den;
  return std::isfinite(f) ? f : fallback;
}

bool same_bits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

float drop_tiny(float m) { return std::fabs(m) < 0.0001f ? 0.0f : m; }

// One span of a load set's minimum moment envelope, as the zero-point search reads it: the
// clear span `le` and its twentieth `h`, the half widths of the supports at both ends
// (all m), the support moments at both ends (kNm/m, hogging negative, |M| < 0.0001 taken
// as 0) and the envelope at the 21 points, point 0 holding the left support moment.
struct MinEnvelopeSpan {
  float le, h, bl, br, ms, mr;
  Curve m;
};

// What the search finds for one span: the zero points zl, zr and the cut-off distances
// tl, tr (m from the support centres), and the merge flag of the span's right support
// (1: the hogging region runs on over the span). A value the search does not reach keeps
// what it held.
struct SpanZeroPoints {
  float zl, zr, tl, tr;
  int32_t flag;
};

MinEnvelopeSpan min_envelope_span(const Run& run, int k, int i) {
  const float le = run.dat.clear_span[i];
  MinEnvelopeSpan s{le,
                    kStep * le,
                    run.indat.support_width[i],
                    run.indat.support_width[i + 1],
                    drop_tiny(run.arbvar.ms_min[k][i]),
                    drop_tiny(run.arbvar.ms_min[k][i + 1]),
                    run.arbvar.m_min[k][i]};
  s.m[0] = s.ms;
  return s;
}

// The right cut-off distance: from point p on, the first point at or below half the right
// support moment (p = 20 when none is), interpolated back towards the point before it.
float right_cutoff(const MinEnvelopeSpan& s, int p) {
  const Curve& m = s.m;
  while (p < 20 && !(m[p] <= 0.5f * s.mr)) ++p;
  const float frac = fraction(std::fabs(m[p]) - std::fabs(0.5f * s.mr),
                              std::fabs(m[p]) - std::fabs(m[p - 1]), 0.0f);
  return 0.5f * s.br + (1.0f - kStep * static_cast<float>(p)) * s.le + s.h * frac;
}

// The right zero point and cut-off, scanning on from point p for the first point at or
// below zero. No hogging at the right support: the zero point is the support's edge.
void right_side(const MinEnvelopeSpan& s, int p, SpanZeroPoints& z) {
  const Curve& m = s.m;
  if (!(s.mr < 0.0f)) {
    z.zr = 0.5f * s.br;
    return;
  }
  while (p < 20 && !(m[p] <= 0.0f)) ++p;
  if (p == 20) {
    z.zr = 0.5f * s.br + s.h * fraction(std::fabs(s.mr), m[19] + std::fabs(s.mr), 0.0f);
    z.tr = 0.5f * z.zr;
    return;
  }
  z.zr = 0.5f * s.br + (1.0f - kStep * static_cast<float>(p)) * s.le +
         s.h * fraction(std::fabs(m[p]), std::fabs(m[p]) + m[p - 1], 0.0f);
  z.tr = right_cutoff(s, p);
}

// A span hogging at its left support: the left cut-off at half that moment, then the left
// zero point where the envelope crosses zero, unless it turns down before crossing or
// stays hogging over the whole span (then the region merges into the right support's,
// unless the left support already merged into this span).
void hogging_left_support(const MinEnvelopeSpan& s, bool left_merged, SpanZeroPoints& z) {
  const Curve& m = s.m;
  int p = 1;
  while (p <= 20 && !(m[p] >= 0.5f * s.ms)) ++p;
  if (p > 20) {
    z.zl = z.tl = 0.5f * (s.bl + s.le);
    z.zr = z.tr = 0.5f * (s.br + s.le);
    z.flag = 1;
    return;
  }
  z.tl = 0.5f * s.bl + s.h * static_cast<float>(p - 1) +
         s.h * fraction(std::fabs(m[p - 1]) - std::fabs(0.5f * s.ms),
                        std::fabs(m[p - 1]) - std::fabs(m[p]), 1.0f);
  for (;; ++p) {
    if (p > 20) {
      // Hogging over the whole span.
      z.zl = 0.5f * s.bl + s.le + 0.5f * s.br;
      z.zr = 0.5f * s.br;
      if (!left_merged) z.flag = 1;
      return;
    }
    if (p < 20 && m[p + 1] < m[p]) {
      // The envelope turns down before it has crossed zero.
      z.zl = 0.5f * s.bl + s.h * static_cast<float>(p);
      z.zr = 0.5f * s.br + s.le - s.h * static_cast<float>(p);
      if (!left_merged) z.flag = 1;
      z.tr = std::fmax(right_cutoff(s, p), 0.0f);
      return;
    }
    if (m[p] >= 0.0f) {
      z.zl = 0.5f * s.bl + s.h * static_cast<float>(p - 1) +
             s.h * fraction(std::fabs(m[p - 1]), std::fabs(m[p - 1]) + m[p], 1.0f);
      if (p == 1) z.tl = 0.5f * z.zl;
      right_side(s, p, z);
      return;
    }
  }
}

// Zero points, cut-off distances and merge flag of one span from the minimum envelope.
void min_envelope_zero_points(const MinEnvelopeSpan& s, bool left_merged, SpanZeroPoints& z) {
  if (!(s.ms < 0.0f)) {
    z.zl = 0.5f * s.bl;
    right_side(s, 1, z);
  } else {
    hogging_left_support(s, left_merged, z);
  }
}

// Zero points of the max envelope (m from the support centres), which shorten the shear
// span. Each is found from its own support: the left one scanning from the left, the right
// one scanning from the right support. (Running on from the left for the right one too can
// stop at a dip near the left support, and the shear span would become a fraction of the
// span.) A support without hogging: the support's edge; no crossing: mid-span.
struct ShearSpanEnds {
  float p1, p2;
};

ShearSpanEnds max_envelope_zero_points(const Run& run, int k, int i) {
  const float le = run.dat.clear_span[i];
  const float h = kStep * le;
  const float bl = run.indat.support_width[i];
  const float br = run.indat.support_width[i + 1];
  const Curve& mx = run.arbvar.m_max[k][i];
  const float left = drop_tiny(run.arbvar.ms_max[k][i]);
  const float right = drop_tiny(run.arbvar.ms_max[k][i + 1]);
  ShearSpanEnds e{0.5f * (bl + le), 0.5f * (br + le)};
  if (!(left < 0.0f)) {
    e.p1 = 0.5f * bl;
  } else {
    float prev = left;
    for (int p = 1; p <= 20; ++p) {
      if (mx[p] >= 0.0f) {
        e.p1 = 0.5f * bl + h * static_cast<float>(p - 1) +
               h * fraction(std::fabs(prev), std::fabs(prev) + mx[p], 1.0f);
        break;
      }
      prev = mx[p];
    }
  }
  if (!(right < 0.0f)) {
    e.p2 = 0.5f * br;
  } else {
    float prev = right;
    for (int p = 19; p >= 0; --p) {
      if (mx[p] >= 0.0f) {
        e.p2 = 0.5f * br + h * static_cast<float>(19 - p) +
               h * fraction(std::fabs(prev), std::fabs(prev) + mx[p], 1.0f);
        break;
      }
      prev = mx[p];
    }
  }
  return e;
}

// Zero points, cut-off distances and merge flags of load set k from its min moment
// envelope; zero points of the max envelope. Distances from the support centres. Spans
// in order: a span's flag depends on whether its left support merged.
void zero_points(Run& run, int k) {
  Arbvar& a = run.arbvar;
  for (int i = 1; i <= run.indat.n; ++i) {
    SpanZeroPoints z{a.zl[k][i], a.zr[k][i], a.tl[k][i], a.tr[k][i], a.merge[k][i + 1]};
    min_envelope_zero_points(min_envelope_span(run, k, i), a.merge[k][i] == 1, z);
    a.zl[k][i] = z.zl;
    a.zr[k][i] = z.zr;
    a.tl[k][i] = z.tl;
    a.tr[k][i] = z.tr;
    a.merge[k][i + 1] = z.flag;
    const ShearSpanEnds e = max_envelope_zero_points(run, k, i);
    a.p1[k][i] = e.p1;
    a.p2[k][i] = e.p2;
  }
}

// One block of MOMK.DAT: per span the step, the support moments of the block's load set at
// both ends and the envelope at the 19 inner points.
void write_curves(FortranWriter& out, const Run& run, const RowSupport& support,
                  const RowCurves& curve, int k) {
  for (int i = 1; i <= run.indat.n; ++i) {
    out.line(kStep * run.dat.clear_span[i]);
    out.line(support[k][i]);
    for (int p = 1; p <= 19; ++p) out.line(curve[k][i][p]);
    out.line(support[k][i + 1]);
  }
}

// One block of MOMD.DAT: as a block of MOMK.DAT for the design row k; for row 3 the inner
// points are the envelope of rows 1 and 2 (`pick` takes the larger or the smaller value), as
// row 3's support moments and span moments are.
template <typename Pick>
void write_design_block(FortranWriter& out, const Run& run, const RowSupport& support,
                        const RowCurves& curve, int k, Pick pick) {
  for (int i = 1; i <= run.indat.n; ++i) {
    out.line(kStep * run.dat.clear_span[i]);
    out.line(support[k][i]);
    for (int p = 1; p <= 19; ++p)
      out.line(k == kRowUlsBoth ? pick(curve[kRowUlsA][i][p], curve[kRowUlsB][i][p])
                                : curve[k][i][p]);
    out.line(support[k][i + 1]);
  }
}

void write_zero_points(FortranWriter& out, const Run& run, int k) {
  out.line(static_cast<int32_t>(k));
  for (int i = 1; i <= run.indat.n; ++i) {
    out.line(run.arbvar.zl[k][i]);
    out.line(run.arbvar.zr[k][i]);
  }
}

}  // namespace

void ekv3(const std::array<Span1<kMaxSupports>, 3>& coef, const Span1<kMaxSupports>& rhs,
          Span1<kMaxSupports>& x, int count) {
  Span1<kMaxSupports> c{}, d{};
  for (int u = 1; u <= count; ++u) {
    const float below = u > 1 ? coef[0][u] : 0.0f;
    const float prev_c = u > 1 ? c[u - 1] : 0.0f;
    const float prev_d = u > 1 ? d[u - 1] : 0.0f;
    const float pivot = coef[1][u] - below * prev_c;
    c[u] = coef[2][u] / pivot;
    d[u] = (rhs[u] - below * prev_d) / pivot;
  }
  for (int u = count; u >= 1; --u) x[u] = d[u] - (u < count ? c[u] * x[u + 1] : 0.0f);
}

namespace {

bool same_loads(const SpanLoads& x, const SpanLoads& y) {
  if (x.count != y.count) return false;
  for (int k = 0; k < x.count; ++k) {
    const auto u = static_cast<size_t>(k);
    if (!same_bits(x.at[u].P, y.at[u].P) || !same_bits(x.at[u].a, y.at[u].a)) return false;
  }
  return true;
}

// The shape of a point load at a on the span of grid g.
void set_point_load_shape(PointLoadShape& s, const SpanGrid& g, float a) {
  const float L = g.le;
  const float L2 = L * L;
  s.a = a;
  s.b = L - a;
  s.rot_l = L2 - s.b * s.b;
  s.rot_r = L2 - a * a;
  s.left_factor = 1.0f - s.b * s.b / L2;
  s.aa = a * a / L2;
  s.first_right = 1;
  while (s.first_right <= 20 && g.x[s.first_right] < a) ++s.first_right;
}

// Adds the point load P of the given shape to the simple span (points 1..20). The points
// left of the load take b x / L, the others a (L - x) / L; the two formulas share their
// form, so every point chooses its factors (the same operations as two loops).
void add_point_load(SimpleSpan& st, const SpanGrid& g, float P, const PointLoadShape& s) {
  const float L = g.le;
  const float L2 = L * L;
  st.rot_l += P * s.b * s.rot_l / (6.0f * L);
  st.rot_r += P * s.a * s.rot_r / (6.0f * L);
  const Lanes left_lever = P * splat(s.b);
  const Lanes right_lever = P * splat(s.a);
  for (int p = 1; p <= 20; p += kLanes) {
    const Lanes xi = load(g.xi, p);
    Lanes t, shape;
    if (p + kLanes <= s.first_right) {  // all four points left of the load
      t = left_lever * xi;
      shape = splat(s.left_factor) - load(g.xi_sq, p);
    } else if (p >= s.first_right) {  // all four right of it
      t = right_lever * load(g.one_minus_xi, p);
      shape = (2.0f * xi - s.aa) - load(g.xi_sq, p);
    } else {
      const LaneMask left = point_numbers(p) < s.first_right;
      t = pick(left, left_lever, right_lever) * pick(left, xi, load(g.one_minus_xi, p));
      shape = pick(left, splat(s.left_factor), 2.0f * xi - s.aa) - load(g.xi_sq, p);
    }
    store(st.mom, p, load(st.mom, p) + t);
    store(st.defl, p, load(st.defl, p) + t * L2 * shape / 6.0f);
  }
  st.vl += P * s.b / L;
  st.vr += P * s.a / L;
}

// The distributed load as 20 equal point loads at the centres of the twentieths, then the
// line loads acting in the span.
SimpleSpan span_under_loads(const SpanGrid& g, float w, const SpanLoads& loads) {
  SimpleSpan st;
  const float P = kStep * g.le * w;
  for (const PointLoadShape& shape : g.distributed) add_point_load(st, g, P, shape);
  for (int k = 0; k < loads.count; ++k) {
    const SpanLoad& load = loads.at[static_cast<size_t>(k)];
    PointLoadShape shape;
    set_point_load_shape(shape, g, load.a);
    add_point_load(st, g, load.P, shape);
  }
  return st;
}

// The support moments and reactions of the cantilevers as the line loads add to them.
struct CantileverEnds {
  float m_left = 0, m_right = 0, r_left = 0, r_right = 0;
};

// Places the line loads. Each arrangement places its own copy of span and position. A
// position past the end of a span carries over to the next span, a negative one back to
// the previous; the moves are monotone, and the count bounds them all the same. Loads on a
// cantilever add to `ends` (to its moment in mode 0 only).
void place_line_loads(const Run& run, int32_t mode, std::array<SpanLoads, kMaxSpans + 1>& on,
                      CantileverEnds& ends) {
  const Indat& c = run.indat;
  const Snitt& s = run.snitt;
  const int n = c.n;
  const auto& le = run.dat.clear_span;
  for (int k = 1; k <= s.nll; ++k) {
    int span = s.ll_span[k];
    float a = s.ll_pos[k];
    const float P = s.ll_load[k];
    if (span < 1 || span > n) continue;
    for (int moves = 0; moves <= 2 * kMaxSpans + 2; ++moves) {
      const float L = le[span];
      if (a >= 0.0f && (a < L || (span == n && a <= L))) {
        SpanLoads& list = on[static_cast<size_t>(span)];
        list.at[static_cast<size_t>(list.count++)] = {P, a};
        break;
      }
      if (span == 1 && a < 0.0f) {
        if (mode == 0) ends.m_left += a * P;
        ends.r_left += P;
        break;
      }
      // At or past the end of the last span without acting in it (a clear span that is not
      // positive): the load goes to the right cantilever, never to a span after the last.
      if (span == n && a >= L) {
        if (mode == 0 && c.cant_right > 0.0f) ends.m_right -= c.cant_right * P;
        ends.r_right += P;
        break;
      }
      if (a >= L) {
        a -= L;
        ++span;
      } else if (a < 0.0f) {
        --span;
        a += le[span];
      } else {
        break;  // not a number: the load acts nowhere
      }
    }
  }
}

// Three-moment equations for the interior support moments 2..n.
void solve_support_moments(Snitt& s, const Span1<kMaxSpans>& le, int n) {
  Span1<kMaxSpans> f{};
  for (int i = 1; i <= n; ++i) f[i] = le[i] / s.ei[i];
  for (int j = 2; j <= n; ++j) {
    const int u = j - 1;
    s.coef[0][u] = f[j - 1] / 6.0f;
    s.coef[1][u] = (f[j - 1] + f[j]) / 3.0f;
    s.coef[2][u] = f[j] / 6.0f;
    s.rhs[u] = -(s.rot_r[j - 1] / s.ei[j - 1] + s.rot_l[j] / s.ei[j]);
  }
  s.rhs[1] -= s.m[1] * f[1] / 6.0f;
  s.rhs[n - 1] -= s.m[n + 1] * f[n] / 6.0f;
  Span1<kMaxSupports> x{};
  ekv3(s.coef, s.rhs, x, n - 1);
  for (int j = 2; j <= n; ++j) s.m[j] = x[j - 1];
}

// Span i's curves: the simple-span curves plus the line of the support moments and its
// deflection; the deflections in metres.
void add_support_moments(Snitt& s, int i, const SimpleSpan& st, const SpanGrid& g) {
  const float L = g.le;
  const float L2 = L * L;
  const float ml = s.m[i];
  const float mr = s.m[i + 1];
  const float ei = s.ei[i];
  PaddedCurve mom{}, defl{};
  for (int p = 0; p < kPoints; p += kLanes) {
    const Lanes xi = load(g.xi, p);
    store(mom, p, load(st.mom, p) + (ml + (mr - ml) * xi));
    const Lanes bending = ml * load(g.one_minus_xi, p) * load(g.one_minus_u_sq, p) +
                          mr * xi * load(g.one_minus_xi_sq, p);
    store(defl, p, (load(st.defl, p) + bending * L2 / 6.0f) / ei * 1000.0f);
  }
  // The end points are the supports: their moments are the support moments, not the line
  // through them evaluated in float.
  mom[0] = ml;
  mom[20] = mr;
  std::memcpy(s.mom[i].data(), mom.data(), sizeof(Curve));
  std::memcpy(s.defl[i].data(), defl.data(), sizeof(Curve));
  s.vl[i] = st.vl + (mr - ml) / L;
  s.vr[i] = st.vr + (ml - mr) / L;
}

}  // namespace

const SpanGrid& KrdefCache::grid(int i, float le) {
  SpanGrid& g = grids_[static_cast<size_t>(i)];
  if (g.valid && same_bits(g.le, le)) return g;
  g.le = le;
  g.valid = true;
  for (int p = 0; p < static_cast<int>(g.x.size()); ++p) {
    g.x[p] = sample_point(p, le);
    const float xi = g.x[p] / le;
    const float u = 1.0f - xi;
    g.xi[p] = xi;
    g.one_minus_xi[p] = u;
    g.xi_sq[p] = xi * xi;
    g.one_minus_u_sq[p] = 1.0f - u * u;
    g.one_minus_xi_sq[p] = 1.0f - xi * xi;
  }
  const float h = kStep * le;
  for (int m = 1; m <= 20; ++m)
    set_point_load_shape(g.distributed[static_cast<size_t>(m - 1)], g,
                         (static_cast<float>(m) - 0.5f) * h);
  return g;
}

const SimpleSpan& KrdefCache::simple_span(int i, float le, float w, const SpanLoads& loads) {
  auto& entries = entries_[static_cast<size_t>(i)];
  for (const Entry& e : entries)
    if (e.valid && same_bits(e.le, le) && same_bits(e.w, w) && same_loads(e.loads, loads))
      return e.result;
  int& next = next_[static_cast<size_t>(i)];
  Entry& e = entries[static_cast<size_t>(next)];
  next = 1 - next;
  e = {true, le, w, loads, span_under_loads(grid(i, le), w, loads)};
  return e.result;
}

void krdef(Run& run, int32_t mode) {
  KrdefCache cache;
  krdef(run, mode, cache);
}

void krdef(Run& run, int32_t mode, KrdefCache& cache) {
  const Indat& c = run.indat;
  Snitt& s = run.snitt;
  const int n = c.n;
  const auto& le = run.dat.clear_span;

  // The cantilevers carry the load intensity of the span next to them.
  CantileverEnds ends{s.m[1], s.m[n + 1], c.cant_left * s.w[1], c.cant_right * s.w[n]};
  if (mode == 0) {
    ends.m_left = -0.5f * c.cant_left * c.cant_left * s.w[1];
    ends.m_right = -0.5f * c.cant_right * c.cant_right * s.w[n];
  }
  std::array<SpanLoads, kMaxSpans + 1> on_span{};
  place_line_loads(run, mode, on_span, ends);
  s.m[1] = ends.m_left;
  s.m[n + 1] = ends.m_right;

  std::array<const SimpleSpan*, kMaxSpans + 1> simple{};
  for (int i = 1; i <= n; ++i) {
    simple[i] = &cache.simple_span(i, le[i], s.w[i], on_span[static_cast<size_t>(i)]);
    s.rot_l[i] = simple[i]->rot_l;
    s.rot_r[i] = simple[i]->rot_r;
  }
  if (mode == 0 && n > 1) solve_support_moments(s, le, n);
  for (int i = 1; i <= n; ++i) add_support_moments(s, i, *simple[i], cache.grid(i, le[i]));

  s.r[1] = ends.r_left + s.vl[1];
  for (int j = 2; j <= n; ++j) s.r[j] = s.vr[j - 1] + s.vl[j];
  s.r[n + 1] = ends.r_right + s.vr[n];
}

float span_stiffness(const Run& run, float creep, int i) {
  const Matdat& mat = run.matdat;
  const float h = run.indat.thickness[i];
  return samm5(mat.ec, mat.es, creep, h, comdat::kProfileHeight, comdat::kRibPitch,
               comdat::kRibConcreteWidth, h - comdat::kDeckCentroid, comdat::kDeckArea,
               comdat::kDeckInertia)
      .ei;
}

std::string design_curves(const Run& run) {
  const int k = design_row(run.indat);
  const Arbvar& a = run.arbvar;
  FortranWriter out;
  out.line(static_cast<int32_t>(run.indat.n));
  out.line(static_cast<int32_t>(k));
  const auto larger = [](float x, float y) { return std::fmax(x, y); };
  const auto smaller = [](float x, float y) { return std::fmin(x, y); };
  write_design_block(out, run, a.ms_max, a.m_max, k, larger);
  write_design_block(out, run, a.ms_min, a.m_min, k, smaller);
  return out.take();
}

void snikra(Run& run, int32_t& flag) {
  (void)flag;
  const Indat& c = run.indat;
  const int n = c.n;
  // Room for the files: a line of free form takes at most 18 bytes; MOMK.DAT has 88 lines a
  // span and one more, AL.DAT eight rows of one line and two a span.
  constexpr size_t kFreeLine = 18;
  const auto spans = static_cast<size_t>(n);
  FortranWriter momk;
  momk.reserve(kFreeLine * (1 + 88 * spans));
  FortranWriter al;
  al.reserve(kFreeLine * 8 * (1 + 2 * spans));
  momk.line(static_cast<int32_t>(n));
  KrdefCache cache;

  for (int k : {kRowUlsA, kRowUlsB, kRowQuasiLong, kRowQuasiShort, kRowFrequent, kRowCharacteristic,
                kRowQuasiGammaD}) {
    const LoadSet set = load_set(run, k);
    Values base, max, min;
    // The stiffness depends on the load set's creep factor, not on the arrangement.
    Span1<kMaxSpans> ei{};
    for (int i = 1; i <= n; ++i) ei[i] = span_stiffness(run, set.creep, i);
    for (int j = 0; j <= n; ++j) {
      Snitt& s = run.snitt;
      for (int i = 1; i <= n; ++i) {
        s.ei[i] = ei[i];
        s.w[i] = set.g[i] + (i == j ? set.q[i] : 0.0f);
      }
      s.nll = c.line_loads;
      for (int l = 1; l <= kMaxLineLoads; ++l) {
        s.ll_span[l] = c.ll_span[l];
        s.ll_pos[l] = c.ll_pos[l];
        s.ll_load[l] = set.l1 * c.ll_load[l];
      }
      krdef(run, 0, cache);
      if (j == 0)
        base = max = min = values_of(s);
      else
        fold_arrangement(s, n, base, max, min);
    }
    store_row(run, k, set, max, min);
    if (k == kRowUlsA || k == kRowUlsB) {
      write_curves(momk, run, run.arbvar.ms_max, run.arbvar.m_max, k);
      write_curves(momk, run, run.arbvar.ms_min, run.arbvar.m_min, k);
    }
    zero_points(run, k);
    write_zero_points(al, run, k);
    if (k == kRowUlsB) {
      form_row3(run);
      zero_points(run, kRowUlsBoth);
      write_zero_points(al, run, kRowUlsBoth);
    }
  }
  // Row 9, the fire case, takes row 8's load of a loaded span as its distributed load.
  for (int i = 1; i <= n; ++i)
    run.snitt.q_loaded[kFireRow][i] = run.snitt.q_loaded[kRowQuasiGammaD][i];

  run.files.push_back({"MOMK.DAT", momk.take()});
  run.files.push_back({"AL.DAT", al.take()});
}

}  // namespace solvo

#include "design.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "comdat.h"
#include "comdat_deck.h"
#include "crack_width.h"
#include "fire.h"
#include "numeric.h"
#include "section.h"

namespace solvo {

namespace {

// Action over resistance. A resistance that is not positive leaves nothing to carry the
// action: the ratio is infinite, which the report prints as asterisks.
float utilisation(float action, float resistance) {
  if (resistance > 0) return action / resistance;
  return std::numeric_limits<float>::infinity();
}

// Slab thickness at support j: the end spans' at the ends, the thinner of the two spans
// over an interior support.
float support_thickness(const Indat& c, int j) {
  if (j <= 1) return c.thickness[1];
  if (j >= c.n + 1) return c.thickness[c.n];
  return std::fmin(c.thickness[j - 1], c.thickness[j]);
}

int32_t mm(float metres) { return ftrunc(metres * 1000.0f); }

// Weight of bars of total length `length_mm` per bar position at `spacing` mm, kg per metre
// width; 0 when the support has no bars.
float bar_weight(float mass, float length_mm, float spacing) {
  if (!(spacing > 0)) return 0;
  return mass * length_mm / spacing;
}

// The spacing of the bar over supports j and j + 1: the smaller of the two. A support that
// needs no bars (area not positive, spacing 0) does not force its partner to 0; one that needs
// bars and has no spacing (no equilibrium) leaves the pair without a solution, 0 at both.
float pair_spacing(const Utdat& u, int j) {
  const float s1 = u.s[j], s2 = u.s[j + 1];
  if (!(u.as[j] > 0)) return s2;
  if (!(u.as[j + 1] > 0)) return s1;
  return std::fmin(s1, s2);
}

// The smallest bar size above the case's for which support j, with depth `h` and moment
// `moment`, gets bars at a buildable spacing; 0 when none does.
int32_t larger_top_bar(const Run& run, float h, float moment) {
  const Indat& c = run.indat;
  const Matdat& m = run.matdat;
  for (int32_t b = c.top_bar + 1; b <= comdat::kBarSizes; ++b) {
    const comdat::Bar& bar = comdat::kBar[static_cast<size_t>(b)];
    const float a = (0.5f * bar.diameter + static_cast<float>(c.top_cover)) * 0.001f;
    const AreaResult r =
        samm1s(m.fcd, m.fyd_top, m.es, kDeckRibs, h - a, moment, kNoEquilibriumArea);
    if (r.status == kNoEquilibrium || r.status == kNoConvergence || !(r.area > 0)) continue;
    if (ftrunc(bar.area / (r.area * 1000.0f)) >= least_top_spacing(bar.diameter)) return b;
  }
  return 0;
}

// The bars of support j within what can be built: spacing, credited area and solution.
void buildable_top_bars(Run& run, int j, float h, float moment, const AreaResult& r) {
  Utdat& u = run.utdat;
  const Matdat& m = run.matdat;
  const auto sj = static_cast<size_t>(j);
  u.as_credit[j] = r.area;
  u.top_solution[sj] = BarSolution::kSolved;
  if (!(r.area > 0)) return;  // no bars needed
  if (r.status == kNoConvergence || r.status == kNoEquilibrium) {
    u.top_solution[sj] =
        r.status == kNoConvergence ? BarSolution::kNoConvergence : BarSolution::kNoEquilibrium;
  } else if (u.s[j] < static_cast<float>(least_top_spacing(m.dia_top))) {
    u.top_needed[j] = ftrunc(u.s[j]);
    u.top_hint[j] = larger_top_bar(run, h, moment);
    u.top_solution[sj] = u.top_hint[j] > 0 ? BarSolution::kTooClose : BarSolution::kAboveOneLayer;
  } else {
    const int32_t most = most_top_spacing(h);
    if (u.s[j] > static_cast<float>(most)) {
      u.s[j] = static_cast<float>(most);
      u.as_credit[j] = m.area_top / (u.s[j] * 1000.0f);
    }
    return;
  }
  u.s[j] = 0;
  u.as_credit[j] = 0;
}

// A merged pair is one bar: without a solution at one support, none at the other.
void pairs_without_solution(Run& run) {
  Utdat& u = run.utdat;
  const int k = design_row(run.indat);
  for (int j : merged_pairs(run.indat, run.arbvar, k)) {
    for (int side = 0; side < 2; ++side) {
      const int here_j = j + side, other_j = j + 1 - side;
      const auto here = static_cast<size_t>(here_j), other = static_cast<size_t>(other_j);
      if (u.top_solution[other] == BarSolution::kSolved ||
          u.top_solution[other] == BarSolution::kPairPartner)
        continue;
      if (u.top_solution[here] != BarSolution::kSolved || !(u.as[here] > 0)) continue;
      u.top_solution[here] = BarSolution::kPairPartner;
      u.top_hint[here] = static_cast<int32_t>(other);
      u.s[here] = 0;
      u.as_credit[here] = 0;
    }
  }
}

}  // namespace

int32_t least_top_spacing(float dia) {
  const int32_t d = ftrunc(dia);
  return d + std::max(d, kLeastClearDistance);
}

// A thickness of whole half millimetres gives its exact 2h, whatever its float representation.
int32_t most_top_spacing(float h) {
  return std::min(ftrunc(2000.0f * h + 0.001f), kMostTopSpacing);
}

std::vector<int> merged_pairs(const Indat& c, const Arbvar& av, int k) {
  std::vector<int> pairs;
  int j = 2;
  while (j <= c.n) {
    if (av.merge[k][j + 1] != 1) {
      j += 1;
      continue;
    }
    if (j < c.n) pairs.push_back(j);
    j += 2;
  }
  return pairs;
}

void design_supports(Run& run) {
  const Indat& c = run.indat;
  const Matdat& m = run.matdat;
  Utdat& u = run.utdat;
  const int k = design_row(c);
  for (int j = 1; j <= c.n + 1; ++j) {
    u.a[j] = (0.5f * m.dia_top + static_cast<float>(c.top_cover)) * 0.001f;
    const float h = support_thickness(c, j);
    const float d = h - u.a[j];
    // The most hogging moment over the support: the min envelope.
    const float moment = std::fabs(run.arbvar.ms_min[k][j]);
    // No convergence counts as no solution (spacing 0), never as "no bars needed".
    const AreaResult r = samm1s(m.fcd, m.fyd_top, m.es, kDeckRibs, d, moment, kNoEquilibriumArea);
    if (r.area > 0) u.s[j] = static_cast<float>(ftrunc(m.area_top / (r.area * 1000.0f)));
    u.as[j] = r.area;
    buildable_top_bars(run, j, h, moment, r);
  }
  pairs_without_solution(run);
}

void design_spans(Run& run) {
  const Indat& c = run.indat;
  const Matdat& m = run.matdat;
  const Arbvar& av = run.arbvar;
  Utdat& u = run.utdat;
  const int k = design_row(c);
  const int n = c.n;
  const float e = comdat::kDeckCentroid;
  const float ap = comdat::kDeckArea;
  const float fck = comdat::kConcrete[static_cast<size_t>(c.concrete_class)].fck;
  const float gamma_c = comdat::kMarket[static_cast<size_t>(c.market)].gamma_c;

  for (int i = 1; i <= n; ++i) {
    const float t = c.thickness[i];
    const float le = run.dat.clear_span[i];

    // Sagging capacity of the deck alone (no top steel in the span).
    const float mr = samm2(m.fcd, 0.0f, m.fypd, m.es, t - e, 0.0f, ap, 0.0f, 0.0f).mr;
    u.mr_span[i] = mr;
    u.uf[i] = utilisation(av.m_span_max[k][i], mr);

    // Deflections: rows 4 (long term with creep), 5 (short term, deducted), 6 and 7 (the
    // frequent or the characteristic variable part).
    const float w1 = av.d_span_max[kRowQuasiLong][i];
    const float w2 = av.d_span_max[kRowQuasiShort][i];
    const float w3 = av.d_span_max[c.defl_load == 1 ? kRowFrequent : kRowCharacteristic][i];
    u.di[i] = (w1 - 0.001f * c.precamber) * 1000.0f;
    u.udi[i] = utilisation(u.di[i], 1000.0f * le / static_cast<float>(c.defl_initial));
    u.dt[i] = (w1 - w2 + w3) * 1000.0f;
    u.udt[i] = utilisation(u.dt[i], 1000.0f * le / static_cast<float>(c.defl_additional));

    // Slenderness; a single span counts as an end span.
    const float factor = (i == 1 || i == n) ? 1.0f / 33.0f : 1.0f / 36.0f;
    u.us[i] = le * factor / t;

    // Longitudinal shear over the length between the zero points of the max envelope.
    const float x =
        le - av.p1[k][i] - av.p2[k][i] + 0.5f * c.support_width[i] + 0.5f * c.support_width[i + 1];
    const BondResult bond = samm3(run.snitt.q_loaded[k][i], x, ap, m.fypd, m.mrd_deck, mr);
    u.ub[i] = utilisation(bond.v, m.tau_rd);

    // Shear: an end support works with the deck, an interior one with its top bars.
    const int32_t left_end = i == 1 ? 1 : 0;
    // The area of the bars placed; a support without a solution has none.
    const float vr_left = samm4(t, u.as_credit[i], left_end, c.top_cover, fck, gamma_c).vr;
    u.uvl[i] = utilisation(av.vl_max[k][i], vr_left);
    const float vr_right = i < n ? samm4(t, u.as_credit[i + 1], 0, c.top_cover, fck, gamma_c).vr
                                 : samm4(t, u.as[i], 1, c.top_cover, fck, gamma_c).vr;
    u.uvr[i] = utilisation(av.vr_max[k][i], vr_right);
  }
}

namespace {

// Zero points of design row k: Vä(j) from the left support of span j, Hö(j) from its right
// support; rR(j) the cut-off distance to the right of support j, rL(j) to its left.
struct RowZeroPoints {
  const Arbvar& av;
  int k;
  float va(int j) const { return av.zl[k][j]; }
  float ho(int j) const { return av.zr[k][j]; }
  float r_right(int j) const { return av.tl[k][j]; }
  float r_left(int j) const { return av.tr[k][j - 1]; }
};

// The kg of top bars per m of slab width summed over the supports, for layout 1 (a) and
// layout 2 (b); `any` once a support has added its bars.
struct TopBarMass {
  float a = 0, b = 0;
  bool any = false;
};

// Bars over the inner supports 2..n. Bar lengths are summed as reals: a length that fits no
// whole number is kBadInt, and adding two of them as integers would overflow.
void inner_support_bars(Run& run, const RowZeroPoints& z, TopBarMass& sum) {
  const Indat& c = run.indat;
  Utdat& u = run.utdat;
  const int n = c.n;
  const float wbar = run.matdat.mass_top;
  const auto& t = c.thickness;
  const auto& le = run.dat.clear_span;
  int j = 2;
  while (j <= n) {
    const float d_left = t[j - 1] - u.a[j];
    const float d_right = t[j] - u.a[j];
    if (z.av.merge[z.k][j + 1] != 1) {
      u.l1[j] = mm(z.ho(j - 1) + z.va(j) + d_left + d_right);
      u.l1b[j] = mm(z.ho(j - 1) + z.r_right(j) + d_left + d_right);
      u.l2b[j] = mm(z.r_left(j) + z.va(j) + d_left + d_right);
      sum.a += bar_weight(wbar, static_cast<float>(u.l1[j]), u.s[j]);
      sum.b += bar_weight(wbar, static_cast<float>(u.l1b[j]) + static_cast<float>(u.l2b[j]),
                          2.0f * u.s[j]);
      j += 1;
    } else if (j < n) {
      // Span j is short: one bar from span j-1 over span j into span j+1.
      const float d_far = t[j + 1] - u.a[j];
      u.l1[j] = mm(z.ho(j - 1) + z.va(j + 1) + d_left + d_far + le[j]);
      u.l1b[j] = u.l1[j];
      u.l2b[j] = mm(z.r_left(j) + z.r_right(j) + d_left + d_right);
      u.l2b[j + 1] = mm(z.r_left(j + 1) + z.r_right(j + 1) + d_right + d_far);
      const float s = pair_spacing(u, j);
      u.s[j] = s;
      u.s[j + 1] = s;
      sum.a += bar_weight(wbar, static_cast<float>(u.l1[j]), s);
      sum.b += bar_weight(wbar,
                          static_cast<float>(u.l1b[j]) + static_cast<float>(u.l2b[j]) +
                              static_cast<float>(u.l2b[j + 1]),
                          2.0f * s);
      j += 2;
    } else {
      // The last span is short: the bar runs over it to the slab's end, 0.05 m beyond.
      u.l1[j] = mm(d_left + z.ho(j - 1) + 0.05f + le[j]);
      u.l1b[j] = u.l1[j];
      u.l2b[j] = mm(le[j] + d_left + z.r_left(j) + 0.05f);
      sum.a += bar_weight(wbar, static_cast<float>(u.l1[j]), u.s[j]);
      sum.b += bar_weight(wbar, static_cast<float>(u.l1b[j]) + static_cast<float>(u.l2b[j]),
                          2.0f * u.s[j]);
      j += 2;
    }
    sum.any = true;
  }
}

// Cantilevers: one bar from the tip over the end support to the zero point of the end span.
void cantilever_bars(Run& run, const RowZeroPoints& z, TopBarMass& sum) {
  const Indat& c = run.indat;
  Utdat& u = run.utdat;
  const int n = c.n;
  const float wbar = run.matdat.mass_top;
  auto add = [&](int j, int32_t len) {
    u.l1[j] = u.l1b[j] = u.l2b[j] = len;
    sum.a += bar_weight(wbar, static_cast<float>(len), u.s[j]);
    sum.b += bar_weight(wbar, 2.0f * static_cast<float>(len), 2.0f * u.s[j]);
    sum.any = true;
  };
  if (u.s[1] > 0) add(1, mm(z.va(1) + c.cant_left + c.thickness[1] - u.a[1]));
  if (u.s[n + 1] > 0) add(n + 1, mm(z.ho(n) + c.cant_right + c.thickness[n] - u.a[n + 1]));
}

}  // namespace

void top_bar_lengths(Run& run) {
  const Indat& c = run.indat;
  Utdat& u = run.utdat;
  const RowZeroPoints z{run.arbvar, design_row(c)};
  TopBarMass sum;
  inner_support_bars(run, z, sum);
  cantilever_bars(run, z, sum);
  if (!sum.any) return;
  // Per m2 of slab: the bars of every support over the whole length.
  float ltot = 0;
  for (int i = 1; i <= c.n; ++i) ltot += c.span[i];
  u.wa = ltot > 0 ? sum.a / ltot : 0.0f;
  u.wb = ltot > 0 ? sum.b / ltot : 0.0f;
}

void dimen(Run& run) {
  run.utdat = Utdat{};
  design_supports(run);
  design_spans(run);
  top_bar_lengths(run);
  fire(run);
  crack_widths(run);
}

}  // namespace solvo

#include "reference_design.h"

#include <algorithm>
#include <cmath>

namespace solvo::reference {
namespace {

size_t at(int i) { return static_cast<size_t>(i); }

// A distance that the zero-point rules leave unset is 0 in the tables the design reads: every
// table starts a run empty, as a spacing does.
double set_or_zero(double v) { return std::isnan(v) ? 0.0 : v; }

double loaded_span_load(const Run& run, int k, int i) {
  const RowLoads loads = loads_of(run, k);
  return loads.g[at(i)] + loads.q[at(i)];
}

}  // namespace

DesignRow design_row_of(const Run& run, const Rows& rows, double tie) {
  const int n = run.indat.n;
  DesignRow row;
  row.k = design_row(run.indat);
  row.e = rows.envelopes[at(row.k)];
  const Slab& slab = rows.slab[at(row.k)];
  row.le = slab.le;
  row.z = zero_points(slab, row.e.m_min, row.e.m_max, row.e.ms_min, row.e.ms_max);
  row.q_loaded.assign(at(n + 1), {});
  const Envelopes& a = rows.envelopes[kRowUlsA];
  const Envelopes& b = rows.envelopes[kRowUlsB];
  for (int i = 1; i <= n; ++i) {
    const size_t u = at(i);
    if (row.k != kRowUlsBoth) {
      row.q_loaded[u] = {loaded_span_load(run, row.k, i)};
      continue;
    }
    // Row 3: the more severe of rows 1 and 2, the load of the row with the larger span moment.
    row.e.m_span_max[u] = std::max(a.m_span_max[u], b.m_span_max[u]);
    row.e.vl_max[u] = std::max(a.vl_max[u], b.vl_max[u]);
    row.e.vr_max[u] = std::max(a.vr_max[u], b.vr_max[u]);
    const int from = b.m_span_max[u] > a.m_span_max[u] ? kRowUlsB : kRowUlsA;
    row.q_loaded[u] = {loaded_span_load(run, from, i)};
    if (std::fabs(a.m_span_max[u] - b.m_span_max[u]) <= tie)
      row.q_loaded[u].push_back(loaded_span_load(run, kRowUlsA + kRowUlsB - from, i));
  }
  return row;
}

std::vector<SupportInput> support_inputs(const Run& run, const DesignRow& row) {
  const Indat& c = run.indat;
  const int n = c.n;
  std::vector<SupportInput> out(at(n + 2));
  for (int j = 1; j <= n + 1; ++j) {
    SupportInput& s = out[at(j)];
    s.a = (0.5 * run.matdat.dia_top + c.top_cover) * 0.001;
    // The end spans' thickness at the ends, the thinner span's over an interior support.
    const double depth = j == 1       ? c.thickness[1]
                         : j == n + 1 ? c.thickness[at(n)]
                                      : std::min(c.thickness[at(j - 1)], c.thickness[at(j)]);
    s.d = depth - s.a;
    s.moment = std::fabs(row.e.ms_min[at(j)]);
  }
  return out;
}

std::vector<SpanInput> span_inputs(const Run& run, const Rows& rows, const DesignRow& row) {
  const Indat& c = run.indat;
  const int n = c.n;
  const int w3_row = c.defl_load == 1 ? kRowFrequent : kRowCharacteristic;
  std::vector<SpanInput> out(at(n + 1));
  for (int i = 1; i <= n; ++i) {
    const size_t u = at(i);
    SpanInput& s = out[u];
    const double le = row.le[u], t = c.thickness[u];
    s.moment = row.e.m_span_max[u];
    const double w1 = rows.envelopes[kRowQuasiLong].d_span_max[u];
    const double w2 = rows.envelopes[kRowQuasiShort].d_span_max[u];
    const double w3 = rows.envelopes[at(w3_row)].d_span_max[u];
    s.di = (w1 - 0.001 * c.precamber) * 1000;
    s.di_limit = 1000 * le / c.defl_initial;
    s.dt = (w1 - w2 + w3) * 1000;
    s.dt_limit = 1000 * le / c.defl_additional;
    s.us = le / ((i == 1 || i == n ? 33.0 : 36.0) * t);
    s.x = le - row.z.p1[u] - row.z.p2[u] + 0.5 * c.support_width[u] + 0.5 * c.support_width[u + 1];
    s.vl = row.e.vl_max[u];
    s.vr = row.e.vr_max[u];
    // The left end: the deck at support 1, the bars of support i inside. The right end: the
    // bars of support i + 1 inside; at the last support the deck (the area passed, that of
    // support i, is not used there).
    s.left_support = i;
    s.left_deck = i == 1;
    s.right_support = i < n ? i + 1 : i;
    s.right_deck = i == n;
  }
  return out;
}

TopBars top_bars(const Run& run, const DesignRow& row, const std::vector<double>& a,
                 const std::vector<double>& spacing) {
  const Indat& c = run.indat;
  const int n = c.n;
  const ZeroPoints& z = row.z;
  TopBars b;
  b.rule.assign(at(n + 2), BarRule::kNone);
  for (auto* v : {&b.l1, &b.l1b, &b.l2b}) v->assign(at(n + 2), NAN);
  auto t = [&](int i) -> double { return c.thickness[at(i)]; };
  // Vä(j) and Hö(j): the zero points of span j seen from its left and its right support.
  auto va = [&](int j) { return z.zl[at(j)]; };
  auto ho = [&](int j) { return z.zr[at(j)]; };
  // rR(j), the cut-off to the right of support j, lies in span j, measured from its left
  // support; rL(j), the cut-off to the left of support j, lies in span j - 1, measured from
  // its right support.
  auto r_right = [&](int j) { return set_or_zero(z.tl[at(j)]); };
  auto r_left = [&](int j) { return set_or_zero(z.tr[at(j - 1)]); };
  auto set = [&](int j, BarRule rule, double l1, double l1b, double l2b) {
    b.rule[at(j)] = rule;
    b.l1[at(j)] = 1000 * l1;
    b.l1b[at(j)] = 1000 * l1b;
    b.l2b[at(j)] = 1000 * l2b;
  };

  for (int j = 2; j <= n;) {
    const size_t u = at(j);
    const double dl = t(j - 1) - a[u], dr = t(j) - a[u];
    if (z.merge[u + 1] != 1) {
      set(j, BarRule::kNormal, ho(j - 1) + va(j) + dl + dr, ho(j - 1) + r_right(j) + dl + dr,
          r_left(j) + va(j) + dl + dr);
      j += 1;
    } else if (j < n) {
      const double drr = t(j + 1) - a[u];
      const double over = ho(j - 1) + va(j + 1) + dl + drr + row.le[u];
      set(j, BarRule::kPairFirst, over, over, r_left(j) + r_right(j) + dl + dr);
      b.rule[u + 1] = BarRule::kPairSecond;
      b.l2b[u + 1] = 1000 * (r_left(j + 1) + r_right(j + 1) + dr + drr);
      j += 2;
    } else {
      const double over = dl + ho(j - 1) + 0.05 + row.le[u];  // 0.05 m past the slab's end
      set(j, BarRule::kLastPair, over, over, row.le[u] + dl + r_left(j) + 0.05);
      j += 2;
    }
  }
  if (spacing[1] > 0) {
    const double l = va(1) + c.cant_left + t(1) - a[1];
    set(1, BarRule::kCantilever, l, l, l);
  }
  if (spacing[at(n + 1)] > 0) {
    const double l = ho(n) + c.cant_right + t(n) - a[at(n + 1)];
    set(n + 1, BarRule::kCantilever, l, l, l);
  }
  return b;
}

std::vector<double> paired_spacings(const TopBars& bars, std::vector<double> spacing,
                                    const std::vector<double>& area) {
  for (size_t j = 1; j + 1 < bars.rule.size(); ++j) {
    if (bars.rule[j] != BarRule::kPairFirst) continue;
    // The smaller of the two, where a support without bars (area 0) does not count: the bar
    // over the pair is still needed at the other one. A support that needs bars but has no
    // spacing (no equilibrium) gives the smaller, 0.
    const double s1 = spacing[j], s2 = spacing[j + 1];
    const double s = !(area[j] > 0) ? s2 : !(area[j + 1] > 0) ? s1 : std::min(s1, s2);
    spacing[j] = spacing[j + 1] = s;
  }
  return spacing;
}

Weights weights(const Run& run, const TopBars& bars) {
  const Utdat& u = run.utdat;
  const int n = run.indat.n;
  double ltot = 0;
  for (int i = 1; i <= n; ++i) ltot += run.indat.span[at(i)];
  const double wbar = run.matdat.mass_top;
  Weights w;
  double sum_a = 0, sum_b = 0;
  for (int j = 1; j <= n + 1; ++j) {
    const size_t k = at(j);
    const double s = u.s[k];
    switch (bars.rule[k]) {
      case BarRule::kNone:
      case BarRule::kPairSecond:
        continue;
      case BarRule::kCantilever:
        // Added only when the end support has a spacing; step 4 never divides by it.
        sum_a += wbar * u.l1[k] / s;
        sum_b += wbar * 2.0 * u.l1[k] / (2 * s);
        continue;
      case BarRule::kNormal:
      case BarRule::kLastPair:
        sum_b += wbar * (static_cast<double>(u.l1b[k]) + u.l2b[k]) / (2 * s);
        break;
      case BarRule::kPairFirst:
        sum_b += wbar * (static_cast<double>(u.l1b[k]) + u.l2b[k] + u.l2b[k + 1]) / (2 * s);
        break;
    }
    sum_a += wbar * u.l1[k] / s;
    if (!(s > 0)) w.divides_by_zero = true;
  }
  w.wa = sum_a / ltot;
  w.wb = sum_b / ltot;
  return w;
}

}  // namespace solvo::reference

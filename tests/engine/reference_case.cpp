#include "reference_case.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "analysis.h"
#include "case_input.h"

namespace solvo::reference {
namespace {

std::vector<double> from1(const float* first, int count) {
  std::vector<double> v(static_cast<size_t>(count) + 1, 0.0);
  for (int i = 1; i <= count; ++i) v[static_cast<size_t>(i)] = first[i];
  return v;
}

// Places line load l of the case: in a span when 0 <= a < Le; before span 1 on the left
// cantilever; past the last span at the tip of the right cantilever; past the end of another
// span into the next one, before its start into the previous one.
void place_line_load(const Run& run, int l, double l1, Slab& s) {
  const Indat& c = run.indat;
  int span = c.ll_span[static_cast<size_t>(l)];
  double a = c.ll_pos[static_cast<size_t>(l)];
  const double P = l1 * c.ll_load[static_cast<size_t>(l)];
  for (;;) {
    const double le = s.le[static_cast<size_t>(span)];
    if (a >= 0 && a < le) {
      s.in_spans.push_back({span, a, P});
      return;
    }
    if (span == 1 && a < 0) {
      s.left_lever.push_back(-a);
      s.left_load.push_back(P);
      return;
    }
    if (span == s.n && a > le) {
      s.right_tip.push_back(P);
      return;
    }
    if (a > le) {
      a -= le;
      ++span;
    } else {
      --span;
      a += s.le[static_cast<size_t>(span)];
    }
  }
}

}  // namespace

RowLoads loads_of(const Run& run, int k) {
  const Indat& c = run.indat;
  const double gd = run.dat.gamma_d, g_g = c.gamma_g, xsi = c.xsi, g_q = c.gamma_q;
  const double psi0 = c.psi0, psi1 = c.psi1, psi2 = c.psi2;
  RowLoads r;
  r.g.assign(static_cast<size_t>(c.n) + 1, 0.0);
  r.q = r.g;
  const bool no_imposed_in_a = c.market == 4 || c.market == 5;
  for (size_t i = 1; i <= static_cast<size_t>(c.n); ++i) {
    const double G = static_cast<double>(c.perm_load[i]) + run.dat.self_weight[i];
    const double q = c.imposed_load[i];
    switch (k) {
      case kRowUlsA:
        r.g[i] = gd * g_g * G;
        r.q[i] = no_imposed_in_a ? 0 : psi0 * gd * g_q * q;
        break;
      case kRowUlsB:
        r.g[i] = gd * xsi * g_g * G;
        r.q[i] = gd * g_q * q;
        break;
      case kRowQuasiLong:
      case kRowQuasiShort:
        r.g[i] = G;
        r.q[i] = psi2 * q;
        break;
      case kRowFrequent:
        r.q[i] = psi1 * q;
        break;
      case kRowCharacteristic:
        r.q[i] = G < q ? q : psi0 * q;
        break;
      case kRowQuasiGammaD:
        r.g[i] = gd * G;
        r.q[i] = gd * psi2 * q;
        break;
      default:
        ADD_FAILURE() << "row " << k << " is not analysed";
    }
  }
  const double l1[] = {0, psi0 * gd * g_q, gd * g_q, 0, psi2, psi2, psi1, psi0, gd * psi2};
  r.l1 = l1[k];
  r.creep = k == kRowQuasiLong ? c.creep : 0;
  return r;
}

Slab slab_of(const Run& run, int k) {
  const Indat& c = run.indat;
  const RowLoads loads = loads_of(run, k);
  Slab s;
  s.n = c.n;
  s.width = from1(c.support_width.data(), c.n + 1);
  s.le.assign(static_cast<size_t>(c.n) + 1, 0.0);
  s.ei = s.le;
  for (size_t i = 1; i <= static_cast<size_t>(c.n); ++i) {
    s.le[i] = c.span[i] - 0.5 * (s.width[i] + s.width[i + 1]);
    s.ei[i] = span_stiffness(run, static_cast<float>(loads.creep), static_cast<int>(i));
  }
  s.cant_left = c.cant_left;
  s.cant_right = c.cant_right;
  s.g = loads.g;
  s.q = loads.q;
  for (int l = 1; l <= c.line_loads; ++l) place_line_load(run, l, loads.l1, s);
  return s;
}

Rows rows_of(const Run& run) {
  const int n = run.indat.n;
  Rows rows;
  rows.slab.resize(kLoadSets + 1);
  rows.envelopes.resize(kLoadSets + 1);
  for (int k : kAnalysedRows) {
    const size_t r = static_cast<size_t>(k);
    rows.slab[r] = slab_of(run, k);
    rows.envelopes[r] = analyse(rows.slab[r], Distributed::TwentyPointLoads);
  }
  const Envelopes& a = rows.envelopes[kRowUlsA];
  Envelopes& both = rows.envelopes[kRowUlsBoth];
  both = rows.envelopes[kRowUlsB];
  for (size_t j = 1; j <= static_cast<size_t>(n + 1); ++j) {
    both.ms_min[j] = std::min(a.ms_min[j], both.ms_min[j]);
    both.ms_max[j] = std::max(a.ms_max[j], both.ms_max[j]);
  }
  rows.slab[kRowUlsBoth] = rows.slab[kRowUlsB];
  return rows;
}

void RandomSlabs::next(Run& run, int index) {
  blkdat(run);
  Indat& c = run.indat;
  c.market = index % 6 + 1;
  c.safety_class = pick(1, 3);
  c.n = chance(0.7) ? index % 10 + 1 : pick(1, 10);
  const bool equal_spans = chance(0.3), alike_loads = chance(0.5), one_thickness = chance(0.6);
  for (int i = 1; i <= c.n; ++i) {
    const size_t u = static_cast<size_t>(i);
    c.span[u] = equal_spans && i > 1 ? c.span[1] : real(2.0, 7.5);
    c.thickness[u] = one_thickness && i > 1 ? c.thickness[1] : real(0.10, 0.30);
    c.perm_load[u] = alike_loads && i > 1 ? c.perm_load[1] : real(0.0, 2.0);
    c.imposed_load[u] = alike_loads && i > 1 ? c.imposed_load[1] : real(0.5, 10.0);
  }
  for (int j = 1; j <= c.n + 1; ++j)
    c.support_width[static_cast<size_t>(j)] = 0.1f * static_cast<float>(pick(0, 3));
  const bool eu_a = c.market == 4 || c.market == 5;
  c.gamma_g = eu_a ? 1.2f : 1.35f;
  c.xsi = eu_a ? 1.0f : real(0.85, 0.89);
  c.gamma_q = 1.5f;
  c.psi0 = real(0.5, 0.7);
  c.psi1 = real(0.3, 0.7);
  c.psi2 = real(0.2, 0.6);
  c.cant_left = chance(0.4) ? real(0.2, 2.0) : 0.0f;
  c.cant_right = chance(0.4) ? real(0.2, 2.0) : 0.0f;
  c.concrete_class = pick(1, 9);
  c.creep = pick(0, 3);
  c.load_category = pick(0, 9);
  c.load_set = pick(1, 3);
  c.top_grade = pick(1, 3);
  c.top_bar = pick(1, 5);
  c.top_layout = pick(1, 2);
  c.top_cover = one_of({15, 20, 25, 30, 40});
  c.bot_grade = pick(1, 3);
  c.bot_bar = pick(1, 5);
  c.bot_placement = one_of({30, 42, 50, 60});
  c.fire_minutes = one_of({30, 60, 90});
  c.ceiling = pick(1, 2);
  c.precamber = static_cast<float>(one_of({0, 0, 5, 10}));
  c.defl_initial = one_of({200, 250, 300});
  c.defl_additional = one_of({350, 500});
  c.defl_load = pick(1, 2);
  berdat(run);
  c.line_loads = pick(0, 5);
  for (int l = 1; l <= c.line_loads; ++l) line_load(run, l);
}

void RandomSlabs::line_load(Run& run, int l) {
  Indat& c = run.indat;
  const size_t u = static_cast<size_t>(l);
  const int span = pick(1, c.n);
  const float le = run.dat.clear_span[static_cast<size_t>(span)];
  const double kind = real(0.0, 1.0);
  float a = real(0.01, 0.99) * le;
  if (kind < 0.15)
    a = -real(0.05, 1.0);  // on the left cantilever, or into the span before
  else if (kind < 0.3)
    a = le + real(0.01, 3.0);  // on into later spans, or past the last
  // Not at a support face: where a load exactly there acts is a question of its own.
  for (int i = 1; i <= c.n; ++i)
    if (std::fabs(std::fabs(a) - run.dat.clear_span[static_cast<size_t>(i)]) < 1e-3f) a += 0.01f;
  c.ll_span[u] = span;
  c.ll_pos[u] = a;
  c.ll_load[u] = real(0.5, 20.0);
}

}  // namespace solvo::reference

#include "checks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "analysis.h"
#include "beam.h"
#include "comdat.h"
#include "comdat_deck.h"
#include "numeric.h"
#include "section.h"

namespace solvo {

namespace {

// Fresh concrete: 25 kN/m3 and 1 more while it is wet (EN 1991-1-1 Table A.1).
constexpr float kWetConcreteUnitWeight = 26.0f;
// Ponding: the concrete is taken 0.7 x the deflection thicker (EN 1994-1-1 9.3.2(2)) when
// the deflection exceeds a tenth of the slab thickness.
constexpr float kPondingFactor = 0.7f;
constexpr float kPondingThicknessShare = 0.1f;
// Construction loads (EN 1991-1-6 4.11.2): 0.75 kN/m2 outside the working area; in it a
// tenth of the concrete's weight, not below 0.75 and not above 1.5 kN/m2.
constexpr float kConstructionLoad = 0.75f;
constexpr float kWorkingAreaShare = 0.1f;
constexpr float kWorkingAreaMax = 1.5f;
// Deflection of the deck under the wet concrete: deck span / 180 (EN 1994-1-1 9.6(2)).
constexpr float kDeckDeflectionDivisor = 180.0f;
// Least top reinforcement over the ribs (EN 1994-1-1 9.8.1(2)): of the concrete above the
// ribs, unpropped and propped construction; spacing at most 3 h and 400 mm.
constexpr float kCrackRatioUnpropped = 0.002f;
constexpr float kCrackRatioPropped = 0.004f;
constexpr int32_t kCrackSpacingMax = 400;
// Simplified natural frequency f = 18 / sqrt(deflection in mm) under the permanent loads and
// this share of the imposed load.
constexpr float kFrequencyConstant = 18.0f;
constexpr float kFrequencyImposedShare = 0.1f;

float ratio(float action, float resistance) {
  if (resistance > 0) return action / resistance;
  return std::numeric_limits<float>::infinity();
}

// The deck of the whole slab: every span divided by its props into equal deck spans.
struct Deck {
  Beam beam;
  std::vector<int> group{0};  // slab span of every deck span [1..deck spans]
};

Deck deck_of(const Indat& c, float ei) {
  Deck d;
  d.beam.length.assign(1, 0.0f);
  for (int i = 1; i <= c.n; ++i) {
    const int parts = c.props[i] + 1;
    for (int r = 0; r < parts; ++r) {
      d.beam.length.push_back(c.span[i] / static_cast<float>(parts));
      d.group.push_back(i);
    }
  }
  d.beam.cant_left = c.cant_left;
  d.beam.cant_right = c.cant_right;
  d.beam.ei = ei;
  d.beam.continuous = c.deck_support != 2;
  return d;
}

// Deck + wet concrete of span i, kN/m2.
float wet_load(const Indat& c, int i) {
  return comdat::kDeckWeight + kWetConcreteUnitWeight * (c.thickness[i] - comdat::kRibVoidDepth);
}

float working_area_load(float concrete) {
  return std::clamp(kWorkingAreaShare * concrete, kConstructionLoad, kWorkingAreaMax);
}

// The largest deflection of every deck span; the supports' 0 included, so that a span
// lifted everywhere deflects 0.
std::vector<float> largest_deflections(const BeamResult& r) {
  std::vector<float> d(r.defl.size(), 0.0f);
  for (size_t k = 1; k < r.defl.size(); ++k)
    d[k] = *std::max_element(r.defl[k].begin(), r.defl[k].end());
  return d;
}

// The permanent load of the deck with ponding added once where a deck span deflects more
// than a tenth of the slab thickness; `ponding` gets the load added to each deck span.
BeamLoad permanent_with_ponding(const Indat& c, const Deck& deck, std::vector<float>& ponding) {
  const int m = deck.beam.spans();
  BeamLoad g;
  g.w.assign(static_cast<size_t>(m) + 1, 0.0f);
  for (int k = 1; k <= m; ++k)
    g.w[static_cast<size_t>(k)] = wet_load(c, deck.group[static_cast<size_t>(k)]);
  g.w_left = wet_load(c, 1);
  g.w_right = wet_load(c, c.n);
  const std::vector<float> d = largest_deflections(solve_beam(deck.beam, g));
  ponding.assign(d.size(), 0.0f);
  for (int k = 1; k <= m; ++k) {
    const auto sk = static_cast<size_t>(k);
    const float h = c.thickness[deck.group[sk]];
    if (d[sk] > kPondingThicknessShare * h)
      ponding[sk] = kWetConcreteUnitWeight * kPondingFactor * d[sk];
    g.w[sk] += ponding[sk];
  }
  return g;
}

// The ultimate loads: gamma_d (gamma_G G + gamma_Q 0.75) on the whole deck, and one load per
// deck span and cantilever that raises it to the working-area load there.
struct UltimateLoads {
  BeamLoad base;
  std::vector<BeamLoad> extra;
  std::vector<float> q_work;  // working-area load of every deck span
};

UltimateLoads ultimate_loads(const Run& run, const BeamLoad& g) {
  const Indat& c = run.indat;
  const float gd = run.dat.gamma_d;
  auto factored = [&](float perm) {
    return gd * (c.gamma_g * perm + c.gamma_q * kConstructionLoad);
  };
  auto raise = [&](float perm) {
    return gd * c.gamma_q * (working_area_load(perm - comdat::kDeckWeight) - kConstructionLoad);
  };
  UltimateLoads u;
  const size_t m = g.w.size() - 1;
  u.base.w.assign(m + 1, 0.0f);
  u.q_work.assign(m + 1, 0.0f);
  for (size_t k = 1; k <= m; ++k) {
    u.base.w[k] = factored(g.w[k]);
    u.q_work[k] = working_area_load(g.w[k] - comdat::kDeckWeight);
  }
  u.base.w_left = factored(g.w_left);
  u.base.w_right = factored(g.w_right);
  // One added load per deck span and cantilever; a load that raises nothing changes no
  // envelope. Span index 0 stands for the cantilevers.
  auto add = [&](size_t k, float on_span, float on_left, float on_right) {
    if (on_span == 0.0f && on_left == 0.0f && on_right == 0.0f) return;
    BeamLoad one;
    one.w.assign(m + 1, 0.0f);
    if (k > 0) one.w[k] = on_span;
    one.w_left = on_left;
    one.w_right = on_right;
    u.extra.push_back(std::move(one));
  };
  for (size_t k = 1; k <= m; ++k) add(k, raise(g.w[k]), 0.0f, 0.0f);
  if (c.cant_left > 0.0f) add(0, 0.0f, raise(g.w_left), 0.0f);
  if (c.cant_right > 0.0f) add(0, 0.0f, 0.0f, raise(g.w_right));
  return u;
}

}  // namespace

void casting_checks(Run& run) {
  const Indat& c = run.indat;
  Checkdat& out = run.checkdat;
  out.ei_deck = comdat::kEs * comdat::kDeckInertia;
  out.mrd = run.matdat.mrd_deck;
  const Deck deck = deck_of(c, out.ei_deck);
  const int m = deck.beam.spans();

  std::vector<float> ponding;
  const BeamLoad g = permanent_with_ponding(c, deck, ponding);
  const std::vector<float> defl = largest_deflections(solve_beam(deck.beam, g));
  const UltimateLoads uls = ultimate_loads(run, g);
  const BeamEnvelope env = envelope(deck.beam, uls.base, uls.extra);

  for (int i = 1; i <= c.n; ++i) {
    CastingSpan& s = out.casting[static_cast<size_t>(i)];
    s = CastingSpan{};
    s.props = c.props[i];
    s.deck_span = c.span[i] / static_cast<float>(c.props[i] + 1);
    s.g = wet_load(c, i);
    s.defl = -std::numeric_limits<float>::infinity();
    s.m_sag = -std::numeric_limits<float>::infinity();
  }
  for (int k = 1; k <= m; ++k) {
    const auto sk = static_cast<size_t>(k);
    CastingSpan& s = out.casting[static_cast<size_t>(deck.group[sk])];
    s.ponding = std::fmax(s.ponding, ponding[sk]);
    s.q_work = std::fmax(s.q_work, uls.q_work[sk]);
    s.defl = std::fmax(s.defl, 1000.0f * defl[sk]);
    s.m_sag = std::fmax(s.m_sag, *std::max_element(env.mom_max[sk].begin(), env.mom_max[sk].end()));
    s.m_hog = std::fmin(s.m_hog, *std::min_element(env.mom_min[sk].begin(), env.mom_min[sk].end()));
  }
  for (int i = 1; i <= c.n; ++i) {
    CastingSpan& s = out.casting[static_cast<size_t>(i)];
    s.m_sag = std::fmax(s.m_sag, 0.0f);  // a group hogging throughout has no sagging moment
    s.u_sag = ratio(s.m_sag, out.mrd);
    s.u_hog = ratio(-s.m_hog, out.mrd);
    s.defl_limit = 1000.0f * s.deck_span / kDeckDeflectionDivisor;
    s.u_defl = ratio(s.defl, s.defl_limit);
  }
}

void crack_reinforcement(Run& run) {
  const Indat& c = run.indat;
  Checkdat& out = run.checkdat;
  for (int i = 1; i <= c.n; ++i) {
    const float h = c.thickness[i];
    const float share = c.props[i] > 0 ? kCrackRatioPropped : kCrackRatioUnpropped;
    const float area = share * (h - comdat::kProfileHeight) * 1.0E6f;
    const int32_t most = std::min(ftrunc(3000.0f * h), kCrackSpacingMax);
    int32_t s = most;
    if (area > 0.0f) s = std::min(ftrunc(run.matdat.area_top * 1000.0f / area), most);
    out.crack_area[i] = area;
    out.crack_spacing[i] = s;
  }
}

void natural_frequency(Run& run) {
  const Indat& c = run.indat;
  Checkdat& out = run.checkdat;
  const Snitt kept = run.snitt;
  Snitt& s = run.snitt;
  for (int i = 1; i <= c.n; ++i) {
    s.ei[i] = span_stiffness(run, 0.0f, i);
    s.w[i] = run.dat.self_weight[i] + c.perm_load[i] + kFrequencyImposedShare * c.imposed_load[i];
  }
  s.nll = c.line_loads;
  for (int l = 1; l <= kMaxLineLoads; ++l) {
    s.ll_span[l] = c.ll_span[l];
    s.ll_pos[l] = c.ll_pos[l];
    s.ll_load[l] = kFrequencyImposedShare * c.ll_load[l];
  }
  krdef(run, 0);
  for (int i = 1; i <= c.n; ++i) {
    const Curve& d = s.defl[i];
    const float mm = 1000.0f * *std::max_element(d.begin(), d.end());  // 0 when lifted
    out.freq_defl[i] = mm;
    out.freq[i] =
        mm > 0.0f ? kFrequencyConstant / std::sqrt(mm) : std::numeric_limits<float>::infinity();
    out.u_freq[i] = c.freq_min > 0.0f ? c.freq_min / out.freq[i] : 0.0f;
  }
  run.snitt = kept;
}

CheckVerdict check_verdict(const Checkdat& d, int n) {
  CheckVerdict v;
  auto consider = [&](CheckKind kind, int span, float u) {
    // A result that is not a number passes nothing.
    if (std::isnan(u)) u = std::numeric_limits<float>::infinity();
    if (v.governing == CheckKind::kNone || u > v.utilisation) {
      v.governing = kind;
      v.span = span;
      v.utilisation = u;
    }
    if (u > 1.0f) v.passes = false;
  };
  for (int i = 1; i <= n; ++i) {
    const CastingSpan& s = d.casting[static_cast<size_t>(i)];
    consider(CheckKind::kDeckSagging, i, s.u_sag);
    consider(CheckKind::kDeckHogging, i, s.u_hog);
    consider(CheckKind::kDeckDeflection, i, s.u_defl);
    consider(CheckKind::kFrequency, i, d.u_freq[i]);
  }
  return v;
}

const CheckVerdict& slab_checks(Run& run) {
  casting_checks(run);
  crack_reinforcement(run);
  natural_frequency(run);
  run.checkdat.verdict = check_verdict(run.checkdat, run.indat.n);
  return run.checkdat.verdict;
}

}  // namespace solvo

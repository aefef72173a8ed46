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
#include "vibration.h"

namespace solvo {

namespace {

// Fresh concrete: 25 kN/m3 and 1 more while it is wet (EN 1991-1-1 Table A.1).
constexpr float kWetConcreteUnitWeight = 26.0f;
// Ponding: the concrete is taken 0.7 x the deflection thicker (EN 1994-1-1 9.3.2(2)) when
// the deflection exceeds a tenth of the slab thickness.
constexpr float kPondingFactor = 0.7f;
constexpr float kPondingThicknessShare = 0.1f;
// A deck that ponding would bend more than its span / 20 is far outside the range where a
// linear deck carries wet concrete; its figures are those without ponding.
constexpr float kBeyondRangeDivisor = 20.0f;
// Construction loads (EN 1991-1-6 4.11.1, Table 4.1): 0.75 kN/m2 everywhere, and in the
// working area in addition a tenth of the concrete's weight, not below 0.75 and not above
// 1.5 kN/m2.
constexpr float kConstructionLoad = 0.75f;
constexpr float kWorkingAreaShare = 0.1f;
constexpr float kWorkingAreaMin = 0.75f;
constexpr float kWorkingAreaMax = 1.5f;
// Deflection of the deck under the wet concrete: deck span / 180 (EN 1994-1-1 9.6(2)); a
// cantilever takes the limit of a span of twice its length.
constexpr float kDeckDeflectionDivisor = 180.0f;
constexpr float kCantileverSpanFactor = 2.0f;
// Least top reinforcement over the supports (EN 1994-1-1 9.8.1(2), 9.2.1(5)): of the concrete
// above the ribs, unpropped and propped construction, and at least 80 mm2/m; spacing at most
// 2 h and 350 mm.
constexpr float kCrackRatioUnpropped = 0.002f;
constexpr float kCrackRatioPropped = 0.004f;
constexpr float kCrackAreaMin = 80.0f;
constexpr float kCrackSpacingPerThickness = 2000.0f;  // mm per m of slab thickness
constexpr int32_t kCrackSpacingMax = 350;
// Natural frequency: the mass of self weight, permanent load and this share of the imposed
// load (and of the line loads), kg = kN * 1000 / g.
constexpr float kFrequencyImposedShare = 0.1f;
constexpr double kGravity = 9.81;

float ratio(float action, float resistance) {
  if (resistance > 0) return action / resistance;
  return std::numeric_limits<float>::infinity();
}

// The deck of the whole slab: every span divided by its props into equal deck spans.
struct Deck {
  Beam beam;
  std::vector<int> group{0};  // slab span of every deck span [1..deck spans]
  int spans() const { return beam.spans(); }
};

Deck deck_of(const Indat& c, float ei) {
  Deck d;
  d.beam.length.assign(1, 0.0f);
  for (int i = 1; i <= c.n; ++i) {
    const int parts = std::clamp(c.props[i], 0, kMaxProps) + 1;
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

// A value for every place of load: 0 the left cantilever, 1..m the deck spans, m + 1 the
// right cantilever.
using Places = std::vector<float>;

BeamLoad load_of(const Places& v) {
  BeamLoad l;
  l.w.assign(v.begin(), v.end() - 1);
  l.w[0] = 0.0f;
  l.w_left = v.front();
  l.w_right = v.back();
  return l;
}

// Wet concrete of span i, kN/m2 (the deck's own weight apart).
float wet_concrete(const Indat& c, int i) {
  return kWetConcreteUnitWeight * (c.thickness[i] - comdat::kRibVoidDepth);
}

float working_area_load(float concrete) {
  return std::clamp(kWorkingAreaShare * concrete, kWorkingAreaMin, kWorkingAreaMax);
}

// What every place carries while the concrete is wet, characteristic, kN/m2.
struct PlaceLoads {
  Places concrete, ponding, work;
  std::vector<bool> exists, beyond;
  Places g() const {  // deck + concrete + ponding
    Places v(concrete.size(), 0.0f);
    for (size_t k = 0; k < v.size(); ++k)
      if (exists[k]) v[k] = comdat::kDeckWeight + concrete[k] + ponding[k];
    return v;
  }
};

// The largest deflection of deck span k (the supports' 0 included, so that a lifted span
// deflects 0), or of a cantilever tip at the places 0 and m + 1.
float largest_deflection(const BeamResult& r, size_t k) {
  if (k == 0) return r.tip_left;
  if (k == r.defl.size()) return r.tip_right;
  return *std::max_element(r.defl[k].begin(), r.defl[k].end());
}

// The length whose /180 and /20 the deflection of place k is measured against.
float reference_length(const Deck& d, size_t k) {
  if (k == 0) return kCantileverSpanFactor * d.beam.cant_left;
  if (k == d.beam.length.size()) return kCantileverSpanFactor * d.beam.cant_right;
  return d.beam.length[k];
}

// Ponding added once where a place deflects more than a tenth of the slab thickness under
// deck + concrete; where that would take the deflection beyond span / 20 the ponding is left
// out and the place is marked. Returns the permanent load's result with what ponding stays.
BeamResult ponding_of(const Indat& c, const Deck& deck, PlaceLoads& p) {
  const size_t places = p.concrete.size();
  const BeamResult first = solve_beam(deck.beam, load_of(p.g()));
  for (size_t k = 0; k < places; ++k) {
    if (!p.exists[k]) continue;
    const int span = k == 0 ? 1 : k == places - 1 ? c.n : deck.group[k];
    const float d = largest_deflection(first, k);
    if (d > kPondingThicknessShare * c.thickness[span])
      p.ponding[k] = kWetConcreteUnitWeight * kPondingFactor * d;
  }
  // Leaving out the ponding of one place lets its neighbours deflect more: repeated until no
  // place with ponding is beyond the range.
  BeamResult r = solve_beam(deck.beam, load_of(p.g()));
  for (size_t round = 0; round < places; ++round) {
    bool any = false;
    for (size_t k = 0; k < places; ++k) {
      const float d = largest_deflection(r, k);
      if (p.ponding[k] > 0.0f && !(d <= reference_length(deck, k) / kBeyondRangeDivisor)) {
        p.beyond[k] = true;
        p.ponding[k] = 0.0f;
        any = true;
      }
    }
    if (!any) break;
    r = solve_beam(deck.beam, load_of(p.g()));
  }
  return r;
}

// The ultimate (or characteristic) arrangements of the construction stage, by superposition
// of a unit load on every place:
//  - base: factor_g G + factor_q 0.75 on every place;
//  - the working area, factor_q q_work, on one place alone or on two neighbouring places
//    (meeting at a support or prop) together, whichever is worst;
//  - the casting sequence: any place still without its concrete (factor_g x deck only),
//    wherever that worsens.
struct Arrangements {
  Places base, work, unfilled;
};

Arrangements arrangements(const PlaceLoads& p, float factor_g, float factor_q) {
  Arrangements a;
  const Places g = p.g();
  const size_t places = g.size();
  a.base.assign(places, 0.0f);
  a.work.assign(places, 0.0f);
  a.unfilled.assign(places, 0.0f);
  for (size_t k = 0; k < places; ++k) {
    if (!p.exists[k]) continue;
    a.base[k] = factor_g * g[k] + factor_q * kConstructionLoad;
    a.work[k] = factor_q * p.work[k];
    a.unfilled[k] = -factor_g * (g[k] - comdat::kDeckWeight);
  }
  return a;
}

// Upper and lower envelope of one quantity given its value under the base load and its value
// per unit load on every place.
struct Bounds {
  float max = 0, min = 0;
};

Bounds bounds(float base, const Arrangements& a, const std::vector<float>& unit) {
  // Plain comparisons: the values are finite sums of finite products, and the library's
  // fmax and fmin are calls in this inner loop.
  float work_max = 0.0f, work_min = 0.0f, rest_max = 0.0f, rest_min = 0.0f, before = 0.0f;
  for (size_t k = 0; k < unit.size(); ++k) {
    const float w = a.work[k] * unit[k];
    const float pair = w + before;
    const float high = w > pair ? w : pair;
    const float low = w < pair ? w : pair;
    if (high > work_max) work_max = high;
    if (low < work_min) work_min = low;
    before = w;
    const float u = a.unfilled[k] * unit[k];
    if (u > 0.0f) rest_max += u;
    if (u < 0.0f) rest_min += u;
  }
  return {base + work_max + rest_max, base + work_min + rest_min};
}

// The support moments of a unit load on every place.
std::vector<std::vector<float>> unit_moments(const Deck& d) {
  const size_t places = static_cast<size_t>(d.spans()) + 2;
  std::vector<std::vector<float>> m(places);
  for (size_t k = 0; k < places; ++k) {
    Places one(places, 0.0f);
    one[k] = 1.0f;
    m[k] = support_moments(d.beam, load_of(one));
  }
  return m;
}

// The moment envelope of the deck: largest sagging and hogging of every deck span, the hogging
// at both end supports (the cantilever roots); and the largest support and prop reactions.
struct DeckEnvelope {
  std::vector<float> sag, hog;  // [1..m]
  float root_left = 0, root_right = 0;
  std::vector<float> reaction;  // [1..m+1]
};

// The moment envelope of deck span s at its points, every place's unit effect formed point by
// point (the simple-span parabola of its own span and the line of its support moments).
Bounds span_bounds(const Deck& d, const Arrangements& a, const std::vector<std::vector<float>>& mu,
                   const BeamCurve& base, size_t s, std::array<Bounds, kBeamSteps + 1>& at) {
  constexpr int kPts = kBeamSteps + 1;
  const float L = d.beam.length[s];
  std::array<float, kPts> xi{}, own{}, wmax{}, wmin{}, rmax{}, rmin{}, before{};
  for (int p = 0; p < kPts; ++p) {
    xi[p] = static_cast<float>(p) / static_cast<float>(kBeamSteps);
    own[p] = 0.5f * xi[p] * L * (L - xi[p] * L);
  }
  for (size_t k = 0; k < mu.size(); ++k) {
    const float left = mu[k][s], right = mu[k][s + 1];
    const float wk = a.work[k], uk = a.unfilled[k];
    const bool self = k == s;
    for (int p = 0; p < kPts; ++p) {
      const float unit = left + (right - left) * xi[p] + (self ? own[p] : 0.0f);
      const float w = wk * unit;
      const float pair = w + before[p];
      const float high = w > pair ? w : pair;
      const float low = w < pair ? w : pair;
      wmax[p] = high > wmax[p] ? high : wmax[p];
      wmin[p] = low < wmin[p] ? low : wmin[p];
      before[p] = w;
      const float u = uk * unit;
      rmax[p] += u > 0.0f ? u : 0.0f;
      rmin[p] += u < 0.0f ? u : 0.0f;
    }
  }
  Bounds span{-std::numeric_limits<float>::infinity(), 0.0f};
  for (int p = 0; p < kPts; ++p) {
    at[static_cast<size_t>(p)] = {base[static_cast<size_t>(p)] + wmax[p] + rmax[p],
                                  base[static_cast<size_t>(p)] + wmin[p] + rmin[p]};
    const Bounds& b = at[static_cast<size_t>(p)];
    if (b.max > span.max) span.max = b.max;
    if (b.min < span.min) span.min = b.min;
    if (std::isnan(b.max + b.min)) return {std::nanf(""), std::nanf("")};
  }
  return span;
}

DeckEnvelope deck_envelope(const Deck& d, const Arrangements& a,
                           const std::vector<std::vector<float>>& mu, bool moments = true) {
  const int m = d.spans();
  const size_t places = static_cast<size_t>(m) + 2;
  const BeamResult base = solve_beam(d.beam, load_of(a.base));
  DeckEnvelope e;
  e.sag.assign(static_cast<size_t>(m) + 1, 0.0f);
  e.hog.assign(static_cast<size_t>(m) + 1, 0.0f);
  std::array<Bounds, kBeamSteps + 1> at{};
  for (int s = 1; moments && s <= m; ++s) {
    const auto ss = static_cast<size_t>(s);
    const Bounds b = span_bounds(d, a, mu, base.mom[ss], ss, at);
    // A deck span hogging throughout has no sagging moment; one that is not a number stays so.
    e.sag[ss] = std::isnan(b.max) ? b.max : std::fmax(b.max, 0.0f);
    e.hog[ss] = b.min;
    if (s == 1) e.root_left = std::fmin(at.front().min, 0.0f);
    if (s == m) e.root_right = std::fmin(at.back().min, 0.0f);
  }
  e.reaction.assign(static_cast<size_t>(m) + 2, 0.0f);
  std::vector<std::vector<float>> ru(places);
  for (size_t k = 0; k < places; ++k) {
    Places one(places, 0.0f);
    one[k] = 1.0f;
    ru[k] = support_reactions(d.beam, load_of(one), mu[k]);
  }
  std::vector<float> unit(places);
  for (size_t j = 1; j <= static_cast<size_t>(m) + 1; ++j) {
    for (size_t k = 0; k < places; ++k) unit[k] = ru[k][j];
    e.reaction[j] = bounds(base.reaction[j], a, unit).max;
  }
  return e;
}

// The loads of every place before ponding.
PlaceLoads place_loads(const Indat& c, const Deck& deck) {
  const size_t places = static_cast<size_t>(deck.spans()) + 2;
  PlaceLoads p;
  p.concrete.assign(places, 0.0f);
  p.ponding.assign(places, 0.0f);
  p.work.assign(places, 0.0f);
  p.exists.assign(places, true);
  p.beyond.assign(places, false);
  for (size_t k = 1; k + 1 < places; ++k) p.concrete[k] = wet_concrete(c, deck.group[k]);
  p.concrete[0] = wet_concrete(c, 1);
  p.concrete[places - 1] = wet_concrete(c, c.n);
  p.exists[0] = c.cant_left > 0.0f;
  p.exists[places - 1] = c.cant_right > 0.0f;
  for (size_t k = 0; k < places; ++k)
    if (!p.exists[k]) p.concrete[k] = 0.0f;
  return p;
}

}  // namespace

namespace {

// The rows of one slab span from its deck spans.
void fold_spans(const Indat& c, const Deck& deck, const PlaceLoads& p, const BeamResult& g,
                const DeckEnvelope& env, float mrd, Checkdat& out) {
  for (int i = 1; i <= c.n; ++i) {
    CastingSpan& s = out.casting[static_cast<size_t>(i)];
    s = CastingSpan{};
    s.props = std::clamp(c.props[i], 0, kMaxProps);
    s.deck_span = c.span[i] / static_cast<float>(s.props + 1);
    s.g = comdat::kDeckWeight + wet_concrete(c, i);
    s.defl = -std::numeric_limits<float>::infinity();
    s.m_sag = -std::numeric_limits<float>::infinity();
  }
  for (int k = 1; k <= deck.spans(); ++k) {
    const auto sk = static_cast<size_t>(k);
    CastingSpan& s = out.casting[static_cast<size_t>(deck.group[sk])];
    s.ponding = std::fmax(s.ponding, p.ponding[sk]);
    s.q_work = std::fmax(s.q_work, p.work[sk]);
    s.defl = std::fmax(s.defl, 1000.0f * largest_deflection(g, sk));
    s.m_sag = std::fmax(s.m_sag, env.sag[sk]);
    s.m_hog = std::fmin(s.m_hog, env.hog[sk]);
    s.beyond_range = s.beyond_range || p.beyond[sk];
  }
  for (int i = 1; i <= c.n; ++i) {
    CastingSpan& s = out.casting[static_cast<size_t>(i)];
    s.u_sag = ratio(s.m_sag, mrd);
    s.u_hog = ratio(-s.m_hog, mrd);
    s.defl_limit = 1000.0f * s.deck_span / kDeckDeflectionDivisor;
    s.u_defl = ratio(s.defl, s.defl_limit);
  }
}

CastingCantilever cantilever_row(const PlaceLoads& p, size_t k, float length, float tip, float root,
                                 float mrd) {
  CastingCantilever r;
  if (!(length > 0.0f)) return r;
  r.length = length;
  r.g = comdat::kDeckWeight + p.concrete[k];
  r.ponding = p.ponding[k];
  r.q_work = p.work[k];
  r.m_root = root;
  r.u_moment = ratio(-root, mrd);
  r.defl = 1000.0f * tip;
  r.defl_limit = 1000.0f * kCantileverSpanFactor * length / kDeckDeflectionDivisor;
  r.u_defl = ratio(std::fmax(r.defl, 0.0f), r.defl_limit);
  r.beyond_range = p.beyond[k];
  return r;
}

// The support and prop lines from left to right with their line loads.
void fold_reactions(const Deck& deck, const DeckEnvelope& design,
                    const DeckEnvelope& characteristic, Checkdat& out) {
  out.reactions = 0;
  int support = 1, prop = 0;
  for (int j = 1; j <= deck.spans() + 1; ++j) {
    CastingReaction& r = out.reaction[static_cast<size_t>(++out.reactions)];
    // Deck support j ends deck span j - 1: a slab support where the next deck span starts a
    // new slab span (or at either end), a prop otherwise.
    const bool at_support =
        j == 1 || j == deck.spans() + 1 ||
        deck.group[static_cast<size_t>(j)] != deck.group[static_cast<size_t>(j - 1)];
    if (at_support) {
      r.span = 0;
      r.at = support++;
      prop = 0;
    } else {
      r.span = deck.group[static_cast<size_t>(j)];
      r.at = ++prop;
    }
    r.design = design.reaction[static_cast<size_t>(j)];
    r.characteristic = characteristic.reaction[static_cast<size_t>(j)];
  }
}

// The construction stage of the case `c` into `out` (spans, cantilevers, and the reactions
// unless a trial of props asks only whether the spans pass).
void casting_into(const Run& run, const Indat& c, Checkdat& out, bool reactions = true) {
  out.ei_deck = comdat::kEs * comdat::kDeckInertia;
  out.mrd = run.matdat.mrd_deck;
  const Deck deck = deck_of(c, out.ei_deck);
  PlaceLoads p = place_loads(c, deck);
  const BeamResult g = ponding_of(c, deck, p);
  for (size_t k = 0; k < p.work.size(); ++k)
    if (p.exists[k]) p.work[k] = working_area_load(p.concrete[k] + p.ponding[k]);
  const auto mu = unit_moments(deck);
  const float gd = run.dat.gamma_d;
  const DeckEnvelope uls = deck_envelope(deck, arrangements(p, gd * c.gamma_g, gd * c.gamma_q), mu);
  fold_spans(c, deck, p, g, uls, out.mrd, out);
  const size_t last = p.work.size() - 1;
  out.cant_left = cantilever_row(p, 0, c.cant_left, g.tip_left, uls.root_left, out.mrd);
  out.cant_right = cantilever_row(p, last, c.cant_right, g.tip_right, uls.root_right, out.mrd);
  if (!reactions) return;
  const DeckEnvelope sls = deck_envelope(deck, arrangements(p, 1.0f, 1.0f), mu, false);
  fold_reactions(deck, uls, sls, out);
}

bool fails(float u) { return !(u <= 1.0f); }

// Whether span i fails a construction-stage check that props in it can help: hogging that is
// no larger than the root moment of a cantilever at its end is the cantilever's, which has a
// row and a verdict of its own.
bool span_fails(const Checkdat& d, int i, int n) {
  const CastingSpan& s = d.casting[static_cast<size_t>(i)];
  if (s.beyond_range || fails(s.u_sag) || fails(s.u_defl)) return true;
  if (!fails(s.u_hog)) return false;
  float root = 0.0f;
  if (i == 1 && d.cant_left.length > 0.0f) root = std::fmin(root, d.cant_left.m_root);
  if (i == n && d.cant_right.length > 0.0f) root = std::fmin(root, d.cant_right.m_root);
  return !(s.m_hog >= root);
}

}  // namespace

void casting_checks(Run& run) { casting_into(run, run.indat, run.checkdat); }

void props_needed(Run& run) {
  const Indat& c = run.indat;
  Indat tried = c;
  std::vector<bool> failing(static_cast<size_t>(c.n) + 1, false);
  bool any = false;
  for (int i = 1; i <= c.n; ++i) {
    CastingSpan& s = run.checkdat.casting[static_cast<size_t>(i)];
    s.props_needed = -1;
    failing[static_cast<size_t>(i)] = span_fails(run.checkdat, i, c.n);
    any = any || failing[static_cast<size_t>(i)];
    tried.props[i] = s.props;
  }
  if (!any) return;
  // A span's hogging over a support depends on its neighbour too: every span that still
  // fails takes one prop more at a time, together, until all pass or have the most props.
  Checkdat trial;
  std::vector<bool> still = failing;
  for (int round = 0; round <= kMaxProps; ++round) {
    bool more = false;
    for (int i = 1; i <= c.n; ++i)
      if (still[static_cast<size_t>(i)] && tried.props[i] < kMaxProps) {
        ++tried.props[i];
        more = true;
      }
    if (!more) break;
    casting_into(run, tried, trial, false);
    bool left = false;
    for (int i = 1; i <= c.n; ++i) {
      still[static_cast<size_t>(i)] = span_fails(trial, i, c.n);
      left = left || still[static_cast<size_t>(i)];
    }
    if (!left) break;
  }
  for (int i = 1; i <= c.n; ++i) {
    if (!failing[static_cast<size_t>(i)]) continue;
    CastingSpan& s = run.checkdat.casting[static_cast<size_t>(i)];
    s.props_needed = still[static_cast<size_t>(i)] ? kMaxProps + 1 : tried.props[i];
  }
}

namespace {

// The least area of span i, mm2/m.
float crack_area_of(const Indat& c, int i) {
  const float share = c.props[i] > 0 ? kCrackRatioPropped : kCrackRatioUnpropped;
  return std::fmax(share * (c.thickness[i] - comdat::kProfileHeight) * 1.0E6f, kCrackAreaMin);
}

int32_t crack_spacing_limit(float h) {
  return std::min(ftrunc(kCrackSpacingPerThickness * h), kCrackSpacingMax);
}

}  // namespace

void crack_reinforcement(Run& run) {
  const Indat& c = run.indat;
  Checkdat& out = run.checkdat;
  for (int j = 1; j <= c.n + 1; ++j) {
    // The steel lies over the support: the larger need of the spans on either side, and the
    // spacing of the thinner of them.
    float area = 0.0f;
    float h = std::numeric_limits<float>::infinity();
    for (int i : {j - 1, j}) {
      if (i < 1 || i > c.n) continue;
      area = std::fmax(area, crack_area_of(c, i));
      h = std::fmin(h, c.thickness[i]);
    }
    const int32_t most = crack_spacing_limit(h);
    out.crack_area[j] = area;
    out.crack_spacing_max[j] = most;
    out.crack_spacing[j] = std::min(ftrunc(run.matdat.area_top * 1000.0f / area), most);
  }
}

bool crack_steel_provided(const Run& run, int j) {
  const float s = run.utdat.s[j];
  if (!(s > 0.0f)) return false;
  const float area = run.matdat.area_top * 1000.0f / s;
  return area >= run.checkdat.crack_area[j] && ftrunc(s) <= run.checkdat.crack_spacing[j];
}

namespace {

// The slab as one continuous beam for its vibration: the clear spans of the analysis between
// supports, the cantilevers free at their tips, 0.1 x the line loads as masses on their lines.
VibrationBeam vibration_beam(const Run& run) {
  const Indat& c = run.indat;
  const Checkdat& d = run.checkdat;
  VibrationBeam b;
  auto segment = [&](double length, int i) {
    b.segments.push_back({length, 1000.0 * d.freq_ei[i], d.freq_mass[i]});
  };
  const int first = c.cant_left > 0.0f ? 1 : 0;
  if (first == 1) {
    segment(c.cant_left, 1);
    b.supported.push_back(false);
  }
  for (int i = 1; i <= c.n; ++i) {
    segment(run.dat.clear_span[i], i);
    b.supported.push_back(true);
  }
  b.supported.push_back(true);
  if (c.cant_right > 0.0f) {
    segment(c.cant_right, c.n);
    b.supported.push_back(false);
  }
  for (int l = 1; l <= c.line_loads; ++l) {
    int span = c.ll_span[l];
    double at = c.ll_pos[l];
    if (span < 1 || span > c.n || !std::isfinite(at)) continue;
    while (span < c.n && at > run.dat.clear_span[span]) at -= run.dat.clear_span[span++];
    while (span > 1 && at < 0.0) at += run.dat.clear_span[--span];
    int seg = span - 1 + first;
    if (at < 0.0 && first == 1) {  // on the left cantilever, measured from its tip
      seg = 0;
      at = std::fmax(0.0, c.cant_left + at);
    } else if (at > run.dat.clear_span[span] && c.cant_right > 0.0f) {
      seg = static_cast<int>(b.segments.size()) - 1;
      at -= run.dat.clear_span[span];
    }
    const double mass = kFrequencyImposedShare * c.ll_load[l] * 1000.0 / kGravity;
    b.points.push_back({seg, at, mass});
  }
  return b;
}

}  // namespace

void natural_frequency(Run& run) {
  const Indat& c = run.indat;
  Checkdat& out = run.checkdat;
  for (int i = 1; i <= c.n; ++i) {
    out.freq_ei[i] = span_stiffness(run, 0.0f, i) / 1000.0f;
    const float w =
        run.dat.self_weight[i] + c.perm_load[i] + kFrequencyImposedShare * c.imposed_load[i];
    out.freq_mass[i] = static_cast<float>(w * 1000.0 / kGravity);
  }
  const VibrationMode mode = lowest_mode(vibration_beam(run));
  out.freq = static_cast<float>(mode.frequency);
  const int shift = c.cant_left > 0.0f ? 1 : 0;
  out.freq_span = std::clamp(mode.segment - shift + 1, 1, c.n);
  out.u_freq = c.freq_min > 0.0f ? c.freq_min / out.freq : 0.0f;
}

namespace {

// Keeps `item` among the failing checks: the first of its kind, or in place of a milder one.
void note_failing(CheckVerdict& v, const CheckItem& item) {
  for (int k = 0; k < v.failing_count; ++k) {
    CheckItem& f = v.failing[static_cast<size_t>(k)];
    if (f.kind != item.kind) continue;
    if (item.utilisation > f.utilisation) f = item;
    return;
  }
  if (v.failing_count < CheckVerdict::kKinds)
    v.failing[static_cast<size_t>(v.failing_count++)] = item;
}

}  // namespace

CheckVerdict check_verdict(const Checkdat& d, int n) {
  CheckVerdict v;
  // A deck far outside its range: ponding would take its deflection beyond length / 20, so its
  // utilisation is more than 180/20 = 9 whatever its first-order figure says.
  const float beyond_at_least = kDeckDeflectionDivisor / kBeyondRangeDivisor;
  auto beyond = [&](float u) { return std::isnan(u) ? u : std::fmax(u, beyond_at_least); };
  auto consider = [&](CheckKind kind, int span, float u) {
    // A result that is not a number passes nothing.
    if (std::isnan(u)) u = std::numeric_limits<float>::infinity();
    if (v.governing == CheckKind::kNone || u > v.utilisation) {
      v.governing = kind;
      v.span = span;
      v.utilisation = u;
    }
    if (u > 1.0f) {
      v.passes = false;
      note_failing(v, {kind, span, u});
    }
  };
  for (int i = 1; i <= n; ++i) {
    const CastingSpan& s = d.casting[static_cast<size_t>(i)];
    consider(CheckKind::kDeckSagging, i, s.u_sag);
    consider(CheckKind::kDeckHogging, i, s.u_hog);
    consider(CheckKind::kDeckDeflection, i, s.beyond_range ? beyond(s.u_defl) : s.u_defl);
  }
  const std::pair<const CastingCantilever*, int> cantilevers[] = {{&d.cant_left, 1},
                                                                  {&d.cant_right, n + 1}};
  for (const auto& [k, support] : cantilevers) {
    if (!(k->length > 0.0f)) continue;
    consider(CheckKind::kCantileverMoment, support, k->u_moment);
    consider(CheckKind::kCantileverDeflection, support,
             k->beyond_range ? beyond(k->u_defl) : k->u_defl);
  }
  consider(CheckKind::kFrequency, d.freq_span, d.u_freq);
  return v;
}

const CheckVerdict& slab_checks(Run& run, CheckScope scope) {
  casting_checks(run);
  if (scope == CheckScope::kPage) {
    props_needed(run);
  } else {
    for (CastingSpan& s : run.checkdat.casting) s.props_needed = -1;
  }
  crack_reinforcement(run);
  natural_frequency(run);
  run.checkdat.verdict = check_verdict(run.checkdat, run.indat.n);
  return run.checkdat.verdict;
}

}  // namespace solvo

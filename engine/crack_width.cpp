#include "crack_width.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "comdat.h"
#include "design.h"
#include "run_state.h"
#include "section.h"

namespace solvo {

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

// The width of the whole metre is this many pitches.
constexpr float kWidth = 1000.0f;  // mm

// The ribs in mm.
struct Ribs {
  float hp, s, w1, w2;
  float slope() const { return hp > 0.0f ? (s - w2 - w1) / hp : 0.0f; }
};

Ribs in_mm(const RibGeometry& rib) {
  return {1000.0f * rib.hp, 1000.0f * rib.s, 1000.0f * rib.w1, 1000.0f * rib.w2};
}

// First and second moment about the neutral axis at x of the concrete below x, per metre
// width: the rib part (width w2 + slope y up to hp), then the full pitch above hp.
struct ZoneMoments {
  float first = 0, second = 0;
};

ZoneMoments zone_moments(const Ribs& r, float x) {
  const float a = std::fmin(x, r.hp);
  const float g = r.slope();
  const float xa = x - a;
  ZoneMoments z;
  z.first = r.w2 * (x * a - 0.5f * a * a) + g * (0.5f * x * a * a - a * a * a / 3.0f);
  z.second = r.w2 * (x * x * x - xa * xa * xa) / 3.0f +
             g * (0.5f * x * x * a * a - 2.0f * x * a * a * a / 3.0f + 0.25f * a * a * a * a);
  if (x > r.hp) {
    const float above = x - r.hp;
    z.first += 0.5f * r.s * above * above;
    z.second += r.s * above * above * above / 3.0f;
  }
  const float pitches = kWidth / r.s;
  z.first *= pitches;
  z.second *= pitches;
  return z;
}

// Slab thickness over support j: the end span's at the ends, the thinner span's inside.
float support_thickness(const Indat& c, int j) {
  if (j <= 1) return c.thickness[1];
  if (j >= c.n + 1) return c.thickness[c.n];
  return std::fmin(c.thickness[j - 1], c.thickness[j]);
}

bool is_checked(const Run& run, int j) {
  const Indat& c = run.indat;
  const Utdat& u = run.utdat;
  const bool interior = j > 1 && j <= c.n;
  const bool root = (j == 1 && c.cant_left > 0.0f) || (j == c.n + 1 && c.cant_right > 0.0f);
  return (interior || root) && u.top_solution[static_cast<size_t>(j)] == BarSolution::kSolved &&
         u.s[j] > 0.0f && u.as[j] > 0.0f && u.as[j] < kNoEquilibriumArea;
}

CrackInput input_of(const Run& run, int j) {
  const Indat& c = run.indat;
  const Matdat& m = run.matdat;
  CrackInput in;
  in.m = std::fmax(0.0f, -run.arbvar.ms_min[kRowQuasiLong][j]);
  const float t = support_thickness(c, j);
  in.h = 1000.0f * t;
  in.cover = static_cast<float>(c.top_cover);
  in.phi = m.dia_top;
  in.bar_area = m.area_top;
  // The bars of page 5, never further apart than can be built over the support.
  in.spacing = std::fmin(run.utdat.s[j], static_cast<float>(most_top_spacing(t)));
  in.es = m.es / 1000.0f;
  const auto cls = static_cast<size_t>(c.concrete_class);
  in.ecm = comdat::kConcrete[cls].ecm / 1000.0f;
  in.fct_eff = comdat::kFctm[cls];
  return in;
}

// What the spacings needed add to the weights of the top bars: the weights with them less
// the weights with the spacings checked.
void extra_weights(Run& run) {
  CrackWidths& cw = run.crack;
  const Utdat kept = run.utdat;
  bool any = false;
  for (int j = 1; j <= run.indat.n + 1; ++j) {
    const CrackSupport& s = cw.at[static_cast<size_t>(j)];
    if (s.checked) run.utdat.s[j] = static_cast<float>(s.spacing);
    any = any || s.needed > 0;
  }
  if (any) {
    top_bar_lengths(run);
    const float wa = run.utdat.wa, wb = run.utdat.wb;
    for (int j = 1; j <= run.indat.n + 1; ++j) {
      const int32_t needed = cw.at[static_cast<size_t>(j)].needed;
      if (needed > 0) run.utdat.s[j] = static_cast<float>(needed);
    }
    top_bar_lengths(run);
    cw.extra_wa = run.utdat.wa - wa;
    cw.extra_wb = run.utdat.wb - wb;
  }
  run.utdat = kept;
}

}  // namespace

CrackedSection cracked_section(const RibGeometry& rib, float alpha_e, float as, float d) {
  CrackedSection sec;
  const Ribs r = in_mm(rib);
  if (!(d > 0.0f) || !(as > 0.0f) || !(alpha_e > 0.0f) || !(r.s > 0.0f) || r.w2 < 0.0f ||
      r.w1 < 0.0f || r.hp < 0.0f)
    return sec;
  // The concrete's first moment grows with x and the steel's falls: one root in 0..d.
  const float steel = alpha_e * as;
  float lo = 0.0f, hi = d;
  for (int it = 0; it < 60 && hi - lo > 1.0E-5f * d; ++it) {
    const float mid = 0.5f * (lo + hi);
    if (zone_moments(r, mid).first < steel * (d - mid))
      lo = mid;
    else
      hi = mid;
  }
  sec.x = 0.5f * (lo + hi);
  sec.icr = zone_moments(r, sec.x).second + steel * (d - sec.x) * (d - sec.x);
  sec.valid = sec.icr > 0.0f;
  return sec;
}

float steel_stress(float m, float alpha_e, const CrackedSection& sec, float d) {
  if (!sec.valid) return kInfinity;
  return alpha_e * (m * 1.0E6f) * (d - sec.x) / sec.icr;
}

float effective_tension_height(float h, float d, float x) {
  return std::fmin(std::fmin(2.5f * (h - d), (h - x) / 3.0f), 0.5f * h);
}

float strain_difference(float sigma_s, float fct_eff, float rho, float alpha_e, float es,
                        bool* floor_governs) {
  const float floor = 0.6f * sigma_s / es;
  float eps = floor;
  if (rho > 0.0f) eps = (sigma_s - kCrackKt * fct_eff / rho * (1.0f + alpha_e * rho)) / es;
  const bool governs = !(eps > floor);
  if (floor_governs != nullptr) *floor_governs = governs;
  return governs ? floor : eps;
}

float crack_spacing_max(float c, float phi, float rho, float spacing, float h, float x,
                        bool* wide) {
  const float near_bars =
      rho > 0.0f ? 3.4f * c + 0.425f * kCrackK1 * kCrackK2 * phi / rho : kInfinity;
  const bool is_wide = spacing > 5.0f * (c + 0.5f * phi);
  if (wide != nullptr) *wide = is_wide;
  // Between bars further apart than 5 (c + phi/2) the crack is bounded by 1.3 (h - x); next
  // to each bar (7.11) still holds, so the larger of the two is the crack spacing. (7.14)
  // alone would let wider bars crack less than closer ones just inside the limit, and the
  // spacing needed for wmax would then be a wider one.
  if (is_wide) return std::fmax(near_bars, 1.3f * (h - x));
  return near_bars;
}

CrackResult crack_width(const CrackInput& in) {
  CrackResult r;
  r.wk = kInfinity;
  if (!(in.ecm > 0.0f) || !(in.es > 0.0f) || !(in.spacing > 0.0f)) return r;
  r.alpha_e = in.es / in.ecm;
  r.d = in.h - in.cover - 0.5f * in.phi;
  r.as = in.bar_area * kWidth / in.spacing;
  r.section = cracked_section(kDeckRibs, r.alpha_e, r.as, r.d);
  if (!r.section.valid) return r;
  r.sigma_s = steel_stress(in.m, r.alpha_e, r.section, r.d);
  r.hc_ef = effective_tension_height(in.h, r.d, r.section.x);
  if (!(r.hc_ef > 0.0f)) return r;
  r.rho = r.as / (r.hc_ef * kWidth);
  r.eps = strain_difference(r.sigma_s, in.fct_eff, r.rho, r.alpha_e, in.es, &r.floor_governs);
  r.sr_max = crack_spacing_max(in.cover, in.phi, r.rho, in.spacing, in.h, r.section.x, &r.wide);
  r.wk = r.sr_max * r.eps;
  return r;
}

int32_t spacing_for_crack_width(CrackInput in, float wmax, int32_t least, int32_t most) {
  for (int32_t s = most; s >= least && s > 0; --s) {
    in.spacing = static_cast<float>(s);
    if (crack_width(in).wk <= wmax) return s;
  }
  return 0;
}

CrackVerdict crack_verdict(const CrackWidths& cw, int n) {
  CrackVerdict v;
  for (int j = 1; j <= n + 1; ++j) {
    const CrackSupport& s = cw.at[static_cast<size_t>(j)];
    if (!s.checked) continue;
    float u = s.utilisation;
    if (std::isnan(u)) u = kInfinity;
    if (v.support == 0 || u > v.utilisation) {
      v.support = j;
      v.utilisation = u;
    }
    if (!(u <= 1.0f)) v.passes = false;
  }
  return v;
}

void crack_widths(Run& run) {
  CrackWidths& cw = run.crack;
  cw = CrackWidths{};
  cw.wmax = run.indat.crack_wmax;
  if (!(cw.wmax > 0.0f)) return;
  for (int j = 1; j <= run.indat.n + 1; ++j) {
    if (!is_checked(run, j)) continue;
    CrackSupport& s = cw.at[static_cast<size_t>(j)];
    const CrackInput in = input_of(run, j);
    s.checked = true;
    s.m = run.arbvar.ms_min[kRowQuasiLong][j];
    s.spacing = static_cast<int32_t>(in.spacing);
    s.r = crack_width(in);
    s.utilisation = s.r.wk / cw.wmax;
    if (!(s.r.wk <= cw.wmax)) {
      const int32_t most = s.spacing - 1;
      s.needed = spacing_for_crack_width(in, cw.wmax, least_top_spacing(in.phi), most);
    }
  }
  extra_weights(run);
}

}  // namespace solvo

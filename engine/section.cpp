#include "section.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace solvo {

namespace {

constexpr float kStrainLimit = 0.0035f;  // concrete, ultimate
constexpr float kBlock = 0.85f;          // stress block 0.85 fcd
constexpr float kTolerance = 0.0001f;    // m, on the compression depth
constexpr int kRounds = 41;              // the first round and 40 more
constexpr float kTwoThirds = 2.0f / 3.0f;

bool all_finite(std::initializer_list<float> values) {
  for (float v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

float sq(float v) { return v * v; }

// Ribs whose zone widens upwards from the soffit. With w1 + w2 <= s the zone's width never
// shrinks, so every positive depth has a positive area and a centroid below it.
bool sound_ribs(const RibGeometry& r) {
  return all_finite({r.hp, r.s, r.w1, r.w2}) && r.s > 0 && r.hp >= 0 && r.w1 >= 0 && r.w2 >= 0 &&
         r.w1 + r.w2 <= r.s;
}

// The compression zone of depth x in the ribs, per pitch.
struct Zone {
  bool ok = false;  // false: x <= 0 or a zone without width; then use nothing else
  float width = 0;  // mean width B = w2 + t of a zone within the ribs
  float ribs = 0;   // area Ar of the ribs up to hp
  float zc = 0;     // height of the centroid above the soffit
};

Zone zone(float x, const RibGeometry& r) {
  Zone z;
  if (!(x > 0)) return z;
  z.ribs = 0.5f * r.hp * (r.s + r.w2 - r.w1);
  if (x <= r.hp) {
    const float t = x * (r.s - r.w2 - r.w1) / (2.0f * r.hp);  // hp >= x > 0
    z.width = r.w2 + t;
    const float area = x * z.width;
    if (!(area > 0)) return z;
    z.zc = (0.5f * r.w2 * (x * x) + kTwoThirds * t * (x * x)) / area;
  } else {
    const float above = (x - r.hp) * r.s;
    const float area = above + z.ribs;  // > 0: above > 0 and ribs >= 0
    z.zc = (r.hp * r.hp * (2.0f * r.s + r.w2 - r.w1) / 6.0f + 0.5f * (r.hp + x) * above) / area;
  }
  z.ok = true;
  return z;
}

// Stress of steel at strain eps (elastic-perfectly plastic) and the status it gives.
struct Steel {
  float stress;
  int32_t status;
};

Steel steel(float eps, float fy, float es) {
  if (eps < fy / es) return {eps * es, kSteelElastic};
  return {fy, kSteelYields};
}

}  // namespace

StiffnessResult samm5(float ec, float es, float phi, float h, float hp, float s, float b0, float dp,
                      float ap, float ip) {
  StiffnessResult r;
  r.status = kNoEquilibrium;
  if (!all_finite({ec, es, phi, h, hp, s, b0, dp, ap, ip})) return r;
  const float creep = 1.0f + phi;
  if (!(creep > 0) || !(ec > 0) || !(es > 0) || !(s > 0) || !(ap > 0)) return r;

  r.ec_eff = ec / creep;
  // Both moduli in N/m2: es arrives in kN/m2 like every other strength of the engine.
  r.n = es * 1000.0f / r.ec_eff;
  const float nap = r.n * ap;

  // Uncracked: the concrete slab less the rib voids, the deck transformed by n.
  const float den = h + nap - hp * (s - b0) / s;
  if (!(den > 0)) return r;  // no neutral axis (a slab far thinner than the deck, h = 0)
  r.xu = (0.5f * (h * h) + nap * dp - hp * (s - b0) * (h - 0.5f * hp) / s) / den;
  const float hc = h - hp;
  r.iu = hc * hc * hc / 12.0f + hc * sq(r.xu - 0.5f * hc) + r.n * ip + nap * sq(dp - r.xu) +
         (hp * b0 / s) * (hp * hp / 12.0f + sq(h - r.xu - 0.5f * hp));

  // Cracked: concrete above xc and the deck.
  const float root = 2.0f * dp / nap + 1.0f;
  if (root < 0) return r;  // the deck lies above the top: no cracked section
  r.xc = nap * (std::sqrt(root) - 1.0f);
  r.icr = r.xc * r.xc * r.xc / 3.0f + r.n * (ip + ap * sq(dp - r.xc));

  const float ei = r.ec_eff * 0.5f * (r.iu + r.icr);
  if (!std::isfinite(ei) || !(ei > 0)) return r;
  r.ei = ei;
  r.status = kSteelYields;
  return r;
}

AreaResult samm1s(float fcd, float fyd, float es, const RibGeometry& rib, float d, float m,
                  float prior) {
  const AreaResult none{kNoEquilibriumArea, 0, kNoEquilibrium};
  if (!all_finite({fcd, fyd, es, d, m})) return none;
  if (m <= 0) return {0, 0, kSteelYields};
  if (!(d > 0) || !(fcd > 0) || !(fyd > 0) || !(es > 0) || !sound_ribs(rib)) return none;

  // x stays in (0, d]: each x' is positive and a damped x beyond d ends the search.
  float x = 0.25f * d;
  for (int round = 1; round <= kRounds; ++round) {
    const Zone z = zone(x, rib);
    if (!z.ok) return {kNoEquilibriumArea, x, kNoEquilibrium};  // ribs of no width at the soffit
    const float c = m * rib.s / ((d - z.zc) * kBlock * fcd);    // compressed area per pitch
    const float xn = x <= rib.hp ? c / z.width : rib.hp + (c - z.ribs) / rib.s;
    if (std::fabs(xn - x) <= kTolerance) {
      const Steel bars = steel((d / x - 1.0f) * kStrainLimit, fyd, es);
      const float den = bars.stress * (d - z.zc);
      // x == d: the bars have no strain and carry nothing.
      if (!(den > 0)) return {kNoEquilibriumArea, x, kNoEquilibrium};
      float as = m / den;
      if (as * 1.0E6f < 1.0f) as = 0;
      return {as, x, bars.status};
    }
    x = (x + 2.0f * xn) / 3.0f;
    if (x > d) return {kNoEquilibriumArea, x, kNoEquilibrium};
  }
  return {prior, x, kNoConvergence};
}

CapacityResult samm2s(float fc, float fy, float es, const RibGeometry& rib, float d, float as,
                      float prior) {
  const CapacityResult none{0, 0, kNoEquilibrium};
  if (!all_finite({fc, fy, es, d, as})) return none;
  if (!(d > 0) || !(fc > 0) || !(fy > 0) || !(es > 0) || as < 0 || !sound_ribs(rib)) return none;

  float x = std::min(0.25f * d, d / (1.0f + fy / (kStrainLimit * es)));
  for (int round = 1; round <= kRounds; ++round) {
    // A large area (1000000 from a support without equilibrium) drives x past d, where the
    // bars go into compression, x' turns negative and x follows it below 0: no depth is
    // left to divide by, and the search ends as not converging.
    const Zone z = zone(x, rib);
    if (!z.ok) return {prior, x, kNoConvergence};
    const Steel bars = steel((d / x - 1.0f) * kStrainLimit, fy, es);
    const float nc = rib.s * as * bars.stress / fc;  // compressed area per pitch
    const float xn = x <= rib.hp ? nc / z.width : rib.hp + (nc - z.ribs) / rib.s;
    if (std::fabs(xn - x) <= kTolerance) {
      return {bars.stress * as * (d - z.zc), x, bars.status};
    }
    x = (x + 2.0f * xn) / 3.0f;
  }
  return {prior, x, kNoConvergence};
}

CapacityResult samm2(float fcd, float fy1, float fy2, float es, float d2, float d1, float a2,
                     float a1, float prior) {
  const CapacityResult none{0, 0, kNoEquilibrium};
  if (!all_finite({fcd, fy1, fy2, es, d2, d1, a2, a1})) return none;
  const bool layer1 = a1 * 1.0E6f > 10.0f;
  const bool layer2 = a2 * 1.0E6f > 10.0f;
  if (!layer1 && !layer2) return none;  // no tension steel
  if (!(fcd > 0) || !(es > 0) || fy2 < 0) return none;
  if (layer1 && (!(d1 > 0) || fy1 < 0)) return none;
  if (layer2 && !(d2 > 0)) return none;

  const float eps_y1 = fy1 / es;
  const float eps_y2 = fy2 / es;
  const float dref = layer2 ? d2 : d1;
  float x = std::min(0.25f * dref, dref / (1.0f + eps_y2 / kStrainLimit));
  for (int round = 1; round <= kRounds; ++round) {
    // Both layers in compression would push x below 0 (and then divide by zero at x = 0).
    if (!(x > 0)) return {prior, x, kNoConvergence};
    float s1 = 0, s2 = 0;
    int32_t status = kSteelYields;
    if (layer1) {
      const float e1 = (d1 / x - 1.0f) * kStrainLimit;
      if (e1 < eps_y1) {
        s1 = e1 * es;
        status = kSteelElastic;
      } else {
        s1 = fy1;
        status = kSteelYields;
      }
    }
    if (layer2) {
      const float e2 = (d2 / x - 1.0f) * kStrainLimit;
      if (e2 < eps_y2) {
        s2 = e2 * es;
        status = kSteelElastic;
      } else {
        s2 = fy2;
        status = kSteelYields;
      }
    }
    const float xn = (a1 * s1 + a2 * s2) / (kBlock * fcd);
    if (std::fabs(xn - x) <= kTolerance) {
      return {(d1 - 0.5f * x) * s1 * a1 + (d2 - 0.5f * x) * s2 * a2, x, status};
    }
    x = (x + 2.0f * xn) / 3.0f;
  }
  return {prior, x, kNoConvergence};
}

FireAreaResult samm1(float fcd, float fyb, float fyp, float es, float dd, float db, float ap,
                     float m, float prior) {
  const FireAreaResult none{prior, 0, kNoConvergence, false};
  if (!all_finite({fcd, fyb, fyp, es, dd, db, ap, m})) return none;
  if (!(fcd > 0) || !(es > 0) || !(dd > 0) || !(db > 0) || fyb < 0 || fyp < 0 || ap < 0) {
    return none;
  }
  const bool deck = ap * 1.0E6f >= 10.0f;
  // The most the section can carry about the bars: the concrete block at x = db and the
  // deck at its yield strength. Beyond it no depth gives equilibrium.
  const float reach =
      kBlock * fcd * db * db / 2.0f + (deck ? std::max(0.0f, (dd - db) * ap * fyp) : 0.0f);

  float x = 0.25f * dd;
  for (int round = 1; round <= kRounds; ++round) {
    if (!(x > 0)) return {prior, x, kNoConvergence, false};
    Steel sheet{0, kSteelYields};
    if (deck) sheet = steel((dd / x - 1.0f) * kStrainLimit, fyp, es);
    // Moments about the bars, with the concrete's lever arm db - x/2.
    const float lever = db - 0.5f * x;
    if (lever > 0) {
      const float xn = (m - (dd - db) * ap * sheet.stress) / (kBlock * fcd * lever);
      if (xn >= 0) {
        if (std::fabs(xn - x) <= kTolerance) {
          const Steel bars = steel((db / x - 1.0f) * kStrainLimit, fyb, es);
          const float den = bars.stress * lever;
          if (!(den > 0)) return {prior, x, kNoConvergence, false};  // bars without strength
          float ab = (m - sheet.stress * ap * (dd - 0.5f * x)) / den;
          if (ab * 1.0E6f < 1.0f) ab = 0;
          return {ab, x, deck ? sheet.status : bars.status, false};
        }
        x = (x + 2.0f * xn) / 3.0f;
        continue;
      }
      // x' < 0: the deck's own moment about the bars exceeds m.
    } else if (m > reach) {
      // x has reached 2 db and the concrete above the bars cannot give the rest.
      return {prior, x, kNoConvergence, false};
    }
    // The deck alone, with a concrete block of depth y. This is also where a depth that
    // passed 2 db on the way (the start depth 0.25 dd when the bars lie high, or a damped
    // step) starts again, as the moment is within reach.
    const float root = 1.0f - 2.0f * m / (dd * dd * kBlock * fcd);
    if (root < 0) return {prior, x, kNoConvergence, false};
    const float y = dd * (1.0f - std::sqrt(root));
    x = 1.25f * y;
    if (sheet.stress > 0 && ap > kBlock * fcd * y / sheet.stress) {
      return {0, x, sheet.status, true};
    }
  }
  return {prior, x, kNoConvergence, false};
}

BondResult samm3(float q, float x, float ap, float fypd, float mp, float mr) {
  const float excess = mr - mp;
  float a = 0;
  for (;;) {
    a += 0.1f;
    if (a > 20.0f) break;
    if (q == 0) continue;  // no load: no critical section (and no division by q)
    const float c = 0.5f * x - excess / (a * q);
    if (c >= 0 && c <= a && (x - c) * c * q / 2.0f >= excess * c / a + mp) break;
  }
  return {ap * fypd / a, a};
}

ShearResult samm4(float h, float as, int32_t end_support, int32_t cover_mm, float fck,
                  float gamma_c) {
  ShearResult r;
  r.status = kNoEquilibrium;
  if (!all_finite({h, as, fck, gamma_c})) return r;
  float asl = 0, bw = 0;
  if (end_support == 0) {
    r.d = h - 0.001f * static_cast<float>(cover_mm);
    asl = std::max(as, 0.0f);
    bw = 1.0f;
  } else {
    r.d = h - comdat::kDeckCentroid;
    asl = comdat::kDeckArea;
    bw = 0.62f;
  }
  if (!(r.d > 0) || !(gamma_c > 0) || fck < 0) return r;

  r.rho = std::min(asl / (bw * r.d), 0.02f);
  r.k = std::min(2.0f, 1.0f + std::sqrt(0.2f / r.d));
  const float fck_mpa = 0.001f * fck;
  const float crd_c = 0.18f / gamma_c;
  r.vmin = 0.035f * r.k * std::sqrt(r.k * fck_mpa);
  r.v = crd_c * r.k * std::pow(100.0f * r.rho * fck_mpa, 1.0f / 3.0f);
  r.vr = std::max(r.v, r.vmin) * r.d * bw * 1000.0f;
  r.status = kSteelYields;
  return r;
}

}  // namespace solvo

// Crack width over the supports of the continuous slab (EN 1992-1-1 7.3.4), with the top bars
// that the design chose: at every interior support and at the root of every cantilever that
// has top bars, under the quasi-permanent combination G + psi2 Q of the analysis (row 4, the
// load of the initial deflection, long term).
//
// The section over a support is cracked and elastic: the top bars in tension at d from the
// soffit, the concrete in compression in the ribs as the hogging section routines take it
// (width w2 at the soffit widening linearly to s - w1 at the rib height hp, the full pitch s
// above it), concrete in tension and the deck neglected. alpha_e = Es / Ecm, short term.
//
//   sigma_s          = alpha_e M (d - x) / I_cr
//   rho_p,eff        = As / (hc,ef b), hc,ef = min(2.5 (h - d), (h - x)/3, h/2), b = 1000 mm
//   eps_sm - eps_cm  = [sigma_s - kt fct,eff / rho (1 + alpha_e rho)] / Es >= 0.6 sigma_s / Es
//   sr,max           = 3.4 c + 0.425 k1 k2 phi / rho                      (7.11)
//                      and, where the spacing exceeds 5 (c + phi/2), not less than
//                      1.3 (h - x)                                          (7.14)
//   wk               = sr,max (eps_sm - eps_cm)
// kt = 0.4 (long-term load), k1 = 0.8 (ribbed bars), k2 = 0.5 (bending), fct,eff = fctm.
//
// Units of the formula chain: mm, N/mm2 (MPa), moments in kNm per metre width, areas in mm2
// per metre width; x measured from the soffit (the compressed face).
#pragma once

#include <array>
#include <cstdint>

#include "slab_limits.h"

namespace solvo {

struct Run;
struct RibGeometry;  // section.h

inline constexpr float kCrackKt = 0.4f;
inline constexpr float kCrackK1 = 0.8f;
inline constexpr float kCrackK2 = 0.5f;

// The cracked elastic section of one metre width in the ribs.
struct CrackedSection {
  float x = 0;         // neutral axis from the soffit, mm
  float icr = 0;       // second moment in concrete units, mm4 per metre width
  bool valid = false;  // false: no section (d, the area or alpha_e not positive)
};

// alpha_e: modular ratio; as: bar area, mm2/m; d: depth of the bars from the soffit, mm.
CrackedSection cracked_section(const RibGeometry& rib, float alpha_e, float as, float d);

// Steel stress in MPa for the hogging moment m (kNm/m, magnitude).
float steel_stress(float m, float alpha_e, const CrackedSection& sec, float d);

// hc,ef in mm for the slab thickness h, the bars' depth d and the neutral axis x.
float effective_tension_height(float h, float d, float x);

// eps_sm - eps_cm: the mean strain of the bars less that of the concrete between cracks,
// never below 0.6 sigma_s / es. `floor_governs` (may be null) tells whether that limit held.
float strain_difference(float sigma_s, float fct_eff, float rho, float alpha_e, float es,
                        bool* floor_governs = nullptr);

// sr,max in mm: c the cover, phi the bar diameter, rho = rho_p,eff, spacing of the bars, h
// and x as above. `wide` (may be null) tells whether the spacing exceeds 5 (c + phi/2).
float crack_spacing_max(float c, float phi, float rho, float spacing, float h, float x,
                        bool* wide = nullptr);

// One support: the section and the bars.
struct CrackInput {
  float m = 0;         // quasi-permanent hogging moment, kNm/m (magnitude)
  float h = 0;         // slab thickness over the support, mm
  float cover = 0;     // to the top bars, mm
  float phi = 0;       // bar diameter, mm
  float bar_area = 0;  // one bar, mm2
  float spacing = 0;   // mm
  float es = 0;        // modulus of the bars, MPa
  float ecm = 0;       // of the concrete, MPa
  float fct_eff = 0;   // fctm of the concrete class, MPa
};                     // the compression zone is in the deck's ribs (kDeckRibs)

struct CrackResult {
  float alpha_e = 0;
  float d = 0;   // mm
  float as = 0;  // mm2/m
  CrackedSection section;
  float sigma_s = 0;           // MPa
  float hc_ef = 0;             // mm
  float rho = 0;               // rho_p,eff
  float eps = 0;               // eps_sm - eps_cm
  bool floor_governs = false;  // 0.6 sigma_s / Es governs
  float sr_max = 0;            // mm
  bool wide = false;           // spacing above 5 (c + phi/2): 1.3 (h - x) considered
  float wk = 0;                // mm; infinite when the bars make no section
};

CrackResult crack_width(const CrackInput& in);

// The largest whole-mm spacing in least..most with wk <= wmax for the bars of `in` (its own
// spacing is not used); 0 when none gives it.
int32_t spacing_for_crack_width(CrackInput in, float wmax, int32_t least, int32_t most);

// ---- The slab ----

struct CrackSupport {
  bool checked = false;  // a row: wmax > 0, the support has top bars and is an interior
                         // support or a cantilever root
  float m = 0;           // quasi-permanent support moment, kNm/m (hogging negative)
  CrackResult r;
  float utilisation = 0;  // wk / wmax
  int32_t spacing = 0;    // the bars' spacing, mm: page 5's, at most min(2 h, 250 mm)
  int32_t needed = 0;     // where wk > wmax: the largest spacing that gives wk <= wmax
                          // (0: none does, or the check passes)
};

struct CrackWidths {
  float wmax = 0;                                   // mm, 0 = no check
  std::array<CrackSupport, kMaxSupports + 1> at{};  // support j = 1..n+1
  // Top reinforcement that the spacings needed would add, kg/m2 of slab, single-length and
  // staggered layout; the supports for which no spacing helps add nothing here.
  float extra_wa = 0, extra_wb = 0;
};

// The largest utilisation of the rows and its support (0 with no rows); NaN counts as
// infinity.
struct CrackVerdict {
  bool passes = true;
  int32_t support = 0;
  float utilisation = 0;
};
CrackVerdict crack_verdict(const CrackWidths& cw, int n);

// Fills run.crack from the case, row 4 of the analysis and the top bars of run.utdat (spacings
// and bar lengths designed; a spacing above min(2 h, 250 mm), h the thinner slab at the
// support, is checked at that limit, and the extra weight is counted from it). Leaves
// run.utdat as it found it.
void crack_widths(Run& run);

}  // namespace solvo

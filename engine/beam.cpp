#include "beam.h"

#include <cmath>

namespace solvo {

// Support moments of the beam: the cantilevers at the ends; inside, for a continuous beam,
// the three-moment equations of constant stiffness with uniform loads,
//   M(j-1) L(j-1) + 2 M(j) (L(j-1) + L(j)) + M(j+1) L(j) = -(w(j-1) L(j-1)^3 + w(j) L(j)^3) / 4,
// solved for j = 2..spans by forward elimination and back substitution.
std::vector<float> support_moments(const Beam& beam, const BeamLoad& load) {
  const int n = beam.spans();
  const auto& len = beam.length;
  std::vector<float> m(static_cast<size_t>(n) + 2, 0.0f);
  m[1] = -0.5f * load.w_left * beam.cant_left * beam.cant_left;
  m[static_cast<size_t>(n) + 1] = -0.5f * load.w_right * beam.cant_right * beam.cant_right;
  if (!beam.continuous || n < 2) return m;

  // Unknown u = j - 1 for support j = 2..n; c and d the eliminated super-diagonal and right side.
  std::vector<float> c(static_cast<size_t>(n), 0.0f), d(static_cast<size_t>(n), 0.0f);
  for (int j = 2; j <= n; ++j) {
    const auto jl = static_cast<size_t>(j - 1);  // span left of support j
    const auto jr = static_cast<size_t>(j);      // span right of it
    const float sub = len[jl];
    const float diag = 2.0f * (len[jl] + len[jr]);
    const float super = len[jr];
    float rhs = -0.25f * (load.w[jl] * len[jl] * len[jl] * len[jl] +
                          load.w[jr] * len[jr] * len[jr] * len[jr]);
    if (j == 2) rhs -= sub * m[1];
    if (j == n) rhs -= super * m[static_cast<size_t>(n) + 1];
    const size_t u = jl;
    const float below = j > 2 ? sub : 0.0f;
    const float pivot = diag - below * (j > 2 ? c[u - 1] : 0.0f);
    c[u] = j < n ? super / pivot : 0.0f;
    d[u] = (rhs - below * (j > 2 ? d[u - 1] : 0.0f)) / pivot;
  }
  for (int j = n; j >= 2; --j) {
    const auto u = static_cast<size_t>(j - 1);
    m[static_cast<size_t>(j)] = d[u] - (j < n ? c[u] * m[static_cast<size_t>(j) + 1] : 0.0f);
  }
  return m;
}

std::vector<float> support_reactions(const Beam& beam, const BeamLoad& load,
                                     const std::vector<float>& m) {
  const int n = beam.spans();
  std::vector<float> r(static_cast<size_t>(n) + 2, 0.0f);
  for (int i = 1; i <= n; ++i) {
    const auto si = static_cast<size_t>(i);
    const float L = beam.length[si];
    const float half = 0.5f * load.w[si] * L;
    const float shear = (m[si + 1] - m[si]) / L;
    r[si] += half + shear;
    r[si + 1] += half - shear;
  }
  r[1] += load.w_left * beam.cant_left;
  r[static_cast<size_t>(n) + 1] += load.w_right * beam.cant_right;
  return r;
}

BeamResult solve_beam(const Beam& beam, const BeamLoad& load) {
  const int n = beam.spans();
  BeamResult r;
  r.m = support_moments(beam, load);
  r.mom.assign(static_cast<size_t>(n) + 1, BeamCurve{});
  r.defl.assign(static_cast<size_t>(n) + 1, BeamCurve{});
  for (int i = 1; i <= n; ++i) {
    const auto si = static_cast<size_t>(i);
    const float L = beam.length[si];
    const float w = load.w[si];
    const float ml = r.m[si];
    const float mr = r.m[si + 1];
    for (int p = 0; p <= kBeamSteps; ++p) {
      const auto sp = static_cast<size_t>(p);
      const float xi = static_cast<float>(p) / static_cast<float>(kBeamSteps);
      const float x = xi * L;
      const float u = 1.0f - xi;
      // The simple span under w, then the straight line of the end moments.
      r.mom[si][sp] = 0.5f * w * x * (L - x) + ml * u + mr * xi;
      const float simple = w * x * (L * L * L - 2.0f * L * x * x + x * x * x) / 24.0f;
      const float ends = (ml * u * (1.0f - u * u) + mr * xi * (1.0f - xi * xi)) * L * L / 6.0f;
      r.defl[si][sp] = (simple + ends) / beam.ei;
    }
  }
  // Slopes (downward deflection per m) of the end spans at the end supports:
  //   at x = 0: (w L^3 / 24 + (2 M(1) + M(2)) L / 6) / EI;
  //   at x = L: -(w L^3 / 24 + (M(n) + 2 M(n+1)) L / 6) / EI.
  const float l1 = beam.length[1], ln = beam.length[static_cast<size_t>(n)];
  const auto sn = static_cast<size_t>(n);
  const float slope_left =
      (load.w[1] * l1 * l1 * l1 / 24.0f + (2.0f * r.m[1] + r.m[2]) * l1 / 6.0f) / beam.ei;
  const float slope_right =
      -(load.w[sn] * ln * ln * ln / 24.0f + (r.m[sn] + 2.0f * r.m[sn + 1]) * ln / 6.0f) / beam.ei;
  auto own = [&](float w, float c) { return w * c * c * c * c / (8.0f * beam.ei); };
  const float cl = beam.cant_left, cr = beam.cant_right;
  if (cl > 0.0f) r.tip_left = own(load.w_left, cl) - cl * slope_left;
  if (cr > 0.0f) r.tip_right = own(load.w_right, cr) + cr * slope_right;
  r.reaction = support_reactions(beam, load, r.m);
  return r;
}

BeamEnvelope envelope(const Beam& beam, const BeamLoad& base, const std::vector<BeamLoad>& extra) {
  const BeamResult b = solve_beam(beam, base);
  BeamEnvelope e;
  e.mom_max = b.mom;
  e.mom_min = b.mom;
  for (const BeamLoad& load : extra) {
    const BeamResult r = solve_beam(beam, load);
    for (size_t i = 1; i < r.mom.size(); ++i) {
      for (size_t p = 0; p < r.mom[i].size(); ++p) {
        const float effect = r.mom[i][p];
        if (effect > 0.0f)
          e.mom_max[i][p] += effect;
        else
          e.mom_min[i][p] += effect;
      }
    }
  }
  return e;
}

}  // namespace solvo

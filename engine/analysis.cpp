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
      case 1:
        s.g[i] = gd * c.gamma_g * G;
        s.q[i] = (c.market == 4 || c.market == 5) ? 0.0f : c.psi0 * gd * c.gamma_q * q;
        break;
      case 2:
        s.g[i] = gd * c.xsi * c.gamma_g * G;
        s.q[i] = gd * c.gamma_q * q;
        break;
      case 4:
      case 5:
        s.g[i] = G;
        s.q[i] = c.psi2 * q;
        break;
      case 6:
        s.g[i] = 0.0f;
        s.q[i] = c.psi1 * q;
        break;
      case 7:
        s.g[i] = 0.0f;
        s.q[i] = G < q ? q : c.psi0 * q;
        break;
      case 8:
        s.g[i] = gd * G;
        s.q[i] = gd * c.psi2 * q;
        break;
      default:
        break;
    }
  }
  switch (k) {
    case 1: s.l1 = c.psi0 * gd * c.gamma_q; break;
    case 2: s.l1 = gd * c.gamma_q; break;
    case 4: s.l1 = c.psi2; s.creep = static_cast<float>(c.creep); break;
    case 5: s.l1 = c.psi2; break;
    case 6: s.l1 = c.psi1; break;
    case 7: s.l1 = c.psi0; break;
    case 8: s.l1 = gd * c.psi2; break;
    default: break;
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
  auto larger = [](RowSpan& t, int i) { t[3][i] = std::fmax(t[1][i], t[2][i]); };
  auto smaller = [](RowSpan& t, int i) { t[3][i] = std::fmin(t[1][i], t[2][i]); };
  for (int j = 1; j <= n + 1; ++j) {
    a.ms_max[3][j] = std::fmax(a.ms_max[1][j], a.ms_max[2][j]);
    a.ms_min[3][j] = std::fmin(a.ms_min[1][j], a.ms_min[2][j]);
    a.r_max[3][j] = std::fmax(a.r_max[1][j], a.r_max[2][j]);
    a.r_min[3][j] = std::fmin(a.r_min[1][j], a.r_min[2][j]);
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
    a.m_max[3][i] = a.m_max[2][i];
    a.m_min[3][i] = a.m_min[2][i];
    a.d_max[3][i] = a.d_max[2][i];
    a.d_min[3][i] = a.d_min[2][i];
    const int from = a.m_span_max[2][i] > a.m_span_max[1][i] ? 2 : 1;
    run.snitt.q_loaded[3][i] = run.snitt.q_loaded[from][i];
    run.snitt.g_row[3][i] = run.snitt.g_row[from][i];
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

// Zero points, cut-off distances and merge flags of load set k from its min moment
// envelope; zero points of the max envelope. Distances from the support centres.
void zero_points(Run& run, int k) {
  const Indat& c = run.indat;
  Arbvar& a = run.arbvar;
  const int n = c.n;
  for (int i = 1; i <= n; ++i) {
    const float le = run.dat.clear_span[i];
    const float h = kStep * le;
    const float bl = c.support_width[i];
    const float br = c.support_width[i + 1];
    const float ms = drop_tiny(a.ms_min[k][i]);
    const float mr = drop_tiny(a.ms_min[k][i + 1]);
    Curve m = a.m_min[k][i];
    m[0] = ms;
    float& zl = a.zl[k][i];
    float& zr = a.zr[k][i];
    float& tl = a.tl[k][i];
    float& tr = a.tr[k][i];
    int32_t& flag = a.merge[k][i + 1];
    const bool left_merged = a.merge[k][i] == 1;

    // From a point p on, the first point at or below 0.5 Mr; p = 20 when none is.
    auto right_cutoff = [&](int p) {
      while (p < 20 && !(m[p] <= 0.5f * mr)) ++p;
      const float frac =
          fraction(std::fabs(m[p]) - std::fabs(0.5f * mr), std::fabs(m[p]) - std::fabs(m[p - 1]), 0.0f);
      return 0.5f * br + (1.0f - kStep * static_cast<float>(p)) * le + h * frac;
    };

    // The right side of the span (zero point and cut-off), scanning on from p.
    auto right_side = [&](int p) {
      if (!(mr < 0.0f)) {
        zr = 0.5f * br;
        return;
      }
      while (p < 20 && !(m[p] <= 0.0f)) ++p;
      if (p == 20) {
        zr = 0.5f * br + h * fraction(std::fabs(mr), m[19] + std::fabs(mr), 0.0f);
        tr = 0.5f * zr;
        return;
      }
      zr = 0.5f * br + (1.0f - kStep * static_cast<float>(p)) * le +
           h * fraction(std::fabs(m[p]), std::fabs(m[p]) + m[p - 1], 0.0f);
      tr = right_cutoff(p);
    };

    if (!(ms < 0.0f)) {
      zl = 0.5f * bl;
      right_side(1);
    } else {
      int p = 1;
      while (p <= 20 && !(m[p] >= 0.5f * ms)) ++p;
      if (p > 20) {
        zl = tl = 0.5f * (bl + le);
        zr = tr = 0.5f * (br + le);
        flag = 1;
      } else {
        tl = 0.5f * bl + h * static_cast<float>(p - 1) +
             h * fraction(std::fabs(m[p - 1]) - std::fabs(0.5f * ms),
                          std::fabs(m[p - 1]) - std::fabs(m[p]), 1.0f);
        for (;; ++p) {
          if (p > 20) {
            // Hogging over the whole span.
            zl = 0.5f * bl + le + 0.5f * br;
            zr = 0.5f * br;
            if (!left_merged) flag = 1;
            break;
          }
          if (p < 20 && m[p + 1] < m[p]) {
            // The envelope turns down before it has crossed zero.
            zl = 0.5f * bl + h * static_cast<float>(p);
            zr = 0.5f * br + le - h * static_cast<float>(p);
            if (!left_merged) flag = 1;
            tr = std::fmax(right_cutoff(p), 0.0f);
            break;
          }
          if (m[p] >= 0.0f) {
            zl = 0.5f * bl + h * static_cast<float>(p - 1) +
                 h * fraction(std::fabs(m[p - 1]), std::fabs(m[p - 1]) + m[p], 1.0f);
            if (p == 1) tl = 0.5f * zl;
            right_side(p);
            break;
          }
        }
      }
    }

    // Zero points of the max envelope, which shorten the shear span.
    const Curve& mx = a.m_max[k][i];
    const float left = drop_tiny(a.ms_max[k][i]);
    const float right = drop_tiny(a.ms_max[k][i + 1]);
    float& p1 = a.p1[k][i];
    float& p2 = a.p2[k][i];
    p1 = 0.5f * (bl + le);
    p2 = 0.5f * (br + le);
    if (!(left < 0.0f)) {
      p1 = 0.5f * bl;
    } else {
      float prev = left;
      for (int p = 1; p <= 20; ++p) {
        if (mx[p] >= 0.0f) {
          p1 = 0.5f * bl + h * static_cast<float>(p - 1) +
               h * fraction(std::fabs(prev), std::fabs(prev) + mx[p], 1.0f);
          break;
        }
        prev = mx[p];
      }
    }
    if (!(right < 0.0f)) {
      p2 = 0.5f * br;
    } else {
      float prev = right;
      for (int p = 19; p >= 0; --p) {
        if (mx[p] >= 0.0f) {
          p2 = 0.5f * br + h * static_cast<float>(19 - p) +
               h * fraction(std::fabs(prev), std::fabs(prev) + mx[p], 1.0f);
          break;
        }
        prev = mx[p];
      }
    }
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

void krdef(Run& run, int32_t mode) {
  const Indat& c = run.indat;
  Snitt& s = run.snitt;
  const int n = c.n;
  const auto& le = run.dat.clear_span;

  for (int i = 1; i <= n; ++i) {
    s.mom[i].fill(0.0f);
    s.defl[i].fill(0.0f);
    s.vl[i] = s.vr[i] = s.rot_l[i] = s.rot_r[i] = 0.0f;
  }
  for (int j = 1; j <= n + 1; ++j) s.r[j] = 0.0f;

  // The cantilevers carry the load intensity of the span next to them.
  float cant_r_left = c.cant_left * s.w[1];
  float cant_r_right = c.cant_right * s.w[n];
  if (mode == 0) {
    s.m[1] = -0.5f * c.cant_left * c.cant_left * s.w[1];
    s.m[n + 1] = -0.5f * c.cant_right * c.cant_right * s.w[n];
  }

  // The sampling points of each span, x = p * 0.05 * L and xi = x / L.
  SpanCurves xs{}, xis{};
  for (int i = 1; i <= n; ++i) {
    for (int p = 0; p <= 20; ++p) {
      xs[i][p] = sample_point(p, le[i]);
      xis[i][p] = xs[i][p] / le[i];
    }
  }

  auto point_load = [&](int i, float P, float a) {
    const float L = le[i];
    const float b = L - a;
    const float L2 = L * L;
    s.rot_l[i] += P * b * (L2 - b * b) / (6.0f * L);
    s.rot_r[i] += P * a * (L2 - a * a) / (6.0f * L);
    const float pb = P * b;
    const float pa = P * a;
    const float bb = b * b / L2;
    const float aa = a * a / L2;
    Curve& mom = s.mom[i];
    Curve& defl = s.defl[i];
    // Points left of the load, then the others (two loops without a branch).
    int k = 1;
    while (k <= 20 && xs[i][k] < a) ++k;
    const Curve& xi = xis[i];
    for (int p = 1; p < k; ++p) {
      mom[p] += pb * xi[p];
      defl[p] += pb * xi[p] * L2 * (1.0f - bb - xi[p] * xi[p]) / 6.0f;
    }
    for (int p = k; p <= 20; ++p) {
      mom[p] += pa * (1.0f - xi[p]);
      defl[p] += pa * (1.0f - xi[p]) * L2 * (2.0f * xi[p] - aa - xi[p] * xi[p]) / 6.0f;
    }
    s.vl[i] += P * b / L;
    s.vr[i] += P * a / L;
  };

  // The distributed load as 20 equal point loads at the centres of the twentieths. The
  // result depends only on the span and its load intensity: taken from the last two
  // computed when it is one of them.
  for (int i = 1; i <= n; ++i) {
    Snitt::SpanPart* hit = nullptr;
    for (auto& part : s.parts[i])
      if (part.valid && same_bits(part.le, le[i]) && same_bits(part.w, s.w[i])) hit = &part;
    if (hit == nullptr) {
      const float h = kStep * le[i];
      const float P = h * s.w[i];
      for (int m = 1; m <= 20; ++m) point_load(i, P, (static_cast<float>(m) - 0.5f) * h);
      hit = &s.parts[i][static_cast<size_t>(s.next_part[i])];
      s.next_part[i] = 1 - s.next_part[i];
      *hit = {le[i], s.w[i], true, s.mom[i], s.defl[i], s.vl[i], s.vr[i], s.rot_l[i], s.rot_r[i]};
    } else {
      s.mom[i] = hit->mom;
      s.defl[i] = hit->defl;
      s.vl[i] = hit->vl;
      s.vr[i] = hit->vr;
      s.rot_l[i] = hit->rot_l;
      s.rot_r[i] = hit->rot_r;
    }
  }

  // Line loads. Each arrangement places its own copy of span and position. A position
  // past the end of a span carries over to the next span, a negative one back to the
  // previous; the moves are monotone, and the count bounds them all the same.
  for (int k = 1; k <= s.nll; ++k) {
    int span = s.ll_span[k];
    float a = s.ll_pos[k];
    const float P = s.ll_load[k];
    if (span < 1 || span > n) continue;
    for (int moves = 0; moves <= 2 * kMaxSpans + 2; ++moves) {
      const float L = le[span];
      if (a >= 0.0f && (a < L || (span == n && a <= L))) {
        point_load(span, P, a);
        break;
      }
      if (span == 1 && a < 0.0f) {
        if (mode == 0) s.m[1] += a * P;
        cant_r_left += P;
        break;
      }
      // At or past the end of the last span without acting in it (a clear span that is not
      // positive): the load goes to the right cantilever, never to a span after the last.
      if (span == n && a >= L) {
        if (mode == 0 && c.cant_right > 0.0f) s.m[n + 1] -= c.cant_right * P;
        cant_r_right += P;
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

  // Three-moment equations for the interior support moments.
  if (mode == 0 && n > 1) {
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

  for (int i = 1; i <= n; ++i) {
    const float L = le[i];
    const float L2 = L * L;
    const float ml = s.m[i];
    const float mr = s.m[i + 1];
    for (int p = 0; p <= 20; ++p) {
      const float xi = xis[i][p];
      s.mom[i][p] += ml + (mr - ml) * xi;
      const float u = 1.0f - xi;
      s.defl[i][p] += (ml * u * (1.0f - u * u) + mr * xi * (1.0f - xi * xi)) * L2 / 6.0f;
      s.defl[i][p] = s.defl[i][p] / s.ei[i] * 1000.0f;
    }
    // The end points are the supports: their moments are the support moments, not the
    // line through them evaluated in float.
    s.mom[i][0] = ml;
    s.mom[i][20] = mr;
    s.vl[i] += (mr - ml) / L;
    s.vr[i] += (ml - mr) / L;
  }
  s.r[1] = cant_r_left + s.vl[1];
  for (int j = 2; j <= n; ++j) s.r[j] = s.vr[j - 1] + s.vl[j];
  s.r[n + 1] = cant_r_right + s.vr[n];
}

void snikra(Run& run, int32_t& flag) {
  (void)flag;
  const Indat& c = run.indat;
  const Matdat& mat = run.matdat;
  const int n = c.n;
  FortranWriter momk;
  FortranWriter al;
  momk.line(static_cast<int32_t>(n));

  for (int k : {1, 2, 4, 5, 6, 7, 8}) {
    const LoadSet set = load_set(run, k);
    Values base, max, min;
    // The stiffness depends on the load set's creep factor, not on the arrangement.
    Span1<kMaxSpans> ei{};
    for (int i = 1; i <= n; ++i) {
      const float h = c.thickness[i];
      ei[i] = samm5(mat.ec, mat.es, set.creep, h, comdat::kProfileHeight, comdat::kRibPitch,
                    comdat::kRibConcreteWidth, h - comdat::kDeckCentroid, comdat::kDeckArea,
                    comdat::kDeckInertia)
                  .ei;
    }
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
      krdef(run, 0);
      const Values v = values_of(s);
      if (j == 0) {
        base = max = min = v;
      } else {
        // The difference from arrangement 0 goes to the max when positive, else to the min.
        auto fold = [](float value, float b, float& hi, float& lo) {
          const float diff = value - b;
          if (diff > 0.0f)
            hi += diff;
          else
            lo += diff;
        };
        for (int q = 1; q <= n + 1; ++q) {
          fold(v.m[q], base.m[q], max.m[q], min.m[q]);
          fold(v.r[q], base.r[q], max.r[q], min.r[q]);
        }
        for (int i = 1; i <= n; ++i) {
          fold(v.vl[i], base.vl[i], max.vl[i], min.vl[i]);
          fold(v.vr[i], base.vr[i], max.vr[i], min.vr[i]);
          for (int p = 0; p < kPoints; ++p) {
            fold(v.mom[i][p], base.mom[i][p], max.mom[i][p], min.mom[i][p]);
            fold(v.defl[i][p], base.defl[i][p], max.defl[i][p], min.defl[i][p]);
          }
        }
      }
    }
    store_row(run, k, set, max, min);
    if (k == 1 || k == 2) {
      write_curves(momk, run, run.arbvar.ms_max, run.arbvar.m_max, k);
      write_curves(momk, run, run.arbvar.ms_min, run.arbvar.m_min, k);
    }
    zero_points(run, k);
    write_zero_points(al, run, k);
    if (k == 2) {
      form_row3(run);
      zero_points(run, 3);
      write_zero_points(al, run, 3);
    }
  }
  // Row 9, the fire case, takes row 8's load of a loaded span as its distributed load.
  for (int i = 1; i <= n; ++i) run.snitt.q_loaded[9][i] = run.snitt.q_loaded[8][i];

  run.files.push_back({"MOMK.DAT", momk.str()});
  run.files.push_back({"AL.DAT", al.str()});
}

}  // namespace solvo

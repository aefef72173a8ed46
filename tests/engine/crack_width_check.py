#!/usr/bin/env python3
"""Crack width over a support worked a second way, in double precision.

The cracked section is found from strips (20 000 over the compression depth) instead of the
closed-form moments of the engine, the neutral axis by bisection on the strip sums, and the
chain eps_sm - eps_cm, sr,max and wk written out as EN 1992-1-1 7.3.4 states them. Prints
every step, so that the test vectors of crack_width_test.cpp can be read against it.

Section: one metre width, ribs every 150 mm, concrete 60 mm wide at the soffit widening
linearly to 150 - 30 = 120 mm at 45 mm, the full 150 mm above; deck and concrete in tension
neglected.

Usage: crack_width_check.py            (the vectors of the test)
"""
import math

HP, S, W1, W2 = 45.0, 150.0, 30.0, 60.0


def width(y):
    """Concrete width per metre at the height y above the soffit, mm."""
    per_pitch = W2 + y * (S - W2 - W1) / HP if y < HP else S
    return per_pitch * 1000.0 / S


def zone(x, strips=20000):
    """First and second moment about the axis at x of the concrete below it."""
    dy = x / strips
    first = second = 0.0
    for k in range(strips):
        y = (k + 0.5) * dy
        a = width(y) * dy
        first += a * (x - y)
        second += a * (x - y) ** 2
    return first, second


def section(alpha, As, d):
    lo, hi = 0.0, d
    for _ in range(60):
        mid = 0.5 * (lo + hi)
        if zone(mid, 2000)[0] < alpha * As * (d - mid):
            lo = mid
        else:
            hi = mid
    x = 0.5 * (lo + hi)
    return x, zone(x)[1] + alpha * As * (d - x) ** 2


def chain(name, m, h, c, phi, bar_area, spacing, ecm, fctm, es=210000.0, wmax=None):
    alpha = es / ecm
    d = h - c - phi / 2
    As = bar_area * 1000.0 / spacing
    x, icr = section(alpha, As, d)
    sigma = alpha * m * 1e6 * (d - x) / icr
    hc = min(2.5 * (h - d), (h - x) / 3, h / 2)
    rho = As / (hc * 1000.0)
    eps_formula = (sigma - 0.4 * fctm / rho * (1 + alpha * rho)) / es
    eps_floor = 0.6 * sigma / es
    eps = max(eps_formula, eps_floor)
    near = 3.4 * c + 0.425 * 0.8 * 0.5 * phi / rho
    wide = spacing > 5 * (c + phi / 2)
    sr = max(near, 1.3 * (h - x)) if wide else near
    wk = sr * eps
    print(f"{name}: alpha_e {alpha:.4f} d {d:.1f} As {As:.2f} x {x:.3f} Icr {icr:.5e}")
    print(f"   sigma_s {sigma:.3f} hc,ef {hc:.3f} rho {rho:.5f}")
    print(f"   eps formula {eps_formula:.5e} floor {eps_floor:.5e} -> "
          f"{'floor' if eps_floor >= eps_formula else 'formula'}")
    print(f"   sr (7.11) {near:.2f}  1.3(h-x) {1.3 * (h - x):.2f}  wide {wide}  sr,max {sr:.2f}")
    print(f"   wk {wk:.5f} mm")
    return wk


def vectors():
    # C30/37: Ecm 33 GPa, fctm 2.9 MPa. C25/30: 31 GPa, 2.6 MPa.
    chain("formula", m=40.0, h=200, c=20, phi=16, bar_area=201.0, spacing=100,
          ecm=33000.0, fctm=2.9)
    chain("floor", m=15.0, h=160, c=20, phi=10, bar_area=78.5, spacing=120,
          ecm=33000.0, fctm=2.9)
    chain("wide", m=60.0, h=300, c=20, phi=16, bar_area=201.0, spacing=200,
          ecm=31000.0, fctm=2.6)
    chain("wide, 7.11 larger", m=15.0, h=160, c=20, phi=10, bar_area=78.5, spacing=200,
          ecm=33000.0, fctm=2.9)


def ultimate_top_area(m, d, fcd, fyd):
    """Bars for the hogging moment m (kNm/m) at d (m): 0.85 fcd over the ribs, bars yielding."""
    s, hp, w1, w2 = 0.15, 0.045, 0.03, 0.06
    x = 0.25 * d
    for _ in range(200):
        if x <= hp:
            t = x * (s - w2 - w1) / (2 * hp)
            b = w2 + t
            zc = (0.5 * w2 * x * x + 2 / 3 * t * x * x) / (x * b)
            x = m * s / ((d - zc) * 0.85 * fcd) / b
        else:
            ar = 0.5 * hp * (s + w2 - w1)
            at = (x - hp) * s
            zc = (hp * hp * (2 * s + w2 - w1) / 6 + 0.5 * (hp + x) * at) / (at + ar)
            x = hp + (m * s / ((d - zc) * 0.85 * fcd) - ar) / s
    return m / (fyd * (d - zc)), x


def complete_case():
    """Two spans of 6.1 m on 0.1 m supports, h 0.18, C30/37, market 6, rule 6.10b,
    permanent 1.0 and imposed 5.0 kN/m2, psi2 0.3, top bars 12 mm grade 500, cover 20."""
    le, strip = 6.0, 0.05 * 6.0
    g = (0.18 - 0.0165) * 25 + 0.089 + 1.0
    w_uls = 0.89 * 1.35 * g + 1.5 * 5.0
    w_qp = g + 0.3 * 5.0
    # Middle support of two equal spans, the twenty point loads of each span included.
    m_uls = w_uls * le ** 2 / 8 + w_uls * strip ** 2 / 16
    m_qp = w_qp * le ** 2 / 8 + w_qp * strip ** 2 / 16
    As, x = ultimate_top_area(m_uls, 0.18 - 0.026, 30000 / 1.5, 500000 / 1.15)
    spacing = math.floor(113.0 / (As * 1000))
    print(f"complete: G {g:.4f} w_uls {w_uls:.4f} M_uls {m_uls:.4f} As {As * 1e6:.2f} mm2/m "
          f"x {x * 1000:.2f} mm S {spacing} mm; w_qp {w_qp:.4f} M_qp {m_qp:.4f}")
    return chain("complete", m=m_qp, h=180, c=20, phi=12, bar_area=113.0, spacing=spacing,
                 ecm=33000.0, fctm=2.9)


if __name__ == "__main__":
    vectors()
    complete_case()

#!/usr/bin/env python3
"""Page 6 worked by a second method, in double precision, without the engine's code.

1. The deck during casting of the default case (two spans of 6.0 m, h 0.16) with two props
   in each span: six deck spans of 2.0 m. Every arrangement is formed explicitly - every set
   of deck spans not yet cast (only the deck's weight there), and the working area on no deck
   span, on one, or on two that meet at a support or prop (never on one not yet cast) - and
   solved by the three-moment equations; moments at 400 points a deck span, reactions from the
   end shears, deflections by integrating the curvature twice. The envelope is the largest
   and smallest over all 2^6 x 12 arrangements.
2. The lowest natural frequency by the exact transfer matrices of Euler-Bernoulli beams
   (Krylov functions), supports as conditions with their reactions as unknowns, line masses
   as jumps in the shear, and the root of the determinant of the end conditions found by
   scanning and bisection: the default case and the ten-span sample TIOFACK.

Run: python3 tests/engine/page6_second_method.py
"""
import itertools
import math

EI_DECK = 2.1e8 * 3.3e-7  # kNm2/m
MRD = 5.29
DECK = 0.089
G_M, G_Q, G_D = 1.35, 1.5, 0.91


def support_moments(lengths, w):
    """Three-moment equations, simply supported ends, uniform loads w per span."""
    n = len(lengths)
    m = [0.0] * (n + 1)
    if n < 2:
        return m
    size = n - 1
    a = [[0.0] * size for _ in range(size)]
    b = [0.0] * size
    for r in range(size):
        left, right = lengths[r], lengths[r + 1]
        a[r][r] = 2 * (left + right)
        if r > 0:
            a[r][r - 1] = left
        if r < size - 1:
            a[r][r + 1] = right
        b[r] = -(w[r] * left ** 3 + w[r + 1] * right ** 3) / 4
    x = solve(a, b)
    for r in range(size):
        m[r + 1] = x[r]
    return m


def solve(a, b):
    n = len(b)
    a = [row[:] + [b[i]] for i, row in enumerate(a)]
    for c in range(n):
        p = max(range(c, n), key=lambda r: abs(a[r][c]))
        a[c], a[p] = a[p], a[c]
        for r in range(c + 1, n):
            f = a[r][c] / a[c][c]
            for k in range(c, n + 1):
                a[r][k] -= f * a[c][k]
    x = [0.0] * n
    for r in range(n - 1, -1, -1):
        x[r] = (a[r][n] - sum(a[r][k] * x[k] for k in range(r + 1, n))) / a[r][r]
    return x


def determinant(a):
    n = len(a)
    a = [row[:] for row in a]
    det = 1.0
    for c in range(n):
        p = max(range(c, n), key=lambda r: abs(a[r][c]))
        if a[p][c] == 0:
            return 0.0
        if p != c:
            a[c], a[p] = a[p], a[c]
            det = -det
        det *= a[c][c]
        for r in range(c + 1, n):
            f = a[r][c] / a[c][c]
            for k in range(c, n):
                a[r][k] -= f * a[c][k]
    return det


def beam(lengths, w, points=400):
    """Moments at the points, reactions and deflections (m) of a continuous beam."""
    m = support_moments(lengths, w)
    moments, deflections = [], []
    reactions = [0.0] * (len(lengths) + 1)
    for i, L in enumerate(lengths):
        xs = [L * p / points for p in range(points + 1)]
        mom = [w[i] * x * (L - x) / 2 + m[i] * (1 - x / L) + m[i + 1] * x / L for x in xs]
        moments.append(mom)
        reactions[i] += w[i] * L / 2 + (m[i + 1] - m[i]) / L
        reactions[i + 1] += w[i] * L / 2 - (m[i + 1] - m[i]) / L
        # w'' = -M/EI (downward positive deflection): integrate twice, then make w(L) = 0.
        h = L / points
        slope, v = [0.0], [0.0]
        for p in range(points):
            slope.append(slope[-1] - h * (mom[p] + mom[p + 1]) / 2 / EI_DECK)
        for p in range(points):
            v.append(v[-1] + h * (slope[p] + slope[p + 1]) / 2)
        deflections.append([v[p] - v[-1] * p / points for p in range(points + 1)])
    return moments, reactions, deflections


def casting_default_case_two_props():
    h = 0.16
    concrete = 26 * (h - 0.0165)
    g = DECK + concrete
    work = min(max(0.1 * concrete, 0.75), 1.5)
    lengths = [2.0] * 6
    n = len(lengths)
    _, _, dl = beam(lengths, [g] * n)
    print("Construction stage, default case with 2 props in each span (6 deck spans of 2.0 m)")
    print("  G = %.3f kN/m2, working area %.3f kN/m2 on top of 0.75" % (g, work))
    print("  largest deflection under G: %.3f mm (limit %.2f)" % (1000 * max(max(d) for d in dl), 2000 / 180))
    places = [W for W in [()] + [(k,) for k in range(n)] + [(k, k + 1) for k in range(n - 1)]]
    sag, hog = [-1e9] * n, [0.0] * n
    react = [0.0] * (n + 1)
    for factors, label in (((G_D * G_M, G_D * G_Q), "design"), ((1.0, 1.0), "characteristic")):
        react = [0.0] * (n + 1)
        for unfilled in itertools.product([False, True], repeat=n):
            for W in places:
                if any(unfilled[k] for k in W):
                    continue
                w = []
                for k in range(n):
                    perm = DECK if unfilled[k] else g
                    q = 0.75 + (work if k in W else 0.0)
                    w.append(factors[0] * perm + factors[1] * q)
                mom, r, _ = beam(lengths, w, points=80)
                for k in range(n):
                    if label == "design":
                        sag[k] = max(sag[k], max(mom[k]))
                        hog[k] = min(hog[k], min(mom[k]))
                for j in range(n + 1):
                    react[j] = max(react[j], r[j])
        if label == "design":
            for s in (0, 1):
                ks = range(3 * s, 3 * s + 3)
                print("  span %d: sagging %.4f (%.3f), hogging %.4f (%.3f)" % (
                    s + 1, max(sag[k] for k in ks), max(sag[k] for k in ks) / MRD,
                    min(hog[k] for k in ks), -min(hog[k] for k in ks) / MRD))
        print("  line loads, %s: " % label + " ".join("%.3f" % x for x in react))


def krylov(beta, x):
    c, s, ch, sh = math.cos(beta * x), math.sin(beta * x), math.cosh(beta * x), math.sinh(beta * x)
    return (ch + c) / 2, (sh + s) / 2, (ch - c) / 2, (sh - s) / 2


def end_determinant(omega, segments, supported, masses):
    """segments: (length, EI N m2, m kg/m); supported[j] for joints 0..len; masses: list of
    (segment, at, kg). Unknowns: two at the start and one reaction per inner support."""
    state = []  # rows w, w', w'', w''' as lists of coefficients of the unknowns
    if supported[0]:
        state = [[0.0, 0.0], [1.0, 0.0], [0.0, 0.0], [0.0, 1.0]]
    else:
        state = [[1.0, 0.0], [0.0, 1.0], [0.0, 0.0], [0.0, 0.0]]
    conditions = []
    for i, (L, ei, m) in enumerate(segments):
        beta = (m * omega * omega / ei) ** 0.25
        cuts = sorted([(at, kg) for (seg, at, kg) in masses if seg == i])
        pos = 0.0
        for at, kg in cuts + [(L, None)]:
            dx = at - pos
            S, T, U, V = krylov(beta, dx)
            A, B, C, D = state[0], [v / beta for v in state[1]], [v / beta ** 2 for v in state[2]], [v / beta ** 3 for v in state[3]]
            k = len(A)
            state = [
                [A[q] * S + B[q] * T + C[q] * U + D[q] * V for q in range(k)],
                [beta * (A[q] * V + B[q] * S + C[q] * T + D[q] * U) for q in range(k)],
                [beta ** 2 * (A[q] * U + B[q] * V + C[q] * S + D[q] * T) for q in range(k)],
                [beta ** 3 * (A[q] * T + B[q] * U + C[q] * V + D[q] * S) for q in range(k)],
            ]
            pos = at
            if kg is not None:  # EI w''' jumps by M omega^2 w
                state[3] = [state[3][q] + kg * omega * omega * state[0][q] / ei for q in range(k)]
        last = i == len(segments) - 1
        if not last:
            ratio = ei / segments[i + 1][1]
            state[2] = [v * ratio for v in state[2]]
            state[3] = [v * ratio for v in state[3]]
            if supported[i + 1]:
                conditions.append(state[0][:])
                for row in state:
                    row.append(0.0)
                state[3][-1] = 1.0
                for c in conditions:
                    c.extend([0.0] * (len(state[0]) - len(c)))
    k = len(state[0])
    for c in conditions:
        c.extend([0.0] * (k - len(c)))
    if supported[-1]:
        conditions += [state[0], state[2]]
    else:
        conditions += [state[2], state[3]]
    return determinant(conditions)


def lowest_frequency(segments, supported, masses=()):
    f, step = 0.2, 0.01
    prev = end_determinant(2 * math.pi * f, segments, supported, masses)
    while f < 100:
        nxt = end_determinant(2 * math.pi * (f + step), segments, supported, masses)
        if (prev < 0) != (nxt < 0):
            lo, hi = f, f + step
            for _ in range(60):
                mid = (lo + hi) / 2
                dm = end_determinant(2 * math.pi * mid, segments, supported, masses)
                if (dm < 0) == (prev < 0):
                    lo = mid
                else:
                    hi = mid
            return (lo + hi) / 2
        f, prev = f + step, nxt
    return float("nan")


def frequencies():
    # Default case: clear spans 6.0 - 0.05 = 5.95 m, EI 6511.7 kNm2/m (page 6), self weight
    # (0.16 - 0.0165) 25 + 0.089 = 3.6765, + 0.5 + 0.1 * 2.0.
    m = (3.6765 + 0.5 + 0.2) * 1000 / 9.81
    seg = [(5.95, 6511.7e3, m)] * 2
    print("Default case: f1 = %.3f Hz (mass %.1f kg/m2)" % (lowest_frequency(seg, [True] * 3), m))
    # TIOFACK: clear spans, EI per thickness (page 6), self weight + 0.5 + 0.1 * 3.0, cantilevers
    # 0.8 and 0.6 m, line loads 0.1 x (8.0, 12.5, 6.0, 4.0, 10.0) kN/m.
    thick = [0.14, 0.14, 0.16, 0.18, 0.20, 0.20, 0.18, 0.16, 0.14, 0.14]
    spans = [4.2, 4.5, 5.0, 5.5, 6.0, 6.0, 5.5, 5.0, 4.5, 4.2]
    widths = [0.0] + [0.1] * 9 + [0.0]
    ei = {0.14: 4528.9, 0.16: 6660.5, 0.18: 9371.6, 0.20: 12731.0}
    clear = [spans[i] - 0.5 * (widths[i] + widths[i + 1]) for i in range(10)]
    mass = [((t - 0.0165) * 25 + 0.089 + 0.5 + 0.3) * 1000 / 9.81 for t in thick]
    segs = [(0.8, ei[0.14] * 1e3, mass[0])]
    segs += [(clear[i], ei[thick[i]] * 1e3, mass[i]) for i in range(10)]
    segs += [(0.6, ei[0.14] * 1e3, mass[9])]
    supported = [False] + [True] * 11 + [False]
    # Line loads (span, from the left support face, kN/m); span 8 at -0.4 lies in span 7.
    lines = [(2, 1.5, 8.0), (4, 2.0, 12.5), (5, 5.8, 6.0), (8, -0.4, 4.0), (10, 3.0, 10.0)]
    masses = []
    for span, at, load in lines:
        while at < 0:
            span -= 1
            at += clear[span - 1]
        while at > clear[span - 1] and span < 10:
            at -= clear[span - 1]
            span += 1
        masses.append((span, at, 0.1 * load * 1000 / 9.81))  # segment index = span (cantilever 0)
    f = lowest_frequency(segs, supported, masses)
    # KONSOL: 5.4 m on supports of no width, cantilevers 1.2 and 1.5 m, h 0.18 (EI 9371.6),
    # (0.18 - 0.0165) 25 + 0.089 + 1.0 + 0.1 * 2.5.
    mk = (4.1765 + 1.0 + 0.25) * 1000 / 9.81
    kons = [(1.2, 9371.6e3, mk), (5.4, 9371.6e3, mk), (1.5, 9371.6e3, mk)]
    print("KONSOL: f1 = %.3f Hz (span alone %.3f Hz)" % (
        lowest_frequency(kons, [False, True, True, False]),
        lowest_frequency(kons[1:2], [True, True])))
    print("TIOFACK: f1 = %.3f Hz (without the line masses %.3f Hz)" % (f, lowest_frequency(segs, supported)))


if __name__ == "__main__":
    casting_default_case_two_props()
    frequencies()

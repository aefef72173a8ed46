#!/usr/bin/env python3
"""Writes valid design cases in the case-file layout of the engine, for comparing two engine
builds over many slabs: every market, 1-10 spans, cantilevers, line loads on the spans, on
the left cantilever and past the last span, thin and thick slabs (some beyond what the
section carries).

    gen_cases.py COUNT SEED FOLDER   writes FOLDER/case0000.TMP ... (same seed, same cases)
"""
import os
import random
import sys

# Load factors per market (gamma_g, xsi, gamma_q, psi0, psi1, psi2), plausible values.
FACTORS = {
    1: (1.35, 0.89, 1.5, 0.7, 0.5, 0.3),
    2: (1.35, 0.85, 1.5, 0.7, 0.5, 0.3),
    3: (1.35, 0.85, 1.5, 0.7, 0.5, 0.3),
    4: (1.2, 1.0, 1.5, 0.7, 0.5, 0.3),
    5: (1.2, 1.0, 1.5, 0.7, 0.5, 0.3),
    6: (1.35, 0.85, 1.5, 0.7, 0.5, 0.3),
}


def fields(values, pitch, fmt):
    return "".join((fmt % v).ljust(pitch) for v in values)


def line_load(rng, n, spans):
    span = rng.randint(1, n)
    kind = rng.random()
    if kind < 0.15 and span == 1:
        pos = -rng.uniform(0.05, 1.0)  # on the left cantilever
    elif kind < 0.25:
        pos = spans[span - 1] + rng.uniform(0.0, 3.0)  # carried to a later span
    else:
        pos = rng.uniform(0.0, spans[span - 1])
    return "%-3d%s%s" % (span, ("%.3f" % pos).ljust(7), ("%.3f" % rng.uniform(0.5, 20.0)).ljust(7))


def case(rng, index):
    market = index % 6 + 1
    n = index % 10 + 1 if rng.random() < 0.7 else rng.randint(1, 10)
    spans = [round(rng.uniform(2.0, 7.5), 3) for _ in range(n)]
    if rng.random() < 0.3:
        spans = [spans[0]] * n  # equal spans
    thick = [round(rng.choice([0.10, 0.12, 0.14, 0.16, 0.18, 0.20, 0.25, 0.30]), 3)] * n
    if rng.random() < 0.4:
        thick = [round(rng.uniform(0.10, 0.30), 3) for _ in range(n)]
    widths = [round(rng.choice([0.0, 0.1, 0.2, 0.3]), 2) for _ in range(n + 1)]
    perm = [round(rng.uniform(0.0, 2.0), 3) for _ in range(n)]
    imposed = [round(rng.uniform(0.5, 10.0), 3) for _ in range(n)]
    if rng.random() < 0.5:
        perm, imposed = [perm[0]] * n, [imposed[0]] * n
    cant = [0.0, 0.0]
    for k in range(2):
        if rng.random() < 0.4:
            cant[k] = round(rng.uniform(0.2, 2.0), 2)
    loads = rng.choice([0, 0, 1, 2, 3, 5])
    lines = [
        "CASE%d" % index,
        "Generated case %d" % index,
        "%d" % market,
        "%d" % rng.randint(1, 3),
        "%d" % n,
        fields(spans, 7, "%.3f"),
        fields(thick, 7, "%.3f"),
        fields(widths, 6, "%.3f"),
        "%d" % rng.randint(0, 9),
        fields(FACTORS[market], 7, "%.3f"),
        "%d" % rng.randint(1, 3),
        fields(perm, 7, "%.3f"),
        fields(imposed, 7, "%.3f"),
        "%g" % cant[0],
        "%g" % cant[1],
        "%d" % rng.randint(1, 9),
        "%d" % rng.randint(1, 3),
        "%d" % rng.randint(1, 5),
        "%d" % rng.randint(0, 1),
        "%d" % rng.choice([15, 20, 25, 30, 40]),
        "%d" % rng.randint(1, 3),
        "%d" % rng.randint(1, 5),
        "%d" % rng.choice([30, 42, 50, 60]),
        "%d" % (rng.randint(1, 2) and 1),  # the one fire method; drawn to keep the sequence
        "%d" % rng.randint(1, 3),
        "%d" % rng.randint(1, 2),
        "%d" % rng.randint(1, 3),
        "%g" % rng.choice([0, 0, 5, 10]),
        "%d" % rng.choice([200, 250, 300]),
        "%d" % rng.choice([350, 500]),
        "%d" % rng.randint(1, 2),
        "%d" % loads,
    ]
    lines += [line_load(rng, n, spans) for _ in range(loads)]
    lines += ["1  0.000  0.000  "] * (5 - loads)
    return "\r\n".join(lines) + "\r\n"


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: gen_cases.py COUNT SEED FOLDER")
    count, seed, folder = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    rng = random.Random(seed)
    os.makedirs(folder, exist_ok=True)
    for index in range(count):
        with open(os.path.join(folder, "case%04d.TMP" % index), "w", newline="") as f:
            f.write(case(rng, index))


if __name__ == "__main__":
    main()

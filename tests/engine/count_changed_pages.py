#!/usr/bin/env python3
"""Runs two builds of solvowb over the same generated cases (gen_cases.py) and counts the cases
whose report pages 2 to 5 differ, by the reason the newer report gives:

    count_changed_pages.py OLD_SOLVOWB NEW_SOLVOWB [COUNT] [SEED]

Reasons, read from the newer report (a case may have several):
  top limited     a support spacing printed at the largest spacing min(2h, 250 mm) where the
                  older build printed more
  top none        a support without a solution ("OBS! Stöd j saknar lösning"), by cause
  bottom none     a span whose bottom bars have no solution ("OBS! Fält i (brand) ..."), by cause
  thin            a span below the least depth
  other           none of these (a figure that follows from them elsewhere on the pages)
and, of the changed pages, which pages moved.
"""
import collections
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.realpath(__file__))
TIME = re.compile(r"^ *(DATUM|TID) +: ")
CAUSES = [("konvergerar inte", "no convergence"), ("ingen jämvikt", "no equilibrium"),
          ("ryms ej", "above one layer"), ("ger lösning", "too close"),
          ("samma stång", "merged partner")]


def pages(path):
    with open(path, encoding="cp1252") as f:
        text = [l.rstrip("\r\n") for l in f if not TIME.match(l)]
    out, page = [], []
    for line in text:
        if line == "^":
            out.append(page)
            page = []
        else:
            page.append(line)
    return out


def run(exe, case, folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copy(case, os.path.join(folder, "~INDATA~.TMP"))
    subprocess.run([exe], cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   check=True)
    reports = [f for f in os.listdir(folder) if f.upper().endswith(".RES") and f != "MOMENTBRAND.RES"]
    return pages(os.path.join(folder, reports[0]))


def support_spacings(page5):
    """Support number -> printed spacing, from the table under "Stöd     Diam"."""
    out = {}
    for k, line in enumerate(page5):
        if line.startswith("     Stöd     Diam"):
            for row in page5[k + 1:]:
                f = row.split()
                if len(f) < 3 or not f[0].isdigit():
                    break
                out[int(f[0])] = int(f[2]) if f[2].isdigit() else None
            break
    return out


def reasons(old, new):
    found = set()
    text2 = "\n".join(new[1])
    for line in new[1]:
        if "saknar lösning" in line:
            kind = "top none" if "Stöd" in line else "bottom none"
            cause = next((c for key, c in CAUSES if key in line), "?")
            found.add("%s: %s" % (kind, cause))
        if "tjocklek" in line and "minst" in line:
            found.add("thin")
    s_old, s_new = support_spacings(old[4]), support_spacings(new[4])
    for j, s in s_new.items():
        o = s_old.get(j)
        if s and o and o > s and s <= 250:
            found.add("top limited")
    return found or {"other"}


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    old, new = os.path.realpath(sys.argv[1]), os.path.realpath(sys.argv[2])
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 1200
    seed = int(sys.argv[4]) if len(sys.argv) > 4 else 2212
    work = tempfile.mkdtemp()
    try:
        subprocess.run([sys.executable, os.path.join(HERE, "gen_cases.py"), str(count), str(seed),
                        os.path.join(work, "cases")], check=True)
        changed, why, moved = 0, collections.Counter(), collections.Counter()
        page1_changed = 0
        for name in sorted(os.listdir(os.path.join(work, "cases"))):
            case = os.path.join(work, "cases", name)
            a = run(old, case, os.path.join(work, "old"))
            b = run(new, case, os.path.join(work, "new"))
            if a[0] != b[0]:
                page1_changed += 1
            diff = [p for p in range(1, 5) if a[p] != b[p]]
            if not diff:
                continue
            changed += 1
            for p in diff:
                moved["page %d" % (p + 1)] += 1
            for r in reasons(a, b):
                why[r] += 1
        print("%d cases (gen_cases.py seed %d): %d changed on pages 2-5, %d on page 1"
              % (count, seed, changed, page1_changed))
        for k, v in sorted(moved.items()):
            print("  %-10s %5d" % (k, v))
        for k, v in why.most_common():
            print("  %-32s %5d" % (k, v))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()

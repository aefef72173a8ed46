#!/usr/bin/env bash
# Where the engine's instructions go: one run of solvowb on the ten-span sample under
# valgrind's callgrind, which counts instructions the same way on a busy machine as on an
# idle one. Prints the count of the whole process and of its phases.
#
#   engine_phases.sh [SOLVOWB]   (default: build/solvowb/solvowb)
set -euo pipefail
cd "$(dirname "$0")/.."
engine=$(realpath "${1:-${BUILD:-build}/solvowb/solvowb}")
[ -x "$engine" ] || { echo "build first: $engine is missing" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "valgrind is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp data/samples/TIOFACK.IND "$work/~INDATA~.TMP"
cd "$work"
"$engine" >/dev/null  # the data files exist from an earlier run, as they do for the front end
rm -f TIOFACK.RES MOMK.DAT
valgrind --tool=callgrind --callgrind-out-file=cg.out "$engine" >/dev/null 2>&1
callgrind_annotate --inclusive=yes cg.out >inclusive.txt 2>/dev/null

count() {  # inclusive instructions of the first function matching the pattern, 0 if none
  grep -E "$1" inclusive.txt | head -1 | awk '{gsub(",", "", $1); print $1 + 0}' || true
}
total=$(count "PROGRAM TOTALS")
main=$(count "main.cpp:main ")
whole=$(count "run_solvowb\(")
reading=$(count "read_case\(")
calculation=$(count "solvober\(")
analysis=$(count "snikra\(solvo::Run&, int&\)")
design=$(count "dimen\(solvo::Run&\)")
fire=$(count "fire\(solvo::Run&\)")
checks=$(count "slab_checks\(")
report=$(count "utskr\(solvo::Run&\) ")
printf '%-34s %10d\n' "whole process" "$total" \
  "start-up before main" "$((total - main))" \
  "reading the case" "${reading:-0}" \
  "analysis (snikra, MOMK.DAT, AL.DAT)" "$analysis" \
  "design without fire (dimen)" "$((design - fire))" \
  "fire (MOMENTBRAND.RES)" "$fire" \
  "further checks" "${checks:-0}" \
  "report (utskr)" "$report" \
  "console and writing the files" "$((whole - ${reading:-0} - calculation))"

#!/usr/bin/env bash
# Runs two builds of solvowb over the same generated cases and compares everything they
# write byte for byte: the console output, the report (without its date and time lines,
# which name the moment of the run) and the data files. For a change meant to keep every
# result identical, e.g. a faster formulation of the same arithmetic.
#
#   compare_engines.sh OLD_SOLVOWB NEW_SOLVOWB [COUNT] [SEED]
# Exit 0 when all cases agree; otherwise names the first differing case and file.
set -euo pipefail
old=$(realpath "$1")
new=$(realpath "$2")
count=${3:-300}
seed=${4:-17}
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 "$here/gen_cases.py" "$count" "$seed" "$work/cases"
for f in "$work"/cases/*.TMP; do
  for side in old new; do
    rm -rf "$work/$side" && mkdir "$work/$side"
    cp "$f" "$work/$side/~INDATA~.TMP"
    exe=$old
    [ "$side" = new ] && exe=$new
    (cd "$work/$side" && "$exe" >console.txt 2>errors.txt; echo "exit $?" >>errors.txt)
    # The header of every page names the date and time of the run.
    for r in "$work/$side"/*.RES; do
      grep -av "^ *DATUM : \|^ *TID   : " "$r" >"$r.kept" && mv "$r.kept" "$r"
    done
  done
  if ! diff -r "$work/old" "$work/new" >"$work/diff.txt"; then
    echo "differ: $(basename "$f")"
    head -20 "$work/diff.txt"
    exit 1
  fi
done
echo "all $count cases agree ($(ls "$work/new" | wc -l) files per case compared)"

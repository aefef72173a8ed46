#!/usr/bin/env bash
# Runs two builds of solvowb on what is not a normal calculation and compares everything
# they write: every bad case file of tests/data/bad, a missing case file, wrong arguments,
# design searches with a missing, a bad, a misplaced and a good search plan, and the sample
# cases. The console, the error output, the exit code and every file written (the report
# without its date and time lines) must be the same bytes. The companion of
# compare_engines.sh, which covers generated valid cases.
#
#   compare_engines_bad.sh OLD_SOLVOWB NEW_SOLVOWB
set -euo pipefail
old=$(realpath "$1")
new=$(realpath "$2")
root=$(realpath "$(dirname "$0")/../..")
sample="$root/data/samples/TIOFACK.IND"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# compare NAME CASE_FILE PLAN_TEXT ARGS...: CASE_FILE and PLAN_TEXT (written as P.SPC) may be "".
compare() {
  local name=$1 case_file=$2 plan=$3
  shift 3
  for side in old new; do
    rm -rf "${work:?}/$side" && mkdir "$work/$side"
    [ -n "$case_file" ] && cp "$case_file" "$work/$side/~INDATA~.TMP"
    [ -n "$plan" ] && printf '%b' "$plan" >"$work/$side/P.SPC"
    local exe=$old
    [ "$side" = new ] && exe=$new
    local status=0
    (cd "$work/$side" && "$exe" "$@" >console.txt 2>errors.txt) || status=$?
    echo "exit $status" >>"$work/$side/errors.txt"
    for r in "$work/$side"/*.RES; do
      [ -f "$r" ] || continue
      grep -av "^ *DATUM : \|^ *TID   : " "$r" >"$r.kept" || true
      mv "$r.kept" "$r"
    done
  done
  if ! diff -r "$work/old" "$work/new" >"$work/diff.txt"; then
    echo "differ: $name"
    head -10 "$work/diff.txt"
    failed=1
  fi
}

for f in "$root"/tests/data/bad/*.IND; do compare "$(basename "$f")" "$f" ""; done
compare "no case file" "" ""
compare "one argument" "$sample" "" x
compare "--search without a plan" "$sample" "" --search
compare "missing plan" "$sample" "" --search NONE.SPC
compare "bad plan" "$sample" "thickness all 0.1 0.3 x\n" --search P.SPC
compare "plan in another folder" "$sample" "" --search sub/P.SPC
compare "good plan" "$sample" "thickness all 0.16 0.18 0.01\nbar 10 12\n" --search P.SPC
for f in "$root"/data/samples/*.IND; do compare "sample $(basename "$f")" "$f" ""; done
[ "$failed" = 0 ] && echo "all bad cases, wrong starts, searches and samples agree"
exit "$failed"

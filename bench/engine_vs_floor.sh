#!/usr/bin/env bash
# The engine is a process started once per calculation: its cost is the process start plus
# the calculation. Times solvowb on the ten-span sample case against a trivial process
# start (/bin/true), side by side in one hyperfine run, prints the ratio of the medians and
# the peak memory of one run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
engine="$PWD/$build/engine/solvowb"
[ -x "$engine" ] || { echo "build first: $engine is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp data/samples/TIOFACK.IND "$work/~INDATA~.TMP"
cd "$work"

# The front end removes the old report and MOMK.DAT before every run; so does this.
hyperfine --warmup 20 --runs 300 -N --export-json times.json \
  --prepare "rm -f $work/TIOFACK.RES $work/MOMK.DAT" \
  --command-name solvowb "$engine" --command-name /bin/true /bin/true >/dev/null
python3 - <<'PY'
import json
r = {x["command"]: x for x in json.load(open("times.json"))["results"]}
e, t = r["solvowb"], r["/bin/true"]
print(f"solvowb   median {e['median']*1e3:.3f} ms  mean {e['mean']*1e3:.3f} ms")
print(f"/bin/true median {t['median']*1e3:.3f} ms  mean {t['mean']*1e3:.3f} ms")
print(f"ratio of medians {e['median']/t['median']:.2f} (target <= 1.5)")
PY
/usr/bin/time -f "peak memory %M KiB (target < 4096)" "$engine" >/dev/null

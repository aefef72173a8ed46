#!/usr/bin/env bash
# The engine is a process started once per calculation: its cost is the process start plus
# the calculation. Times solvowb on the ten-span sample case against a trivial process
# start (/bin/true) with hyperfine, prints the ratio of the medians and the peak memory of
# one run.
#
# On a shared machine the load drifts within seconds, and hyperfine times one command's runs
# before the other's; so the runs go in short rounds that alternate the two commands, and the
# medians are taken over all rounds. The spread of the rounds' own ratios is printed as well.
#
#   ROUNDS=10 RUNS=30 BUILD=build engine_vs_floor.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
rounds=${ROUNDS:-10}
runs=${RUNS:-30}
engine="$PWD/$build/solvowb/solvowb"
[ -x "$engine" ] || { echo "build first: $engine is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp data/samples/TIOFACK.IND "$work/~INDATA~.TMP"
cd "$work"

# The front end removes the old report and MOMK.DAT before every run; so does this.
for round in $(seq "$rounds"); do
  hyperfine --warmup 5 --runs "$runs" -N --export-json "times$round.json" \
    --prepare "rm -f $work/TIOFACK.RES $work/MOMK.DAT" \
    --command-name solvowb "$engine" --command-name /bin/true /bin/true >/dev/null 2>&1
done
python3 - "$rounds" <<'PY'
import json, statistics, sys
times = {"solvowb": [], "/bin/true": []}
ratios = []
for k in range(1, int(sys.argv[1]) + 1):
    r = {x["command"]: x for x in json.load(open(f"times{k}.json"))["results"]}
    for name in times:
        times[name] += r[name]["times"]
    ratios.append(r["solvowb"]["median"] / r["/bin/true"]["median"])
e, t = (statistics.median(times[n]) for n in ("solvowb", "/bin/true"))
for name, m in (("solvowb", e), ("/bin/true", t)):
    print(f"{name:<9} median {m*1e3:.3f} ms  mean {statistics.mean(times[name])*1e3:.3f} ms"
          f"  ({len(times[name])} runs)")
print(f"ratio of medians {e/t:.2f} (target <= 1.5); rounds {min(ratios):.2f} to {max(ratios):.2f}")
PY
/usr/bin/time -f "peak memory %M KiB (target < 4096)" "$engine" >/dev/null

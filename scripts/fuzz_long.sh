#!/usr/bin/env bash
# A longer fuzzing run with a random seed, for looking for new faults rather than guarding the
# gate: each target for FUZZ_SECONDS (default 600), growing its corpus in
# build-fuzz/corpus-TARGET from run to run. A crashing input is written to build-fuzz/findings/;
# keep it in fuzz/regressions/ once it is fixed. The gate itself (scripts/harden.sh) runs a
# fixed seed for a fixed number of inputs, so that the same code gives the same verdict.
set -euo pipefail
cd "$(dirname "$0")/.."
FUZZ_SECONDS="${FUZZ_SECONDS:-600}"
source scripts/fuzz_common.sh

fuzz_build
fuzz_gather_seeds
for target in "${FUZZ_TARGETS[@]}"; do
  echo "=== $target: stored inputs, then ${FUZZ_SECONDS} s from a random seed"
  fuzz_replay_regressions "$target"
  corpus="build-fuzz/corpus-$target"
  mkdir -p "$corpus"
  fuzz_run "$target" "build-fuzz/$target-long.log" -max_total_time="$FUZZ_SECONDS" \
    "$corpus" "$FUZZ_SEEDS"
done

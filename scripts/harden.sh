#!/usr/bin/env bash
# Hardening checks, run by CI after the normal tests (scripts/test.sh):
#  1. the engine and the case library built with AddressSanitizer and UndefinedBehaviorSanitizer
#     (gcc, warnings as errors), running their whole test suites; any report fails the run;
#  2. the design search and its dialog built with ThreadSanitizer (search_tests,
#     search_dialog_tests and the engine that they start, whose candidates are calculated on
#     several threads); any data race fails the run;
#  3. the libFuzzer targets (clang) on the case bytes: the whole calculation in memory, the
#     front end's case reader and the case name read by both (the report the front end looks
#     for is the one the engine writes). Every stored input runs first (fuzz/regressions and
#     the bad cases of the test data), then FUZZ_RUNS inputs (default 100000) from the fixed
#     seed FUZZ_SEED, starting from the delivered cases and the test data, so that the same
#     code gives the same verdict; FUZZ_SECONDS (default 90) bounds each target's run. A longer run from a random seed: scripts/fuzz_long.sh;
#  4. clang-tidy with the checks of .clang-tidy over every source of platform/, engine/, search/,
#     solvowb/ and frontend/ (the case library and the windows), with the compile commands of
#     build/.
# Build folders: build-asan, build-tsan, build-fuzz (and build/ from scripts/test.sh). A
# crashing input is written to build-fuzz/findings/. Every step says how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."
FUZZ_SEED="${FUZZ_SEED:-1}"
FUZZ_RUNS="${FUZZ_RUNS:-100000}"
FUZZ_SECONDS="${FUZZ_SECONDS:-90}"
JOBS="${JOBS:-2}"
# The flags of the build type (scripts/test.sh sets line tables only); the sanitizer build
# adds -O1.
SOLVO_CI_FLAGS="${SOLVO_CI_FLAGS:--O2 -g -DNDEBUG}"
PREFIX=harden
source scripts/step_timer.sh
source scripts/fuzz_common.sh


step "sanitizer build and tests"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSOLVO_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$SOLVO_CI_FLAGS" -DSOLVO_WERROR=ON -DSOLVO_BUILD_FORMS=OFF \
  -DSOLVO_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$JOBS"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$JOBS"

step "data-race build and the search tests"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSOLVO_TSAN=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$SOLVO_CI_FLAGS" -DSOLVO_WERROR=ON \
  -DSOLVO_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan -j"$JOBS" --target solvowb search_tests search_dialog_tests
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 exitcode=66 suppressions=$PWD/scripts/tsan.supp"
build-tsan/tests/engine/search_tests
QT_QPA_PLATFORM=offscreen build-tsan/tests/forms/search_dialog_tests
unset TSAN_OPTIONS

step "fuzz targets"
fuzz_build
fuzz_gather_seeds
for target in "${FUZZ_TARGETS[@]}"; do
  step "$target: stored inputs, then $FUZZ_RUNS inputs from seed $FUZZ_SEED"
  fuzz_replay_regressions "$target"
  # A fresh, empty folder first: new inputs go there, so no run starts from what an earlier
  # run found.
  out="build-fuzz/run-$target"
  rm -rf "$out" && mkdir -p "$out"
  # No reloading of the corpus on the clock, and Qt's hashing from a fixed seed.
  QT_HASH_SEED=0 fuzz_run "$target" "build-fuzz/$target.log" -seed="$FUZZ_SEED" \
    -runs="$FUZZ_RUNS" -max_total_time="$FUZZ_SECONDS" -reload=0 "$out" "$FUZZ_SEEDS"
done

step "clang-tidy"
# Every source of the programs, as the main build compiles them (the windows' sources need
# the headers that build/ generates for them).
if [ ! -f build/compile_commands.json ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build -j"$JOBS" --target solvo_forms_autogen >/dev/null
mapfile -t files < <(grep -o '"file": *"[^"]*"' build/compile_commands.json |
  sed 's/.*"\([^"]*\)"$/\1/' |
  grep -E "^$PWD/(platform|engine|search|solvowb|frontend/case|frontend/forms)/[^/]+\.cpp$" | sort -u)
echo "${#files[@]} sources"
# One source per call, so that both cores stay busy to the end. Its count of suppressed
# warnings ("N warnings generated.") is left out of the log.
printf '%s\n' "${files[@]}" | xargs -P "$JOBS" -n 1 clang-tidy -p build --quiet \
  2> >(grep -v 'warnings\? generated\.$' >&2)
step done

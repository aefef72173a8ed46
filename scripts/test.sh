#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test (warnings are errors), then
# the hardening checks. Every step says how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."
PREFIX=test
source scripts/step_timer.sh

# The format check: any C++ file that differs from .clang-format fails the run (0: only count).
SOLVO_FORMAT_CHECK="${SOLVO_FORMAT_CHECK:-1}"

step "set-up"
bash scripts/setup.sh

step "format check"
bash scripts/format_check.sh "$SOLVO_FORMAT_CHECK"

# The CI builds carry line tables only (-g1): enough for a backtrace or a sanitizer's report
# with file and line, and a third quicker to compile than full debug information.
export SOLVO_CI_FLAGS="-O2 -g1 -DNDEBUG"

step "build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSOLVO_WERROR=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$SOLVO_CI_FLAGS"
cmake --build build

step "tests"
ctest --test-dir build --output-on-failure -j2

# Hardening: sanitizer builds and tests, bounded fuzzing, clang-tidy (scripts/harden.sh).
# SOLVO_HARDEN=0 leaves it out of a quick local run.
if [ "${SOLVO_HARDEN:-1}" != 0 ]; then
  step "hardening"
  bash scripts/harden.sh
fi
step done

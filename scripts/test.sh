#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
ctest --test-dir build --output-on-failure -j2

# Hardening: sanitizer build and tests, bounded fuzzing, clang-tidy (scripts/harden.sh).
# SOLVO_HARDEN=0 leaves it out of a quick local run.
if [ "${SOLVO_HARDEN:-1}" != 0 ]; then
  bash scripts/harden.sh
fi

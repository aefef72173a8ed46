# Shared by scripts/harden.sh and scripts/fuzz_long.sh (sourced from the project root): builds
# the libFuzzer targets with clang in build-fuzz and gathers their starting inputs.
FUZZ_TARGETS=(fuzz_engine fuzz_case_reader fuzz_report_name fuzz_result_files)
FUZZ_SEEDS=build-fuzz/seeds

fuzz_build() {
  cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build build-fuzz -j"${JOBS:-2}"
}

# The delivered cases, every case of the test data and the stored reports, in a fresh folder.
fuzz_gather_seeds() {
  rm -rf "$FUZZ_SEEDS" build-fuzz/findings
  mkdir -p "$FUZZ_SEEDS" build-fuzz/findings
  cp data/solvo.def data/samples/*.IND tests/data/bad/*.IND "$FUZZ_SEEDS"/
  find tests/data -type f \( -name '*.IND' -o -name '*.ind' -o -name '*.TMP' \) \
    -exec cp {} "$FUZZ_SEEDS"/ \;
  # The report and moment-file reader starts from reports and moment files too.
  cp tests/data/reports/* "$FUZZ_SEEDS"/
}

# Every kept input that once failed, and every bad case of the test data, through TARGET.
fuzz_replay_regressions() {
  local target=$1 log="build-fuzz/$1-regressions.log"
  "build-fuzz/$target" -timeout=10 tests/data/bad/*.IND fuzz/regressions/*.case >"$log" 2>&1 ||
    { tail -40 "$log"; return 1; }
  grep -c '^Executed ' "$log" | sed 's/$/ stored inputs executed/'
}

# fuzz_run TARGET LOG OPTION... : fuzzes TARGET with the options given, a crashing input kept
# in build-fuzz/findings/.
fuzz_run() {
  local target=$1 log=$2
  shift 2
  if ! "build-fuzz/$target" -timeout=10 -rss_limit_mb=2048 -max_len=16384 -print_final_stats=1 \
      -artifact_prefix=build-fuzz/findings/ "$@" >"$log" 2>&1; then
    tail -60 "$log"
    echo "$target found a fault; the input is in build-fuzz/findings/" >&2
    return 1
  fi
  grep -E '^stat::number_of_executed_units|^#[0-9]+ *DONE' "$log" || true
}

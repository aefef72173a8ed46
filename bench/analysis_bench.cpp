// The analysis of the ten-span sample case with five line loads: all load sets and all
// their arrangements, the envelopes, zero points and the two data files in memory.
#include <fstream>
#include <sstream>

#include <benchmark/benchmark.h>

#include "analysis.h"
#include "case_input.h"

namespace {

solvo::Run ten_spans() {
  std::ifstream in(SOLVO_DATA "/samples/TIOFACK.IND", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  solvo::Run run;
  solvo::insolvo(run, text.str());
  return run;
}

void BM_SnikraTenSpans(benchmark::State& state) {
  const solvo::Run input = ten_spans();
  for (auto _ : state) {
    solvo::Run run = input;
    int32_t flag = 0;
    solvo::snikra(run, flag);
    benchmark::DoNotOptimize(run.arbvar.ms_min[3][5]);
  }
}
BENCHMARK(BM_SnikraTenSpans)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// The analysis of the ten-span sample case with five line loads: all load sets and all
// their arrangements, the envelopes, zero points and the two data files in memory.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "analysis.h"
#include "case_input.h"
#include "checks.h"

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

// The checks of report page 6 on the same case: the deck during casting (10 deck spans: the
// sample has no props; 30 with two props in every span), the crack reinforcement and the
// natural frequency.
void BM_SlabChecksTenSpans(benchmark::State& state) {
  solvo::Run input = ten_spans();
  if (state.range(0) == 2)
    for (int i = 1; i <= input.indat.n; ++i) input.indat.props[i] = 2;
  for (auto _ : state) {
    solvo::Run run = input;
    benchmark::DoNotOptimize(solvo::slab_checks(run).utilisation);
  }
}
BENCHMARK(BM_SlabChecksTenSpans)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

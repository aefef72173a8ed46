// The design search of the ten-span sample case over 21 thicknesses (0.10 to 0.20 m, one for
// every span) x 9 concrete classes x 5 top bar sizes x 2 curtailments = 1,890 candidates, on
// one thread and on two. The figure to read is items_per_second: candidates per second of
// wall time (the calculation of the candidates, without reading the files or writing
// SEARCH.RES).
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "case_input.h"
#include "search.h"

namespace {

const char kPlan[] =
    "thickness 0.10 0.20 0.005\n"
    "concrete 1 2 3 4 5 6 7 8 9\n"
    "bar 6 8 10 12 16\n"
    "curtailment off on\n";

void BM_SearchTenSpans(benchmark::State& state) {
  std::ifstream in(SOLVO_DATA "/samples/TIOFACK.IND", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  solvo::Run base;
  solvo::insolvo(base, text.str());
  const solvo::SearchPlan plan = solvo::read_search_plan(kPlan, "PLAN", base.indat);
  const int threads = static_cast<int>(state.range(0));
  int64_t passing = 0;
  for (auto _ : state) {
    const auto outcomes = solvo::run_search(base, plan, threads);
    passing = 0;
    for (const auto& o : outcomes) passing += o.passes ? 1 : 0;
    benchmark::DoNotOptimize(passing);
  }
  state.SetItemsProcessed(state.iterations() * plan.candidates());
  state.counters["candidates"] = static_cast<double>(plan.candidates());
  state.counters["passing"] = static_cast<double>(passing);
}
BENCHMARK(BM_SearchTenSpans)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("threads")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();

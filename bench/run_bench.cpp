// "Kör..." to the report shown in the viewer, for the ten-span sample case with cantilevers
// and line loads: the menu entry of the main window, the exchange copy, the engine process,
// reading the report and showing it. Each repetition is one run; the figure to read is the
// median of the repetitions in real time (the engine is another process).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>

#include "form6.h"
#include "sample_shell.h"

namespace {

void BM_KorToReportShown(benchmark::State& state) {
  SampleShell sample;
  if (!sample.open()) {
    state.SkipWithError("the sample case cannot be opened");
    return;
  }
  solvow::forms::Shell& shell = *sample.shell;
  QAction* kor = shell.window()->actions().start;
  for (auto _ : state) {
    kor->trigger();
    QCoreApplication::processEvents();
    if (shell.viewer() == nullptr || shell.viewer()->reportText().isEmpty()) {
      state.SkipWithError("no report shown");
      return;
    }
  }
}
BENCHMARK(BM_KorToReportShown)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(41)
    ->ReportAggregatesOnly(true);

}  // namespace

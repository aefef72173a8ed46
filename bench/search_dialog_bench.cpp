// "Sök lösning..." from the click on "Sök" to the table filled, for the ten-span sample over
// 21 thicknesses (one for every span) x 9 concrete classes x 5 bar sizes x 2 curtailments =
// 1,890 designs: the plan written, the exchange copy, the engine process searching
// on every core, SEARCH.RES read and shown. Each repetition is one search; read the median in
// real time (the engine is another process).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QTableWidget>
#include <QtTest/QTest>
#include <cstdio>

#include "engine_run.h"
#include "sample_shell.h"
#include "search_dialog.h"

namespace {

void BM_DialogSearchTenSpans(benchmark::State& state) {
  SampleShell sample;
  if (!sample.open()) {
    state.SkipWithError("the sample case cannot be opened");
    return;
  }
  solvow::forms::Shell& shell = *sample.shell;
  solvow::FileTable files;
  solvow::EngineRun run(files, {});
  run.setWorkingFolder(sample.work());
  run.setProgramFolder(shell.store().programFolder);
  // Unattended: what the dialog tells goes to the console, and a warning of the gate before the
  // start is answered "Kör ändå".
  run.setNotify([](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); });
  run.setConfirm([](const QString& question) {
    std::fprintf(stderr, "%s: Kör ändå\n", qPrintable(question));
    return true;
  });
  solvow::forms::SearchDialog dialog(shell.store(), run);
  dialog.show();
  auto* groups = dialog.findChild<QTableWidget*>(QStringLiteral("grupper"));
  groups->setRowCount(1);
  const char* texts[] = {"1-10", "0.10", "0.20", "0.005"};
  for (int c = 0; c < 4; ++c) groups->setItem(0, c, new QTableWidgetItem(QLatin1String(texts[c])));
  for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
    if (!box->objectName().startsWith(QStringLiteral("stamp"))) box->setChecked(true);
  for (auto _ : state) {
    dialog.startSearch();
    const bool ended = QTest::qWaitFor([&dialog] { return !dialog.running(); }, 60000);
    QCoreApplication::processEvents();
    if (!ended || dialog.result().tried != 1890) {
      state.SkipWithError("the search did not complete");
      return;
    }
  }
}
BENCHMARK(BM_DialogSearchTenSpans)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(11)
    ->ReportAggregatesOnly(true);

}  // namespace

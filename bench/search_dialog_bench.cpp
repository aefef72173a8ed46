// "Sök lösning..." from the click on "Sök" to the table filled, for the ten-span sample over
// 21 thicknesses (one for every span) x 9 concrete classes x 5 bar sizes x 2 curtailments =
// 1,890 designs: the plan written, the exchange copy, the engine process searching
// on every core, SEARCH.RES read and shown. Each repetition is one search; read the median in
// real time (the engine is another process).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "engine_run.h"
#include "search_dialog.h"
#include "shell.h"

namespace {

void BM_DialogSearchTenSpans(benchmark::State& state) {
  QTemporaryDir root;
  QDir(root.path()).mkpath(QStringLiteral("arbete"));
  QDir(root.path()).mkpath(QStringLiteral("fall"));
  const QString cases = root.filePath(QStringLiteral("fall"));
  QFile::copy(QStringLiteral(SOLVO_DATA "/samples/TIOFACK.IND"),
              QDir(cases).filePath(QStringLiteral("TIOFACK.IND")));
  solvow::forms::Shell shell(root.filePath(QStringLiteral("arbete")));
  shell.store().programFolder = QFileInfo(QStringLiteral(SOLVOWB_PATH)).absolutePath();
  if (!shell.openCaseFile(cases, QStringLiteral("TIOFACK.IND"))) {
    state.SkipWithError("the sample case cannot be opened");
    return;
  }
  solvow::FileTable files;
  solvow::EngineRun run(files, {});
  run.setWorkingFolder(root.filePath(QStringLiteral("arbete")));
  run.setProgramFolder(shell.store().programFolder);
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

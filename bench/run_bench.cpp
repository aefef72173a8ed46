// "Kör..." to the report shown in the viewer, for the ten-span sample case with cantilevers
// and line loads: the menu entry of the main window, the exchange copy, the engine process,
// reading the report and showing it. Each repetition is one run; the figure to read is the
// median of the repetitions in real time (the engine is another process).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

#include "form6.h"
#include "mdiform1.h"
#include "shell.h"

namespace {

void BM_KorToReportShown(benchmark::State& state) {
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
  shell.window()->show();
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

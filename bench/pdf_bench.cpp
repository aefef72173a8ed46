// "Spara som PDF..." to the file on disk for the ten-span sample case: the report of a real
// run and the moment diagram, five report pages and the diagram page. Two figures:
//   BM_SparaSomPdfToFile - the menu entry, FileInfo shown and its "OK" pressed as soon as it
//                          is up (the user's own time left out), the PDF painted and written;
//   BM_ExportPdf         - the work after the name is chosen: reading the report and
//                          MOMK.DAT, painting and writing through the temporary file.
// Each repetition is one export; read the median in real time.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "fileinfo.h"
#include "sample_shell.h"

namespace {

// A shell on the sample case with its results calculated once.
struct SampleRun : SampleShell {
  bool prepare() {
    if (!open()) return false;
    shell->window()->actions().start->trigger();
    QCoreApplication::processEvents();
    return shell->window()->actions().pdf->isEnabled();
  }
  QString pdf() const { return QDir(cases).filePath(QStringLiteral("TIOFACK.pdf")); }
};

void BM_SparaSomPdfToFile(benchmark::State& state) {
  SampleRun sample;
  if (!sample.prepare()) {
    state.SkipWithError("no results of the sample case");
    return;
  }
  // Presses "OK" of FileInfo as soon as it is shown.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [] {
    if (auto* d = qobject_cast<solvow::forms::FileInfo*>(QApplication::activeModalWidget()))
      if (d->isVisible()) d->button(0)->click();
  });
  answer.start(0);
  for (auto _ : state) {
    state.PauseTiming();
    QFile::remove(sample.pdf());
    state.ResumeTiming();
    sample.shell->window()->actions().pdf->trigger();
    if (!QFileInfo::exists(sample.pdf())) {
      state.SkipWithError("no PDF written");
      return;
    }
  }
}
BENCHMARK(BM_SparaSomPdfToFile)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(21)
    ->ReportAggregatesOnly(true);

void BM_ExportPdf(benchmark::State& state) {
  SampleRun sample;
  if (!sample.prepare()) {
    state.SkipWithError("no results of the sample case");
    return;
  }
  for (auto _ : state) {
    if (!sample.shell->exportPdf(sample.pdf())) {
      state.SkipWithError("no PDF written");
      return;
    }
  }
}
BENCHMARK(BM_ExportPdf)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(21)
    ->ReportAggregatesOnly(true);

}  // namespace

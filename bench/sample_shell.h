// The program's shell on the ten-span sample case, for the benchmarks that drive windows: a
// working folder and a case folder in a temporary folder, the case copied into the case folder
// and opened from there, the real engine beside the benchmark.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

#include "mdiform1.h"
#include "shell.h"

struct SampleShell {
  QTemporaryDir root;
  QString cases;
  std::unique_ptr<solvow::forms::Shell> shell;

  // Opens the sample in a shown main window; false when it cannot be opened.
  bool open() {
    QDir(root.path()).mkpath(QStringLiteral("arbete"));
    QDir(root.path()).mkpath(QStringLiteral("fall"));
    cases = root.filePath(QStringLiteral("fall"));
    QFile::copy(QStringLiteral(SOLVO_DATA "/samples/TIOFACK.IND"),
                QDir(cases).filePath(QStringLiteral("TIOFACK.IND")));
    shell = std::make_unique<solvow::forms::Shell>(work());
    shell->store().programFolder = QFileInfo(QStringLiteral(SOLVOWB_PATH)).absolutePath();
    if (!shell->openCaseFile(cases, QStringLiteral("TIOFACK.IND"))) return false;
    shell->window()->show();
    return true;
  }
  QString work() const { return root.filePath(QStringLiteral("arbete")); }
};

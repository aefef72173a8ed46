// SOLVOW: the front end. Shows the main window with the input form on a new case made from
// the default case "solvo.def".
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include "case_file.h"
#include "case_store.h"
#include "file_access.h"
#include "mdiform1.h"

namespace {

// The folder that holds solvo.def: the program's folder, or a "data" folder beside it or
// above it (the source tree when the program runs from its build folder).
QString findProgramFolder() {
  QDir dir(QCoreApplication::applicationDirPath());
  if (QFileInfo::exists(dir.filePath(QStringLiteral("solvo.def")))) return dir.path();
  for (int up = 0; up < 6; ++up) {
    if (QFileInfo::exists(dir.filePath(QStringLiteral("data/solvo.def"))))
      return dir.filePath(QStringLiteral("data"));
    if (!dir.cdUp()) break;
  }
  return QCoreApplication::applicationDirPath();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  solvow::CaseStore store;
  store.programFolder = findProgramFolder();
  solvow::setDefaults(store);
  solvow::FileTable files;
  solvow::forms::MDIForm1 window(store);
  window.show();
  QString error;
  const auto noDialogue = [](const solvow::DiskErrorMessage&) {
    return solvow::DiskAnswer::Cancel;
  };
  if (!solvow::newCase(store, files, noDialogue, &error)) {
    QMessageBox::critical(&window, QStringLiteral("Solvodeck"), error);
    return 1;
  }
  window.loadCase();
  return app.exec();
}

// SOLVOW: the front end. It works in the folder it was started in (the working folder, where
// solvo.ini, solvo.ver, Solvfnt.ini, the exchange copy and the reports lie); solvo.ini names
// the program folder with the engine, the default case and the help document.
#include <QApplication>
#include <QDir>

#include "qt_swedish.h"
#include "shell.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  solvow::installSwedishQtTexts(app);
  // Leaving goes through the shell, which ends the program itself.
  QApplication::setQuitOnLastWindowClosed(false);
  solvow::forms::Shell shell(QDir::currentPath());
  QObject::connect(&shell, &solvow::forms::Shell::ended, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  if (!shell.start()) return 1;
  return QApplication::exec();
}

// Qt's own Swedish texts for its standard dialogs (print preview, page set-up, the buttons of
// message boxes), from the translations installed with Qt.
#pragma once

class QCoreApplication;
class QTranslator;

namespace solvow {

// Installs them in `app`, which owns them; nullptr when they are not installed on this
// computer (the dialogs then speak English).
QTranslator* installSwedishQtTexts(QCoreApplication& app);

}  // namespace solvow

#include "disk_error_dialog.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>

namespace solvow::forms {

DiskAnswer askDiskError(const DiskErrorMessage& message, QWidget* parent) {
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  switch (message.buttons) {
    case DiskButtons::Ok:
      buttons = QMessageBox::Ok;
      break;
    case DiskButtons::YesNo:
      buttons = QMessageBox::Yes | QMessageBox::No;
      break;
    case DiskButtons::YesNoCancel:
      buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      break;
  }
  QMessageBox box(message.questionIcon ? QMessageBox::Question : QMessageBox::NoIcon,
                  QString::fromLatin1(kDiskErrorTitle), QString::fromLatin1(message.text), buttons,
                  parent);
  box.setObjectName(QStringLiteral("DiskError"));
  // The hourglass of the step that failed must not hide the pointer over the box.
  const bool waiting = QGuiApplication::overrideCursor() != nullptr;
  if (waiting) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  const int pressed = box.exec();
  if (waiting) QGuiApplication::restoreOverrideCursor();
  switch (pressed) {
    case QMessageBox::Ok:
      return DiskAnswer::Ok;
    case QMessageBox::Yes:
      return DiskAnswer::Yes;
    case QMessageBox::No:
      return DiskAnswer::No;
    default:
      return DiskAnswer::Cancel;
  }
}

DiskDialogue diskErrorDialogue(QWidget* parent) {
  QPointer<QWidget> over(parent);
  return [over](const DiskErrorMessage& message) { return askDiskError(message, over.data()); };
}

}  // namespace solvow::forms

#include "run_window.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

namespace solvow {

namespace {

// The small window shown while the engine runs.
class RunningWindow : public QDialog {
 public:
  explicit RunningWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Korning"));
    setWindowTitle(QStringLiteral("SOLVOW"));
    setModal(true);
    auto* text = new QLabel(QStringLiteral("Beräkning pågår ..."), this);
    auto* cancel = new QPushButton(QStringLiteral("Avbryt"), this);
    cancel->setObjectName(QStringLiteral("Avbryt"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  }
};

bool waitInWindow(QProcess& engine, QWidget* parent) {
  RunningWindow window(parent);
  QObject::connect(&engine, &QProcess::finished, &window, &QDialog::accept);
  if (engine.state() == QProcess::NotRunning) return true;
  return window.exec() != QDialog::Rejected || engine.state() == QProcess::NotRunning;
}

}  // namespace

bool askRunAnyway(const QString& question, QWidget* parent) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("SOLVOW"), question, QMessageBox::NoButton,
                  parent);
  QPushButton* run = box.addButton(QStringLiteral("Kör ändå"), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Avbryt"), QMessageBox::RejectRole);
  box.setDefaultButton(cancel);
  box.exec();
  return box.clickedButton() == run;
}

void attachRunWindows(EngineRun& run, QWidget* parent) {
  const QPointer<QWidget> over(parent);
  if (!run.hasNotify())
    run.setNotify([over](const QString& text) {
      QMessageBox::information(over.data(), QStringLiteral("SOLVOW"), text);
    });
  if (!run.hasConfirm())
    run.setConfirm([over](const QString& question) { return askRunAnyway(question, over.data()); });
  if (!run.hasWait())
    run.setWait([over](QProcess& engine) { return waitInWindow(engine, over.data()); });
  if (!run.hasBusy())
    run.setBusy([](bool on) {
      if (on)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
      else
        QGuiApplication::restoreOverrideCursor();
    });
}

}  // namespace solvow

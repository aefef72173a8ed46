// Helpers of the widget tests: answering modal windows while a dialog runs, finding buttons by
// their text, and saving a render of a window under the build folder.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>
#include <deque>
#include <functional>
#include <utility>

namespace solvow::test {

// Answers the modal windows that open while it lives, one step per window, in the order they
// open. A modal window with no step left, or one that a step leaves open for 5 s, is closed
// and reported as a test failure, so a wrong turn never hangs the run.
class ModalScript {
 public:
  using Step = std::function<void(QWidget*)>;

  ModalScript() {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start(5);
  }
  ModalScript(std::initializer_list<Step> steps) : ModalScript() {
    for (const Step& s : steps) m_steps.push_back(s);
  }
  ~ModalScript() {
    if (!m_steps.empty()) ADD_FAILURE() << m_steps.size() << " modal window(s) never opened";
  }

  int handled() const { return m_handled; }

 private:
  void poll() {
    QWidget* w = QApplication::activeModalWidget();
    if (w == nullptr || !w->isVisible()) return;
    if (w == m_last) {
      if (m_since.elapsed() > 5000) {
        ADD_FAILURE() << "modal window left open: " << w->windowTitle().toStdString();
        closeHard(w);
      }
      return;
    }
    m_last = w;
    m_since.start();
    if (m_steps.empty()) {
      ADD_FAILURE() << "unexpected modal window " << w->objectName().toStdString() << " \""
                    << w->windowTitle().toStdString() << "\" " << messageOf(w);
      closeHard(w);
      return;
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    ++m_handled;
    step(w);
  }
  static std::string messageOf(QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    return box != nullptr ? box->text().toStdString() : std::string();
  }
  static void closeHard(QWidget* w) {
    if (auto* d = qobject_cast<QDialog*>(w))
      d->done(QDialog::Rejected);
    else
      w->close();
  }

  QTimer m_timer;
  QPointer<QWidget> m_last;
  QElapsedTimer m_since;
  std::deque<Step> m_steps;
  int m_handled = 0;
};

// The button of `w` that shows `text`, or nullptr.
inline QAbstractButton* buttonWithText(QWidget* w, const QString& text) {
  for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

// Clicks the button of `w` that shows `text`; a missing button is a test failure and closes w.
inline void clickText(QWidget* w, const QString& text) {
  QAbstractButton* b = buttonWithText(w, text);
  if (b == nullptr) {
    ADD_FAILURE() << "no button \"" << text.toStdString() << "\" in "
                  << w->objectName().toStdString();
    if (auto* d = qobject_cast<QDialog*>(w)) d->done(QDialog::Rejected);
    return;
  }
  QTest::mouseClick(b, Qt::LeftButton);
}

// The text of a message box, empty for any other window.
inline QString boxText(QWidget* w) {
  auto* box = qobject_cast<QMessageBox*>(w);
  return box != nullptr ? box->text() : QString();
}

// Saves what `w` shows as <render dir>/<name>.png, for a person to look at.
inline void render(QWidget* w, const QString& name) {
  const QString dir = QStringLiteral(SOLVO_RENDER_DIR);
  QDir().mkpath(dir);
  w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

}  // namespace solvow::test

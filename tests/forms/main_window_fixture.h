// A main window on a new case made from the delivered default case, shown and active, for
// tests that replay keys and clicks on the real forms.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QString>
#include <QTest>
#include <memory>
#include <ostream>

#include "case_file.h"
#include "case_store.h"
#include "file_access.h"
#include "mdiform1.h"

// Lets a failing comparison of texts print them.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace solvow::forms {

class MainWindowFixture : public ::testing::Test {
 protected:
  // Runs after the default case was read and before the window is made.
  virtual void prepareCase() {}

  void SetUp() override {
    QLocale::setDefault(QLocale::c());
    store.programFolder = QStringLiteral(SOLVO_DATA);
    setDefaults(store);
    QString error;
    ASSERT_TRUE(newCase(store, files, {}, &error)) << error.toStdString();
    prepareCase();
    window = std::make_unique<MDIForm1>(store);
    window->loadCase();
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  // The child of the main window with this object name; a failure when there is none.
  template <class T>
  T* find(const QString& name) {
    T* w = window->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }

  CaseStore store;
  FileTable files;
  std::unique_ptr<MDIForm1> window;
};

}  // namespace solvow::forms

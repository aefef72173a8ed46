// The notices of the start-up: Form10, what changed in this version (hidden for good with its
// check box), and Form9, the scope of the calculation (also shown by the menu entry vikt).
#pragma once

#include <QDialog>
#include <QString>

#include "file_access.h"

class QCheckBox;
class QPushButton;

namespace solvow::forms {

// The two texts of Form9.
QString scopeNoticeText1();
QString scopeNoticeText2();

// Form10: the changes of this version, the product line, Check1 "Visa inte detta nästa gång"
// and "OK".
class Form10 : public QDialog {
  Q_OBJECT

 public:
  explicit Form10(QWidget* parent = nullptr);
  QCheckBox* check1() const { return m_check1; }
  QPushButton* okButton() const { return m_ok; }
  // Whether the user ticked the box and pressed "OK".
  bool hideNextTime() const { return m_hide; }

 private:
  QCheckBox* m_check1;
  QPushButton* m_ok;
  bool m_hide = false;
};

// Form9: the product line, the two texts on the scope of the calculation and "OK".
class Form9 : public QDialog {
  Q_OBJECT

 public:
  explicit Form9(QWidget* parent = nullptr);
  QPushButton* okButton() const { return m_ok; }

 private:
  QPushButton* m_ok;
};

// The change-notice step of the start-up: reads solvo.ver in `workFolder`; when the stored
// version is below the program version, shows Form10 modally and, when its box was ticked,
// writes the program version to solvo.ver. Returns whether the notice was shown.
bool showChangeNoticeIfDue(FileTable& files, const QString& workFolder,
                           const DiskDialogue& dialogue, QWidget* parent);

// Form9 shown modally (the start-up and the menu entry vikt).
void showScopeNotice(QWidget* parent);

}  // namespace solvow::forms

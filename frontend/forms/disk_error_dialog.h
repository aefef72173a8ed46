// The disk-error dialogue of the windows: a message box titled "Disk Error" with the message
// and buttons of the failed open, over the window that asked for the file.
#pragma once

#include "file_access.h"

class QWidget;

namespace solvow::forms {

// Shows `message` modally over `parent` and returns the button pressed. A box closed without
// a button (a box with only "Yes" and "No" cannot be) counts as Cancel.
DiskAnswer askDiskError(const DiskErrorMessage& message, QWidget* parent);

// The dialogue every file access of the windows is given; `parent` may be null.
DiskDialogue diskErrorDialogue(QWidget* parent);

}  // namespace solvow::forms

#pragma once

#include <string>

class QWidget;

// A modal box with the text, the caption and one OK button; the icon follows the box type
// (0x10 error, 0x30 exclamation, 0x40 information, 0x20 question). A non-empty `details` is
// offered behind "Show Details...". Returns IDOK when the user dismisses it.
int RunMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                  unsigned type, const std::string& details = {});

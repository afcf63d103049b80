#pragma once

#include "ui/framework/cdialog.h"

// The About box on template 100: fixed texts, OK, no bindings and no handlers of its own.
// OK, Enter, Escape and the close box end it through the framework's defaults.
class CAboutDlg : public CDialog {
  public:
    // `owner` is the window the box stays in front of while it runs.
    explicit CAboutDlg(DialogBackend& backend, CDialog* owner = nullptr);
    ~CAboutDlg() override;
};

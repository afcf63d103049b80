#include "ui/about_dlg.h"

#include "resources/about_dialog_template.h"

CAboutDlg::CAboutDlg(DialogBackend& backend, CDialog* owner)
    : CDialog(AboutDialogTemplate(), backend, owner) {}

CAboutDlg::~CAboutDlg() = default;

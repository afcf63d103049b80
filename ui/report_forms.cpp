#include "ui/report_forms.h"

#include "model/control_ids.h"
#include "ui/framework/cdialog.h"

void ReportForms::StatusReport(const char* text) {
    m_dialog.SetDlgItemText(IDC_STATUS, text);
}

void ReportForms::FailureReport(const char* text) {
    StatusReport(text);
    ErrorBox(text);
}

void ReportForms::FailureReport(const char* text, const char* details) {
    StatusReport(text);
    m_dialog.MessageBoxWithDetails(text, kCaption, MB_ICONERROR, details);
}

void ReportForms::ErrorBox(const char* text) {
    m_dialog.MessageBox(text, kCaption, MB_ICONERROR);
}

void ReportForms::ErrorBox(const char* text, const char* details) {
    m_dialog.MessageBoxWithDetails(text, kCaption, MB_ICONERROR, details);
}

void ReportForms::WarningBox(const char* text) {
    m_dialog.MessageBox(text, kCaption, MB_ICONEXCLAMATION);
}

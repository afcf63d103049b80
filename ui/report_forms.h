#pragma once

class CDialog;

// The four ways the main window tells the user an outcome: a status report on the status
// line, a failure report (status line, then error box), an error box alone and a warning box
// alone. The boxes are modal, owned by the window, and leave the status line alone.
class ReportForms {
  public:
    static constexpr const char* kCaption = "Lumivaro Configure Tool";

    explicit ReportForms(CDialog& dialog) : m_dialog(dialog) {}

    void StatusReport(const char* text);
    void FailureReport(const char* text);
    // The same report, with `details` behind the box's "Show Details" for those who need why.
    void FailureReport(const char* text, const char* details);
    void ErrorBox(const char* text);
    // The same box, with `details` behind "Show Details".
    void ErrorBox(const char* text, const char* details);
    void WarningBox(const char* text);

  private:
    CDialog& m_dialog;
};

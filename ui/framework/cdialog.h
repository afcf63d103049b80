#pragma once

#include <memory>
#include <string>

#include "ui/framework/data_exchange.h"
#include "ui/framework/dialog_backend.h"

inline constexpr unsigned CB_RESETCONTENT = 0x014B;
inline constexpr unsigned CB_ADDSTRING = 0x0143;

// A control reached by id: enable it, or send it a list message. Does nothing while the
// dialog has no window.
class CWnd {
  public:
    CWnd(DialogWindow* window, int id) : m_window(window), m_id(id) {}
    void EnableWindow(bool enable);
    // CB_RESETCONTENT (text ignored) or CB_ADDSTRING (appends `text`).
    void SendMessage(unsigned message, const char* text = nullptr);

  private:
    DialogWindow* m_window;
    int m_id;
};

// A modal dialog on a template, with the control exchange and the control operations by id.
// The window exists from Create until the dialog's modal run ends; control operations made
// without a window do nothing and read empty values.
class CDialog : public DialogEvents {
  public:
    CDialog(const DialogTemplate& dialogTemplate, DialogBackend& backend,
            CDialog* parent = nullptr);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Builds the window, runs OnInitDialog, then the modal loop, then destroys the window;
    // returns the result given to EndDialog (IDCANCEL when the window cannot be built).
    int DoModal();
    // Builds the window and runs OnInitDialog without a loop (tests drive it from outside).
    bool Create();
    void EndDialog(int result);

    // Base initialisation: the first load exchange. true: the focus goes to the first tab stop.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    // Save exchange; ends the dialog with IDOK only when every binding was read.
    virtual void OnOK();
    virtual void OnCancel();
    // IDOK and IDCANCEL (Enter and Escape) go to OnOK and OnCancel where the template lets
    // these keys end the dialog; every other command is ignored.
    void OnCommand(int id, int notifyCode) override;
    // The close command (close box, Alt+F4, Ctrl+Q) ends the dialog like Cancel; everything
    // else is left to the window.
    void OnSysCommand(unsigned commandId) override;

    // true: controls to settings, stopping at the first text that does not parse (false);
    // false: settings to controls, always completes.
    bool UpdateData(bool saveAndValidate = true);
    // After the prompt of a text that does not parse, before its control takes the focus: a
    // dialog that keeps some controls out of sight brings that one into view. Nothing here.
    virtual void RevealControl(int id);

    // Reads the control's text into `buffer` of `size` bytes, NUL-terminated, cut to fit;
    // returns the number of characters copied.
    int GetDlgItemText(int id, char* buffer, int size) const;
    void SetDlgItemText(int id, const char* text);
    CWnd GetDlgItem(int id);
    int MessageBox(const char* text, const char* caption, unsigned type);
    // A box whose `details` the user can unfold below its text ("Show Details...").
    int MessageBoxWithDetails(const char* text, const char* caption, unsigned type,
                              const char* details);
    void GetWindowRect(CRect* rect) const;
    // Size only: SWP_NOMOVE | SWP_NOZORDER.
    void SetWindowPos(int width, int height);
    // A separator and then an item with `commandId` at the end of the window menu.
    void AppendSystemMenu(unsigned commandId, const char* text);
    void SetIcon(int iconId, bool big);

    // The caption of the framework's own prompts: the application's title.
    const std::string& ApplicationTitle() const { return m_backend.ApplicationTitle(); }

    DialogWindow* Window() const { return m_window.get(); }
    const DialogTemplate& Template() const { return m_template; }
    DialogBackend& Backend() const { return m_backend; }

  private:
    int FirstTabStop() const;

    const DialogTemplate& m_template;
    DialogBackend& m_backend;
    CDialog* m_parent;
    std::unique_ptr<DialogWindow> m_window;
};

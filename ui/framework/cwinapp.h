#pragma once

#include <string>
#include <string_view>

class CDialog;
class DialogBackend;

// The application object: settles the application's title and runs InitInstance over the
// window backend it is started with. The program has no message loop of its own; its
// dialogs run theirs.
class CWinApp {
  public:
    // No name: the title is the executable's file name without extension.
    explicit CWinApp(std::string_view appName = {});
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The framework's start: sets the title, hands it to `backend`, calls InitInstance once.
    // Returns the process exit code (0).
    int Run(DialogBackend& backend, std::string_view executablePath);

    // The start-up routine. false: no loop of the application's own follows.
    virtual bool InitInstance();

    const std::string& AppName() const { return m_appName; }
    // The backend the application was started with; valid while Run runs.
    DialogBackend& Backend() const { return *m_backend; }

    // The dialog acting as the main window while it runs, if any.
    CDialog* m_pMainWnd = nullptr;

  private:
    std::string m_appName;
    DialogBackend* m_backend = nullptr;
};

// The file name of `executablePath` without folders and without its extension.
[[nodiscard]] std::string TitleFromExecutablePath(std::string_view executablePath);

#include "ui/framework/cwinapp.h"

#include "ui/framework/dialog_backend.h"

CWinApp::CWinApp(std::string_view appName) : m_appName(appName) {}

CWinApp::~CWinApp() = default;

int CWinApp::Run(DialogBackend& backend, std::string_view executablePath) {
    if (m_appName.empty()) {
        m_appName = TitleFromExecutablePath(executablePath);
    }
    backend.SetApplicationTitle(m_appName);
    m_backend = &backend;
    InitInstance();
    m_pMainWnd = nullptr;
    m_backend = nullptr;
    return 0;
}

bool CWinApp::InitInstance() {
    return false;
}

std::string TitleFromExecutablePath(std::string_view executablePath) {
    const std::size_t slash = executablePath.find_last_of('/');
    std::string_view name =
        slash == std::string_view::npos ? executablePath : executablePath.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) {
        name = name.substr(0, dot);
    }
    return std::string(name);
}

#include "ui/framework/cdialog.h"

#include <algorithm>
#include <cstring>

#include "ui/framework/dialog_template.h"

void CWnd::EnableWindow(bool enable) {
    if (m_window != nullptr) {
        m_window->EnableControl(m_id, enable);
    }
}

void CWnd::SendMessage(unsigned message, const char* text) {
    if (m_window == nullptr) {
        return;
    }
    if (message == CB_RESETCONTENT) {
        m_window->ResetContent(m_id);
    } else if (message == CB_ADDSTRING) {
        m_window->AddString(m_id, text != nullptr ? text : "");
    }
}

CDialog::CDialog(const DialogTemplate& dialogTemplate, DialogBackend& backend, CDialog* parent)
    : m_template(dialogTemplate), m_backend(backend), m_parent(parent) {}

CDialog::~CDialog() = default;

int CDialog::DoModal() {
    if (!Create()) {
        m_window.reset();
        return IDCANCEL;
    }
    const int result = m_window->RunModalLoop();
    m_window.reset();
    return result;
}

bool CDialog::Create() {
    DialogWindow* owner = m_parent != nullptr ? m_parent->Window() : nullptr;
    m_window = m_backend.CreateDialogWindow(m_template, *this, owner);
    if (m_window == nullptr) {
        return false;
    }
    if (OnInitDialog()) {
        const int firstTabStop = FirstTabStop();
        if (firstTabStop != kNoId && m_window != nullptr) {
            m_window->SetFocus(firstTabStop);
        }
    }
    return m_window != nullptr;
}

void CDialog::EndDialog(int result) {
    if (m_window != nullptr) {
        m_window->EndModalLoop(result);
    }
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

void CDialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnCommand(int id, int /*notifyCode*/) {
    if (!m_template.endsOnEnterAndEscape) {
        return;
    }
    if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        OnCancel();
    }
}

void CDialog::OnSysCommand(unsigned commandId) {
    if ((commandId & 0xFFF0U) == SC_CLOSE) {
        OnCancel();
    }
}

bool CDialog::UpdateData(bool saveAndValidate) {
    if (m_window == nullptr) {
        return false;
    }
    CDataExchange exchange(*this, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.Failed();
}

void CDialog::RevealControl(int /*id*/) {}

int CDialog::GetDlgItemText(int id, char* buffer, int size) const {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    const std::string text = m_window != nullptr ? m_window->GetText(id) : std::string();
    const std::size_t end = std::min(text.find('\0'), text.size());
    const std::size_t count = std::min(end, static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

void CDialog::SetDlgItemText(int id, const char* text) {
    if (m_window != nullptr) {
        m_window->SetText(id, text != nullptr ? text : "");
    }
}

CWnd CDialog::GetDlgItem(int id) {
    return CWnd(m_window.get(), id);
}

int CDialog::MessageBox(const char* text, const char* caption, unsigned type) {
    if (m_window == nullptr) {
        return 0;
    }
    return m_window->MessageBox(text != nullptr ? text : "", caption != nullptr ? caption : "",
                                type);
}

int CDialog::MessageBoxWithDetails(const char* text, const char* caption, unsigned type,
                                   const char* details) {
    if (m_window == nullptr) {
        return 0;
    }
    return m_window->MessageBoxWithDetails(text != nullptr ? text : "",
                                           caption != nullptr ? caption : "", type,
                                           details != nullptr ? details : "");
}

void CDialog::GetWindowRect(CRect* rect) const {
    if (rect != nullptr) {
        *rect = m_window != nullptr ? m_window->GetWindowRect() : CRect{};
    }
}

void CDialog::SetWindowPos(int width, int height) {
    if (m_window != nullptr) {
        m_window->SetWindowSize(std::max(width, 0), std::max(height, 0));
    }
}

void CDialog::AppendSystemMenu(unsigned commandId, const char* text) {
    if (m_window != nullptr && text != nullptr) {
        m_window->AppendSystemMenu(commandId, text);
    }
}

void CDialog::SetIcon(int iconId, bool big) {
    if (m_window != nullptr) {
        m_window->SetIcon(iconId, big);
    }
}

int CDialog::FirstTabStop() const {
    // Template order is tab order; group boxes, labels and pictures take no focus.
    for (const DialogItem& item : m_template.items) {
        switch (item.kind) {
            case ItemKind::GroupBox:
            case ItemKind::LabelRight:
            case ItemKind::LabelCenter:
            case ItemKind::LabelLeft:
            case ItemKind::IconPicture:
                break;
            default:
                if (item.id != kNoId) {
                    return item.id;
                }
        }
    }
    return kNoId;
}

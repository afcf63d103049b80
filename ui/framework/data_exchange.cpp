#include "ui/framework/data_exchange.h"

#include <optional>
#include <string>
#include <string_view>

#include "model/number_text.h"
#include "ui/framework/cdialog.h"
#include "ui/framework/framework_prompts.h"

namespace {

// The window of an exchange that may still run, or nothing once a binding has failed.
DialogWindow* LiveWindow(CDataExchange* pDX) {
    if (pDX == nullptr || pDX->Failed()) {
        return nullptr;
    }
    return pDX->Dialog().Window();
}

std::string TextUpToNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

// The prompt of a text that does not parse; then the control, brought into view, takes the
// focus with its whole text selected, and the rest of the exchange is skipped.
void FailBinding(CDataExchange* pDX, DialogWindow& window, int id, std::string_view prompt) {
    CDialog& dialog = pDX->Dialog();
    dialog.MessageBox(std::string(prompt).c_str(), dialog.ApplicationTitle().c_str(),
                      MB_ICONEXCLAMATION);
    dialog.RevealControl(id);
    window.SetFocus(id);
    window.SelectAllText(id);
    pDX->Fail();
}

// A number shown as text: printed on load; on save scanned, or the prompt when no number reads.
template <typename Number>
void ExchangeNumber(CDataExchange* pDX, int id, Number& value,
                    std::optional<Number> (*scan)(std::string_view), std::string (*format)(Number),
                    std::string_view prompt) {
    DialogWindow* window = LiveWindow(pDX);
    if (window == nullptr) {
        return;
    }
    if (!pDX->SaveAndValidate()) {
        window->SetText(id, format(value));
        return;
    }
    const std::optional<Number> scanned = scan(window->GetText(id));
    if (!scanned) {
        FailBinding(pDX, *window, id, prompt);
        return;
    }
    value = *scanned;
}

}  // namespace

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    DialogWindow* window = LiveWindow(pDX);
    if (window == nullptr) {
        return;
    }
    if (pDX->SaveAndValidate()) {
        value = window->GetCheck(id);
        return;
    }
    if (value < BST_UNCHECKED || value > BST_INDETERMINATE) {
        value = BST_UNCHECKED;
    }
    window->SetCheck(id, value);
}

void DDX_Check(CDataExchange* pDX, int id, bool& value) {
    int state = value ? BST_CHECKED : BST_UNCHECKED;
    DDX_Check(pDX, id, state);
    value = state != BST_UNCHECKED;
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
    DialogWindow* window = LiveWindow(pDX);
    if (window == nullptr) {
        return;
    }
    if (pDX->SaveAndValidate()) {
        value = TextUpToNul(window->GetText(id));
    } else {
        window->SetText(id, value);
    }
}

void DDX_Text(CDataExchange* pDX, int id, double& value) {
    ExchangeNumber(pDX, id, value, ScanRealText, FormatRealText, kParseRealPrompt);
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    ExchangeNumber(pDX, id, value, ScanIntegerText, FormatIntegerText, kParseIntPrompt);
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index) {
    DialogWindow* window = LiveWindow(pDX);
    if (window == nullptr) {
        return;
    }
    if (pDX->SaveAndValidate()) {
        const int selected = window->GetCurSel(id);
        index = selected >= 0 && selected < window->GetCount(id) ? selected : CB_ERR;
        return;
    }
    const bool inList = index >= 0 && index < window->GetCount(id);
    window->SetCurSel(id, inList ? index : CB_ERR);
}

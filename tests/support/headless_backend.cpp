#include "tests/support/headless_backend.h"

#include <algorithm>

#include "ui/framework/dialog_units.h"

namespace {

bool IsLabelKind(ItemKind kind) {
    return kind == ItemKind::GroupBox || kind == ItemKind::LabelRight ||
           kind == ItemKind::LabelCenter || kind == ItemKind::LabelLeft ||
           kind == ItemKind::IconPicture;
}

bool IsList(ItemKind kind) {
    return kind == ItemKind::DropDownList || kind == ItemKind::EditableDropDown;
}

bool IsPushButton(ItemKind kind) {
    return kind == ItemKind::PushButton || kind == ItemKind::DefPushButton;
}

bool HasTypableText(ItemKind kind) {
    return kind == ItemKind::Edit || kind == ItemKind::EditableDropDown;
}

}  // namespace

HeadlessWindow::HeadlessWindow(HeadlessBackend& backend, const DialogTemplate& dialogTemplate,
                               DialogEvents& events, DialogWindow* owner)
    : m_backend(backend), m_template(dialogTemplate), m_events(events), m_owner(owner) {
    for (const DialogItem& item : dialogTemplate.items) {
        if (item.id == kNoId || IsLabelKind(item.kind)) {
            continue;
        }
        Control control;
        control.kind = item.kind;
        control.text = std::string(item.text);
        control.item = &item;
        m_controls[item.id] = control;
    }
    for (const InitialList& list : dialogTemplate.lists) {
        for (std::string_view item : list.items) {
            AddString(list.id, std::string(item));
        }
    }
    m_rect = CRect{0, 0, DialogUnitsToPixels(dialogTemplate.width),
                   DialogUnitsToPixels(dialogTemplate.height)};
}

HeadlessWindow::~HeadlessWindow() {
    m_backend.Forget(this);
}

std::string HeadlessWindow::ShownText(const Control& control) {
    if (control.kind == ItemKind::DropDownList) {
        return control.selection >= 0 ? control.items[static_cast<std::size_t>(control.selection)]
                                      : std::string();
    }
    return control.text;
}

HeadlessWindow::Control* HeadlessWindow::Find(int id) {
    const auto found = m_controls.find(id);
    if (found == m_controls.end()) {
        ++m_unknownIdAccesses;
        return nullptr;
    }
    return &found->second;
}

const HeadlessWindow::Control* HeadlessWindow::Find(int id) const {
    const auto found = m_controls.find(id);
    if (found == m_controls.end()) {
        ++m_unknownIdAccesses;
        return nullptr;
    }
    return &found->second;
}

std::string HeadlessWindow::GetText(int id) const {
    const Control* control = Find(id);
    if (control == nullptr) {
        return {};
    }
    m_valueReads.push_back(id);
    return ShownText(*control);
}

void HeadlessWindow::SetText(int id, const std::string& text) {
    Control* control = Find(id);
    if (control == nullptr) {
        return;
    }
    if (control->kind == ItemKind::DropDownList) {
        // A list without an edit field shows only its items: the text picks the matching one.
        const auto match = std::find(control->items.begin(), control->items.end(), text);
        if (match != control->items.end()) {
            control->selection = static_cast<int>(match - control->items.begin());
        }
        return;
    }
    control->text = text;
    control->textSelection = {0, 0};
}

int HeadlessWindow::GetCheck(int id) const {
    const Control* control = Find(id);
    m_valueReads.push_back(id);
    return control != nullptr ? control->check : BST_UNCHECKED;
}

void HeadlessWindow::SetCheck(int id, int state) {
    if (Control* control = Find(id)) {
        control->check = state;
    }
}

int HeadlessWindow::GetCurSel(int id) const {
    const Control* control = Find(id);
    m_valueReads.push_back(id);
    return control != nullptr ? control->selection : CB_ERR;
}

void HeadlessWindow::SetCurSel(int id, int index) {
    Control* control = Find(id);
    if (control == nullptr || !IsList(control->kind)) {
        return;
    }
    const bool inList = index >= 0 && index < static_cast<int>(control->items.size());
    control->selection = inList ? index : CB_ERR;
    if (control->kind == ItemKind::EditableDropDown) {
        control->text = inList ? control->items[static_cast<std::size_t>(index)] : std::string();
    }
}

int HeadlessWindow::GetCount(int id) const {
    const Control* control = Find(id);
    return control != nullptr && IsList(control->kind) ? static_cast<int>(control->items.size())
                                                       : CB_ERR;
}

std::string HeadlessWindow::GetLBText(int id, int index) const {
    const Control* control = Find(id);
    if (control == nullptr || index < 0 || index >= static_cast<int>(control->items.size())) {
        return {};
    }
    return control->items[static_cast<std::size_t>(index)];
}

void HeadlessWindow::ResetContent(int id) {
    Control* control = Find(id);
    if (control == nullptr) {
        return;
    }
    control->items.clear();
    control->selection = CB_ERR;
    if (control->kind == ItemKind::EditableDropDown) {
        control->text.clear();
    }
}

void HeadlessWindow::AddString(int id, const std::string& item) {
    if (Control* control = Find(id)) {
        control->items.push_back(item);
    }
}

void HeadlessWindow::EnableControl(int id, bool enable) {
    m_enableLog.emplace_back(id, enable);
    if (Control* control = Find(id)) {
        control->enabled = enable;
    }
}

bool HeadlessWindow::IsControlEnabled(int id) const {
    const Control* control = Find(id);
    return control != nullptr && control->enabled;
}

void HeadlessWindow::SetFocus(int id) {
    if (const Control* control = Find(id); control != nullptr && control->shown) {
        m_focus = id;
    }
}

void HeadlessWindow::SelectAllText(int id) {
    if (Control* control = Find(id)) {
        control->textSelection = {0, static_cast<int>(ShownText(*control).size())};
    }
}

int HeadlessWindow::MessageBoxWithDetails(const std::string& text, const std::string& caption,
                                          unsigned type, const std::string& details) {
    return m_backend.ShowMessageBox(*this, text, caption, type, details);
}

CRect HeadlessWindow::GetWindowRect() const {
    return m_rect;
}

void HeadlessWindow::SetWindowSize(int width, int height) {
    m_rect.right = m_rect.left + width;
    m_rect.bottom = m_rect.top + height;
    for (auto& [id, control] : m_controls) {
        control.shown = IsItemInClientArea(*control.item, width, height);
        if (!control.shown && m_focus == id) {
            m_focus = kNoId;
        }
    }
}

void HeadlessWindow::AppendSystemMenu(unsigned commandId, const std::string& text) {
    m_systemMenu.push_back(SystemMenuItem{commandId, text});
}

void HeadlessWindow::SetIcon(int iconId, bool big) {
    m_icons.emplace_back(iconId, big);
}

std::optional<std::string> HeadlessWindow::ChooseFile(const FileChooserRequest& request) {
    return m_backend.ChooseFile(request);
}

void HeadlessWindow::WatchReadable(int fd, std::function<void()> onReadable) {
    m_watchedFd = fd;
    m_onReadable = std::move(onReadable);
}

int HeadlessWindow::RunModalLoop() {
    m_inModalLoop = true;
    while (!m_endResult) {
        std::optional<HeadlessBackend::UserAction> action = m_backend.NextAction();
        if (!action) {
            m_endResult = IDCANCEL;
            break;
        }
        (*action)(*this);
    }
    m_inModalLoop = false;
    const int result = *m_endResult;
    m_endResult.reset();
    return result;
}

void HeadlessWindow::EndModalLoop(int result) {
    m_endResult = result;
}

HeadlessWindow::Control* HeadlessWindow::Reachable(int id) {
    const auto found = m_controls.find(id);
    if (found == m_controls.end() || !found->second.enabled || !found->second.shown) {
        return nullptr;
    }
    return &found->second;
}

bool HeadlessWindow::IsControlShown(int id) const {
    const auto found = m_controls.find(id);
    return found != m_controls.end() && found->second.shown;
}

bool HeadlessWindow::Click(int id) {
    Control* reachable = Reachable(id);
    if (reachable == nullptr) {
        return false;
    }
    Control& control = *reachable;
    if (control.kind != ItemKind::CheckBox && !IsPushButton(control.kind)) {
        return false;
    }
    m_focus = id;
    if (control.kind == ItemKind::CheckBox) {
        // An automatic two-state box: checked goes to unchecked, anything else to checked.
        control.check = control.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    }
    m_events.OnCommand(id, BN_CLICKED);
    return true;
}

bool HeadlessWindow::Select(int id, int index) {
    const Control* control = Reachable(id);
    if (control == nullptr || !IsList(control->kind) || index < 0 ||
        index >= static_cast<int>(control->items.size())) {
        return false;
    }
    m_focus = id;
    SetCurSel(id, index);
    m_events.OnCommand(id, CBN_SELCHANGE);
    return true;
}

bool HeadlessWindow::Type(int id, const std::string& text) {
    Control* reachable = Reachable(id);
    if (reachable == nullptr || !HasTypableText(reachable->kind)) {
        return false;
    }
    m_focus = id;
    Control& control = *reachable;
    control.text = text;
    control.textSelection = {static_cast<int>(text.size()), static_cast<int>(text.size())};
    if (control.kind == ItemKind::EditableDropDown) {
        control.selection = CB_ERR;
    }
    return true;
}

void HeadlessWindow::PressEnter() {
    const auto found = m_controls.find(m_focus);
    if (found != m_controls.end() && IsPushButton(found->second.kind)) {
        Click(m_focus);
        return;
    }
    m_events.OnCommand(IDOK, BN_CLICKED);
}

void HeadlessWindow::PressTab() {
    std::vector<int> stops;
    for (const DialogItem& item : m_template.items) {
        const auto found = m_controls.find(item.id);
        if (found != m_controls.end() && found->second.enabled && found->second.shown) {
            stops.push_back(item.id);
        }
    }
    if (stops.empty()) {
        return;
    }
    const auto current = std::find(stops.begin(), stops.end(), m_focus);
    m_focus = current == stops.end() || current + 1 == stops.end() ? stops.front() : *(current + 1);
}

void HeadlessWindow::PressEscape() {
    m_events.OnCommand(IDCANCEL, BN_CLICKED);
}

bool HeadlessWindow::PressShortcut(std::string_view keys) {
    for (const Accelerator& accelerator : m_template.accelerators) {
        if (accelerator.keys == keys) {
            return Click(accelerator.id);
        }
    }
    return false;
}

void HeadlessWindow::CloseWindow() {
    m_events.OnSysCommand(SC_CLOSE);
}

void HeadlessWindow::ChooseSystemMenu(unsigned commandId) {
    m_events.OnSysCommand(commandId);
}

bool HeadlessWindow::FireReadable() {
    if (!m_onReadable) {
        return false;
    }
    m_onReadable();
    return true;
}

std::vector<int> HeadlessWindow::ControlIds() const {
    std::vector<int> ids;
    for (const auto& [id, control] : m_controls) {
        ids.push_back(id);
    }
    return ids;
}

std::vector<std::string> HeadlessWindow::Items(int id) const {
    const Control* control = Find(id);
    return control != nullptr ? control->items : std::vector<std::string>{};
}

std::pair<int, int> HeadlessWindow::TextSelection(int id) const {
    const Control* control = Find(id);
    return control != nullptr ? control->textSelection : std::pair<int, int>{0, 0};
}

HeadlessBackend::HeadlessBackend(std::string applicationTitle) {
    SetApplicationTitle(std::move(applicationTitle));
}

HeadlessBackend::~HeadlessBackend() = default;

std::unique_ptr<DialogWindow> HeadlessBackend::CreateDialogWindow(
    const DialogTemplate& dialogTemplate, DialogEvents& events, DialogWindow* owner) {
    auto window = std::make_unique<HeadlessWindow>(*this, dialogTemplate, events, owner);
    m_windows.push_back(window.get());
    return window;
}

HeadlessWindow* HeadlessBackend::TopWindow() const {
    return m_windows.empty() ? nullptr : m_windows.back();
}

HeadlessWindow* HeadlessBackend::FindWindow(int templateId) const {
    for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it) {
        if ((*it)->Template().id == templateId) {
            return *it;
        }
    }
    return nullptr;
}

void HeadlessBackend::AnswerNextFileChooser(std::optional<std::string> path) {
    m_fileAnswers.push_back(std::move(path));
}

int HeadlessBackend::ShowMessageBox(const HeadlessWindow& owner, const std::string& text,
                                    const std::string& caption, unsigned type,
                                    const std::string& details) {
    m_boxes.push_back(MessageBoxRecord{text, caption, type, owner.Template().id, details});
    if (!m_boxHandlers.empty()) {
        BoxHandler handler = std::move(m_boxHandlers.front());
        m_boxHandlers.pop_front();
        const MessageBoxRecord record = m_boxes.back();
        handler(record);
    }
    return IDOK;
}

std::optional<std::string> HeadlessBackend::ChooseFile(const FileChooserRequest& request) {
    m_fileRequests.push_back(request);
    if (m_fileAnswers.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(m_fileAnswers.front());
    m_fileAnswers.pop_front();
    return answer;
}

std::optional<HeadlessBackend::UserAction> HeadlessBackend::NextAction() {
    if (m_script.empty()) {
        return std::nullopt;
    }
    UserAction action = std::move(m_script.front());
    m_script.pop_front();
    return action;
}

void HeadlessBackend::Forget(const HeadlessWindow* window) {
    m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), window), m_windows.end());
}

#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/framework/dialog_backend.h"
#include "ui/framework/dialog_template.h"

class HeadlessBackend;

// A message box as the user saw it.
struct MessageBoxRecord {
    std::string text;
    std::string caption;
    unsigned type = 0;
    int ownerTemplateId = 0;
    std::string details;  // the text behind "Show Details...", empty for a plain box
};

// One entry of a window menu after the separator that precedes it.
struct SystemMenuItem {
    unsigned commandId = 0;
    std::string text;
};

// A window whose controls live in memory, built from the same template tables as the real
// window. Tests read its state and act on it as a person would. Controls that a shortened
// window cuts off are out of sight: they take no focus and no action until it grows again.
class HeadlessWindow : public DialogWindow {
  public:
    HeadlessWindow(HeadlessBackend& backend, const DialogTemplate& dialogTemplate,
                   DialogEvents& events, DialogWindow* owner);
    ~HeadlessWindow() override;
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    // --- DialogWindow
    std::string GetText(int id) const override;
    void SetText(int id, const std::string& text) override;
    int GetCheck(int id) const override;
    void SetCheck(int id, int state) override;
    int GetCurSel(int id) const override;
    void SetCurSel(int id, int index) override;
    int GetCount(int id) const override;
    std::string GetLBText(int id, int index) const override;
    void ResetContent(int id) override;
    void AddString(int id, const std::string& item) override;
    void EnableControl(int id, bool enable) override;
    bool IsControlEnabled(int id) const override;
    void SetFocus(int id) override;
    void SelectAllText(int id) override;
    int MessageBoxWithDetails(const std::string& text, const std::string& caption, unsigned type,
                              const std::string& details) override;
    CRect GetWindowRect() const override;
    void SetWindowSize(int width, int height) override;
    void AppendSystemMenu(unsigned commandId, const std::string& text) override;
    void SetIcon(int iconId, bool big) override;
    std::optional<std::string> ChooseFile(const FileChooserRequest& request) override;
    void WatchReadable(int fd, std::function<void()> onReadable) override;
    int RunModalLoop() override;
    void EndModalLoop(int result) override;

    // --- What a person does. Each returns false when the control cannot take the action
    // (unknown id, disabled, out of sight, or the wrong kind of control), and then nothing
    // happens.
    // A check box toggles first and then reports its click; any control clicked takes the focus.
    bool Click(int id);
    // Picks item `index` of a list, then reports the selection change.
    bool Select(int id, int index);
    // Replaces the text of an edit (or an editable drop-down's field) as if typed.
    bool Type(int id, const std::string& text);
    // Enter clicks a focused push button; elsewhere it is the OK command.
    void PressEnter();
    void PressEscape();
    // The focus moves to the next control in template order that is enabled and in sight.
    void PressTab();
    // The template's accelerator for `keys` ("Ctrl+O") clicks its button; false when the
    // template has none for them or the button cannot be clicked.
    bool PressShortcut(std::string_view keys);
    // The close box, Alt+F4 or Ctrl+Q: the close command.
    void CloseWindow();
    void ChooseSystemMenu(unsigned commandId);
    // Delivers a readiness notification to the watcher of the descriptor; false when none.
    bool FireReadable();

    // --- What a test inspects.
    const DialogTemplate& Template() const { return m_template; }
    DialogWindow* Owner() const { return m_owner; }
    bool HasControl(int id) const { return m_controls.count(id) != 0; }
    std::vector<int> ControlIds() const;
    std::vector<std::string> Items(int id) const;
    int Focus() const { return m_focus; }
    // Whether the control lies inside the window as it is sized now.
    bool IsControlShown(int id) const;
    // The selected character range of an edit's text: first and one past the last.
    std::pair<int, int> TextSelection(int id) const;
    const std::vector<SystemMenuItem>& SystemMenu() const { return m_systemMenu; }
    // Icons set, in order: icon id and whether it was the large one.
    const std::vector<std::pair<int, bool>>& Icons() const { return m_icons; }
    int WatchedFd() const { return m_watchedFd; }
    bool InModalLoop() const { return m_inModalLoop; }
    // Calls of control operations that named no control of this window.
    int UnknownIdAccesses() const { return m_unknownIdAccesses; }
    // Ids whose value (text, check state or selection) was read, in order of reading.
    const std::vector<int>& ValueReads() const { return m_valueReads; }
    // Every enable switch made, in order: id and new state.
    const std::vector<std::pair<int, bool>>& EnableLog() const { return m_enableLog; }
    void ClearLogs() {
        m_valueReads.clear();
        m_enableLog.clear();
    }

  private:
    struct Control {
        ItemKind kind = ItemKind::Edit;
        std::string text;
        int check = 0;
        std::vector<std::string> items;
        int selection = -1;
        bool enabled = true;
        bool shown = true;
        const DialogItem* item = nullptr;
        std::pair<int, int> textSelection{0, 0};
    };

    // The control a person can reach: known, enabled and in sight; nullptr otherwise.
    Control* Reachable(int id);
    Control* Find(int id);
    const Control* Find(int id) const;
    // A list without an edit field shows its selected item; everything else its own text.
    static std::string ShownText(const Control& control);

    HeadlessBackend& m_backend;
    const DialogTemplate& m_template;
    DialogEvents& m_events;
    DialogWindow* m_owner;
    std::map<int, Control> m_controls;
    mutable int m_unknownIdAccesses = 0;
    mutable std::vector<int> m_valueReads;
    std::vector<std::pair<int, bool>> m_enableLog;
    int m_focus = kNoId;
    CRect m_rect;
    std::vector<SystemMenuItem> m_systemMenu;
    std::vector<std::pair<int, bool>> m_icons;
    int m_watchedFd = -1;
    std::function<void()> m_onReadable;
    bool m_inModalLoop = false;
    std::optional<int> m_endResult;
};

// Builds headless windows and plays the user's part: answers boxes and file choosers and runs
// scripted actions inside modal loops.
class HeadlessBackend : public DialogBackend {
  public:
    using UserAction = std::function<void(HeadlessWindow&)>;
    using BoxHandler = std::function<void(const MessageBoxRecord&)>;

    explicit HeadlessBackend(std::string applicationTitle = "lvcfg");
    ~HeadlessBackend() override;
    HeadlessBackend(const HeadlessBackend&) = delete;
    HeadlessBackend& operator=(const HeadlessBackend&) = delete;

    std::unique_ptr<DialogWindow> CreateDialogWindow(const DialogTemplate& dialogTemplate,
                                                     DialogEvents& events,
                                                     DialogWindow* owner) override;

    // Live windows, the most recently built last.
    const std::vector<HeadlessWindow*>& Windows() const { return m_windows; }
    HeadlessWindow* TopWindow() const;
    HeadlessWindow* FindWindow(int templateId) const;

    // Every message box shown so far, in order of opening.
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_boxes; }
    void ClearMessageBoxes() { m_boxes.clear(); }
    // Runs `handler` while the next box that has no handler yet is open (one per box, in order).
    void WhileNextBoxOpen(BoxHandler handler) { m_boxHandlers.push_back(std::move(handler)); }

    // The answer of the next file chooser: a path, or nothing for Cancel. Unanswered: Cancel.
    void AnswerNextFileChooser(std::optional<std::string> path);
    const std::vector<FileChooserRequest>& FileChooserRequests() const { return m_fileRequests; }

    // An action run by the innermost modal loop, on the window that runs it. Loops take the
    // actions in order; a loop that finds none left ends with IDCANCEL.
    void Script(UserAction action) { m_script.push_back(std::move(action)); }
    std::size_t PendingActions() const { return m_script.size(); }

    // Used by the windows.
    int ShowMessageBox(const HeadlessWindow& owner, const std::string& text,
                       const std::string& caption, unsigned type, const std::string& details);
    std::optional<std::string> ChooseFile(const FileChooserRequest& request);
    std::optional<UserAction> NextAction();
    void Forget(const HeadlessWindow* window);

  private:
    std::vector<HeadlessWindow*> m_windows;
    std::vector<MessageBoxRecord> m_boxes;
    std::deque<BoxHandler> m_boxHandlers;
    std::deque<std::optional<std::string>> m_fileAnswers;
    std::vector<FileChooserRequest> m_fileRequests;
    std::deque<UserAction> m_script;
};

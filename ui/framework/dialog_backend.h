#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/framework/dialog_template.h"

struct DialogTemplate;

// Framework constants under their customary names.
inline constexpr int BN_CLICKED = 0;
inline constexpr int CBN_SELCHANGE = 1;
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;
inline constexpr int BST_INDETERMINATE = 2;
inline constexpr int CB_ERR = -1;
inline constexpr unsigned SC_CLOSE = 0xF060;

// Outer window rectangle in screen pixels.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// What the window tells its dialog: commands from controls and keys, and system-menu commands.
// IDOK arrives for Enter (when no push button has the focus), IDCANCEL for Escape; the close
// box, Alt+F4 and Ctrl+Q arrive as the system command SC_CLOSE.
class DialogEvents {
  public:
    virtual ~DialogEvents() = default;
    virtual void OnCommand(int id, int notifyCode) = 0;
    virtual void OnSysCommand(unsigned commandId) = 0;
};

// The file chooser's settings: variant, default extension, initial name, filter entries.
struct FileChooserRequest {
    bool save = false;  // the save variant asks before replacing an existing file
    std::string defaultExtension;
    std::string initialName;
    struct Filter {
        std::string description;  // "Configuration files(*.cfg)"
        std::string pattern;      // "*.cfg"
    };
    std::vector<Filter> filters;
};

// One live window built from a template. Controls are reached by id; texts are UTF-8.
// Lists receive their initial items when the window is built.
class DialogWindow {
  public:
    virtual ~DialogWindow() = default;

    virtual std::string GetText(int id) const = 0;
    virtual void SetText(int id, const std::string& text) = 0;
    virtual int GetCheck(int id) const = 0;
    virtual void SetCheck(int id, int state) = 0;   // 0, 1 or 2
    virtual int GetCurSel(int id) const = 0;        // CB_ERR when nothing is selected
    virtual void SetCurSel(int id, int index) = 0;  // an index outside the list selects nothing
    virtual int GetCount(int id) const = 0;
    virtual std::string GetLBText(int id, int index) const = 0;
    virtual void ResetContent(int id) = 0;
    virtual void AddString(int id, const std::string& item) = 0;
    virtual void EnableControl(int id, bool enable) = 0;
    virtual bool IsControlEnabled(int id) const = 0;
    virtual void SetFocus(int id) = 0;
    virtual void SelectAllText(int id) = 0;

    // A modal box owned by this window; returns when the user dismisses it (IDOK).
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) {
        return MessageBoxWithDetails(text, caption, type, {});
    }
    // The same box with a detailed text that the user can unfold below the text; an empty
    // `details` gives the plain box.
    virtual int MessageBoxWithDetails(const std::string& text, const std::string& caption,
                                      unsigned type, const std::string& details) = 0;
    virtual CRect GetWindowRect() const = 0;
    virtual void SetWindowSize(int width, int height) = 0;  // position and stacking stay
    virtual void AppendSystemMenu(unsigned commandId,
                                  const std::string& text) = 0;  // separator + item
    virtual void SetIcon(int iconId, bool big) = 0;
    // A modal file chooser; the chosen full path, or nothing when the user cancels.
    virtual std::optional<std::string> ChooseFile(const FileChooserRequest& request) = 0;
    // Calls `onReadable` on the user-interface thread whenever `fd` has data, also while a
    // modal box is open. Used for device-arrival notifications.
    virtual void WatchReadable(int fd, std::function<void()> onReadable) = 0;

    // Runs the window modally until EndModalLoop; returns the result given there. A result
    // given before the loop starts ends it at once.
    virtual int RunModalLoop() = 0;
    virtual void EndModalLoop(int result) = 0;
};

// Builds windows from templates: the Qt backend for the real program, a headless one for tests.
class DialogBackend {
  public:
    virtual ~DialogBackend() = default;
    virtual std::unique_ptr<DialogWindow> CreateDialogWindow(const DialogTemplate& dialogTemplate,
                                                             DialogEvents& events,
                                                             DialogWindow* owner) = 0;

    // The application's title, the caption of the framework's own prompts. The application
    // object sets it once at start (the executable's name); every dialog built here uses it.
    void SetApplicationTitle(std::string title) { m_applicationTitle = std::move(title); }
    const std::string& ApplicationTitle() const { return m_applicationTitle; }

  private:
    std::string m_applicationTitle;
};

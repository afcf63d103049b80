#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/headless_backend.h"
#include "ui/framework/dialog_backend.h"
#include "ui/framework/dialog_template.h"

// A message box as the person in front of it saw it before pressing OK.
struct SeenBox {
    std::string caption;
    std::string text;
    unsigned icon = 0;  // MB_ICONERROR or MB_ICONEXCLAMATION
    std::string details;
    int result = 0;  // what the window's call returned
};

// One template window of a backend under test, with a person in front of it: the window the
// program drives, and what that person does and sees. The same contract runs on every
// backend through this seam.
class WindowDriver {
  public:
    virtual ~WindowDriver() = default;

    [[nodiscard]] virtual DialogWindow& Window() = 0;

    // A mouse click on a button or check box; nothing where a person cannot click.
    virtual void Click(int id) = 0;
    // Clicks into an edit (or a drop-down's field) and types `text` over what it held; nothing
    // where a person cannot reach the field.
    virtual void Type(int id, const std::string& text) = 0;
    // Picks item `index` of a list as a person does.
    virtual void Pick(int id, int index) = 0;
    virtual void PressEnter() = 0;
    virtual void PressEscape() = 0;
    virtual void PressTab() = 0;
    // "Ctrl+O" and the like.
    virtual void PressShortcut(std::string_view keys) = 0;
    // The close box (or Alt+F4, which asks the same of the window).
    virtual void CloseWindow() = 0;
    virtual void ChooseWindowMenuItem(unsigned commandId) = 0;

    // The control that has the keyboard focus, kNoId when none has it.
    [[nodiscard]] virtual int Focus() = 0;
    [[nodiscard]] virtual std::string SelectedText(int id) = 0;
    // The items added after the window menu's own, each after its separator.
    [[nodiscard]] virtual std::vector<SystemMenuItem> WindowMenu() = 0;

    // Shows a box through the window and answers it with OK.
    virtual SeenBox ShowBox(const std::string& text, const std::string& caption, unsigned type,
                            const std::string& details) = 0;
    // Runs the window's modal loop with `inside` running in it; the loop's result.
    virtual int RunLoop(std::function<void()> inside) = 0;
    // Lets the window serve a descriptor that has become readable; true once `served` holds.
    virtual bool ServeReadable(const std::function<bool()>& served) = 0;
};

// Opens a window of `dialogTemplate` whose events go to `events`.
struct BackendUnderTest {
    const char* name;
    std::unique_ptr<WindowDriver> (*open)(const DialogTemplate& dialogTemplate,
                                          DialogEvents& events);
};

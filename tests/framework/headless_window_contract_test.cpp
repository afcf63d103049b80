// The window contract on the headless backend.

#include <memory>

#include "tests/support/dialog_window_contract.h"
#include "tests/support/headless_backend.h"

namespace {

class HeadlessDriver : public WindowDriver {
  public:
    HeadlessDriver(const DialogTemplate& dialogTemplate, DialogEvents& events)
        : m_owned(m_backend.CreateDialogWindow(dialogTemplate, events, nullptr)),
          m_window(static_cast<HeadlessWindow&>(*m_owned)) {}

    DialogWindow& Window() override { return m_window; }
    void Click(int id) override { m_window.Click(id); }
    void Type(int id, const std::string& text) override { m_window.Type(id, text); }
    void Pick(int id, int index) override { m_window.Select(id, index); }
    void PressEnter() override { m_window.PressEnter(); }
    void PressEscape() override { m_window.PressEscape(); }
    void PressTab() override { m_window.PressTab(); }
    void PressShortcut(std::string_view keys) override { m_window.PressShortcut(keys); }
    void CloseWindow() override { m_window.CloseWindow(); }
    void ChooseWindowMenuItem(unsigned commandId) override { m_window.ChooseSystemMenu(commandId); }
    int Focus() override { return m_window.Focus(); }
    std::string SelectedText(int id) override {
        const auto [first, last] = m_window.TextSelection(id);
        return m_window.GetText(id).substr(static_cast<std::size_t>(first),
                                           static_cast<std::size_t>(last - first));
    }
    std::vector<SystemMenuItem> WindowMenu() override { return m_window.SystemMenu(); }
    SeenBox ShowBox(const std::string& text, const std::string& caption, unsigned type,
                    const std::string& details) override {
        const int result = m_window.MessageBoxWithDetails(text, caption, type, details);
        const MessageBoxRecord& box = m_backend.MessageBoxes().back();
        return {box.caption, box.text, box.type, box.details, result};
    }
    int RunLoop(std::function<void()> inside) override {
        m_backend.Script([inside = std::move(inside)](HeadlessWindow&) { inside(); });
        return m_window.RunModalLoop();
    }
    bool ServeReadable(const std::function<bool()>& served) override {
        m_window.FireReadable();
        return served();
    }

  private:
    HeadlessBackend m_backend;
    std::unique_ptr<DialogWindow> m_owned;
    HeadlessWindow& m_window;
};

std::unique_ptr<WindowDriver> OpenHeadless(const DialogTemplate& dialogTemplate,
                                           DialogEvents& events) {
    return std::make_unique<HeadlessDriver>(dialogTemplate, events);
}

}  // namespace

LVCFG_DIALOG_WINDOW_CONTRACT(Headless, (BackendUnderTest{"Headless", OpenHeadless}));

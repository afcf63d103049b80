#pragma once

#include <QPointer>
#include <QSize>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "ui/framework/dialog_backend.h"
#include "ui/qt/template_dialog.h"

struct DialogItem;

// A template window on Qt Widgets: a fixed-size dialog without minimise or maximise box,
// 1.5 pixels per dialog unit, the template font, controls reached by their ids. A window
// without owner is the application's own top-level window with its taskbar entry; an owned
// one is a dialog in front of its owner. Items that a shortened window cuts off are hidden,
// so they take no focus, and come back in template order when the window grows again.
class QtDialogWindow : public DialogWindow {
  public:
    QtDialogWindow(const DialogTemplate& dialogTemplate, DialogEvents& events, QWidget* owner);
    ~QtDialogWindow() override;
    QtDialogWindow(const QtDialogWindow&) = delete;
    QtDialogWindow& operator=(const QtDialogWindow&) = delete;

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

    // The window itself, for tests and screenshots.
    [[nodiscard]] TemplateDialog* Dialog() const { return m_dialog; }
    [[nodiscard]] QWidget* Control(int id) const;

  private:
    void BuildItems(const DialogTemplate& dialogTemplate, DialogEvents& events);
    void FillInitialLists(const DialogTemplate& dialogTemplate);
    void InstallAccelerators(const DialogTemplate& dialogTemplate);
    void SetClientSize(QSize size);

    QPointer<TemplateDialog> m_dialog;
    std::map<int, QWidget*> m_controls;
    std::vector<std::pair<const DialogItem*, QWidget*>> m_items;
    // Frame size (outer minus client) as first reported by GetWindowRect. The dialog object
    // derives later sizes from that rectangle, so they are read back in the same terms, even
    // where the window manager's frame becomes known only after the window is shown.
    mutable std::optional<QSize> m_reportedFrame;
    std::optional<int> m_iconId;  // the icon the window carries
};

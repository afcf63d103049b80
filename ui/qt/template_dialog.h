#pragma once

#include <QDialog>
#include <optional>

class DialogEvents;
class QMenu;

// The QDialog of one template window. It ends only when its dialog object says so
// (EndModal): Enter and Escape become commands for the dialog object, the close box, Alt+F4
// and Ctrl+Q its close command, and the window menu delivers its items as system commands.
class TemplateDialog : public QDialog {
  public:
    TemplateDialog(DialogEvents& events, QWidget* owner);

    // Our own small window menu, opened by the Menu key, by a right-click on the dialog's
    // background and by Alt+Space where the window manager leaves that key to the program:
    // window managers do not let a program extend their own menu.
    void AppendWindowMenuItem(unsigned commandId, const QString& text);
    [[nodiscard]] QMenu& WindowMenu() const { return *m_windowMenu; }
    void OpenWindowMenu(const QPoint& globalPosition);

    // Runs the modal loop; a result given by EndModal before the loop started ends it at once.
    int RunModal();
    void EndModal(int result);

    // The keyboard focus goes to the first tab stop unless the dialog object placed it.
    void FocusFirstTabStopUnlessFocused();

    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void RouteEnter();

    DialogEvents& m_events;
    QMenu* m_windowMenu;
    bool m_inModalLoop = false;
    bool m_ending = false;
    std::optional<int> m_earlyResult;
};

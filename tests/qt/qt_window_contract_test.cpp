// The window contract on the Qt backend, driven with real key and mouse events on the
// offscreen platform.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <memory>

#include "modal_answerer.h"
#include "tests/support/dialog_window_contract.h"
#include "ui/qt/qt_dialog_window.h"
#include "ui/qt/template_widgets.h"

namespace {

class QtDriver : public WindowDriver {
  public:
    QtDriver(const DialogTemplate& dialogTemplate, DialogEvents& events)
        : m_window(dialogTemplate, events, nullptr) {
        // Shown and active, as a person finds it: keys reach only the active window.
        Dialog().show();
        Dialog().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Dialog()));
    }

    DialogWindow& Window() override { return m_window; }

    void Click(int id) override {
        if (QWidget* control = Reachable(id)) {
            QTest::mouseClick(control, Qt::LeftButton);
        }
    }

    void Type(int id, const std::string& text) override {
        QWidget* control = Reachable(id);
        QLineEdit* edit = qobject_cast<QLineEdit*>(control);
        if (auto* combo = qobject_cast<QComboBox*>(control); combo != nullptr) {
            edit = combo->lineEdit();
        }
        if (edit == nullptr) {
            return;
        }
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, QString::fromStdString(text));
    }

    void Pick(int id, int index) override {
        auto* combo = qobject_cast<QComboBox*>(Reachable(id));
        if (combo == nullptr) {
            return;
        }
        // Down and Up from the current item are picks, as the popup's are.
        combo->setFocus();
        while (combo->currentIndex() < index) {
            QTest::keyClick(combo, Qt::Key_Down);
        }
        while (combo->currentIndex() > index) {
            QTest::keyClick(combo, Qt::Key_Up);
        }
    }

    void PressEnter() override { QTest::keyClick(FocusOrDialog(), Qt::Key_Return); }
    void PressEscape() override { QTest::keyClick(FocusOrDialog(), Qt::Key_Escape); }
    void PressTab() override { QTest::keyClick(FocusOrDialog(), Qt::Key_Tab); }
    void PressShortcut(std::string_view keys) override {
        QTest::keySequence(&Dialog(),
                           QKeySequence(QString::fromUtf8(keys.data(), qsizetype(keys.size()))));
    }
    void CloseWindow() override { Dialog().close(); }

    void ChooseWindowMenuItem(unsigned commandId) override {
        for (QAction* action : m_window.Dialog()->WindowMenu().actions()) {
            if (!action->isSeparator() && action->data().toUInt() == commandId) {
                action->trigger();
            }
        }
    }

    int Focus() override {
        for (QWidget* widget = Dialog().focusWidget(); widget != nullptr && widget != &Dialog();
             widget = widget->parentWidget()) {
            if (ControlIdOf(*widget) != kNoId) {
                return ControlIdOf(*widget);
            }
        }
        return kNoId;
    }

    std::string SelectedText(int id) override {
        auto* edit = qobject_cast<QLineEdit*>(m_window.Control(id));
        return edit != nullptr ? edit->selectedText().toStdString() : std::string();
    }

    std::vector<SystemMenuItem> WindowMenu() override {
        std::vector<SystemMenuItem> items;
        bool afterSeparator = false;
        for (QAction* action : m_window.Dialog()->WindowMenu().actions()) {
            if (action->isSeparator()) {
                afterSeparator = true;
            } else if (afterSeparator) {
                items.push_back({action->data().toUInt(), action->text().toStdString()});
                afterSeparator = false;
            }
        }
        return items;
    }

    SeenBox ShowBox(const std::string& text, const std::string& caption, unsigned type,
                    const std::string& details) override {
        SeenBox seen;
        AnswerNextModal(
            [&seen](QWidget& modal) {
                auto* box = qobject_cast<QMessageBox*>(&modal);
                if (box == nullptr) {
                    return;
                }
                seen.caption = box->windowTitle().toStdString();
                seen.text = box->text().toStdString();
                seen.icon = box->icon() == QMessageBox::Critical  ? MB_ICONERROR
                            : box->icon() == QMessageBox::Warning ? MB_ICONEXCLAMATION
                                                                  : 0;
                seen.details = box->detailedText().toStdString();
                box->button(QMessageBox::Ok)->click();
            },
            &Dialog());
        seen.result = m_window.MessageBoxWithDetails(text, caption, type, details);
        return seen;
    }

    int RunLoop(std::function<void()> inside) override {
        QTimer::singleShot(0, &Dialog(), std::move(inside));
        return m_window.RunModalLoop();
    }

    bool ServeReadable(const std::function<bool()>& served) override {
        return QTest::qWaitFor(served, 5000);
    }

  private:
    QWidget& Dialog() { return *m_window.Dialog(); }
    QWidget* FocusOrDialog() {
        QWidget* focus = Dialog().focusWidget();
        return focus != nullptr ? focus : &Dialog();
    }
    // A control a person can point at: one in sight. Events for a hidden widget would still
    // reach it, a person's could not; a disabled one is left to Qt to refuse.
    QWidget* Reachable(int id) {
        QWidget* control = m_window.Control(id);
        return control != nullptr && control->isVisibleTo(&Dialog()) ? control : nullptr;
    }

    QtDialogWindow m_window;
};

std::unique_ptr<WindowDriver> OpenQt(const DialogTemplate& dialogTemplate, DialogEvents& events) {
    return std::make_unique<QtDriver>(dialogTemplate, events);
}

}  // namespace

LVCFG_DIALOG_WINDOW_CONTRACT(Qt, (BackendUnderTest{"Qt", OpenQt}));

#pragma once

// The main window as the program runs it (DoModal) on the Qt backend, driven from inside its
// own event loop as a person would drive it: clicks, keys, typing, answers to boxes.

#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <string>

#include "ui/lvcfg_dlg.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_dialog_window.h"

class QLineEdit;

class MainWindowSession : public ::testing::Test {
  protected:
    static constexpr int kSessionTimedOut = -100;

    explicit MainWindowSession(LVCfgDlgServices services = {});

    // Runs the window; `script` acts in it once its loop runs. Ends the window after 20 s
    // should the script leave it open.
    int Run(std::function<void()> script);

    QWidget& Dialog() { return *window->Dialog(); }
    // The control as the window's template names it: the widget called "ctl<id>".
    QWidget& Control(int id);
    // The editor of a control that takes typing: an edit or an editable drop-down.
    QLineEdit& EditorOf(int id);
    void Click(int id);
    void Type(int id, const QString& text);
    void Key(int id, Qt::Key key);
    // Ctrl+Q, which ends the program as its close box does.
    void Quit();
    // What the control shows: the text of an edit, a label, a button or the selected item.
    std::string Shown(int id);
    // Runs the event loop until the status line shows `text` (true), or for at most
    // `limitMilliseconds` (false). What happens meanwhile comes from the loop alone.
    bool WaitForStatus(const QString& text, int limitMilliseconds = 3000);

    QtBackend backend;
    CLVCfgDlg dlg;
    QtDialogWindow* window = nullptr;
};

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "main_window_session.h"
#include "modal_answerer.h"
#include "model/control_ids.h"
#include "resources/main_dialog_template.h"
#include "ui/lvcfg_dlg.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_dialog_window.h"

// The close box, Alt+F4 (both a close request to the window) and Ctrl+Q end the program.
TEST_F(MainWindowSession, CloseBoxEndsTheDialog) {
    EXPECT_EQ(Run([this] {
                  Type(IDC_NETWORK_ID, "abc");
                  Dialog().close();
              }),
              IDCANCEL);
    EXPECT_EQ(dlg.Settings().m_nNetworkId, 0);
}

TEST_F(MainWindowSession, CtrlQEndsTheDialogFromAnyControl) {
    EXPECT_EQ(Run([this] {
                  Type(IDC_NETWORK_ID, "abc");
                  Quit();
              }),
              IDCANCEL);
}

// Enter away from a push button and Escape do nothing in the main window: no exchange, no
// prompt, and the window stays open.
struct StrayKey {
    const char* name;
    int field;
    const char* text;
    Qt::Key key;
};

class StrayKeyInTheWindow : public MainWindowSession,
                            public ::testing::WithParamInterface<StrayKey> {};

TEST_P(StrayKeyInTheWindow, LeavesTheWindowOpenWithoutPrompt) {
    const StrayKey& row = GetParam();
    bool stillOpen = false;
    bool focusStayed = false;
    EXPECT_EQ(Run([&] {
                  Type(row.field, row.text);
                  QTest::keyClick(&EditorOf(row.field), row.key);
                  QTest::qWait(0);
                  stillOpen =
                      Dialog().isVisible() && QApplication::activeModalWidget() == &Dialog();
                  QWidget* focus = Dialog().focusWidget();
                  focusStayed = focus == &EditorOf(row.field) || focus == &Control(row.field);
                  Quit();
              }),
              IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(focusStayed);
    EXPECT_EQ(dlg.Settings().m_nNetworkId, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, StrayKeyInTheWindow,
    ::testing::Values(StrayKey{"EnterWithValidNumber", IDC_NETWORK_ID, "77", Qt::Key_Return},
                      StrayKey{"KeypadEnterWithValidNumber", IDC_NETWORK_ID, "77", Qt::Key_Enter},
                      StrayKey{"EnterWithUnparsableNumber", IDC_NETWORK_ID, "abc", Qt::Key_Return},
                      StrayKey{"EscapeWithValidNumber", IDC_NETWORK_ID, "77", Qt::Key_Escape},
                      StrayKey{"EscapeInThePortBox", IDC_COM_PORT, "COM3", Qt::Key_Escape}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowSession, EnterOnAFocusedButtonClicksThatButton) {
    std::string caption;
    EXPECT_EQ(Run([&] {
                  Control(IDC_ADVANCED).setFocus();
                  Key(IDC_ADVANCED, Qt::Key_Return);
                  caption = window->GetText(IDC_ADVANCED);
                  Quit();
              }),
              IDCANCEL);
    EXPECT_EQ(caption, "Advanced<<");
}

TEST_F(MainWindowSession, AdvancedTwiceShowsThenHidesThePanel) {
    Run([this] {
        const int shrunk = window->GetWindowRect().Height();
        Click(IDC_ADVANCED);
        EXPECT_EQ(window->GetWindowRect().Height(), (dlg.m_rcFull.bottom - dlg.m_rcFull.top));
        EXPECT_EQ(window->GetText(IDC_ADVANCED), "Advanced<<");
        EXPECT_EQ(dlg.m_bAdvancedShown, 1);
        Click(IDC_ADVANCED);
        EXPECT_EQ(window->GetWindowRect().Height(), shrunk);
        EXPECT_EQ(shrunk, (dlg.m_rcFull.bottom - dlg.m_rcFull.top) - 93);
        EXPECT_EQ(window->GetText(IDC_ADVANCED), "Advanced>>");
        EXPECT_EQ(dlg.m_bAdvancedShown, 0);
        Quit();
    });
}

TEST_F(MainWindowSession, AutoConfigLocksEverythingButItselfAndTheStatusLine) {
    Run([this] {
        Click(IDC_AUTO_CONFIG);
        for (int id = kFirstControlId; id <= kLastControlId; ++id) {
            EXPECT_EQ(window->IsControlEnabled(id), id <= IDC_STATUS) << id;
        }
        Click(IDC_AUTO_CONFIG);
        for (int id = kFirstControlId; id <= kLastControlId; ++id) {
            EXPECT_TRUE(window->IsControlEnabled(id)) << id;
        }
        Quit();
    });
}

TEST_F(MainWindowSession, ApplyAdjustsAnOutOfRangeStartFrequencyWithOneWarning) {
    SeenMessageBox warning;
    std::string shown;
    std::string status;
    Run([&] {
        Type(IDC_START_FREQ, "500");
        ClickOkInNextMessageBox(warning, &Dialog());
        Click(IDC_APPLY);
        shown = window->GetText(IDC_START_FREQ);
        status = window->GetText(IDC_STATUS);
        Quit();
    });
    ASSERT_TRUE(warning.seen);
    EXPECT_EQ(warning.caption, "Lumivaro Configure Tool");
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    EXPECT_TRUE(warning.text.contains("500")) << warning.text.toStdString();
    EXPECT_EQ(shown, "479.999847412109");
    EXPECT_EQ(status, "");
}

TEST_F(MainWindowSession, AboutItemOpensTheAboutBoxWithItsTexts) {
    QStringList labels;
    QString caption;
    int opened = 0;
    Run([&] {
        // Escape, Enter (on the default OK button) and a click on OK each end the box.
        auto readAndClose = [&](QWidget& about, Qt::Key key) {
            ++opened;
            caption = about.windowTitle();
            labels.clear();
            for (QLabel* label : about.findChildren<QLabel*>()) {
                labels << label->text();
            }
            if (key != Qt::Key_unknown) {
                QTest::keyClick(&about, key);
            } else {
                QTest::mouseClick(about.findChild<QPushButton*>("ctl1"), Qt::LeftButton);
            }
        };
        QAction* item = window->Dialog()->WindowMenu().actions().back();
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_unknown}) {
            AnswerNextModal([&readAndClose, key](QWidget& about) { readAndClose(about, key); },
                            &Dialog());
            item->trigger();
        }
        EXPECT_TRUE(Dialog().isVisible());
        Quit();
    });
    EXPECT_EQ(opened, 3);
    EXPECT_EQ(caption, "About Lumivaro Configure Tool");
    EXPECT_TRUE(labels.contains("Version: 1.6"));
    EXPECT_TRUE(labels.contains(
        QString::fromUtf8("KTR TOOL \u2013 ORBA III Configuration Software For KTR5520Q")));
    EXPECT_TRUE(labels.contains(""));
}

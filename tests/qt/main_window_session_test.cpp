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
#include "resources/main_dialog_template.h"
#include "resources/control_ids.h"
#include "ui/lvcfg_dlg.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_dialog_window.h"

TEST_F(MainWindowSession, EscapeEndsTheDialogAtOnce) {
    EXPECT_EQ(Run([this] { Key(IDC_NETWORK_ID, Qt::Key_Escape); }), IDCANCEL);
}

TEST_F(MainWindowSession, CloseBoxEndsTheDialog) {
    EXPECT_EQ(Run([this] { Dialog().close(); }), IDCANCEL);
}

TEST_F(MainWindowSession, EnterWithValidContentsEndsWithOk) {
    EXPECT_EQ(Run([this] {
                  Type(IDC_NETWORK_ID, "77");
                  Key(IDC_NETWORK_ID, Qt::Key_Return);
              }),
              IDOK);
    EXPECT_EQ(dlg.m_nNetworkId, 77);
}

TEST_F(MainWindowSession, EnterWithUnparsableNumberPromptsAndKeepsTheWindow) {
    SeenMessageBox prompt;
    bool stillOpen = false;
    QString selected;
    EXPECT_EQ(Run([&] {
                  Type(IDC_NETWORK_ID, "abc");
                  ClickOkInNextMessageBox(prompt, &Dialog());
                  Key(IDC_NETWORK_ID, Qt::Key_Return);
                  stillOpen = Dialog().isVisible();
                  selected = qobject_cast<QLineEdit*>(&Control(IDC_NETWORK_ID))->selectedText();
                  EXPECT_EQ(Dialog().focusWidget(), &Control(IDC_NETWORK_ID));
                  Key(IDC_NETWORK_ID, Qt::Key_Escape);
              }),
              IDCANCEL);
    ASSERT_TRUE(prompt.seen);
    EXPECT_EQ(prompt.text.toStdString(),
              "\xE8\xAF\xB7\xE8\xBE\x93\xE5\x85\xA5\xE4\xB8\x80\xE4\xB8\xAA\xE6\x95\xB4\xE6\x95\xB0"
              "\xE3\x80\x82");
    EXPECT_EQ(prompt.caption, "lvcfg");
    EXPECT_EQ(prompt.icon, QMessageBox::Warning);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(selected, "abc");
}

TEST_F(MainWindowSession, EnterOnAFocusedButtonClicksThatButton) {
    std::string caption;
    EXPECT_EQ(Run([&] {
                  Control(IDC_ADVANCED).setFocus();
                  Key(IDC_ADVANCED, Qt::Key_Return);
                  caption = window->GetText(IDC_ADVANCED);
                  Key(IDC_ADVANCED, Qt::Key_Escape);
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
        Key(IDC_ADVANCED, Qt::Key_Escape);
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
        Key(IDC_AUTO_CONFIG, Qt::Key_Escape);
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
        Key(IDC_START_FREQ, Qt::Key_Escape);
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
        auto readAndClose = [&](QWidget& about, bool byEscape) {
            ++opened;
            caption = about.windowTitle();
            labels.clear();
            for (QLabel* label : about.findChildren<QLabel*>()) {
                labels << label->text();
            }
            if (byEscape) {
                QTest::keyClick(&about, Qt::Key_Escape);
            } else {
                QTest::mouseClick(about.findChild<QPushButton*>("ctl1"), Qt::LeftButton);
            }
        };
        QAction* item = window->Dialog()->WindowMenu().actions().back();
        AnswerNextModal([&](QWidget& about) { readAndClose(about, true); }, &Dialog());
        item->trigger();
        AnswerNextModal([&](QWidget& about) { readAndClose(about, false); }, &Dialog());
        item->trigger();
        EXPECT_TRUE(Dialog().isVisible());
        Key(IDC_NETWORK_ID, Qt::Key_Escape);
    });
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(caption, "About Lumivaro Configure Tool");
    EXPECT_TRUE(labels.contains("Version: 1.6"));
    EXPECT_TRUE(labels.contains(
        QString::fromUtf8("KTR TOOL \u2013 ORBA III Configuration Software For KTR5520Q")));
    EXPECT_TRUE(labels.contains(""));
}

#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>

#include "model/control_ids.h"
#include "resources/main_dialog_template.h"
#include "tests/support/recording_events.h"
#include "ui/lvcfg_dlg.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_dialog_window.h"

namespace {

class MainWindowAfterInitialisation : public ::testing::Test {
  protected:
    void SetUp() override {
        backend.SetApplicationTitle("lvcfg");
        ASSERT_TRUE(dlg.Create());
        window = dynamic_cast<QtDialogWindow*>(dlg.Window());
        ASSERT_NE(window, nullptr);
    }

    QtBackend backend;
    CLVCfgDlg dlg{backend};
    QtDialogWindow* window = nullptr;
};

QGroupBox* GroupBoxTitled(QWidget& dialog, const QString& title) {
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>()) {
        if (box->title() == title) {
            return box;
        }
    }
    return nullptr;
}

}  // namespace

TEST_F(MainWindowAfterInitialisation, Is93PixelsShorterThanItsTemplate) {
    const int templateHeight = (MainDialogTemplate().height * 3 + 1) / 2;
    const CRect now = window->GetWindowRect();
    EXPECT_EQ(dlg.m_rcFull.bottom - dlg.m_rcFull.top, now.Height() + 93);
    EXPECT_EQ(window->Dialog()->height(), templateHeight - 93);
    EXPECT_EQ(now.Width(), dlg.m_rcFull.right - dlg.m_rcFull.left);
}

TEST_F(MainWindowAfterInitialisation, CutStripHoldsExactlyTheAdvancedConfigurationBox) {
    QWidget& dialog = *window->Dialog();
    QGroupBox* advanced = GroupBoxTitled(dialog, "Advanced Configuration");
    ASSERT_NE(advanced, nullptr);
    const int visibleHeight = dialog.height();
    EXPECT_GE(advanced->geometry().top(), visibleHeight);
    for (QWidget* widget : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QMenu*>(widget) != nullptr) {
            continue;
        }
        const bool inAdvancedBox = advanced->geometry().contains(widget->geometry());
        if (inAdvancedBox) {
            EXPECT_GE(widget->geometry().top(), visibleHeight)
                << widget->objectName().toStdString();
        } else {
            EXPECT_LE(widget->geometry().bottom(), visibleHeight)
                << widget->objectName().toStdString();
        }
    }
}

TEST_F(MainWindowAfterInitialisation, StartsWithAdvancedCaptionEmptyStatusAndFocusInThePortBox) {
    EXPECT_EQ(window->GetText(IDC_ADVANCED), "Advanced>>");
    EXPECT_EQ(window->GetText(IDC_STATUS), "");
    EXPECT_EQ(window->GetText(IDC_COM_PORT), "");
    QWidget* focus = window->Dialog()->focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(focus == window->Control(IDC_COM_PORT) ||
                focus->parentWidget() == window->Control(IDC_COM_PORT));
}

TEST_F(MainWindowAfterInitialisation, WindowMenuEndsWithTheAboutItem) {
    const QList<QAction*> actions = window->Dialog()->WindowMenu().actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
    EXPECT_EQ(actions.back()->text(), "About Lumivaro Configure Tool (&A)...");
    EXPECT_EQ(actions.back()->data().toUInt(), 16u);
}

TEST_F(MainWindowAfterInitialisation, CarriesTheApplicationIcon) {
    const QIcon icon = window->Dialog()->windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes().size(), 5);
}

TEST_F(MainWindowAfterInitialisation, ShowsTheDefaultSelections) {
    for (int id : {IDC_RF_BAUD_DEF, IDC_RF_BAUD_MAX, IDC_RF_BAUD_MIN, IDC_AUX_CH_NUM, IDC_RF_POWER,
                   IDC_UART_BAUD, IDC_UART_START_BIT, IDC_UART_PARITY, IDC_UART_STOP_BIT,
                   IDC_FRAME_MODE, IDC_DEVICE_NUM, IDC_FRAME_END_CHECK, IDC_ACT_PIN}) {
        EXPECT_NE(window->GetCurSel(id), CB_ERR) << id;
    }
    EXPECT_FALSE(window->GetText(IDC_START_FREQ).empty());
    EXPECT_FALSE(window->GetText(IDC_MAC).empty());
}

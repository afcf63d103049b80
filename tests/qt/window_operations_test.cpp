#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "modal_answerer.h"
#include "model/control_ids.h"
#include "resources/main_dialog_template.h"
#include "tests/support/recording_events.h"
#include "ui/qt/file_chooser_qt.h"
#include "ui/qt/qt_dialog_window.h"

namespace {

class QtWindowOperations : public ::testing::Test {
  protected:
    RecordingEvents events;
    QtDialogWindow window{MainDialogTemplate(), events, nullptr};
    QWidget& Dialog() { return *window.Dialog(); }
};

}  // namespace

// What every window does, the headless one included, is the window contract
// (qt_window_contract_test.cpp); here is what only the Qt window shows.

TEST_F(QtWindowOperations, ShrunkWindowStaysFixedAndEndsWithoutShowingWhenEndedEarly) {
    const CRect full = window.GetWindowRect();
    window.SetWindowSize(full.Width(), full.Height() - 93);
    EXPECT_EQ(Dialog().minimumSize(), Dialog().maximumSize());
    window.EndModalLoop(IDOK);
    EXPECT_EQ(window.RunModalLoop(), IDOK);
    EXPECT_FALSE(Dialog().isVisible());
}

// A box over a short text is still wide enough for its whole caption in a title bar.
TEST_F(QtWindowOperations, ShortMessageBoxIsWideEnoughForItsCaption) {
    int width = 0;
    int captionWidth = 0;
    AnswerNextModal([&](QWidget& modal) {
        width = modal.width();
        QFont title = modal.font();
        title.setBold(true);
        captionWidth = QFontMetrics(title).horizontalAdvance(modal.windowTitle());
        qobject_cast<QMessageBox*>(&modal)->button(QMessageBox::Ok)->click();
    });
    window.MessageBox("Please choose a serial COM port!", "Lumivaro Configure Tool", MB_ICONERROR);
    EXPECT_GT(captionWidth, 0);
    EXPECT_GE(width, captionWidth + 100);
}

// Port names on Linux are device paths, longer than the box is wide: the box scrolls and keeps
// all that was typed.
TEST_F(QtWindowOperations, PortBoxTakesADevicePathLongerThanItsWidth) {
    auto* edit = qobject_cast<QComboBox*>(window.Control(IDC_COM_PORT))->lineEdit();
    QTest::keyClicks(edit, "COM12");
    EXPECT_EQ(window.GetText(IDC_COM_PORT), "COM12");
    edit->clear();
    QTest::keyClicks(edit, "/dev/serial/by-id/usb-adapter");
    EXPECT_EQ(window.GetText(IDC_COM_PORT), "/dev/serial/by-id/usb-adapter");
}

// The Menu key opens the window menu even from an edit, which has a context menu of its own.
TEST_F(QtWindowOperations, MenuKeyAltSpaceAndRightClickOpenTheWindowMenu) {
    window.AppendSystemMenu(16, "About Lumivaro Configure Tool (&A)...");
    Dialog().show();
    QApplication::setActiveWindow(&Dialog());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Dialog()));
    QMenu& menu = window.Dialog()->WindowMenu();
    window.Control(IDC_NETWORK_ID)->setFocus();
    QTest::keyClick(window.Control(IDC_NETWORK_ID), Qt::Key_Menu);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), &menu);
    menu.hide();
    QTest::keyClick(window.Control(IDC_NETWORK_ID), Qt::Key_Space, Qt::AltModifier);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5),
                                 Dialog().mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&Dialog(), &rightClick);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}

TEST(QtFileChooser, MatchesTheRequestOfEachVariant) {
    FileChooserRequest request;
    request.initialName = "*.cfg";
    request.filters = {{"Configuration files(*.cfg)", "*.cfg"}, {"All files(*.*)", "*.*"}};
    for (bool save : {false, true}) {
        request.save = save;
        QFileDialog chooser;
        ConfigureFileChooser(chooser, request);
        EXPECT_EQ(chooser.acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        EXPECT_EQ(chooser.fileMode(), QFileDialog::AnyFile);
        EXPECT_EQ(chooser.testOption(QFileDialog::DontConfirmOverwrite), !save);
        // Each pattern shown once: the descriptions carry it already.
        EXPECT_EQ(chooser.nameFilters(),
                  (QStringList{"Configuration files(*.cfg)", "All files(*.*)"}));
        EXPECT_EQ(chooser.selectedNameFilter(), "Configuration files(*.cfg)");
        EXPECT_EQ(chooser.defaultSuffix(), "cfg");
        chooser.selectNameFilter("All files(*.*)");
        emit chooser.filterSelected("All files(*.*)");
        EXPECT_TRUE(chooser.defaultSuffix().isEmpty());
    }
}

TEST_F(QtWindowOperations, OpenChooserAcceptsANameThatDoesNotExistAndCancelGivesNothing) {
    FileChooserRequest request;
    request.initialName = "*.cfg";
    request.filters = {{"Configuration files(*.cfg)", "*.cfg"}, {"All files(*.*)", "*.*"}};
    const QString missing = QDir::temp().filePath("lvcfg-no-such-file.cfg");
    AnswerNextModal([&](QWidget& modal) {
        auto* chooser = qobject_cast<QFileDialog*>(&modal);
        ASSERT_NE(chooser, nullptr);
        // The user types the name of a file that does not exist and presses Enter.
        auto* nameField = chooser->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(nameField, nullptr);
        nameField->setText(missing);
        QTest::keyClick(nameField, Qt::Key_Return);
    });
    EXPECT_EQ(window.ChooseFile(request), std::optional<std::string>(missing.toStdString()));

    AnswerNextModal([](QWidget& modal) { qobject_cast<QDialog*>(&modal)->reject(); });
    EXPECT_EQ(window.ChooseFile(request), std::nullopt);
}

// A notification that arrives while a box is open is handled inside the box's loop.
TEST_F(QtWindowOperations, ReadableDescriptorIsServedWhileABoxIsOpen) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int served = 0;
    window.WatchReadable(fds[0], [&] {
        char byte = 0;
        EXPECT_EQ(read(fds[0], &byte, 1), 1);
        ++served;
    });
    AnswerNextModal([&](QWidget& modal) {
        EXPECT_EQ(write(fds[1], "x", 1), 1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return served == 1; }, 5000));
        qobject_cast<QMessageBox*>(&modal)->button(QMessageBox::Ok)->click();
    });
    window.MessageBox("Module is inserted into COM3", "Lumivaro Configure Tool", MB_ICONERROR);
    EXPECT_EQ(served, 1);
    close(fds[0]);
    close(fds[1]);
}

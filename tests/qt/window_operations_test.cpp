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
#include "recording_events.h"
#include "resources/main_dialog_template.h"
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

TEST_F(QtWindowOperations, CheckStatesRoundTripIncludingIndeterminate) {
    for (int state : {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}) {
        window.SetCheck(1049, state);
        EXPECT_EQ(window.GetCheck(1049), state);
    }
}

TEST_F(QtWindowOperations, UserClickLeavesTheIndeterminateStateAndReportsAfterToggling) {
    window.SetCheck(1049, BST_INDETERMINATE);
    QTest::mouseClick(window.Control(1049), Qt::LeftButton);
    EXPECT_EQ(window.GetCheck(1049), BST_CHECKED);
    QTest::mouseClick(window.Control(1049), Qt::LeftButton);
    EXPECT_EQ(window.GetCheck(1049), BST_UNCHECKED);
    ASSERT_EQ(events.commands.size(), 2u);
    EXPECT_EQ(events.commands[0], std::make_pair(1049, BN_CLICKED));
}

TEST_F(QtWindowOperations, ListSelectionOutsideTheListSelectsNothing) {
    window.SetCurSel(1022, 4);
    EXPECT_EQ(window.GetCurSel(1022), 4);
    EXPECT_EQ(window.GetText(1022), "16");
    window.SetCurSel(1022, 5);
    EXPECT_EQ(window.GetCurSel(1022), CB_ERR);
    window.SetCurSel(1022, -1);
    EXPECT_EQ(window.GetCurSel(1022), CB_ERR);
    EXPECT_EQ(window.GetText(1022), "");
}

TEST_F(QtWindowOperations, RefilledListHasNoSelectionUntilOneIsMade) {
    window.SetCurSel(1024, 2);
    window.ResetContent(1024);
    EXPECT_EQ(window.GetCount(1024), 0);
    window.AddString(1024, "+20dBm");
    window.AddString(1024, "+17dBm");
    EXPECT_EQ(window.GetCount(1024), 2);
    EXPECT_EQ(window.GetCurSel(1024), CB_ERR);
    EXPECT_EQ(window.GetLBText(1024, 1), "+17dBm");
    EXPECT_EQ(window.GetLBText(1024, 2), "");
}

TEST_F(QtWindowOperations, TextsOfEditsListsAndButtons) {
    window.SetText(1001, "Succeed to read the module!");
    EXPECT_EQ(window.GetText(1001), "Succeed to read the module!");
    window.SetText(1008, "/dev/ttyUSB0");
    EXPECT_EQ(window.GetText(1008), "/dev/ttyUSB0");
    window.SetText(1013, "Advanced<<");
    EXPECT_EQ(qobject_cast<QPushButton*>(window.Control(1013))->text(), "Advanced<<");
    window.SetText(1031, "ASCII");  // a list without edit field selects the matching item
    EXPECT_EQ(window.GetCurSel(1031), 1);
}

// Port names on Linux are device paths, longer than the box is wide: the box scrolls and keeps
// all that was typed.
TEST_F(QtWindowOperations, PortBoxTakesADevicePathLongerThanItsWidth) {
    auto* edit = qobject_cast<QComboBox*>(window.Control(1008))->lineEdit();
    QTest::keyClicks(edit, "COM12");
    EXPECT_EQ(window.GetText(1008), "COM12");
    edit->clear();
    QTest::keyClicks(edit, "/dev/serial/by-id/usb-adapter");
    EXPECT_EQ(window.GetText(1008), "/dev/serial/by-id/usb-adapter");
}

TEST_F(QtWindowOperations, FocusAndSelectAll) {
    window.SetText(1019, "x");
    window.SetFocus(1019);
    window.SelectAllText(1019);
    EXPECT_EQ(Dialog().focusWidget(), window.Control(1019));
    EXPECT_EQ(qobject_cast<QLineEdit*>(window.Control(1019))->selectedText(), "x");
}

TEST_F(QtWindowOperations, DisabledControlsTakeNoClicks) {
    window.EnableControl(1063, false);
    EXPECT_FALSE(window.IsControlEnabled(1063));
    QTest::mouseClick(window.Control(1063), Qt::LeftButton);
    EXPECT_TRUE(events.commands.empty());
    window.EnableControl(1063, true);
    QTest::mouseClick(window.Control(1063), Qt::LeftButton);
    EXPECT_EQ(events.commands, (std::vector<std::pair<int, int>>{{1063, BN_CLICKED}}));
}

TEST_F(QtWindowOperations, UserPickInAListIsASelectionChange) {
    auto* combo = qobject_cast<QComboBox*>(window.Control(1015));
    window.SetCurSel(1015, 3);  // the program's own selection reports nothing
    EXPECT_TRUE(events.commands.empty());
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(window.GetCurSel(1015), 4);
    EXPECT_EQ(events.commands, (std::vector<std::pair<int, int>>{{1015, CBN_SELCHANGE}}));
}

TEST_F(QtWindowOperations, WindowSizeChangesOnlyTheSize) {
    const CRect full = window.GetWindowRect();
    window.SetWindowSize(full.Width(), full.Height() - 93);
    const CRect shrunk = window.GetWindowRect();
    EXPECT_EQ(shrunk.left, full.left);
    EXPECT_EQ(shrunk.top, full.top);
    EXPECT_EQ(shrunk.Width(), full.Width());
    EXPECT_EQ(shrunk.Height(), full.Height() - 93);
    EXPECT_EQ(Dialog().minimumSize(), Dialog().maximumSize());
}

TEST_F(QtWindowOperations, EndBeforeTheLoopStartsEndsTheNextLoopAtOnce) {
    window.EndModalLoop(IDOK);
    EXPECT_EQ(window.RunModalLoop(), IDOK);
    EXPECT_FALSE(Dialog().isVisible());
}

TEST_F(QtWindowOperations, EndInsideTheLoopReturnsItsResult) {
    QTimer::singleShot(0, &Dialog(), [this] { window.EndModalLoop(IDCANCEL); });
    EXPECT_EQ(window.RunModalLoop(), IDCANCEL);
}

TEST_F(QtWindowOperations, MessageBoxesShowCaptionTextAndTheIconOfTheirType) {
    const std::pair<unsigned, QMessageBox::Icon> types[] = {
        {MB_ICONERROR, QMessageBox::Critical}, {MB_ICONEXCLAMATION, QMessageBox::Warning}};
    for (const auto& [type, icon] : types) {
        SeenMessageBox seen;
        ClickOkInNextMessageBox(seen);
        EXPECT_EQ(
            window.MessageBox("Failed to open the COM port! <b>", "Lumivaro Configure Tool", type),
            IDOK);
        ASSERT_TRUE(seen.seen);
        EXPECT_EQ(seen.caption, "Lumivaro Configure Tool");
        EXPECT_EQ(seen.text, "Failed to open the COM port! <b>");
        EXPECT_EQ(seen.icon, icon);
    }
}

TEST_F(QtWindowOperations, WindowMenuEndsWithSeparatorAndItemAndDeliversItsCommand) {
    window.AppendSystemMenu(16, "About Lumivaro Configure Tool (&A)...");
    const QList<QAction*> actions = window.Dialog()->WindowMenu().actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_TRUE(actions[0]->isSeparator());
    EXPECT_EQ(actions[1]->text(), "About Lumivaro Configure Tool (&A)...");
    actions[1]->trigger();
    EXPECT_EQ(events.sysCommands, std::vector<unsigned>{16});
}

TEST_F(QtWindowOperations, AltSpaceAndRightClickOpenTheWindowMenu) {
    window.AppendSystemMenu(16, "About Lumivaro Configure Tool (&A)...");
    Dialog().show();
    QApplication::setActiveWindow(&Dialog());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Dialog()));
    QMenu& menu = window.Dialog()->WindowMenu();
    QTest::keyClick(window.Control(1023), Qt::Key_Space, Qt::AltModifier);
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
        EXPECT_EQ(chooser.nameFilters(),
                  (QStringList{"Configuration files(*.cfg) (*.cfg)", "All files(*.*) (*.*)"}));
        EXPECT_EQ(chooser.selectedNameFilter(), "Configuration files(*.cfg) (*.cfg)");
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

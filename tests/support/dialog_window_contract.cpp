#include "tests/support/dialog_window_contract.h"

#include <unistd.h>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/control_ids.h"
#include "resources/main_dialog_template.h"
#include "tests/support/recording_events.h"
#include "ui/framework/dialog_units.h"

namespace {

using Commands = std::vector<std::pair<int, int>>;

// The main window's template, opened on the backend under test. Events also note the state a
// check box had when its click arrived.
class Opened {
  public:
    explicit Opened(const BackendUnderTest& backend,
                    const DialogTemplate& dialogTemplate = MainDialogTemplate())
        : m_events(*this), m_driver(backend.open(dialogTemplate, m_events)) {}

    WindowDriver& driver() { return *m_driver; }
    DialogWindow& window() { return m_driver->Window(); }
    const Commands& commands() const { return m_events.commands; }
    const std::vector<unsigned>& sysCommands() const { return m_events.sysCommands; }
    const std::vector<int>& checkAtClick() const { return m_checkAtClick; }

  private:
    class Events : public RecordingEvents {
      public:
        explicit Events(Opened& opened) : m_opened(opened) {}
        void OnCommand(int id, int notifyCode) override {
            if (id == IDC_SLEEP) {
                m_opened.m_checkAtClick.push_back(m_opened.window().GetCheck(id));
            }
            RecordingEvents::OnCommand(id, notifyCode);
        }

      private:
        Opened& m_opened;
    };

    std::vector<int> m_checkAtClick;
    Events m_events;
    std::unique_ptr<WindowDriver> m_driver;
};

// The ids of the template's controls in template order, those in sight in a client area of
// `height` pixels only.
std::vector<int> TabStopsInSight(int height) {
    const DialogTemplate& main = MainDialogTemplate();
    std::vector<int> ids;
    for (const DialogItem& item : main.items) {
        if (item.id != kNoId && IsItemInClientArea(item, DialogUnitsToPixels(main.width), height)) {
            ids.push_back(item.id);
        }
    }
    return ids;
}

// Tab from the first control round the whole chain; the controls it visited, in order.
std::vector<int> TabWalk(WindowDriver& driver, int first) {
    driver.Window().SetFocus(first);
    std::vector<int> visited{driver.Focus()};
    for (int step = 0; step < 80; ++step) {
        driver.PressTab();
        if (driver.Focus() == first) {
            break;
        }
        visited.push_back(driver.Focus());
    }
    return visited;
}

constexpr int kPanelHeight = 93;

}  // namespace

std::string BackendName(const ::testing::TestParamInfo<BackendUnderTest>& info) {
    return info.param.name;
}

TEST_P(DialogWindowContract, FillsTheListsInOrderWithoutSelection) {
    Opened opened(GetParam());
    DialogWindow& window = opened.window();
    for (const InitialList& list : MainDialogLists()) {
        ASSERT_EQ(window.GetCount(list.id), static_cast<int>(list.items.size())) << list.id;
        for (std::size_t i = 0; i < list.items.size(); ++i) {
            EXPECT_EQ(window.GetLBText(list.id, static_cast<int>(i)), list.items[i]) << list.id;
        }
        EXPECT_EQ(window.GetCurSel(list.id), CB_ERR) << list.id;
    }
    EXPECT_EQ(window.GetText(IDC_ADVANCED), "Advanced>>");
    EXPECT_EQ(window.GetText(IDC_STATUS), "");
}

TEST_P(DialogWindowContract, CheckStatesRoundTripIncludingIndeterminate) {
    Opened opened(GetParam());
    for (int state : {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}) {
        opened.window().SetCheck(IDC_SLEEP, state);
        EXPECT_EQ(opened.window().GetCheck(IDC_SLEEP), state);
    }
}

TEST_P(DialogWindowContract, ClickTogglesTheCheckBoxBeforeReportingAndLeavesIndeterminate) {
    Opened opened(GetParam());
    opened.window().SetCheck(IDC_SLEEP, BST_INDETERMINATE);
    opened.driver().Click(IDC_SLEEP);
    EXPECT_EQ(opened.window().GetCheck(IDC_SLEEP), BST_CHECKED);
    opened.driver().Click(IDC_SLEEP);
    EXPECT_EQ(opened.window().GetCheck(IDC_SLEEP), BST_UNCHECKED);
    EXPECT_EQ(opened.commands(), (Commands{{IDC_SLEEP, BN_CLICKED}, {IDC_SLEEP, BN_CLICKED}}));
    EXPECT_EQ(opened.checkAtClick(), (std::vector<int>{BST_CHECKED, BST_UNCHECKED}));
}

TEST_P(DialogWindowContract, ListSelectionOutsideTheListSelectsNothing) {
    Opened opened(GetParam());
    DialogWindow& window = opened.window();
    window.SetCurSel(IDC_AUX_CH_NUM, 4);
    EXPECT_EQ(window.GetCurSel(IDC_AUX_CH_NUM), 4);
    EXPECT_EQ(window.GetText(IDC_AUX_CH_NUM), "16");
    window.SetCurSel(IDC_AUX_CH_NUM, 5);
    EXPECT_EQ(window.GetCurSel(IDC_AUX_CH_NUM), CB_ERR);
    window.SetCurSel(IDC_AUX_CH_NUM, -1);
    EXPECT_EQ(window.GetCurSel(IDC_AUX_CH_NUM), CB_ERR);
    EXPECT_EQ(window.GetText(IDC_AUX_CH_NUM), "");
}

TEST_P(DialogWindowContract, RefilledListHasNoSelectionUntilOneIsMade) {
    Opened opened(GetParam());
    DialogWindow& window = opened.window();
    window.SetCurSel(IDC_RF_POWER, 2);
    window.ResetContent(IDC_RF_POWER);
    EXPECT_EQ(window.GetCount(IDC_RF_POWER), 0);
    window.AddString(IDC_RF_POWER, "+20dBm");
    window.AddString(IDC_RF_POWER, "+17dBm");
    EXPECT_EQ(window.GetCount(IDC_RF_POWER), 2);
    EXPECT_EQ(window.GetCurSel(IDC_RF_POWER), CB_ERR);
    EXPECT_EQ(window.GetLBText(IDC_RF_POWER, 1), "+17dBm");
    EXPECT_EQ(window.GetLBText(IDC_RF_POWER, 2), "");
}

TEST_P(DialogWindowContract, TextsOfEditsListsAndButtons) {
    Opened opened(GetParam());
    DialogWindow& window = opened.window();
    window.SetText(IDC_STATUS, "Succeed to read the module!");
    EXPECT_EQ(window.GetText(IDC_STATUS), "Succeed to read the module!");
    window.SetText(IDC_COM_PORT, "/dev/ttyUSB0");
    EXPECT_EQ(window.GetText(IDC_COM_PORT), "/dev/ttyUSB0");
    window.SetText(IDC_ADVANCED, "Advanced<<");
    EXPECT_EQ(window.GetText(IDC_ADVANCED), "Advanced<<");
    window.SetText(IDC_FRAME_MODE, "ASCII");  // a list without edit field selects the item
    EXPECT_EQ(window.GetCurSel(IDC_FRAME_MODE), 1);
    opened.driver().Type(IDC_NETWORK_ID, "4660");
    EXPECT_EQ(window.GetText(IDC_NETWORK_ID), "4660");
}

TEST_P(DialogWindowContract, UnknownIdsReadEmptyAndChangeNothing) {
    Opened opened(GetParam());
    DialogWindow& window = opened.window();
    window.SetText(4242, "x");
    window.SetCurSel(4242, 1);
    window.EnableControl(4242, false);
    EXPECT_EQ(window.GetText(4242), "");
    EXPECT_EQ(window.GetCurSel(4242), CB_ERR);
    EXPECT_EQ(window.GetCount(4242), CB_ERR);
    EXPECT_EQ(window.GetLBText(4242, 0), "");
    EXPECT_FALSE(window.IsControlEnabled(4242));
}

TEST_P(DialogWindowContract, FocusAndSelectAll) {
    Opened opened(GetParam());
    DialogWindow& window = opened.window();
    window.SetText(IDC_START_FREQ, "433.5");
    window.SetFocus(IDC_START_FREQ);
    window.SelectAllText(IDC_START_FREQ);
    EXPECT_EQ(opened.driver().Focus(), IDC_START_FREQ);
    EXPECT_EQ(opened.driver().SelectedText(IDC_START_FREQ), "433.5");
}

TEST_P(DialogWindowContract, DisabledControlsTakeNoClicksAndNoTyping) {
    Opened opened(GetParam());
    DialogWindow& window = opened.window();
    window.SetText(IDC_NETWORK_ID, "1");
    window.EnableControl(IDC_APPLY, false);
    window.EnableControl(IDC_NETWORK_ID, false);
    EXPECT_FALSE(window.IsControlEnabled(IDC_APPLY));
    opened.driver().Click(IDC_APPLY);
    opened.driver().Type(IDC_NETWORK_ID, "2");
    EXPECT_TRUE(opened.commands().empty());
    EXPECT_EQ(window.GetText(IDC_NETWORK_ID), "1");
    window.EnableControl(IDC_APPLY, true);
    opened.driver().Click(IDC_APPLY);
    EXPECT_EQ(opened.commands(), (Commands{{IDC_APPLY, BN_CLICKED}}));
}

TEST_P(DialogWindowContract, UserPickInAListIsASelectionChangeTheProgramsIsNot) {
    Opened opened(GetParam());
    opened.window().SetCurSel(IDC_RF_BAUD_DEF, 3);
    EXPECT_TRUE(opened.commands().empty());
    opened.driver().Pick(IDC_RF_BAUD_DEF, 4);
    EXPECT_EQ(opened.window().GetCurSel(IDC_RF_BAUD_DEF), 4);
    EXPECT_EQ(opened.commands(), (Commands{{IDC_RF_BAUD_DEF, CBN_SELCHANGE}}));
}

TEST_P(DialogWindowContract, WindowSizeChangesOnlyTheSize) {
    Opened opened(GetParam());
    DialogWindow& window = opened.window();
    const CRect full = window.GetWindowRect();
    window.SetWindowSize(full.Width(), full.Height() - kPanelHeight);
    const CRect shrunk = window.GetWindowRect();
    EXPECT_EQ(shrunk.left, full.left);
    EXPECT_EQ(shrunk.top, full.top);
    EXPECT_EQ(shrunk.Width(), full.Width());
    EXPECT_EQ(shrunk.Height(), full.Height() - kPanelHeight);
}

// With the advanced strip cut off, Tab walks only the controls in sight and none of the
// others takes the focus or typing; grown again, the window walks all of them in template
// order.
TEST_P(DialogWindowContract, ControlsOutOfSightAreOutOfTheTabOrderUntilShownAgain) {
    Opened opened(GetParam());
    DialogWindow& window = opened.window();
    WindowDriver& driver = opened.driver();
    const CRect full = window.GetWindowRect();
    const int clientHeight = DialogUnitsToPixels(MainDialogTemplate().height);
    window.SetWindowSize(full.Width(), full.Height() - kPanelHeight);

    const std::vector<int> inSight = TabStopsInSight(clientHeight - kPanelHeight);
    ASSERT_EQ(inSight.size(), 64U - 9U);
    EXPECT_EQ(TabWalk(driver, IDC_COM_PORT), inSight);
    window.SetText(IDC_BACKOFF_TICK, "108");
    window.SetFocus(IDC_NETWORK_ID);
    window.SetFocus(IDC_BACKOFF_TICK);
    EXPECT_EQ(driver.Focus(), IDC_NETWORK_ID);
    driver.Type(IDC_BACKOFF_TICK, "777");
    EXPECT_EQ(window.GetText(IDC_BACKOFF_TICK), "108");

    window.SetWindowSize(full.Width(), full.Height());
    EXPECT_EQ(TabWalk(driver, IDC_COM_PORT), TabStopsInSight(clientHeight));
    driver.Type(IDC_BACKOFF_TICK, "777");
    EXPECT_EQ(window.GetText(IDC_BACKOFF_TICK), "777");
    EXPECT_EQ(driver.Focus(), IDC_BACKOFF_TICK);
}

// The window only reports keys; the dialog object decides whether they end it.
TEST_P(DialogWindowKeys, ReachTheDialogAsCommands) {
    const auto& [backend, route] = GetParam();
    Opened opened(backend);
    opened.window().SetFocus(route.focus);
    (opened.driver().*route.press)();
    EXPECT_EQ(opened.commands(), route.commands);
    EXPECT_TRUE(opened.sysCommands().empty());
}

TEST_P(DialogWindowContract, CloseBoxIsTheCloseCommand) {
    Opened opened(GetParam());
    opened.driver().CloseWindow();
    EXPECT_TRUE(opened.commands().empty());
    EXPECT_EQ(opened.sysCommands(), std::vector<unsigned>{SC_CLOSE});
}

TEST_P(DialogWindowContract, AcceleratorsClickTheirButtonsWhileEnabled) {
    Opened opened(GetParam());
    opened.driver().PressShortcut("Ctrl+O");
    opened.driver().PressShortcut("Ctrl+S");
    EXPECT_EQ(opened.commands(), (Commands{{IDC_OPEN, BN_CLICKED}, {IDC_SAVE, BN_CLICKED}}));
    opened.window().EnableControl(IDC_OPEN, false);
    opened.driver().PressShortcut("Ctrl+O");
    EXPECT_EQ(opened.commands().size(), 2U);
}

TEST_P(DialogWindowContract, EndBeforeTheLoopStartsEndsTheNextLoopAtOnce) {
    Opened opened(GetParam());
    opened.window().EndModalLoop(IDOK);
    bool ranInside = false;
    EXPECT_EQ(opened.driver().RunLoop([&] { ranInside = true; }), IDOK);
    EXPECT_FALSE(ranInside);
}

TEST_P(DialogWindowContract, EndInsideTheLoopReturnsItsResult) {
    Opened opened(GetParam());
    EXPECT_EQ(opened.driver().RunLoop([&] { opened.window().EndModalLoop(IDCANCEL); }), IDCANCEL);
    EXPECT_EQ(opened.driver().RunLoop([&] { opened.window().EndModalLoop(IDOK); }), IDOK);
}

TEST_P(DialogWindowBoxes, ShowCaptionTextIconAndDetails) {
    const auto& [backend, row] = GetParam();
    Opened opened(backend);
    const SeenBox seen = opened.driver().ShowBox("Failed to open the COM port! <b>",
                                                 "Lumivaro Configure Tool", row.type, row.details);
    EXPECT_EQ(seen.caption, "Lumivaro Configure Tool");
    EXPECT_EQ(seen.text, "Failed to open the COM port! <b>");
    EXPECT_EQ(seen.icon, row.type);
    EXPECT_EQ(seen.details, row.details);
    EXPECT_EQ(seen.result, IDOK);
}

TEST_P(DialogWindowContract, WindowMenuItemsFollowASeparatorAndDeliverTheirCommand) {
    Opened opened(GetParam());
    opened.window().AppendSystemMenu(16, "About Lumivaro Configure Tool (&A)...");
    const std::vector<SystemMenuItem> items = opened.driver().WindowMenu();
    ASSERT_EQ(items.size(), 1U);
    EXPECT_EQ(items[0].commandId, 16U);
    EXPECT_EQ(items[0].text, "About Lumivaro Configure Tool (&A)...");
    opened.driver().ChooseWindowMenuItem(16);
    EXPECT_EQ(opened.sysCommands(), std::vector<unsigned>{16});
}

TEST_P(DialogWindowContract, ReadableDescriptorIsServed) {
    Opened opened(GetParam());
    std::array<int, 2> fds{};
    ASSERT_EQ(pipe(fds.data()), 0);
    int served = 0;
    opened.window().WatchReadable(fds[0], [&] {
        char byte = 0;
        EXPECT_EQ(read(fds[0], &byte, 1), 1);
        ++served;
    });
    ASSERT_EQ(write(fds[1], "x", 1), 1);
    EXPECT_TRUE(opened.driver().ServeReadable([&] { return served == 1; }));
    close(fds[0]);
    close(fds[1]);
}

std::vector<KeyRoute> KeyRoutes() {
    return {
        {"EnterOnAPushButtonClicksIt",
         IDC_APPLY,
         &WindowDriver::PressEnter,
         {{IDC_APPLY, BN_CLICKED}}},
        {"EnterInAnEditIsOk", IDC_NETWORK_ID, &WindowDriver::PressEnter, {{IDOK, BN_CLICKED}}},
        {"EnterOnACheckBoxIsOk", IDC_SLEEP, &WindowDriver::PressEnter, {{IDOK, BN_CLICKED}}},
        {"EscapeInAnEditIsCancel",
         IDC_NETWORK_ID,
         &WindowDriver::PressEscape,
         {{IDCANCEL, BN_CLICKED}}},
        {"EscapeOnAPushButtonIsCancel",
         IDC_APPLY,
         &WindowDriver::PressEscape,
         {{IDCANCEL, BN_CLICKED}}},
    };
}

std::vector<BoxRow> BoxRows() {
    return {
        {"Error", MB_ICONERROR, ""},
        {"Warning", MB_ICONEXCLAMATION, ""},
        {"ErrorWithDetails", MB_ICONERROR, "/dev/ttyUSB0: Permission denied"},
    };
}

std::string KeyRouteName(
    const ::testing::TestParamInfo<std::tuple<BackendUnderTest, KeyRoute>>& info) {
    return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
}

std::string BoxRowName(const ::testing::TestParamInfo<std::tuple<BackendUnderTest, BoxRow>>& info) {
    return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
}

#include <clocale>
#include <set>
#include <string>
#include <type_traits>
#include <variant>

#include "model/setting_field.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/framework/framework_prompts.h"

namespace {

struct Binding {
    int id;
    SettingKind kind;
    std::variant<bool CLVCfgDlg::*, bool ConfigSettings::*, int ConfigSettings::*,
                 double ConfigSettings::*, std::string ConfigSettings::*>
        field;
};

// The bindings in the order the exchange runs them: Auto Config, then the field table.
const std::vector<Binding>& Bindings() {
    static const std::vector<Binding> bindings = [] {
        std::vector<Binding> all{{IDC_AUTO_CONFIG, SettingKind::Check, &CLVCfgDlg::m_bAutoConfig}};
        for (const SettingField& field : SettingFields()) {
            all.push_back({field.controlId, field.kind, {}});
            std::visit([&all](auto member) { all.back().field = member; }, field.member);
        }
        return all;
    }();
    return bindings;
}

// The field of a binding as text, whatever its kind ("1", "433.5", "name").
std::string FieldText(const CLVCfgDlg& dlg, const Binding& binding) {
    return std::visit(
        [&](auto member) {
            const auto& value = [&]() -> const auto& {
                if constexpr (std::is_same_v<decltype(member), bool CLVCfgDlg::*>) {
                    return dlg.*member;
                } else {
                    return dlg.Settings().*member;
                }
            }
            ();
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>) {
                return value;
            } else {
                return std::to_string(value);
            }
        },
        binding.field);
}

// Puts a valid value into the control of `binding` that differs from every default, and
// returns the field text it must read as.
std::string EnterDistinctValue(HeadlessWindow& window, const Binding& binding) {
    const int n = binding.id - 990;  // 10 .. 73, unique per control
    switch (binding.kind) {
        case SettingKind::Check:
            window.SetCheck(binding.id, BST_CHECKED);
            return "1";
        case SettingKind::Real:
            window.SetText(binding.id, std::to_string(n) + ".5");
            return std::to_string(n + 0.5);
        case SettingKind::Integer:
            window.SetText(binding.id, std::to_string(n));
            return std::to_string(n);
        case SettingKind::List:
            window.SetCurSel(binding.id, 1);
            return "1";
        default:
            window.SetText(binding.id, "t" + std::to_string(binding.id));
            return "t" + std::to_string(binding.id);
    }
}

TEST(BindingTable, Has56BindingsOnDistinctControls) {
    std::set<int> ids;
    for (const Binding& binding : Bindings()) {
        ids.insert(binding.id);
    }
    EXPECT_EQ(Bindings().size(), 56U);
    EXPECT_EQ(ids.size(), 56U);
    for (const int unbound : {1001, 1008, 1009, 1010, 1011, 1012, 1013, 1063}) {
        EXPECT_EQ(ids.count(unbound), 0U) << unbound;
    }
}

TEST_F(MainWindow, SaveReadsTheControlsInBindingOrder) {
    m_window->ClearLogs();
    EXPECT_TRUE(m_dlg.UpdateData(true));
    std::vector<int> expected;
    for (const Binding& binding : Bindings()) {
        expected.push_back(binding.id);
    }
    EXPECT_EQ(m_window->ValueReads(), expected);
}

TEST_F(MainWindow, SaveReadsEveryBoundControlIntoItsField) {
    std::vector<std::string> expected;
    for (const Binding& binding : Bindings()) {
        expected.push_back(EnterDistinctValue(*m_window, binding));
    }
    EXPECT_TRUE(m_dlg.UpdateData(true));
    for (std::size_t i = 0; i < Bindings().size(); ++i) {
        EXPECT_EQ(FieldText(m_dlg, Bindings()[i]), expected[i]) << Bindings()[i].id;
    }
}

TEST_F(MainWindow, LoadShowsEveryFieldInItsControl) {
    std::vector<std::string> entered;
    for (const Binding& binding : Bindings()) {
        entered.push_back(EnterDistinctValue(*m_window, binding));
    }
    ASSERT_TRUE(m_dlg.UpdateData(true));
    // Wipe the controls, then load: every control shows its field again.
    for (const Binding& binding : Bindings()) {
        m_window->SetText(binding.id, "");
        m_window->SetCheck(binding.id, BST_UNCHECKED);
        m_window->SetCurSel(binding.id, CB_ERR);
    }
    m_dlg.UpdateData(false);
    EXPECT_TRUE(m_dlg.UpdateData(true));
    for (std::size_t i = 0; i < Bindings().size(); ++i) {
        EXPECT_EQ(FieldText(m_dlg, Bindings()[i]), entered[i]) << Bindings()[i].id;
    }
}

// A text that does not parse at one numeric binding: everything before it is read, nothing
// after it, and the prompt names the kind of number.
// With the advanced panel shown, so that every failing control can take the focus.
class FailureAtBinding : public MainWindow, public ::testing::WithParamInterface<std::size_t> {
  protected:
    void SetUp() override {
        MainWindow::SetUp();
        ASSERT_TRUE(m_window->Click(IDC_ADVANCED));
        m_backend.ClearMessageBoxes();
    }
};

TEST_P(FailureAtBinding, ReadsEarlierBindingsOnly) {
    const std::size_t failing = GetParam();
    const Binding& bad = Bindings()[failing];
    std::vector<std::string> before;
    std::vector<std::string> entered;
    for (const Binding& binding : Bindings()) {
        before.push_back(FieldText(m_dlg, binding));
        entered.push_back(EnterDistinctValue(*m_window, binding));
    }
    m_window->SetText(bad.id, "x");

    EXPECT_FALSE(m_dlg.UpdateData(true));

    for (std::size_t i = 0; i < Bindings().size(); ++i) {
        const std::string& want = i < failing ? entered[i] : before[i];
        EXPECT_EQ(FieldText(m_dlg, Bindings()[i]), want) << Bindings()[i].id;
    }
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text, bad.kind == SettingKind::Real ? kParseRealPrompt : kParseIntPrompt);
    EXPECT_EQ(Boxes()[0].caption, "lvcfg");
    EXPECT_EQ(Boxes()[0].type, 0x30U);
    EXPECT_EQ(m_window->Focus(), bad.id);
    EXPECT_EQ(m_window->TextSelection(bad.id), (std::pair<int, int>{0, 1}));
}

std::vector<std::size_t> NumericBindings() {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < Bindings().size(); ++i) {
        if (Bindings()[i].kind == SettingKind::Real || Bindings()[i].kind == SettingKind::Integer) {
            rows.push_back(i);
        }
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Numeric, FailureAtBinding, ::testing::ValuesIn(NumericBindings()),
                         [](const auto& info) {
                             return "Control" + std::to_string(Bindings()[info.param].id);
                         });

struct IntegerEntry {
    const char* name;
    const char* text;
    int expected;
};

class NetworkIdEntry : public MainWindow, public ::testing::WithParamInterface<IntegerEntry> {};

TEST_P(NetworkIdEntry, ReadsWithoutPrompt) {
    m_window->Type(IDC_NETWORK_ID, GetParam().text);
    EXPECT_TRUE(m_dlg.UpdateData(true));
    EXPECT_EQ(m_dlg.Settings().m_nNetworkId, GetParam().expected);
    EXPECT_TRUE(Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NetworkIdEntry,
    ::testing::Values(IntegerEntry{"TrailingLetters", "12abc", 12},
                      IntegerEntry{"TwoBlanksThenMinusFive", "  -5", -5},
                      IntegerEntry{"TwoToThe31Saturates", "2147483648", 2147483647},
                      IntegerEntry{"FarBelowSaturates", "-30000000000", -2147483647 - 1}),
    [](const auto& info) { return std::string(info.param.name); });

class NetworkIdUnparsable : public MainWindow, public ::testing::WithParamInterface<const char*> {};

TEST_P(NetworkIdUnparsable, PromptsForAnInteger) {
    m_dlg.Settings().m_nNetworkId = 77;
    m_window->Type(IDC_NETWORK_ID, GetParam());
    EXPECT_FALSE(m_dlg.UpdateData(true));
    EXPECT_EQ(m_dlg.Settings().m_nNetworkId, 77);
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text, "请输入一个整数。");
    EXPECT_EQ(Boxes()[0].caption, "lvcfg");
    EXPECT_EQ(Boxes()[0].type, MB_ICONEXCLAMATION);
}

INSTANTIATE_TEST_SUITE_P(Rows, NetworkIdUnparsable, ::testing::Values("abc", ""),
                         [](const auto& info) {
                             return std::string(*info.param ? "Letters" : "Empty");
                         });

TEST_F(MainWindow, StartFrequencyReadsExponentAndStopsAtComma) {
    m_window->Type(IDC_START_FREQ, "4.5e2");
    EXPECT_TRUE(m_dlg.UpdateData(true));
    EXPECT_DOUBLE_EQ(m_dlg.Settings().m_dStartFreq, 450.0);
    m_window->Type(IDC_START_FREQ, "433,92");
    EXPECT_TRUE(m_dlg.UpdateData(true));
    EXPECT_DOUBLE_EQ(m_dlg.Settings().m_dStartFreq, 433.0);
}

TEST_F(MainWindow, StartFrequencyThatIsNoFiniteNumberPromptsForANumber) {
    for (const char* text : {"nan", "inf", "1e999"}) {
        m_window->Type(IDC_START_FREQ, text);
        EXPECT_FALSE(m_dlg.UpdateData(true)) << text;
        EXPECT_DOUBLE_EQ(m_dlg.Settings().m_dStartFreq, 433.0) << text;
    }
    ASSERT_EQ(Boxes().size(), 3U);
    for (const MessageBoxRecord& box : Boxes()) {
        EXPECT_EQ(box.text, "请输入一个数字。");
    }
}

TEST_F(MainWindow, SleepByteFiveShowsTheBoxClear) {
    ConfigFrame frame = m_dlg.m_workFrame;
    frame[FrameOffset::kSleep] = 5;
    m_dlg.DecodeFrame(frame);
    EXPECT_EQ(m_window->GetCheck(IDC_SLEEP), BST_UNCHECKED);
    EXPECT_FALSE(m_dlg.Settings().m_bSleep);
}

TEST_F(MainWindow, RfPowerNineLoadsWithoutSelectionAndReadsBackMinusOne) {
    m_dlg.Settings().m_iRfPower = 9;
    m_dlg.UpdateData(false);
    EXPECT_EQ(m_window->GetCurSel(IDC_RF_POWER), CB_ERR);
    EXPECT_TRUE(m_dlg.UpdateData(true));
    EXPECT_EQ(m_dlg.Settings().m_iRfPower, -1);
}

TEST_F(MainWindow, UnparsableStartFrequencyStopsBeforeTheNetworkId) {
    m_window->Click(IDC_SLEEP);
    m_window->Type(IDC_MAC, "01 02 03 04 05 06");
    m_window->Type(IDC_START_FREQ, "x");
    m_window->Type(IDC_NETWORK_ID, "4660");

    EXPECT_FALSE(m_dlg.UpdateData(true));

    EXPECT_EQ(m_dlg.Settings().m_bSleep, 1);
    EXPECT_EQ(m_dlg.Settings().m_strMac, "01 02 03 04 05 06");
    EXPECT_EQ(m_dlg.Settings().m_nNetworkId, 0);
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].text, "请输入一个数字。");
    EXPECT_EQ(m_window->Focus(), IDC_START_FREQ);
    EXPECT_EQ(m_window->TextSelection(IDC_START_FREQ), (std::pair<int, int>{0, 1}));
}

}  // namespace

namespace {

// The window under a process locale whose decimal point is a comma, as a desktop session in
// Germany sets it at start.
class MainWindowUnderGermanLocale : public MainWindow {
  protected:
    void SetUp() override {
        m_previous = std::setlocale(LC_ALL, nullptr);
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
            GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (locale-gen de_DE.UTF-8)";
        }
        MainWindow::SetUp();
    }
    void TearDown() override { std::setlocale(LC_ALL, m_previous.c_str()); }

  private:
    std::string m_previous;
};

TEST_F(MainWindowUnderGermanLocale, NumbersUseTheFullStopAndNoGrouping) {
    m_dlg.Settings().m_dStartFreq = 433.92;
    m_dlg.Settings().m_nNetworkId = 65535;
    m_dlg.Settings().m_nBackoffTick = 160000;
    m_dlg.UpdateData(false);
    EXPECT_EQ(Text(IDC_START_FREQ), "433.92");
    EXPECT_EQ(Text(IDC_NETWORK_ID), "65535");
    EXPECT_EQ(Text(IDC_BACKOFF_TICK), "160000");

    ASSERT_TRUE(m_window->Click(IDC_ADVANCED));
    m_window->Type(IDC_START_FREQ, "470.5");
    m_window->Type(IDC_CCA_THRESHOLD, "-80,5");
    EXPECT_TRUE(m_dlg.UpdateData(true));
    EXPECT_DOUBLE_EQ(m_dlg.Settings().m_dStartFreq, 470.5);
    EXPECT_DOUBLE_EQ(m_dlg.Settings().m_dCcaThreshold, -80.0);
}

TEST_F(MainWindowUnderGermanLocale, ApplyShowsTheCarriedFrequencyWithAFullStop) {
    m_window->Type(IDC_START_FREQ, "500");
    m_window->Click(IDC_APPLY);
    EXPECT_EQ(Text(IDC_START_FREQ), "479.999847412109");
    EXPECT_EQ(Boxes().size(), 1U);
}

}  // namespace

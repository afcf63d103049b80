#include "station/setting_values.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>

#include "model/config_codec.h"
#include "model/windowless_codec_host.h"

namespace {

const SettingField& Field(std::string_view name) {
    const SettingField* field = FindSettingField(name);
    EXPECT_NE(field, nullptr) << name;
    return field != nullptr ? *field : SettingFields().front();
}

std::string Shown(const ConfigSettings& s, std::string_view name) {
    return FieldValueText(GetFieldValue(s, Field(name)));
}

// One row per setting: the text given, and what the field shows afterwards.
struct RoundTrip {
    const char* name;
    const char* text;
    SetFieldOutcome outcome;
    const char* shown;  // null: the value is as before
};

constexpr SetFieldOutcome kSet = SetFieldOutcome::Set;
constexpr SetFieldOutcome kReadOnly = SetFieldOutcome::ReadOnly;

const RoundTrip kRoundTrips[] = {
    {"flow_ctrl", "true", kSet, "true"},
    {"sleep", "false", kSet, "false"},
    {"repeat", "1", kSet, "true"},
    {"flip_act_pin", "0", kSet, "false"},
    {"name", "Other", kReadOnly, nullptr},
    {"version", "2.0", kReadOnly, nullptr},
    {"type", "ROOT", kReadOnly, nullptr},
    {"rf_freq_band", "470MHz", kReadOnly, nullptr},
    {"rf_power_max", "20dBm", kReadOnly, nullptr},
    {"mac", "4C5600000001", kSet, "4C:56:00:00:00:01"},
    {"handshake_ack_packet", "AA BB", kSet, "AA BB"},
    {"predefined_broadcast_cmd1", "01-02-03", kSet, "01-02-03"},
    {"predefined_broadcast_cmd2", "", kSet, ""},
    {"host_address_inquiry_cmd", "FF", kSet, "FF"},
    {"start_freq_mhz", "4.5e2", kSet, "450"},
    {"cca_threshold_dbm", "  -74.5", kSet, "-74.5"},
    {"main_ch_start_num", "12", kSet, "12"},
    {"aux_ch_interval", "3", kSet, "3"},
    {"aux_ch_start_num", "-3", kSet, "-3"},
    {"downlink_address_offset", "4", kSet, "4"},
    {"uplink_address_offset", "5", kSet, "5"},
    {"address_length_byte", "8", kSet, "8"},
    {"auto_sleep_timeout_ms", "2000", kSet, "2000"},
    {"beacon_duration_tick", "35", kSet, "35"},
    {"compensation_unit_tick", "200", kSet, "200"},
    {"host_boot_time_ms", "0", kSet, "0"},
    {"frame_length_amendment", "6", kSet, "6"},
    {"frame_length_offset", "7", kSet, "7"},
    {"network_id", "70000", kSet, "70000"},  // ranges are the build's business
    {"response_timeout_ms", "100", kSet, "100"},
    {"timeout_down_ms", "3000", kSet, "3000"},
    {"timeout_up_ms", "3001", kSet, "3001"},
    {"sync_duration_tick", "25", kSet, "25"},
    {"sleep_wake_rate", "1000", kSet, "1000"},
    {"frame_stop_sync_word", "170", kSet, "170"},
    {"frame_start_sync_word", "85", kSet, "85"},
    {"backoff_tick_us", "108", kSet, "108"},
    {"auto_wake_slot_tick", "15", kSet, "15"},
    {"broadcast_wildcard", "255", kSet, "255"},
    {"multicast_wildcard", "254", kSet, "254"},
    {"sync_interval_s", "60", kSet, "60"},
    {"uart_wakeup_bytes", "63", kSet, "63"},
    {"frame_end_check", "Both", kSet, "Both"},
    {"rf_baud_max", "76.8kbps", kSet, "76.8kbps"},
    {"rf_baud_min", "1.2kbps", kSet, "1.2kbps"},
    {"act_pin", "485\u63a7\u5236", kSet, "485\u63a7\u5236"},
    {"rf_baud_def", "250kbps", kSet, "250kbps"},
    {"aux_ch_num", "16", kSet, "16"},
    {"rf_power", "-20dBm", kSet, "-20dBm"},
    {"uart_baud_bps", "230400", kSet, "230400"},
    {"uart_start_bit", "High", kSet, "High"},
    {"frame_mode", "ASCII", kSet, "ASCII"},
    {"uart_parity_bit", "Odd", kSet, "Odd"},
    {"uart_stop_bit", "2", kSet, "2"},
    {"device_num", ">=2", kSet, ">=2"},
};

class SettingRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(SettingRoundTrip, ShowsWhatWasSetAndReadsItsOwnTextBack) {
    const RoundTrip& row = GetParam();
    ConfigSettings settings(0);
    const std::string before = Shown(settings, row.name);
    EXPECT_EQ(SetFieldFromText(settings, Field(row.name), row.text), row.outcome);
    const std::string shown = Shown(settings, row.name);
    EXPECT_EQ(shown, row.shown != nullptr ? row.shown : before);

    // What a field shows is what it reads, so a value can be carried from one record to another.
    ConfigSettings other(0);
    if (row.outcome == kSet) {
        EXPECT_EQ(SetFieldFromText(other, Field(row.name), shown), kSet);
        EXPECT_EQ(Shown(other, row.name), shown);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryField, SettingRoundTrip, testing::ValuesIn(kRoundTrips),
                         [](const testing::TestParamInfo<RoundTrip>& info) {
                             return std::string(info.param.name);
                         });

TEST(SettingRoundTrip, TheTableCoversEverySetting) {
    std::set<std::string_view> covered;
    for (const RoundTrip& row : kRoundTrips) {
        covered.insert(row.name);
    }
    for (const SettingField& field : SettingFields()) {
        EXPECT_EQ(covered.count(field.name), 1u) << field.name;
    }
}

struct Unreadable {
    const char* label;
    const char* name;
    const char* text;
};

class UnreadableValue : public testing::TestWithParam<Unreadable> {};

TEST_P(UnreadableValue, IsRefusedAndLeavesTheSettingAsItWas) {
    ConfigSettings settings(0);
    const std::string before = Shown(settings, GetParam().name);
    EXPECT_EQ(SetFieldFromText(settings, Field(GetParam().name), GetParam().text),
              SetFieldOutcome::UnreadableValue);
    EXPECT_EQ(Shown(settings, GetParam().name), before);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UnreadableValue,
    testing::Values(Unreadable{"IntegerLetters", "network_id", "abc"},
                    Unreadable{"IntegerTrailingLetters", "network_id", "12abc"},
                    Unreadable{"IntegerHex", "network_id", "0x10"},
                    Unreadable{"IntegerFraction", "network_id", "1.5"},
                    Unreadable{"IntegerEmpty", "network_id", ""},
                    Unreadable{"RealComma", "start_freq_mhz", "433,92"},
                    Unreadable{"RealEmpty", "start_freq_mhz", ""},
                    Unreadable{"RealNotANumber", "start_freq_mhz", "nan"},
                    Unreadable{"CheckWord", "flow_ctrl", "yes"},
                    Unreadable{"ListOtherCase", "uart_parity_bit", "none"},
                    Unreadable{"ListPosition", "rf_baud_def", "0"},
                    Unreadable{"RfPowerOfTheOtherClass", "rf_power", "+20dBm"},
                    Unreadable{"MacFiveBytes", "mac", "4C:56:00:00:00"},
                    Unreadable{"MacSevenBytes", "mac", "4C:56:00:00:00:01:02"},
                    Unreadable{"MacDots", "mac", "4C.56.00.00.00.01"},
                    Unreadable{"MacEmpty", "mac", ""}),
    [](const testing::TestParamInfo<Unreadable>& info) { return std::string(info.param.label); });

TEST(SettingValues, MacIsHeldAsTheWindowsHexText) {
    ConfigSettings settings(0);
    EXPECT_EQ(SetFieldFromText(settings, Field("mac"), "4c-56-00-00-00-01"), SetFieldOutcome::Set);
    EXPECT_EQ(settings.m_strMac, "4C 56 00 00 00 01");
    settings.m_strMac = "12-34";  // as typed into the window
    EXPECT_EQ(Shown(settings, "mac"), "12:34:00:00:00:00");
}

TEST(SettingValues, RfPowerItemsFollowTheModulesPowerClass) {
    ConfigSettings settings(0);
    settings.m_nPowerMaxDbm = 20;
    EXPECT_EQ(SetFieldFromText(settings, Field("rf_power"), "+20dBm"), SetFieldOutcome::Set);
    EXPECT_EQ(settings.m_iRfPower, 0);
    settings.m_nPowerMaxDbm = 10;
    EXPECT_EQ(Shown(settings, "rf_power"), "+10dBm");
}

TEST(SettingValues, ListWithoutAChoiceShowsAsTheWindowShowsIt) {
    ConfigSettings settings(0);
    settings.m_iUartBaud = 13;  // a baud pair that matched no item
    EXPECT_EQ(GetFieldValue(settings, Field("uart_baud_bps")), FieldValue(std::string()));
    EXPECT_EQ(GetFieldValue(settings, Field("network_id")), FieldValue(0LL));
    EXPECT_EQ(GetFieldValue(settings, Field("start_freq_mhz")), FieldValue(433.0));
}

TEST(SettingValues, ABuildWithoutAWindowAdjustsAndReportsWhatWasSet) {
    ConfigSettings settings(0);
    WindowlessCodecHost host;
    ASSERT_EQ(SetFieldFromText(settings, Field("network_id"), "70000"), SetFieldOutcome::Set);
    ASSERT_EQ(SetFieldFromText(settings, Field("mac"), "4C:56:00:00:00:01"), SetFieldOutcome::Set);
    ConfigFrame frame{};
    ConfigCodec(settings, host).EncodeFrame(frame, FrameBuildOptions{});
    ASSERT_FALSE(host.Warnings().empty());
    EXPECT_EQ(host.Warnings().front(),
              "Network ID is equal to 70000 which is beyond the scope [0 ~ 65535], it will be "
              "automatically adjusted to 65535!");
    EXPECT_EQ(frame[FrameOffset::kMac], 0x4C);
    EXPECT_EQ(frame[FrameOffset::kMac + 5], 0x01);
    EXPECT_EQ(Shown(settings, "network_id"), "65535");
}

struct Assignment {
    const char* label;
    const char* text;
    std::optional<std::pair<std::string, std::string>> parsed;
};

class AssignmentText : public testing::TestWithParam<Assignment> {};

TEST_P(AssignmentText, SplitsAtTheFirstEqualsSign) {
    EXPECT_EQ(ParseAssignment(GetParam().text), GetParam().parsed);
}

using Pair = std::pair<std::string, std::string>;

INSTANTIATE_TEST_SUITE_P(
    Texts, AssignmentText,
    testing::Values(Assignment{"NameAndValue", "network_id=5", Pair{"network_id", "5"}},
                    Assignment{"EmptyValue",
                               "handshake_ack_packet=", Pair{"handshake_ack_packet", ""}},
                    Assignment{"EqualsInValue", "a=b=c", Pair{"a", "b=c"}},
                    Assignment{"NoEquals", "network_id", std::nullopt},
                    Assignment{"NoName", "=5", std::nullopt},
                    Assignment{"Empty", "", std::nullopt}),
    [](const testing::TestParamInfo<Assignment>& info) { return std::string(info.param.label); });

// A value is held to its field's range once read: the range when outside it. A whole number
// past 32 bits is refused as it is read.
TEST(SettingValues, AValueOutsideItsRangeIsReportedWithTheRange) {
    ConfigSettings settings(0);
    settings.m_nBackoffTick = 108;
    const auto range = [&settings](const char* name, const char* text) -> std::string {
        const SettingField& field = Field(name);
        if (SetFieldFromText(settings, field, text) == SetFieldOutcome::OutOfRange) {
            return "refused, " + RangeText(*BoundsOf(field, settings));
        }
        const auto outside = OutsideItsRange(settings, field);
        return outside ? RangeText(*outside) : "inside";
    };
    EXPECT_EQ(range("network_id", "65535"), "inside");
    EXPECT_EQ(range("aux_ch_start_num", "-3"), "0 to 255");
    EXPECT_EQ(range("timeout_up_ms", "7078"), "1 to 7077");  // the tick's longest timeout
    EXPECT_EQ(range("network_id", "99999999999"), "refused, 0 to 65535");
    EXPECT_EQ(range("start_freq_mhz", "1e999"), "refused, 410 to 480");
}

TEST(NearestFieldNames, NameTheFieldsASlipOrAPartComesFrom) {
    EXPECT_EQ(NearestFieldNames("netwrok_id").front(), "network_id");
    EXPECT_EQ(NearestFieldNames("start_freq").front(), "start_freq_mhz");
    const auto bauds = NearestFieldNames("baud", 10);
    EXPECT_EQ(bauds.size(), 4u);  // rf_baud_def, rf_baud_max, rf_baud_min, uart_baud_bps
    EXPECT_TRUE(NearestFieldNames("xyz").empty());
}

}  // namespace

#include "model/setting_lists.h"

#include <array>
#include <cstddef>

#include "model/codec_tables.h"

namespace {

template <std::size_t N>
constexpr std::array<std::string_view, N> Views(const std::array<const char*, N>& items) {
    std::array<std::string_view, N> views{};
    for (std::size_t i = 0; i < N; ++i) {
        views[i] = items[i];
    }
    return views;
}

constexpr std::array<std::string_view, 12> kRfBauds{"500kbps",  "250kbps",  "175kbps",  "100kbps",
                                                    "76.8kbps", "38.4kbps", "19.2kbps", "9.6kbps",
                                                    "7.2kbps",  "4.8kbps",  "2.4kbps",  "1.2kbps"};
constexpr std::array<std::string_view, 5> kAuxChannelCounts{"1", "2", "4", "8", "16"};
constexpr auto kRfPowers10dBm = Views(RF_POWER_LIST_10DBM);
constexpr auto kRfPowers20dBm = Views(RF_POWER_LIST_20DBM);
constexpr std::array<std::string_view, kUartBaudCount> kUartBauds{
    "600",   "1200",  "2400",  "4800",  "9600",   "14400", "19200",
    "28800", "38400", "57600", "76800", "115200", "230400"};
constexpr std::array<std::string_view, 2> kUartStartBits{"Low", "High"};
constexpr std::array<std::string_view, 3> kUartParities{"None", "Odd", "Even"};
constexpr std::array<std::string_view, 2> kUartStopBits{"1", "2"};
constexpr std::array<std::string_view, 2> kFrameModes{"Binary", "ASCII"};
constexpr std::array<std::string_view, 3> kDeviceNums{"0", "1", ">=2"};
constexpr std::array<std::string_view, 4> kFrameEndChecks{"None", "Start", "End", "Both"};
// None, peripheral wake-up, 485 control.
constexpr std::array<std::string_view, 3> kActPinModes{"\u65e0", "\u5916\u8bbe\u5524\u9192",
                                                       "485\u63a7\u5236"};

}  // namespace

std::span<const std::string_view> SettingListItems(SettingList list,
                                                   const ConfigSettings& settings) {
    return SettingListItems(list, settings.m_nPowerMaxDbm);
}

std::span<const std::string_view> SettingListItems(SettingList list, int powerMaxDbm) {
    switch (list) {
        case SettingList::RfBaud:
            return kRfBauds;
        case SettingList::AuxChNum:
            return kAuxChannelCounts;
        case SettingList::RfPower:
            return powerMaxDbm == 20 ? std::span<const std::string_view>(kRfPowers20dBm)
                                     : std::span<const std::string_view>(kRfPowers10dBm);
        case SettingList::UartBaud:
            return kUartBauds;
        case SettingList::UartStartBit:
            return kUartStartBits;
        case SettingList::UartParity:
            return kUartParities;
        case SettingList::UartStopBit:
            return kUartStopBits;
        case SettingList::FrameMode:
            return kFrameModes;
        case SettingList::DeviceNum:
            return kDeviceNums;
        case SettingList::FrameEndCheck:
            return kFrameEndChecks;
        case SettingList::ActPin:
            return kActPinModes;
        case SettingList::None:
            break;
    }
    return {};
}

#include <array>
#include <string>
#include <string_view>

#include "resources/control_ids.h"
#include "resources/main_dialog_template.h"

namespace {

// "COM1" to "COM50", built once at compile time into one character table.
constexpr int kPortCount = 50;
constexpr std::size_t kPortNameWidth = 5;  // "COM50"

constexpr auto kPortNameChars = [] {
    std::array<char, kPortCount * kPortNameWidth> chars{};
    for (int n = 1; n <= kPortCount; ++n) {
        std::size_t at = (n - 1) * kPortNameWidth;
        chars[at] = 'C';
        chars[at + 1] = 'O';
        chars[at + 2] = 'M';
        if (n >= 10) {
            chars[at + 3] = static_cast<char>('0' + n / 10);
            chars[at + 4] = static_cast<char>('0' + n % 10);
        } else {
            chars[at + 3] = static_cast<char>('0' + n);
        }
    }
    return chars;
}();

constexpr auto kPortNames = [] {
    std::array<std::string_view, kPortCount> names{};
    for (int n = 1; n <= kPortCount; ++n) {
        names[n - 1] = std::string_view(&kPortNameChars[(n - 1) * kPortNameWidth], n >= 10 ? 5 : 4);
    }
    return names;
}();

constexpr std::array<std::string_view, 12> kRfBauds{"500kbps",  "250kbps",  "175kbps",  "100kbps",
                                                    "76.8kbps", "38.4kbps", "19.2kbps", "9.6kbps",
                                                    "7.2kbps",  "4.8kbps",  "2.4kbps",  "1.2kbps"};

constexpr std::array<std::string_view, 5> kAuxChannelCounts{"1", "2", "4", "8", "16"};

// The list for a 10 dBm module; decoding a frame of a 20 dBm module replaces it.
constexpr std::array<std::string_view, 8> kRfPowers10dBm{"+10dBm", "+07dBm", "+05dBm", "+00dBm",
                                                         "-05dBm", "-10dBm", "-15dBm", "-20dBm"};

constexpr std::array<std::string_view, 13> kUartBauds{"600",   "1200",   "2400",  "4800",  "9600",
                                                      "14400", "19200",  "28800", "38400", "57600",
                                                      "76800", "115200", "230400"};

constexpr std::array<std::string_view, 2> kUartStartBits{"Low", "High"};
constexpr std::array<std::string_view, 3> kUartParities{"None", "Odd", "Even"};
constexpr std::array<std::string_view, 2> kUartStopBits{"1", "2"};
constexpr std::array<std::string_view, 2> kFrameModes{"Binary", "ASCII"};
constexpr std::array<std::string_view, 3> kDeviceNums{"0", "1", ">=2"};
constexpr std::array<std::string_view, 4> kFrameEndChecks{"None", "Start", "End", "Both"};

// None, peripheral wake-up, 485 control.
constexpr std::array<std::string_view, 3> kActPinModes{"\u65e0", "\u5916\u8bbe\u5524\u9192",
                                                       "485\u63a7\u5236"};

constexpr std::array kLists{
    InitialList{IDC_COM_PORT, kPortNames},
    InitialList{IDC_RF_BAUD_DEF, kRfBauds},
    InitialList{IDC_RF_BAUD_MAX, kRfBauds},
    InitialList{IDC_RF_BAUD_MIN, kRfBauds},
    InitialList{IDC_AUX_CH_NUM, kAuxChannelCounts},
    InitialList{IDC_RF_POWER, kRfPowers10dBm},
    InitialList{IDC_UART_BAUD, kUartBauds},
    InitialList{IDC_UART_START_BIT, kUartStartBits},
    InitialList{IDC_UART_PARITY, kUartParities},
    InitialList{IDC_UART_STOP_BIT, kUartStopBits},
    InitialList{IDC_FRAME_MODE, kFrameModes},
    InitialList{IDC_DEVICE_NUM, kDeviceNums},
    InitialList{IDC_FRAME_END_CHECK, kFrameEndChecks},
    InitialList{IDC_ACT_PIN, kActPinModes},
};

}  // namespace

std::span<const InitialList> MainDialogLists() {
    return kLists;
}

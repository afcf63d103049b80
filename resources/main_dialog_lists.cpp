#include <array>
#include <string>
#include <string_view>

#include "model/control_ids.h"
#include "model/setting_lists.h"
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

// The settings' lists are the model's; a window starts with the list of a 10 dBm module, which
// decoding a frame of a 20 dBm module replaces.
std::span<const std::string_view> Items(SettingList list) {
    return SettingListItems(list, 10);
}

std::array<InitialList, 14> MakeLists() {
    return {
        InitialList{IDC_COM_PORT, kPortNames},
        InitialList{IDC_RF_BAUD_DEF, Items(SettingList::RfBaud)},
        InitialList{IDC_RF_BAUD_MAX, Items(SettingList::RfBaud)},
        InitialList{IDC_RF_BAUD_MIN, Items(SettingList::RfBaud)},
        InitialList{IDC_AUX_CH_NUM, Items(SettingList::AuxChNum)},
        InitialList{IDC_RF_POWER, Items(SettingList::RfPower)},
        InitialList{IDC_UART_BAUD, Items(SettingList::UartBaud)},
        InitialList{IDC_UART_START_BIT, Items(SettingList::UartStartBit)},
        InitialList{IDC_UART_PARITY, Items(SettingList::UartParity)},
        InitialList{IDC_UART_STOP_BIT, Items(SettingList::UartStopBit)},
        InitialList{IDC_FRAME_MODE, Items(SettingList::FrameMode)},
        InitialList{IDC_DEVICE_NUM, Items(SettingList::DeviceNum)},
        InitialList{IDC_FRAME_END_CHECK, Items(SettingList::FrameEndCheck)},
        InitialList{IDC_ACT_PIN, Items(SettingList::ActPin)},
    };
}

}  // namespace

std::span<const InitialList> MainDialogLists() {
    static const std::array<InitialList, 14> lists = MakeLists();
    return lists;
}

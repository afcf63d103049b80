#include "resources/main_dialog_template.h"

#include <array>

#include "model/control_ids.h"

namespace {

using K = ItemKind;

constexpr DialogItem Group(std::string_view caption, int x, int y, int w, int h) {
    return {K::GroupBox, kNoId, caption, x, y, w, h};
}

constexpr DialogItem Label(std::string_view text, int x, int y, int w, int h) {
    return {K::LabelRight, kNoId, text, x, y, w, h};
}

constexpr DialogItem Control(K kind, int id, std::string_view text, int x, int y, int w, int h) {
    return {kind, id, text, x, y, w, h};
}

// Group boxes first, so that every control is stacked above the frame around it; then each
// control preceded by the label that stands left of it. The controls keep the order of the
// template, which is the tab order.
constexpr std::array kItems{
    Group("Wireless Module", 7, 7, 80, 46),
    Group("Configuration File", 90, 7, 80, 46),
    Group("Module Information", 7, 55, 163, 62),
    Group("Basic RF Configuration", 173, 7, 217, 110),
    Group("Protocol Configuration", 7, 120, 383, 142),
    Group("Advanced Configuration", 7, 284, 383, 50),

    DialogItem{K::LabelCenter, kNoId, "ComPort:", 11, 22, 33, 9},
    Control(K::EditableDropDown, IDC_COM_PORT, "", 46, 20, 36, 177),
    Control(K::PushButton, IDC_READ, "Read", 13, 35, 31, 14),
    Control(K::CheckBox, IDC_AUTO_CONFIG, "Auto Config", 223, 266, 60, 10),
    Control(K::PushButton, IDC_OPEN, "Open", 96, 30, 31, 14),
    Control(K::PushButton, IDC_SAVE, "Save", 132, 30, 33, 14),
    Control(K::PushButton, IDC_WRITE, "Write", 49, 35, 33, 14),
    Control(K::PushButton, IDC_ADVANCED, "Advanced>>", 281, 264, 50, 13),
    Control(K::ReadOnlyEdit, IDC_STATUS, "", 7, 264, 214, 12),
    Label("Name:", 9, 67, 33, 9),
    Control(K::ReadOnlyEdit, IDC_NAME, "", 43, 66, 123, 12),
    Label("Version:", 9, 91, 33, 9),
    Control(K::ReadOnlyEdit, IDC_VERSION, "", 43, 91, 30, 12),
    Label("Type:", 9, 103, 33, 9),
    Control(K::ReadOnlyEdit, IDC_TYPE, "", 43, 103, 30, 12),
    Label("RF Freq Band:", 75, 91, 57, 9),
    Control(K::ReadOnlyEdit, IDC_FREQ_BAND, "", 132, 91, 35, 12),
    Label("RF Power Max:", 75, 103, 57, 9),
    Control(K::ReadOnlyEdit, IDC_POWER_MAX, "", 132, 103, 35, 12),
    Label("MAC:", 9, 79, 33, 9),
    Control(K::Edit, IDC_MAC, "", 43, 78, 121, 12),
    Label("Network ID:", 176, 20, 77, 9),
    Control(K::Edit, IDC_NETWORK_ID, "", 254, 20, 34, 12),
    Label("RF Baud Def:", 288, 32, 51, 9),
    Control(K::DropDownList, IDC_RF_BAUD_DEF, "", 340, 30, 46, 177),
    Label("RF Baud Max:", 288, 44, 51, 9),
    Control(K::DropDownList, IDC_RF_BAUD_MAX, "", 340, 42, 46, 177),
    Label("RF Baud Min:", 288, 56, 51, 9),
    Control(K::DropDownList, IDC_RF_BAUD_MIN, "", 340, 54, 46, 177),
    Label("Start Freq(MHz):", 176, 56, 77, 9),
    Control(K::Edit, IDC_START_FREQ, "", 254, 56, 34, 12),
    Label("Main CH Start Num:", 176, 68, 77, 9),
    Control(K::Edit, IDC_MAIN_CHANNEL, "", 254, 68, 34, 12),
    Label("Aux CH Start Num:", 176, 80, 77, 9),
    Control(K::Edit, IDC_AUX_START_CHANNEL, "", 254, 80, 34, 12),
    Label("Aux CH Interval:", 176, 92, 77, 9),
    Control(K::Edit, IDC_AUX_CH_INTERVAL, "", 254, 90, 34, 12),
    Label("Aux CH Num:", 176, 104, 77, 9),
    Control(K::DropDownList, IDC_AUX_CH_NUM, "", 254, 102, 34, 177),
    Label("RF Power:", 288, 68, 51, 9),
    Control(K::DropDownList, IDC_RF_POWER, "", 340, 66, 46, 177),
    Control(K::CheckBox, IDC_FLOW_CTRL, "Flow Ctrl", 329, 94, 49, 8),
    Control(K::CheckBox, IDC_SLEEP, "Sleep", 291, 94, 37, 8),
    Label("Sleep-Wake Rate:", 176, 32, 77, 9),
    Control(K::Edit, IDC_SLEEP_WAKE_RATE, "", 254, 32, 34, 12),
    Label("HOST Boot Time(ms):", 115, 136, 87, 9),
    Control(K::Edit, IDC_HOST_BOOT_TIME, "", 203, 134, 40, 12),
    Label("Response Timeout(ms):", 115, 148, 87, 9),
    Control(K::Edit, IDC_RESPONSE_TIMEOUT, "", 203, 146, 40, 12),
    Label("UART Baud(bps):", 10, 136, 64, 9),
    Control(K::DropDownList, IDC_UART_BAUD, "", 75, 134, 40, 177),
    Label("UART Start Bit:", 10, 148, 64, 9),
    Control(K::DropDownList, IDC_UART_START_BIT, "", 75, 146, 40, 177),
    Label("UART Parity Bit:", 10, 160, 64, 9),
    Control(K::DropDownList, IDC_UART_PARITY, "", 75, 158, 40, 177),
    Label("UART Stop Bit:", 10, 172, 64, 9),
    Control(K::DropDownList, IDC_UART_STOP_BIT, "", 75, 170, 40, 177),
    Label("Frame Start Sync Word:", 247, 184, 97, 9),
    Control(K::Edit, IDC_FRAME_START_SYNC, "", 345, 182, 40, 12),
    Label("Frame Stop Sync Word:", 247, 196, 97, 9),
    Control(K::Edit, IDC_FRAME_STOP_SYNC, "", 345, 194, 40, 12),
    Label("Broadcast Wildcard:", 115, 172, 87, 9),
    Control(K::Edit, IDC_BROADCAST_WILDCARD, "", 203, 170, 40, 12),
    Label("Multicast Wildcard:", 115, 184, 87, 9),
    Control(K::Edit, IDC_MULTICAST_WILDCARD, "", 203, 182, 40, 12),
    Label("Address Length(byte):", 115, 160, 87, 9),
    Control(K::Edit, IDC_ADDR_LENGTH, "", 203, 158, 40, 12),
    Label("Downlink Address Offset:", 247, 136, 97, 9),
    Control(K::Edit, IDC_DOWNLINK_ADDR_OFFSET, "", 345, 134, 40, 12),
    Label("Uplink Address Offset:", 247, 148, 97, 9),
    Control(K::Edit, IDC_UPLINK_ADDR_OFFSET, "", 345, 146, 40, 12),
    Label("Frame Length Offset:", 247, 159, 97, 9),
    Control(K::Edit, IDC_FRAME_LEN_OFFSET, "", 345, 158, 40, 12),
    Label("Frame Length Amendment:", 247, 172, 97, 9),
    Control(K::Edit, IDC_FRAME_LEN_AMENDMENT, "", 345, 170, 40, 12),
    Label("Frame Mode:", 10, 184, 64, 9),
    Control(K::DropDownList, IDC_FRAME_MODE, "", 75, 182, 40, 177),
    Label("Host Address Inquiry Cmd:", 10, 223, 105, 9),
    Control(K::Edit, IDC_HOST_ADDR_INQUIRY, "", 116, 221, 270, 12),
    Label("Predefined Broadcast Cmd1:", 10, 236, 105, 9),
    Control(K::Edit, IDC_BROADCAST_CMD1, "", 116, 234, 270, 12),
    Label("Predefined Broadcast Cmd2:", 10, 249, 105, 9),
    Control(K::Edit, IDC_BROADCAST_CMD2, "", 116, 247, 270, 12),
    Control(K::PushButton, IDC_APPLY, "Apply", 336, 264, 50, 13),
    Label("CCA Threshold(dBm):", 119, 294, 92, 9),
    Control(K::Edit, IDC_CCA_THRESHOLD, "", 211, 292, 40, 12),
    Label("Backoff Tick(us):", 8, 296, 70, 9),
    Control(K::Edit, IDC_BACKOFF_TICK, "", 78, 294, 40, 12),
    Label("Auto Sleep Timeout(ms):", 119, 318, 92, 9),
    Control(K::Edit, IDC_AUTO_SLEEP_TIMEOUT, "", 211, 316, 40, 12),
    Label("Timeout Down(ms):", 8, 308, 70, 9),
    Control(K::Edit, IDC_TIMEOUT_DOWN, "", 78, 306, 40, 12),
    Label("Timeout Up(ms):", 8, 320, 70, 9),
    Control(K::Edit, IDC_TIMEOUT_UP, "", 78, 318, 40, 12),
    Label("Sync Duration(tick):", 248, 294, 97, 9),
    Control(K::Edit, IDC_SYNC_DURATION, "", 346, 292, 40, 12),
    Label("Beacon Duration(tick):", 248, 306, 97, 9),
    Control(K::Edit, IDC_BEACON_DURATION, "", 346, 304, 40, 12),
    Label("Auto Wake Slot(tick):", 119, 306, 92, 9),
    Control(K::Edit, IDC_AUTO_WAKE_SLOT, "", 211, 304, 40, 12),
    Label("Compensation Unit(tick):", 248, 318, 97, 9),
    Control(K::Edit, IDC_COMPENSATION_UNIT, "", 346, 316, 40, 12),
    Label("Device Num:", 288, 20, 51, 9),
    Control(K::DropDownList, IDC_DEVICE_NUM, "", 340, 17, 46, 177),
    Label("Handshake ACK Packet:", 10, 210, 105, 9),
    Control(K::Edit, IDC_HANDSHAKE_ACK, "", 116, 208, 270, 12),
    Label("Sync Interval(s):", 176, 44, 77, 9),
    Control(K::Edit, IDC_SYNC_INTERVAL, "", 254, 44, 34, 12),
    Control(K::CheckBox, IDC_REPEAT, "Repeat", 291, 105, 37, 8),
    Label("Frame End Check:", 10, 196, 64, 9),
    Control(K::DropDownList, IDC_FRAME_END_CHECK, "", 75, 194, 40, 177),
    Label("UART Wakeup Bytes:", 115, 196, 87, 9),
    Control(K::Edit, IDC_UART_WAKEUP_BYTES, "", 203, 194, 40, 12),
    Label("ACT Pin:", 288, 80, 51, 9),
    Control(K::DropDownList, IDC_ACT_PIN, "", 340, 78, 46, 177),
    Control(K::CheckBox, IDC_FLIP_ACT_PIN, "Flip ACT Pin", 329, 105, 57, 8),
};

static_assert(kItems.size() == 6 + 52 + 64);

// The keys a Linux user expects for the file commands.
constexpr std::array kAccelerators{
    Accelerator{"Ctrl+O", IDC_OPEN},
    Accelerator{"Ctrl+S", IDC_SAVE},
};

}  // namespace

const DialogTemplate& MainDialogTemplate() {
    static const DialogTemplate dialogTemplate{
        IDD_LVCFG_DIALOG,
        "KTR TOOL \u2013 ORBA III Configuration Software For KTR5520Q",
        397,
        341,
        "\u5b8b\u4f53",  // 宋体
        9,
        true,
        kItems,
        MainDialogLists(),
        false,
        kAccelerators,
    };
    return dialogTemplate;
}

#include "model/setting_field.h"

#include <algorithm>
#include <array>

#include "model/control_ids.h"
#include "model/timing_math.h"

namespace {

using S = ConfigSettings;
using K = SettingKind;
using L = SettingList;

constexpr SettingField Check(std::string_view name, int id, bool S::*member) {
    return {name, id, K::Check, member};
}

constexpr SettingField Text(std::string_view name, int id, K kind, std::string S::*member) {
    return {name, id, kind, member};
}

constexpr SettingField Number(std::string_view name, int id, int S::*member, int low, int high,
                              const char* warning, const char* unit = "") {
    return {name,   id,      K::Integer,
            member, L::None, {static_cast<double>(low), static_cast<double>(high), warning, unit}};
}

constexpr SettingField Real(std::string_view name, int id, double S::*member, double low,
                            double high, const char* warning, const char* unit) {
    return {name, id, K::Real, member, L::None, {low, high, warning, unit}};
}

constexpr SettingField Timeout(std::string_view name, int id, int S::*member, const char* warning) {
    return {name, id, K::Integer, member, L::None, {0, 0, warning, "ms", true}};
}

constexpr SettingField List(std::string_view name, int id, int S::*member, L list) {
    return {name, id, K::List, member, list};
}

constexpr std::array kSettingFields{
    Check("flow_ctrl", IDC_FLOW_CTRL, &S::m_bFlowCtrl),
    Check("sleep", IDC_SLEEP, &S::m_bSleep),
    Check("repeat", IDC_REPEAT, &S::m_bRepeat),
    Check("flip_act_pin", IDC_FLIP_ACT_PIN, &S::m_bFlipActPin),
    Text("name", IDC_NAME, K::Identity, &S::m_strName),
    Text("version", IDC_VERSION, K::Identity, &S::m_strVersion),
    Text("type", IDC_TYPE, K::Identity, &S::m_strType),
    Text("rf_freq_band", IDC_FREQ_BAND, K::Identity, &S::m_strFreqBand),
    Text("rf_power_max", IDC_POWER_MAX, K::Identity, &S::m_strPowerMax),
    Text("mac", IDC_MAC, K::Mac, &S::m_strMac),
    Text("handshake_ack_packet", IDC_HANDSHAKE_ACK, K::HexText, &S::m_strHandshakeAck),
    Text("predefined_broadcast_cmd1", IDC_BROADCAST_CMD1, K::HexText, &S::m_strBroadcastCmd1),
    Text("predefined_broadcast_cmd2", IDC_BROADCAST_CMD2, K::HexText, &S::m_strBroadcastCmd2),
    Text("host_address_inquiry_cmd", IDC_HOST_ADDR_INQUIRY, K::HexText, &S::m_strHostAddrInquiry),
    Real("start_freq_mhz", IDC_START_FREQ, &S::m_dStartFreq, 410.0, 480.0, "Start Frequency",
         "MHz"),
    Real("cca_threshold_dbm", IDC_CCA_THRESHOLD, &S::m_dCcaThreshold, -100.0, -10.0,
         "CCA threshold", "dBm"),
    Number("main_ch_start_num", IDC_MAIN_CHANNEL, &S::m_nMainChannel, 0, 255, "Main channel"),
    Number("aux_ch_interval", IDC_AUX_CH_INTERVAL, &S::m_nAuxChInterval, 1, 255,
           "Auxiliary channel interval"),
    Number("aux_ch_start_num", IDC_AUX_START_CHANNEL, &S::m_nAuxStartChannel, 0, 255,
           "Auxiliary start channel"),
    Number("downlink_address_offset", IDC_DOWNLINK_ADDR_OFFSET, &S::m_nDownlinkAddrOffset, 0, 255,
           "Downlink address offset"),
    Number("uplink_address_offset", IDC_UPLINK_ADDR_OFFSET, &S::m_nUplinkAddrOffset, 0, 255,
           "Uplink address offset"),
    Number("address_length_byte", IDC_ADDR_LENGTH, &S::m_nAddrLength, 1, 16, "Address length"),
    Timeout("auto_sleep_timeout_ms", IDC_AUTO_SLEEP_TIMEOUT, &S::m_nAutoSleepTimeout,
            "Auto-sleep timeout"),
    Number("beacon_duration_tick", IDC_BEACON_DURATION, &S::m_nBeaconDuration, 5, 65535,
           "Beacon message duration", "tick"),
    Number("compensation_unit_tick", IDC_COMPENSATION_UNIT, &S::m_nCompensationUnit, 1, 255,
           "Compensation Uint", "ticks"),
    Number("host_boot_time_ms", IDC_HOST_BOOT_TIME, &S::m_nHostBootTime, 1, 65535, "HOST boot time",
           "ms"),
    Number("frame_length_amendment", IDC_FRAME_LEN_AMENDMENT, &S::m_nFrameLenAmendment, 0, 255,
           "Packet length amendment"),
    Number("frame_length_offset", IDC_FRAME_LEN_OFFSET, &S::m_nFrameLenOffset, 0, 255,
           "Packet length offset"),
    Number("network_id", IDC_NETWORK_ID, &S::m_nNetworkId, 0, 65535, "Network ID"),
    Number("response_timeout_ms", IDC_RESPONSE_TIMEOUT, &S::m_nResponseTimeout, 1, 65535,
           "Host response timeout", "ms"),
    Timeout("timeout_down_ms", IDC_TIMEOUT_DOWN, &S::m_nTimeoutDown, "Timeout downlink"),
    Timeout("timeout_up_ms", IDC_TIMEOUT_UP, &S::m_nTimeoutUp, "Timeout Uplink"),
    Number("sync_duration_tick", IDC_SYNC_DURATION, &S::m_nSyncDuration, 5, 65535,
           "Synchronization message duration", "tick"),
    Number("sleep_wake_rate", IDC_SLEEP_WAKE_RATE, &S::m_nSleepWakeRate, 0, 2500,
           "Sleep-wake rate"),
    Number("frame_stop_sync_word", IDC_FRAME_STOP_SYNC, &S::m_nFrameStopSync, 0, 255,
           "Frame stop sync byte"),
    Number("frame_start_sync_word", IDC_FRAME_START_SYNC, &S::m_nFrameStartSync, 0, 255,
           "Frame start sync byte"),
    Number("backoff_tick_us", IDC_BACKOFF_TICK, &S::m_nBackoffTick, 1, 160000, "Backoff tick",
           "us"),
    Number("auto_wake_slot_tick", IDC_AUTO_WAKE_SLOT, &S::m_nAutoWakeSlot, 5, 65535,
           "Auto-wake slot", "tick"),
    Number("broadcast_wildcard", IDC_BROADCAST_WILDCARD, &S::m_nBroadcastWildcard, 0, 255,
           "Broadcast address wildcard"),
    Number("multicast_wildcard", IDC_MULTICAST_WILDCARD, &S::m_nMulticastWildcard, 0, 255,
           "Multicast address wildcard"),
    Number("sync_interval_s", IDC_SYNC_INTERVAL, &S::m_nSyncInterval, 0, 65535,
           "Synchronization interval time", "s"),
    Number("uart_wakeup_bytes", IDC_UART_WAKEUP_BYTES, &S::m_nUartWakeupBytes, 0, 63,
           "UART Wakeup bytes"),
    List("frame_end_check", IDC_FRAME_END_CHECK, &S::m_iFrameEndCheck, L::FrameEndCheck),
    List("rf_baud_max", IDC_RF_BAUD_MAX, &S::m_iRfBaudMax, L::RfBaud),
    List("rf_baud_min", IDC_RF_BAUD_MIN, &S::m_iRfBaudMin, L::RfBaud),
    List("act_pin", IDC_ACT_PIN, &S::m_iActPin, L::ActPin),
    List("rf_baud_def", IDC_RF_BAUD_DEF, &S::m_iRfBaudDef, L::RfBaud),
    List("aux_ch_num", IDC_AUX_CH_NUM, &S::m_iAuxChNum, L::AuxChNum),
    List("rf_power", IDC_RF_POWER, &S::m_iRfPower, L::RfPower),
    List("uart_baud_bps", IDC_UART_BAUD, &S::m_iUartBaud, L::UartBaud),
    List("uart_start_bit", IDC_UART_START_BIT, &S::m_iUartStartBit, L::UartStartBit),
    List("frame_mode", IDC_FRAME_MODE, &S::m_iFrameMode, L::FrameMode),
    List("uart_parity_bit", IDC_UART_PARITY, &S::m_iUartParity, L::UartParity),
    List("uart_stop_bit", IDC_UART_STOP_BIT, &S::m_iUartStopBit, L::UartStopBit),
    List("device_num", IDC_DEVICE_NUM, &S::m_iDeviceNum, L::DeviceNum),
};

}  // namespace

std::span<const SettingField> SettingFields() {
    return kSettingFields;
}

const SettingField* FindSettingField(std::string_view name) {
    const auto found = std::find_if(kSettingFields.begin(), kSettingFields.end(),
                                    [name](const SettingField& f) { return f.name == name; });
    return found == kSettingFields.end() ? nullptr : &*found;
}

const SettingField& SettingOfMember(const SettingMember& member) {
    return *std::find_if(kSettingFields.begin(), kSettingFields.end(),
                         [&member](const SettingField& f) { return f.member == member; });
}

std::optional<SettingBounds> BoundsOf(const SettingField& field, const ConfigSettings& settings) {
    const SettingRange& range = field.range;
    if (range.warningName == nullptr) {
        return std::nullopt;
    }
    if (!range.followsBackoffTick) {
        return SettingBounds{range.low, range.high};
    }
    // The tick as the build validates it before the timeouts.
    const SettingBounds tickBounds = *BoundsOf(SettingOfMember(&S::m_nBackoffTick), settings);
    const auto tick = static_cast<std::int32_t>(
        std::clamp<double>(settings.m_nBackoffTick, tickBounds.low, tickBounds.high));
    return SettingBounds{static_cast<double>(TimeoutLowBound(tick)),
                         static_cast<double>(TimeoutHighBound(tick))};
}

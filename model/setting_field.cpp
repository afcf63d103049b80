#include "model/setting_field.h"

#include <algorithm>
#include <array>

namespace {

using S = ConfigSettings;
using K = SettingKind;
using L = SettingList;

constexpr std::array<SettingField, 55> kSettingFields{{
    {"flow_ctrl", "Flow Ctrl", K::Check, &S::m_bFlowCtrl},
    {"sleep", "Sleep", K::Check, &S::m_bSleep},
    {"repeat", "Repeat", K::Check, &S::m_bRepeat},
    {"flip_act_pin", "Flip ACT Pin", K::Check, &S::m_bFlipActPin},
    {"name", "Name:", K::Identity, &S::m_strName},
    {"version", "Version:", K::Identity, &S::m_strVersion},
    {"type", "Type:", K::Identity, &S::m_strType},
    {"rf_freq_band", "RF Freq Band:", K::Identity, &S::m_strFreqBand},
    {"rf_power_max", "RF Power Max:", K::Identity, &S::m_strPowerMax},
    {"mac", "MAC:", K::Mac, &S::m_strMac},
    {"handshake_ack_packet", "Handshake ACK Packet:", K::HexText, &S::m_strHandshakeAck},
    {"predefined_broadcast_cmd1", "Predefined Broadcast Cmd1:", K::HexText, &S::m_strBroadcastCmd1},
    {"predefined_broadcast_cmd2", "Predefined Broadcast Cmd2:", K::HexText, &S::m_strBroadcastCmd2},
    {"host_address_inquiry_cmd", "Host Address Inquiry Cmd:", K::HexText, &S::m_strHostAddrInquiry},
    {"start_freq_mhz", "Start Freq(MHz):", K::Real, &S::m_dStartFreq},
    {"cca_threshold_dbm", "CCA Threshold(dBm):", K::Real, &S::m_dCcaThreshold},
    {"main_ch_start_num", "Main CH Start Num:", K::Integer, &S::m_nMainChannel},
    {"aux_ch_interval", "Aux CH Interval:", K::Integer, &S::m_nAuxChInterval},
    {"aux_ch_start_num", "Aux CH Start Num:", K::Integer, &S::m_nAuxStartChannel},
    {"downlink_address_offset", "Downlink Address Offset:", K::Integer, &S::m_nDownlinkAddrOffset},
    {"uplink_address_offset", "Uplink Address Offset:", K::Integer, &S::m_nUplinkAddrOffset},
    {"address_length_byte", "Address Length(byte):", K::Integer, &S::m_nAddrLength},
    {"auto_sleep_timeout_ms", "Auto Sleep Timeout(ms):", K::Integer, &S::m_nAutoSleepTimeout},
    {"beacon_duration_tick", "Beacon Duration(tick):", K::Integer, &S::m_nBeaconDuration},
    {"compensation_unit_tick", "Compensation Unit(tick):", K::Integer, &S::m_nCompensationUnit},
    {"host_boot_time_ms", "HOST Boot Time(ms):", K::Integer, &S::m_nHostBootTime},
    {"frame_length_amendment", "Frame Length Amendment:", K::Integer, &S::m_nFrameLenAmendment},
    {"frame_length_offset", "Frame Length Offset:", K::Integer, &S::m_nFrameLenOffset},
    {"network_id", "Network ID:", K::Integer, &S::m_nNetworkId},
    {"response_timeout_ms", "Response Timeout(ms):", K::Integer, &S::m_nResponseTimeout},
    {"timeout_down_ms", "Timeout Down(ms):", K::Integer, &S::m_nTimeoutDown},
    {"timeout_up_ms", "Timeout Up(ms):", K::Integer, &S::m_nTimeoutUp},
    {"sync_duration_tick", "Sync Duration(tick):", K::Integer, &S::m_nSyncDuration},
    {"sleep_wake_rate", "Sleep-Wake Rate:", K::Integer, &S::m_nSleepWakeRate},
    {"frame_stop_sync_word", "Frame Stop Sync Word:", K::Integer, &S::m_nFrameStopSync},
    {"frame_start_sync_word", "Frame Start Sync Word:", K::Integer, &S::m_nFrameStartSync},
    {"backoff_tick_us", "Backoff Tick(us):", K::Integer, &S::m_nBackoffTick},
    {"auto_wake_slot_tick", "Auto Wake Slot(tick):", K::Integer, &S::m_nAutoWakeSlot},
    {"broadcast_wildcard", "Broadcast Wildcard:", K::Integer, &S::m_nBroadcastWildcard},
    {"multicast_wildcard", "Multicast Wildcard:", K::Integer, &S::m_nMulticastWildcard},
    {"sync_interval_s", "Sync Interval(s):", K::Integer, &S::m_nSyncInterval},
    {"uart_wakeup_bytes", "UART Wakeup Bytes:", K::Integer, &S::m_nUartWakeupBytes},
    {"frame_end_check", "Frame End Check:", K::List, &S::m_iFrameEndCheck, L::FrameEndCheck},
    {"rf_baud_max", "RF Baud Max:", K::List, &S::m_iRfBaudMax, L::RfBaud},
    {"rf_baud_min", "RF Baud Min:", K::List, &S::m_iRfBaudMin, L::RfBaud},
    {"act_pin", "ACT Pin:", K::List, &S::m_iActPin, L::ActPin},
    {"rf_baud_def", "RF Baud Def:", K::List, &S::m_iRfBaudDef, L::RfBaud},
    {"aux_ch_num", "Aux CH Num:", K::List, &S::m_iAuxChNum, L::AuxChNum},
    {"rf_power", "RF Power:", K::List, &S::m_iRfPower, L::RfPower},
    {"uart_baud_bps", "UART Baud(bps):", K::List, &S::m_iUartBaud, L::UartBaud},
    {"uart_start_bit", "UART Start Bit:", K::List, &S::m_iUartStartBit, L::UartStartBit},
    {"frame_mode", "Frame Mode:", K::List, &S::m_iFrameMode, L::FrameMode},
    {"uart_parity_bit", "UART Parity Bit:", K::List, &S::m_iUartParity, L::UartParity},
    {"uart_stop_bit", "UART Stop Bit:", K::List, &S::m_iUartStopBit, L::UartStopBit},
    {"device_num", "Device Num:", K::List, &S::m_iDeviceNum, L::DeviceNum},
}};

}  // namespace

std::span<const SettingField> SettingFields() {
    return kSettingFields;
}

const SettingField* FindSettingField(std::string_view name) {
    const auto found = std::find_if(kSettingFields.begin(), kSettingFields.end(),
                                    [name](const SettingField& f) { return f.name == name; });
    return found == kSettingFields.end() ? nullptr : &*found;
}

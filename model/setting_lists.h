#pragma once

#include <span>
#include <string_view>

#include "model/config_settings.h"

// The drop-down lists of the settings, with their items exactly as the window lists them; a
// list setting holds the position of its item.
enum class SettingList {
    None,
    RfBaud,  // "RF Baud Def:", "RF Baud Max:" and "RF Baud Min:"
    AuxChNum,
    RfPower,
    UartBaud,
    UartStartBit,
    UartParity,
    UartStopBit,
    FrameMode,
    DeviceNum,
    FrameEndCheck,
    ActPin,
};

// The items of `list`, index 0 first. The RF Power items are those of the module's power class
// (`m_nPowerMaxDbm`), as the codec fills the list when it decodes a frame.
[[nodiscard]] std::span<const std::string_view> SettingListItems(SettingList list,
                                                                 const ConfigSettings& settings);
// The same for a module of the power class `powerMaxDbm` (10 or 20).
[[nodiscard]] std::span<const std::string_view> SettingListItems(SettingList list, int powerMaxDbm);

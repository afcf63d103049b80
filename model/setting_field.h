#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "model/config_settings.h"
#include "model/setting_lists.h"

// Every setting the window binds to a control, under a stable field name for programs without
// a window: the window label in lower case, each run of other characters one underscore, none
// at either end ("Start Freq(MHz):" is start_freq_mhz).

enum class SettingKind {
    Integer,   // integer text
    Real,      // real text
    List,      // position in a drop-down list
    Check,     // check box
    HexText,   // command string as hex text
    Mac,       // the MAC address as hex text
    Identity,  // a fact of the module, shown read-only
};

using SettingMember = std::variant<int ConfigSettings::*, double ConfigSettings::*,
                                   bool ConfigSettings::*, std::string ConfigSettings::*>;

struct SettingField {
    std::string_view name;
    std::string_view label;  // the label left of the control, or a check box's caption
    SettingKind kind;
    SettingMember member;
    SettingList list = SettingList::None;
};

// All settings, in the order in which the window exchanges them.
[[nodiscard]] std::span<const SettingField> SettingFields();

// The setting of that field name, or null.
[[nodiscard]] const SettingField* FindSettingField(std::string_view name);

#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "model/config_settings.h"
#include "model/setting_lists.h"

// The field table: every setting the window shows, with its field name for programs without a
// window, the control that shows it, how it is exchanged and the range a frame build keeps it
// in. The window's exchange, the codec's range checks, lvcfg-cli and its manual read it.
//
// A field name is the window label in lower case, each run of other characters one underscore,
// none at either end ("Start Freq(MHz):" is start_freq_mhz).

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

// The range a frame build keeps a number in, with the name and unit its warning gives it. The
// three timeouts follow the backoff tick: at least one tick (counted in whole milliseconds, 1 at
// the least), at most 65535 ticks.
struct SettingRange {
    double low = 0;
    double high = 0;
    const char* warningName = nullptr;  // null: not a checked number
    const char* unit = "";
    bool followsBackoffTick = false;
};

struct SettingField {
    std::string_view name;
    int controlId;
    SettingKind kind;
    SettingMember member;
    SettingList list = SettingList::None;
    SettingRange range = {};
};

// All settings, in the order in which the window exchanges them.
[[nodiscard]] std::span<const SettingField> SettingFields();

// The setting of that field name, or null.
[[nodiscard]] const SettingField* FindSettingField(std::string_view name);
// The setting kept in that member; every checked member has one.
[[nodiscard]] const SettingField& SettingOfMember(const SettingMember& member);

struct SettingBounds {
    double low;
    double high;
};
// The bounds a frame build keeps the setting in, for the backoff tick these settings hold;
// nothing for a setting without a range.
[[nodiscard]] std::optional<SettingBounds> BoundsOf(const SettingField& field,
                                                    const ConfigSettings& settings);

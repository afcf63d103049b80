#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "model/config_settings.h"
#include "model/setting_field.h"

// Settings as values the way the window shows them, for programs without a window: numbers as
// numbers, lists as the text of their item ("500kbps", "None"), check boxes as true or false,
// texts as they stand, the MAC as "4C:56:00:00:00:01". Nothing here checks ranges: a frame
// build does that, as it does for the window.

using FieldValue = std::variant<long long, double, bool, std::string>;

[[nodiscard]] FieldValue GetFieldValue(const ConfigSettings& s, const SettingField& f);

// The value as text, in the form SetFieldFromText reads back: integers "%d", reals as the
// window prints them, true or false, strings as they stand.
[[nodiscard]] std::string FieldValueText(const FieldValue& value);

enum class SetFieldOutcome { Set, UnreadableValue, OutOfRange, ReadOnly };

// A number is read only when the whole text is one (blanks around it aside): "12abc" and "0x10"
// are unreadable, and a whole number past 32 bits is out of range. A list takes the exact text
// of one of its items; a check box true, false, 1 or 0; a MAC six bytes of hex with blanks,
// colons or dashes between them or none; a command string any text up to a NUL. The module
// facts (name, version, type, band, power class) are read-only. Ranges are not checked here:
// see OutsideItsRange.
[[nodiscard]] SetFieldOutcome SetFieldFromText(ConfigSettings& s, const SettingField& f,
                                               std::string_view text);

// The range of the field when its value lies outside it, for these settings (a timeout's range
// follows the backoff tick they hold); nothing when the value is inside or has no range.
[[nodiscard]] std::optional<SettingBounds> OutsideItsRange(const ConfigSettings& s,
                                                           const SettingField& f);

// "0 to 65535", the range as a person reads it.
[[nodiscard]] std::string RangeText(SettingBounds bounds);

// What the field takes, as a person reads it: "a whole number, 0 to 65535", "one of None, Odd,
// Even", "true or false, or 1 or 0". For messages and the manual.
[[nodiscard]] std::string ValuesTaken(const SettingField& f);

// The field names nearest to a name that names no field, nearest first (a slip of a letter or
// two, or a part of a name): at most `count`, none when nothing comes near.
[[nodiscard]] std::vector<std::string_view> NearestFieldNames(std::string_view name,
                                                              std::size_t count = 3);

// "network_id=5" -> {"network_id","5"}: split at the first '='. Nothing when there is no '='
// or no name before it.
[[nodiscard]] std::optional<std::pair<std::string, std::string>> ParseAssignment(
    std::string_view assignment);

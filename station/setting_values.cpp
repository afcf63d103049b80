#include "station/setting_values.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "model/config_frame.h"
#include "model/hex_text.h"
#include "model/mac_address.h"
#include "model/number_text.h"
#include "model/setting_lists.h"

namespace {

// The member the field names, when it has the type asked for.
template <typename T, typename Settings>
auto* MemberOf(Settings& s, const SettingField& f) {
    const auto* member = std::get_if<T ConfigSettings::*>(&f.member);
    return member != nullptr ? &(s.**member) : nullptr;
}

// The text up to its first NUL, as a window's edit control holds it.
std::string_view UpToNul(std::string_view text) {
    return text.substr(0, std::min(text.find('\0'), text.size()));
}

std::string MacValueText(const std::string& windowText) {
    MacAddress mac{};
    std::uint8_t count = 0;
    MacTextToBytes(windowText.c_str(), mac.data(), count, static_cast<std::uint8_t>(mac.size()));
    return FormatMacAddress(mac);
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Six bytes of hex, in the MAC field's reading, with nothing but separators around them.
std::optional<MacAddress> ReadMac(std::string_view text) {
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return IsHexDigit(c) || c == ' ' || c == ':' || c == '-';
    });
    if (!plain) {
        return std::nullopt;
    }
    std::array<std::uint8_t, FrameOffset::kMacLength + 1> bytes{};  // one more shows excess
    std::uint8_t count = 0;
    const std::string terminated(text);
    MacTextToBytes(terminated.c_str(), bytes.data(), count,
                   static_cast<std::uint8_t>(bytes.size()));
    if (count != FrameOffset::kMacLength) {
        return std::nullopt;
    }
    MacAddress mac{};
    std::copy_n(bytes.begin(), mac.size(), mac.begin());
    return mac;
}

std::optional<bool> ReadCheck(std::string_view text) {
    if (text == "true" || text == "1") {
        return true;
    }
    if (text == "false" || text == "0") {
        return false;
    }
    return std::nullopt;
}

std::optional<int> ReadListItem(const ConfigSettings& s, const SettingField& f,
                                std::string_view text) {
    const auto items = SettingListItems(f.list, s);
    const auto found = std::find(items.begin(), items.end(), text);
    if (found == items.end()) {
        return std::nullopt;
    }
    return static_cast<int>(found - items.begin());
}

std::string ListItemText(const ConfigSettings& s, const SettingField& f, int index) {
    const auto items = SettingListItems(f.list, s);
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) {
        return {};  // the list shows no choice
    }
    return std::string(items[static_cast<std::size_t>(index)]);
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

enum class Reading { Number, OutOfRange, NotANumber };

// Reads the whole text as one number with an optional sign.
template <typename Number>
Reading ReadWholeText(std::string_view text, Number& value) {
    text = Trimmed(text);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || end != text.data() + text.size()) {
        return Reading::NotANumber;
    }
    if (error == std::errc::result_out_of_range) {
        return Reading::OutOfRange;
    }
    return error == std::errc() ? Reading::Number : Reading::NotANumber;
}

template <typename Number>
SetFieldOutcome StoreNumber(Number* member, std::string_view text) {
    std::conditional_t<std::is_integral_v<Number>, long long, double> value{};
    const Reading reading = member != nullptr ? ReadWholeText(text, value) : Reading::NotANumber;
    if (reading == Reading::OutOfRange) {
        return SetFieldOutcome::OutOfRange;
    }
    if (reading == Reading::NotANumber || !std::isfinite(static_cast<double>(value))) {
        return SetFieldOutcome::UnreadableValue;
    }
    if constexpr (std::is_integral_v<Number>) {
        if (value < std::numeric_limits<Number>::min() ||
            value > std::numeric_limits<Number>::max()) {
            return SetFieldOutcome::OutOfRange;
        }
    }
    *member = static_cast<Number>(value);
    return SetFieldOutcome::Set;
}

// How far apart two names are: the letters to change, add or drop to turn one into the other.
std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j < row.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

template <typename T>
SetFieldOutcome Store(T* member, const std::optional<T>& value) {
    if (member == nullptr || !value) {
        return SetFieldOutcome::UnreadableValue;
    }
    *member = *value;
    return SetFieldOutcome::Set;
}

}  // namespace

FieldValue GetFieldValue(const ConfigSettings& s, const SettingField& f) {
    const int* number = MemberOf<int>(s, f);
    const bool* flag = MemberOf<bool>(s, f);
    const double* real = MemberOf<double>(s, f);
    const std::string* text = MemberOf<std::string>(s, f);
    switch (f.kind) {
        case SettingKind::Integer:
            return number != nullptr ? static_cast<long long>(*number) : 0LL;
        case SettingKind::Real:
            return real != nullptr ? *real : 0.0;
        case SettingKind::Check:
            return flag != nullptr && *flag;
        case SettingKind::List:
            return number != nullptr ? ListItemText(s, f, *number) : std::string();
        case SettingKind::Mac:
            return text != nullptr ? MacValueText(*text) : std::string();
        case SettingKind::HexText:
        case SettingKind::Identity:
            break;
    }
    return text != nullptr ? *text : std::string();
}

std::string FieldValueText(const FieldValue& value) {
    if (const auto* number = std::get_if<long long>(&value)) {
        return std::to_string(*number);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return FormatRealText(*real);
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "true" : "false";
    }
    return std::get<std::string>(value);
}

SetFieldOutcome SetFieldFromText(ConfigSettings& s, const SettingField& f, std::string_view text) {
    switch (f.kind) {
        case SettingKind::Identity:
            return SetFieldOutcome::ReadOnly;
        case SettingKind::Integer:
            return StoreNumber(MemberOf<int>(s, f), text);
        case SettingKind::Real:
            return StoreNumber(MemberOf<double>(s, f), text);
        case SettingKind::Check:
            return Store(MemberOf<bool>(s, f), ReadCheck(text));
        case SettingKind::List:
            return Store(MemberOf<int>(s, f), ReadListItem(s, f, text));
        case SettingKind::Mac: {
            const std::optional<MacAddress> mac = ReadMac(text);
            std::optional<std::string> windowText;
            if (mac) {
                windowText = MacHexText(*mac);
            }
            return Store(MemberOf<std::string>(s, f), windowText);
        }
        case SettingKind::HexText:
            break;
    }
    return Store(MemberOf<std::string>(s, f), std::optional<std::string>(UpToNul(text)));
}

std::optional<SettingBounds> OutsideItsRange(const ConfigSettings& s, const SettingField& f) {
    const std::optional<SettingBounds> bounds = BoundsOf(f, s);
    if (!bounds) {
        return std::nullopt;
    }
    const auto value = std::visit(
        [&s](auto member) -> std::optional<double> {
            if constexpr (std::is_arithmetic_v<std::decay_t<decltype(s.*member)>>) {
                return static_cast<double>(s.*member);
            } else {
                return std::nullopt;
            }
        },
        f.member);
    if (!value || (*value >= bounds->low && *value <= bounds->high)) {
        return std::nullopt;
    }
    return bounds;
}

std::string RangeText(SettingBounds bounds) {
    return FormatRealText(bounds.low) + " to " + FormatRealText(bounds.high);
}

namespace {

std::string ItemsText(SettingList list, int powerMaxDbm) {
    std::string text;
    for (std::string_view item : SettingListItems(list, powerMaxDbm)) {
        text += (text.empty() ? "" : ", ") + std::string(item);
    }
    return text;
}

}  // namespace

std::string ValuesTaken(const SettingField& f) {
    const SettingRange& range = f.range;
    switch (f.kind) {
        case SettingKind::Check:
            return "true or false, or 1 or 0";
        case SettingKind::Integer:
            if (range.followsBackoffTick) {
                return "a whole number of milliseconds, from one backoff tick (at least 1) to "
                       "65535 backoff ticks";
            }
            return "a whole number, " + RangeText({range.low, range.high});
        case SettingKind::Real:
            return "a number, " + RangeText({range.low, range.high});
        case SettingKind::List:
            if (f.list == SettingList::RfPower) {
                return "for a 10 dBm module one of " + ItemsText(f.list, 10) +
                       "; for a 20 dBm module one of " + ItemsText(f.list, 20);
            }
            return "one of " + ItemsText(f.list, 10);
        case SettingKind::Mac:
            return "six bytes of hex such as 4C:56:00:00:00:01, with colons, blanks or dashes "
                   "between them or nothing";
        case SettingKind::HexText:
            return "bytes as hex text such as AA BB 01, at most 48";
        case SettingKind::Identity:
            break;
    }
    return "the module's own; read only";
}

std::vector<std::string_view> NearestFieldNames(std::string_view name, std::size_t count) {
    // A slip of about one letter in three still names the field meant; a part of a name names
    // every field that holds it.
    const std::size_t slips = std::max<std::size_t>(2, name.size() / 3);
    std::vector<std::pair<std::size_t, std::string_view>> near;
    for (const SettingField& field : SettingFields()) {
        const std::size_t distance = EditDistance(name, field.name);
        const bool part = name.size() >= 3 && field.name.find(name) != std::string_view::npos;
        if (distance <= slips || part) {
            near.emplace_back(part ? std::min(distance, slips) : distance, field.name);
        }
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string_view> names;
    for (std::size_t i = 0; i < near.size() && i < count; ++i) {
        names.push_back(near[i].second);
    }
    return names;
}

std::optional<std::pair<std::string, std::string>> ParseAssignment(std::string_view assignment) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        return std::nullopt;
    }
    return std::pair<std::string, std::string>(assignment.substr(0, equals),
                                               assignment.substr(equals + 1));
}

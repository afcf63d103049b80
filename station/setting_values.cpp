#include "station/setting_values.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

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
            return Store(MemberOf<int>(s, f), ScanIntegerText(text));
        case SettingKind::Real:
            return Store(MemberOf<double>(s, f), ScanRealText(text));
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

std::optional<std::pair<std::string, std::string>> ParseAssignment(std::string_view assignment) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        return std::nullopt;
    }
    return std::pair<std::string, std::string>(assignment.substr(0, equals),
                                               assignment.substr(equals + 1));
}

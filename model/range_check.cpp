#include <array>
#include <cmath>
#include <cstdio>

#include "model/config_codec.h"
#include "model/plain_fields.h"

// The range checks of a frame build. A value past a bound is never refused: the user is told in
// a warning box and the value becomes the bound it crossed, once the box has been dismissed.

void ConfigCodec::ClampInt(int& value, int low, int high, const char* name, const char* unit) {
    int adjusted = value;
    if (value > high) {
        adjusted = high;
    } else if (value < low) {
        adjusted = low;
    } else {
        return;
    }
    std::array<char, kWarningTextSize> text{};
    std::snprintf(text.data(), text.size(),
                  "%s is equal to %d%s which is beyond the scope [%d%s ~ %d%s], it will be "
                  "automatically adjusted to %d%s!",
                  name, value, unit, low, unit, high, unit, adjusted, unit);
    m_host.ShowWarningBox(text.data());
    value = adjusted;
}

void ConfigCodec::ClampDouble(double& value, double low, double high, const char* name,
                              const char* unit) {
    double adjusted = value;
    if (value > high) {
        adjusted = high;
    } else if (value < low) {
        adjusted = low;
    } else if (std::isnan(value)) {
        // "nan" parses as a number but lies within no range; it would make the frame's integer
        // conversions undefined. It is treated as below the range.
        adjusted = low;
    } else {
        return;
    }
    std::array<char, kWarningTextSize> buffer{};
    char* text = buffer.data();
    const auto size = buffer.size();
    const int length = std::snprintf(
        text, size,
        "%s is equal to %.4f%s which is beyond the scope [%.4f%s ~ %.4f%s], it will be "
        "automatically adjusted to %.4f%s!",
        name, value, unit, low, unit, high, unit, adjusted, unit);
    if (length < 0 || static_cast<std::size_t>(length) >= size) {
        // An absurd magnitude (1e130 prints over a hundred digits) would not fit the buffer in
        // fixed notation: such a text uses the short exponent form instead.
        std::snprintf(text, size,
                      "%s is equal to %.4g%s which is beyond the scope [%.4g%s ~ %.4g%s], it will "
                      "be automatically adjusted to %.4g%s!",
                      name, value, unit, low, unit, high, unit, adjusted, unit);
    }
    m_host.ShowWarningBox(text);
    value = adjusted;
}

void ConfigCodec::ClampSetting(int ConfigSettings::*member) {
    ClampSetting(member, *BoundsOf(SettingOfMember(member), m_s));
}

void ConfigCodec::ClampSetting(int ConfigSettings::*member, SettingBounds bounds) {
    const SettingRange& range = SettingOfMember(member).range;
    ClampInt(m_s.*member, static_cast<int>(bounds.low), static_cast<int>(bounds.high),
             range.warningName, range.unit);
}

void ConfigCodec::ClampSetting(double ConfigSettings::*member) {
    const SettingRange& range = SettingOfMember(member).range;
    ClampDouble(m_s.*member, range.low, range.high, range.warningName, range.unit);
}

void ConfigCodec::ClampPlainFields(PlainGroup group) {
    for (const PlainField& field : PlainFields()) {
        const auto* number = std::get_if<int ConfigSettings::*>(&field.member);
        if (field.group == group && number != nullptr &&
            SettingOfMember(*number).range.warningName != nullptr) {
            ClampSetting(*number);
        }
    }
}

#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

#include "store/mac_number.h"
#include "store/sql_database.h"

// Conversions between the store's values and the text rows and bound values of SqlDatabase.

inline bool ParseInt(const std::optional<std::string>& text, std::int64_t& value) {
    if (!text) {
        return false;
    }
    const char* end = text->data() + text->size();
    return std::from_chars(text->data(), end, value).ptr == end && !text->empty();
}

inline std::int64_t MacValue(MacNumber mac) {
    return static_cast<std::int64_t>(mac);
}

inline SqlValue NullableValue(const std::optional<std::int64_t>& value) {
    return value ? SqlValue(*value) : SqlValue();
}

inline std::optional<std::int64_t> VerifiedFlag(const std::optional<bool>& verified) {
    return verified ? std::optional<std::int64_t>(*verified ? 1 : 0) : std::nullopt;
}

inline std::optional<std::int64_t> ParseNullableInt(const std::optional<std::string>& text) {
    std::int64_t value = 0;
    return ParseInt(text, value) ? std::optional<std::int64_t>(value) : std::nullopt;
}

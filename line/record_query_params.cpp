#include "line/record_query_params.h"

#include <cctype>
#include <charconv>
#include <map>

#include "store/iso_time.h"

namespace {

constexpr std::size_t kTextMax = 200;

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// A form-encoded query value: "+" is a blank, "%XX" a byte. Nothing when a "%" is malformed.
std::optional<std::string> Decoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            decoded += ' ';
        } else if (text[i] != '%') {
            decoded += text[i];
        } else if (i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return decoded;
}

std::optional<std::int64_t> Integer(const std::string& text) {
    std::int64_t value = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Applies one named value to the query; an error text when it is not one the query takes.
std::string Apply(const std::string& name, const std::string& value, RecordQuery& query) {
    if (name == "since") {
        query.since = ParseIsoUtc(value);
        if (!query.since) {
            query.since = Integer(value);
        }
        return query.since ? "" : "since is a time such as 2026-03-01T08:00Z";
    }
    if (name == "limit") {
        const auto limit = Integer(value);
        query.limit = limit.value_or(0);
        return query.limit >= 1 && query.limit <= kRecordQueryLimitMax
                   ? ""
                   : "limit is a number from 1 to " + std::to_string(kRecordQueryLimitMax);
    }
    if (name == "outcome") {
        query.outcome = value;
        return value == "ok" || value == "failed" ? "" : "outcome is ok or failed";
    }
    if (name == "mac") {
        query.mac = RecordedMacText(value).value_or("");
        return query.mac.empty() ? "mac is six bytes in hex, such as 4C:56:00:01:00:2A" : "";
    }
    if (value.size() > kTextMax) {
        return name + " is longer than " + std::to_string(kTextMax) + " bytes";
    }
    if (name == "station") {
        query.station = value;
    } else if (name == "order") {
        query.order = value;
    } else {
        return "unknown parameter " + name;
    }
    return "";
}

}  // namespace

std::optional<std::string> RecordedMacText(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (HexValue(c) >= 0) {
            digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        } else if (c != ':' && c != '-' && c != '.' && c != ' ') {
            return std::nullopt;
        }
    }
    if (digits.size() != 12) {
        return std::nullopt;
    }
    std::string mac;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        mac += (i == 0 ? "" : ":") + digits.substr(i, 2);
    }
    return mac;
}

RecordQueryParams ParseRecordQueryParams(std::string_view queryText) {
    RecordQueryParams params;
    std::map<std::string, std::string> given;
    while (!queryText.empty()) {
        const std::size_t end = std::min(queryText.find('&'), queryText.size());
        const std::string_view pair = queryText.substr(0, end);
        queryText.remove_prefix(std::min(end + 1, queryText.size()));
        if (pair.empty()) {
            continue;
        }
        const std::size_t equals = std::min(pair.find('='), pair.size());
        const auto name = Decoded(pair.substr(0, equals));
        const auto value = Decoded(pair.substr(std::min(equals + 1, pair.size())));
        if (!name || !value) {
            params.error = "a parameter is not properly encoded";
            return params;
        }
        if (!given.emplace(*name, *value).second) {
            params.error = *name + " is given twice";
            return params;
        }
    }
    for (const auto& [name, value] : given) {
        if (value.empty()) {
            continue;
        }
        params.error = Apply(name, value, params.query);
        if (!params.error.empty()) {
            return params;
        }
    }
    return params;
}

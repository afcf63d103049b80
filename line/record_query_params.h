#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/record_query.h"

// The query of /api/records (since, station, outcome, order, mac, limit), read from the text
// after the "?" of a request. An empty value counts as not given.
struct RecordQueryParams {
    RecordQuery query;
    std::string error;  // for people; the request is refused when set
};

[[nodiscard]] RecordQueryParams ParseRecordQueryParams(std::string_view queryText);

// A MAC address as records hold it ("4C:56:00:01:00:2A") from twelve hex digits with or
// without ":", "-", "." or blank between them; nothing for anything else.
[[nodiscard]] std::optional<std::string> RecordedMacText(std::string_view text);

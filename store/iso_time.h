#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Times of the production record are milliseconds since 1970-01-01 UTC.

// Now, as such a time.
[[nodiscard]] std::int64_t StoreClockNow();

// "2026-03-01T08:15:02.047Z": ISO 8601 in UTC, with milliseconds.
[[nodiscard]] std::string FormatIsoUtc(std::int64_t millisecondsSinceEpoch);

// Reads an ISO 8601 date and time: "2026-03-01", "2026-03-01T08:15", "2026-03-01T08:15:02",
// with optional fractions of a second, and "Z" or an offset such as "+01:00" (no zone means
// UTC). A space may stand for the "T". Nothing when the text is no such time.
[[nodiscard]] std::optional<std::int64_t> ParseIsoUtc(const std::string& text);

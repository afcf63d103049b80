#pragma once

#include <string_view>

// String ids of the program.
inline constexpr unsigned IDS_ABOUTBOX = 101;

// The UTF-8 text of a string resource; empty for an id the table does not hold.
[[nodiscard]] std::string_view LoadResourceString(unsigned id);

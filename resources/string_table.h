#pragma once

#include <string_view>

// String ids of the program and of the framework's parse prompts.
inline constexpr unsigned IDS_ABOUTBOX = 101;
inline constexpr unsigned AFX_IDP_PARSE_INT = 61712;
inline constexpr unsigned AFX_IDP_PARSE_REAL = 61713;

// The UTF-8 text of a string resource; empty for an id the table does not hold.
[[nodiscard]] std::string_view LoadResourceString(unsigned id);

#pragma once

#include <string_view>

#include "resources/string_table.h"

// The framework's own prompts of the save exchange, as the string table holds them (UTF-8).
// They are captioned with the application's title and shown with the exclamation icon.
inline const std::string_view kParseIntPrompt = LoadResourceString(AFX_IDP_PARSE_INT);
inline const std::string_view kParseRealPrompt = LoadResourceString(AFX_IDP_PARSE_REAL);

#pragma once

#include <string_view>

// The framework's own prompts of the save exchange, from its Chinese (Simplified) string
// resources 61712 and 61713 (UTF-8). They are captioned with the application's title and shown
// with the exclamation icon.
inline constexpr std::string_view kParseIntPrompt =
    "\u8bf7\u8f93\u5165\u4e00\u4e2a\u6574\u6570\u3002";  // 请输入一个整数。 please enter an integer
inline constexpr std::string_view kParseRealPrompt =
    "\u8bf7\u8f93\u5165\u4e00\u4e2a\u6570\u5b57\u3002";  // 请输入一个数字。 please enter a number

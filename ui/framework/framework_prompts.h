#pragma once

// The framework's own prompts of the save exchange, from its string table (UTF-8). They are
// captioned with the application's title and shown with the exclamation icon.
inline constexpr int kParseIntPromptId = 61712;
inline constexpr int kParseRealPromptId = 61713;
inline constexpr const char* kParseIntPrompt = "请输入一个整数。";
inline constexpr const char* kParseRealPrompt = "请输入一个数字。";

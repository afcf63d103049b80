#pragma once

#include <string>

// What a shell command printed (standard output and error together) and how it ended.
struct CommandOutput {
    int exitStatus = -1;  // the command's exit status; -1 when it could not run or was killed
    std::string text;
};

// Runs `command` through /bin/sh and waits for it.
[[nodiscard]] CommandOutput runCommand(const std::string& command);

// `text` as one shell word, whatever characters it holds.
[[nodiscard]] std::string shellWord(const std::string& text);

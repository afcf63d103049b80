#pragma once

#include "files/cfg_file_loader.h"

// The configuration window's texts of .cfg files, for every program that opens or saves one.
inline constexpr const char* kCfgOpenFailed = "Failed to open the configurarion file!";
inline constexpr const char* kCfgOpened = "Succeed to open the configurarion file!";
inline constexpr const char* kCfgRead = "Succeed to read the configurarion file!";
inline constexpr const char* kCfgWritten = "Succeed to write the configurarion file!";
inline constexpr const char* kCfgWriteFailed = "Failed to write the configurarion file!";

// The text for a .cfg file that did not load; empty for Loaded.
[[nodiscard]] const char* CfgLoadMessage(CfgLoadOutcome outcome);

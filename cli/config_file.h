#pragma once

#include <optional>
#include <string>

#include "cli/output.h"
#include "model/config_frame.h"

// Opens a .cfg file as the window's Open does. A file that cannot be read or is refused is
// reported (the window's text in "message") and gives nothing.
[[nodiscard]] std::optional<ConfigFrame> LoadConfigReporting(const std::string& path, Output& out);

// Saves a sealed frame as the window's Save writes it, replacing the file only once the new
// one is complete. false after reporting the failure.
[[nodiscard]] bool SaveConfigReporting(const std::string& path, const ConfigFrame& sealedFrame,
                                       Output& out);

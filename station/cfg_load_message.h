#pragma once

#include "files/cfg_file_loader.h"

// The configuration window's text for a .cfg file that did not load; empty for Loaded.
[[nodiscard]] const char* CfgLoadMessage(CfgLoadOutcome outcome);

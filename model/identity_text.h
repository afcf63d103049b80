#pragma once

#include <string>

#include "model/config_frame.h"

// The module facts of a frame as the window shows them.
struct IdentityText {
    std::string name;      // bytes 4-27 up to the first NUL
    std::string version;   // "1.6": byte 37 (major), a full stop, byte 36 (minor)
    std::string type;      // "NODE", "ROOT" or "UNKNOWN"
    std::string freqBand;  // "433MHz": '4' and the characters at bytes 31 and 32
    std::string powerMax;  // "10dBm": the character at byte 30, then "0dBm"
};

[[nodiscard]] IdentityText IdentityTextOf(const ConfigFrame& frame);

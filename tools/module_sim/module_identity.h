#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/config_frame.h"
#include "model/mac_address.h"

// Who a simulated module is: the facts its identity bytes carry and its MAC address.
enum class ModuleRole { Node, Root };

struct ModuleIdentity {
    ModuleRole role = ModuleRole::Node;
    int powerDbm = 10;    // power class: 10 or 20
    int bandMHz = 433;    // 433 or 470
    int crystalMHz = 26;  // 26 or 27
    std::array<std::uint8_t, FrameOffset::kMacLength> mac{0x4C, 0x56, 0x00, 0x00, 0x00, 0x01};
    // The bytes of the name field (bytes 4-27, padded with NUL); empty: kSimulatedModuleName.
    // Any bytes at all, so a test can give a name that is no text.
    std::vector<std::uint8_t> name{};
};

// The name a module reports; it begins with the magic.
inline constexpr std::string_view kSimulatedModuleName = "Lumivaro KTR5520Q";

// `mac` plus `offset` as a 48-bit big-endian number that wraps at the top: the MAC of the
// module at that index of a set started from one identity.
[[nodiscard]] MacAddress MacPlus(const MacAddress& mac, unsigned offset);

// A sealed frame as such a module keeps it: the identity in bytes 4-37 (name NUL-padded to 24
// bytes, type, power class, band digits, crystal digit, version 1.6), the MAC, and the settings
// a factory-fresh module carries (500 kbps radio, UART 115200 8N1, address length 16).
[[nodiscard]] ConfigFrame MakeModuleFrame(const ModuleIdentity& identity);

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/config_frame.h"

// A module's 6-byte MAC address, most significant byte first, as it stands in frame bytes 38-43.
using MacAddress = std::array<std::uint8_t, FrameOffset::kMacLength>;

// "4C:56:00:00:00:01": six pairs of hex digits (either case) separated by colons. Nothing else
// is accepted, so a typing slip in a script never programs a surprising address.
[[nodiscard]] std::optional<MacAddress> ParseMacAddress(std::string_view text);
// The same form, upper case.
[[nodiscard]] std::string FormatMacAddress(const MacAddress& mac);
// The window's hex text form, "4C 56 00 00 00 01".
[[nodiscard]] std::string MacHexText(const MacAddress& mac);

// The address as a 48-bit number and back (the upper 16 bits of `number` are ignored).
[[nodiscard]] std::uint64_t MacToNumber(const MacAddress& mac);
[[nodiscard]] MacAddress MacFromNumber(std::uint64_t number);

// The next module's address: plus one as a 48-bit big-endian number, wrapping to zero.
[[nodiscard]] MacAddress NextMacAddress(const MacAddress& mac);

[[nodiscard]] MacAddress MacOfFrame(const ConfigFrame& frame);
void PutMacIntoFrame(ConfigFrame& frame, const MacAddress& mac);

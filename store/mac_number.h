#pragma once

#include <cstdint>

// A MAC address as the 48-bit number its six bytes spell, the first byte most significant.
// The pool counts in these numbers; turning them into text is the caller's business.
using MacNumber = std::uint64_t;

// One past the largest MAC address.
inline constexpr MacNumber kMacNumberLimit = MacNumber{1} << 48;

#pragma once

#include <cstdint>

// The text form of byte strings (MAC address, command strings).

// Writes `count` bytes as two uppercase hex digits each, separated by single blanks, with no
// leading or trailing blank, and a terminating NUL. `text` must hold 3 x count bytes (1 when
// count is 0).
void BytesToHex(char* text, const std::uint8_t* bytes, std::uint8_t count);

// Takes bytes out of any text: each run of hex digits becomes one byte (its last two digits
// count), any other character ends a run. Stops after `max` bytes or at the NUL; `count`
// receives the number of bytes produced. Bytes of `bytes` past the count are not touched.
void HexToBytes(const char* text, std::uint8_t* bytes, std::uint8_t& count, std::uint8_t max);

// The same for the MAC field, where an address is often typed as one run of digits: a run of
// more than two hex digits gives consecutive pairs from its left ("4C5600000001" is
// 4C 56 00 00 00 01), an odd last digit a byte of its own. Shorter runs read as above.
void MacTextToBytes(const char* text, std::uint8_t* bytes, std::uint8_t& count, std::uint8_t max);

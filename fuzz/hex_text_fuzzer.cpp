// Any text through HexToBytes: the bytes stay within the limit, and the canonical text of what
// came out reads back to the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/hex_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t max = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    std::vector<std::uint8_t> bytes(max);  // exactly the limit: a write past it is caught
    std::uint8_t count = 0;
    HexToBytes(text.c_str(), bytes.data(), count, max);
    if (count > max) {
        __builtin_trap();
    }

    // The MAC field's reading stays within the limit as well.
    std::vector<std::uint8_t> macBytes(max);
    std::uint8_t macCount = 0;
    MacTextToBytes(text.c_str(), macBytes.data(), macCount, max);
    if (macCount > max) {
        __builtin_trap();
    }

    std::vector<char> canonical(count == 0 ? 1 : 3u * count);
    BytesToHex(canonical.data(), bytes.data(), count);
    std::vector<std::uint8_t> again(count);
    std::uint8_t againCount = 0;
    HexToBytes(canonical.data(), again.data(), againCount, count);
    if (againCount != count || !std::equal(again.begin(), again.end(), bytes.begin())) {
        __builtin_trap();
    }
    return 0;
}

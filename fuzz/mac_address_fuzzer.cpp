// Any text through ParseMacAddress: only the 17-character colon form is taken, and what is
// taken prints in the canonical form and reads back to the same address.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/mac_address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto mac = ParseMacAddress(text);
    if (!mac) {
        return 0;
    }
    if (text.size() != 17) {
        __builtin_trap();
    }
    const std::string canonical = FormatMacAddress(*mac);
    const auto again = ParseMacAddress(canonical);
    if (!again || *again != *mac || canonical.size() != 17) {
        __builtin_trap();
    }
    for (std::size_t i = 0; i < canonical.size(); ++i) {
        const char expected = canonical[i];
        if (i % 3 == 2 ? text[i] != ':'
                       : std::toupper(static_cast<unsigned char>(text[i])) != expected) {
            __builtin_trap();
        }
    }
    return 0;
}

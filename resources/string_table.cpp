#include "resources/string_table.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<unsigned, std::string_view>, 1> kStrings{{
    {IDS_ABOUTBOX, "About Lumivaro Configure Tool (&A)..."},
}};

}  // namespace

std::string_view LoadResourceString(unsigned id) {
    for (const auto& [stringId, text] : kStrings) {
        if (stringId == id) {
            return text;
        }
    }
    return {};
}

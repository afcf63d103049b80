#pragma once

#include <optional>
#include <string_view>

#include "store/mac_number.h"

// A MAC as records have kept it in text: six pairs of hex digits, separated by ':' or ' '
// ("4C:56:00:00:00:01"). Nothing for any other text.
[[nodiscard]] std::optional<MacNumber> MacNumberOfText(std::string_view text);

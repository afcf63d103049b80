#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "resources/app_icon.h"

// The icon's images as the build drew them, in the sizes of kAppIconSizes (generated into the
// build tree by lvcfg_app_icon_pixels).
struct IconPixels {
    int size;
    std::span<const std::uint8_t> rgba;
};
extern const std::array<IconPixels, kAppIconSizes.size()> kAppIconPixels;

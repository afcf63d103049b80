#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Icon resource 128: the application icon of both windows.
inline constexpr int IDR_MAINFRAME = 128;

// The pixel sizes the icon carries, largest first.
inline constexpr std::array<int, 5> kAppIconSizes{128, 64, 48, 32, 16};

// One square image, row by row from the top, four bytes per pixel (red, green, blue, alpha;
// alpha not premultiplied).
struct IconImage {
    int size = 0;
    std::vector<std::uint8_t> rgba;
};

// The icon's images in the sizes above; empty for an id that names no icon.
[[nodiscard]] std::vector<IconImage> LoadIconImages(int iconId);

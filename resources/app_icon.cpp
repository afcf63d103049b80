#include "resources/app_icon.h"

#include "resources/app_icon_pixels.h"

std::vector<IconImage> LoadIconImages(int iconId) {
    std::vector<IconImage> images;
    if (iconId != IDR_MAINFRAME) {
        return images;
    }
    for (const IconPixels& pixels : kAppIconPixels) {
        images.push_back({pixels.size, {pixels.rgba.begin(), pixels.rgba.end()}});
    }
    return images;
}

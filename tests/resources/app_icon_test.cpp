#include <gtest/gtest.h>

#include "resources/app_icon.h"
#include "resources/app_icon_artwork.h"

namespace {

int Alpha(const IconImage& image, int x, int y) {
    return image.rgba[(static_cast<std::size_t>(y) * image.size + x) * 4 + 3];
}

}  // namespace

TEST(AppIcon, CarriesFiveSquareImagesLargestFirst) {
    const std::vector<IconImage> images = LoadIconImages(IDR_MAINFRAME);
    ASSERT_EQ(images.size(), 5u);
    const int sizes[] = {128, 64, 48, 32, 16};
    for (std::size_t i = 0; i < images.size(); ++i) {
        EXPECT_EQ(images[i].size, sizes[i]);
        EXPECT_EQ(images[i].rgba.size(), static_cast<std::size_t>(sizes[i] * sizes[i] * 4));
    }
}

// A glyph on a transparent ground: clear corners, an opaque board in the lower middle.
TEST(AppIcon, EveryImageHasClearCornersAndAnOpaqueBoard) {
    for (const IconImage& image : LoadIconImages(IDR_MAINFRAME)) {
        const int last = image.size - 1;
        EXPECT_EQ(Alpha(image, 0, 0), 0) << image.size;
        EXPECT_EQ(Alpha(image, last, last), 0) << image.size;
        EXPECT_EQ(Alpha(image, image.size / 2, image.size * 2 / 3), 255) << image.size;
    }
}

// The program carries the images the build drew from the artwork, pixel for pixel.
TEST(AppIcon, ImagesAreTheArtworkDrawnAtEachSize) {
    for (const IconImage& image : LoadIconImages(IDR_MAINFRAME)) {
        EXPECT_EQ(image.rgba, RenderAppIcon(image.size).rgba) << image.size;
    }
}

TEST(AppIcon, UnknownIdHasNoImages) {
    EXPECT_TRUE(LoadIconImages(129).empty());
}

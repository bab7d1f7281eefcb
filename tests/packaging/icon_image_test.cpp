// The icons' PNG files: a round trip keeps every channel, failures are reported.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "icon/image.h"
#include "icon/png_file.h"

namespace {

void setPixel(Image& image, int x, int y, std::array<int, 4> rgba) {
    for (int c = 0; c < 4; ++c) {
        pixelAt(image, x, y)[c] = static_cast<std::uint8_t>(rgba[c]);
    }
}

TEST(PngFile, RoundTripKeepsStraightAlphaColoursAndReportsFailures) {
    Image image = makeImage(3, 2);
    setPixel(image, 0, 0, {230, 38, 38, 255});
    setPixel(image, 1, 0, {64, 89, 217, 128});
    setPixel(image, 2, 1, {242, 217, 64, 1});
    const std::string path = ::testing::TempDir() + "kestrun-icon-roundtrip.png";
    ASSERT_TRUE(writePng(path, image));
    Image loaded;
    ASSERT_TRUE(readPng(path, loaded));
    std::remove(path.c_str());
    EXPECT_EQ(loaded.width, 3);
    EXPECT_EQ(loaded.height, 2);
    EXPECT_EQ(loaded.rgba, image.rgba);

    EXPECT_FALSE(readPng("/nonexistent/kestrun.png", loaded));
    EXPECT_EQ(loaded.rgba, image.rgba) << "a failed read must leave the image alone";
    EXPECT_FALSE(writePng("/nonexistent/dir/kestrun.png", image));
}

}  // namespace

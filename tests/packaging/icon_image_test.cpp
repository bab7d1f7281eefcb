// Shrinking the rendered icon to the smaller sizes, and the PNG round trip.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "icon/image.h"
#include "icon/png_file.h"

namespace {

void setPixel(Image& image, int x, int y, std::array<int, 4> rgba) {
    for (int c = 0; c < 4; ++c) {
        pixelAt(image, x, y)[c] = static_cast<std::uint8_t>(rgba[c]);
    }
}

int alphaSum(const Image& image) {
    int sum = 0;
    for (std::size_t i = 3; i < image.rgba.size(); i += 4) {
        sum += image.rgba[i];
    }
    return sum;
}

TEST(ShrinkImage, AveragesBlocksWeightingColourByAlpha) {
    Image source = makeImage(4, 2);
    setPixel(source, 0, 0, {200, 0, 0, 255});
    setPixel(source, 1, 0, {100, 0, 0, 255});
    setPixel(source, 0, 1, {0, 40, 0, 255});
    setPixel(source, 1, 1, {0, 80, 0, 255});
    setPixel(source, 3, 1, {230, 40, 40, 255});  // alone among transparent pixels
    const Image half = shrinkImage(source, 2, 1);
    ASSERT_EQ(half.width, 2);
    ASSERT_EQ(half.height, 1);
    EXPECT_EQ(std::vector<int>(pixelAt(half, 0, 0), pixelAt(half, 0, 0) + 4),
              (std::vector<int>{75, 30, 0, 255}));
    EXPECT_EQ(std::vector<int>(pixelAt(half, 1, 0), pixelAt(half, 1, 0) + 4),
              (std::vector<int>{230, 40, 40, 64}))
        << "a quarter covered, its colour not darkened by the transparent rest";
}

TEST(ShrinkImage, NonIntegerFactorKeepsUniformColourAndTotalCoverage) {
    Image uniform = makeImage(256, 256);
    Image line = makeImage(256, 256);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            setPixel(uniform, x, y, {90, 140, 210, 255});
        }
        setPixel(line, 100, y, {255, 255, 255, 255});  // split unevenly between two targets
    }
    const Image shrunk = shrinkImage(uniform, 48, 48);
    for (std::size_t i = 0; i < shrunk.rgba.size(); i += 4) {
        ASSERT_EQ(std::vector<int>(shrunk.rgba.begin() + i, shrunk.rgba.begin() + i + 4),
                  (std::vector<int>{90, 140, 210, 255}))
            << "pixel " << i / 4;
    }
    const float kept = alphaSum(shrinkImage(line, 48, 48)) * (256.0f / 48.0f) * (256.0f / 48.0f);
    EXPECT_NEAR(kept, static_cast<float>(alphaSum(line)), 0.02f * alphaSum(line));
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

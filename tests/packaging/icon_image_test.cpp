// Shrinking the rendered icon to the smaller sizes, and the PNG round trip.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "packaging/icontool/image.h"
#include "packaging/icontool/png_file.h"

namespace {

void setPixel(Image& image, int x, int y, int r, int g, int b, int a) {
    std::uint8_t* pixel = pixelAt(image, x, y);
    pixel[0] = static_cast<std::uint8_t>(r);
    pixel[1] = static_cast<std::uint8_t>(g);
    pixel[2] = static_cast<std::uint8_t>(b);
    pixel[3] = static_cast<std::uint8_t>(a);
}

Image filled(int size, int r, int g, int b, int a) {
    Image image = makeImage(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            setPixel(image, x, y, r, g, b, a);
        }
    }
    return image;
}

int alphaSum(const Image& image) {
    int sum = 0;
    for (std::size_t i = 3; i < image.rgba.size(); i += 4) {
        sum += image.rgba[i];
    }
    return sum;
}

TEST(ShrinkImage, HalvingAveragesEachTwoByTwoBlock) {
    Image source = makeImage(4, 2);
    setPixel(source, 0, 0, 200, 0, 0, 255);
    setPixel(source, 1, 0, 100, 0, 0, 255);
    setPixel(source, 0, 1, 0, 40, 0, 255);
    setPixel(source, 1, 1, 0, 80, 0, 255);
    const Image half = shrinkImage(source, 2, 1);
    ASSERT_EQ(half.width, 2);
    ASSERT_EQ(half.height, 1);
    const std::uint8_t* left = pixelAt(half, 0, 0);
    EXPECT_EQ(left[0], 75);
    EXPECT_EQ(left[1], 30);
    EXPECT_EQ(left[3], 255);
    EXPECT_EQ(pixelAt(half, 1, 0)[3], 0) << "the empty right half stays transparent";
}

TEST(ShrinkImage, TransparentNeighboursDoNotDarkenTheColour) {
    Image source = makeImage(2, 2);
    setPixel(source, 0, 0, 230, 40, 40, 255);
    const Image shrunk = shrinkImage(source, 1, 1);
    const std::uint8_t* pixel = pixelAt(shrunk, 0, 0);
    EXPECT_EQ(pixel[0], 230);
    EXPECT_EQ(pixel[1], 40);
    EXPECT_EQ(pixel[3], 64) << "a quarter covered";
}

TEST(ShrinkImage, NonIntegerFactorKeepsUniformColourAndTotalCoverage) {
    const Image uniform = shrinkImage(filled(256, 90, 140, 210, 255), 48, 48);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const std::uint8_t* pixel = pixelAt(uniform, x, y);
            ASSERT_EQ(pixel[0], 90) << x << "," << y;
            ASSERT_EQ(pixel[2], 210) << x << "," << y;
            ASSERT_EQ(pixel[3], 255) << x << "," << y;
        }
    }
    // A one-pixel-wide opaque column shared unevenly by two target pixels.
    Image line = makeImage(256, 256);
    for (int y = 0; y < 256; ++y) {
        setPixel(line, 100, y, 255, 255, 255, 255);
    }
    const Image small = shrinkImage(line, 48, 48);
    const float kept = alphaSum(small) * (256.0f / 48.0f) * (256.0f / 48.0f);
    EXPECT_NEAR(kept, static_cast<float>(alphaSum(line)), 0.02f * alphaSum(line));
}

TEST(PngFile, RoundTripKeepsStraightAlphaColours) {
    Image image = makeImage(3, 2);
    setPixel(image, 0, 0, 230, 38, 38, 255);
    setPixel(image, 1, 0, 64, 89, 217, 128);
    setPixel(image, 2, 1, 242, 217, 64, 1);
    const std::string path = ::testing::TempDir() + "kestrun-icon-roundtrip.png";
    ASSERT_TRUE(writePng(path, image));
    Image loaded;
    ASSERT_TRUE(readPng(path, loaded));
    std::remove(path.c_str());
    EXPECT_EQ(loaded.width, 3);
    EXPECT_EQ(loaded.height, 2);
    EXPECT_EQ(loaded.rgba, image.rgba);
}

TEST(PngFile, FailuresLeaveTheImageAloneAndReportFalse) {
    Image image = filled(2, 1, 2, 3, 4);
    EXPECT_FALSE(readPng("/nonexistent/kestrun.png", image));
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.rgba[0], 1);
    EXPECT_FALSE(writePng("/nonexistent/dir/kestrun.png", image));
}

}  // namespace

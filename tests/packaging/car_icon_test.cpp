// The icon is the game's own car: rendered through drawCar, framed whole, and
// the committed PNGs are what the renderer makes of the current model.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "packaging/icontool/car_icon.h"
#include "packaging/icontool/image.h"
#include "packaging/icontool/png_file.h"
#include "tests/gl_window.h"

namespace {

constexpr int kSize = 256;
const char* const kRegenerate =
    "; if the car model changed on purpose, run: cmake --build <build dir> "
    "--target kestrun-update-icons";

std::string committedIcon(int size) {
    return std::string(KESTRUN_SOURCE_DIR) + "/packaging/icons/kestrun-" + std::to_string(size) +
           ".png";
}

// Renders once for the whole suite: sixteen passes of the car.
const Image& renderedIcon() {
    static const Image icon = [] {
        openTestWindow(kSize, kSize);
        return renderCarIcon(kSize);
    }();
    return icon;
}

struct Census {
    int opaque = 0;
    int partial = 0;
    int bodyRed = 0;
    int cabinBlue = 0;
};

Census countPixels(const Image& image) {
    Census census;
    for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
        const int r = image.rgba[i];
        const int g = image.rgba[i + 1];
        const int b = image.rgba[i + 2];
        const int a = image.rgba[i + 3];
        census.opaque += a == 255;
        census.partial += a > 0 && a < 255;
        census.bodyRed += a == 255 && r > 2 * g && r > 2 * b && r > 80;
        census.cabinBlue += a == 255 && b > r + 60 && b > g + 40;
    }
    return census;
}

int borderAlpha(const Image& image) {
    int sum = 0;
    for (int i = 0; i < image.width; ++i) {
        sum += pixelAt(image, i, 0)[3] + pixelAt(image, i, image.height - 1)[3];
        sum += pixelAt(image, 0, i)[3] + pixelAt(image, image.width - 1, i)[3];
    }
    return sum;
}

// Pixels whose alpha, or colour where both are visible, differ by more than tolerance.
int differingPixels(const Image& a, const Image& b, int tolerance) {
    int count = 0;
    for (std::size_t i = 0; i < a.rgba.size(); i += 4) {
        bool differs = std::abs(a.rgba[i + 3] - b.rgba[i + 3]) > tolerance;
        for (std::size_t c = 0; c < 3 && a.rgba[i + 3] > 0 && b.rgba[i + 3] > 0; ++c) {
            differs = differs || std::abs(a.rgba[i + c] - b.rgba[i + c]) > tolerance;
        }
        count += differs;
    }
    return count;
}

TEST(CarIcon, ShowsTheWholeRedCarWithItsBlueCabinOnTransparency) {
    const Image& icon = renderedIcon();
    const Census census = countPixels(icon);
    const int total = kSize * kSize;
    EXPECT_GT(census.opaque, total / 10) << "the car fills too little of the icon";
    EXPECT_LT(census.opaque, total * 7 / 10) << "no transparent surroundings";
    EXPECT_GT(census.bodyRed, total / 50);
    EXPECT_GT(census.cabinBlue, total / 100);
    EXPECT_GT(census.partial, 100) << "edges are not smoothed";
    EXPECT_EQ(borderAlpha(icon), 0) << "the car is cut off at the icon's edge";
}

TEST(CarIcon, CommittedIconsAreTheRenderedCar) {
    Image committed;
    ASSERT_TRUE(readPng(committedIcon(kSize), committed)) << committedIcon(kSize);
    ASSERT_EQ(committed.width, kSize);
    ASSERT_EQ(committed.height, kSize);
    EXPECT_LE(differingPixels(renderedIcon(), committed, 6), kSize * kSize / 500)
        << "packaging/icons/kestrun-256.png is not the current car" << kRegenerate;
}

TEST(CarIcon, CommittedSmallerSizesAreShrunkFromTheLargest) {
    Image large;
    ASSERT_TRUE(readPng(committedIcon(kSize), large));
    for (int size : {128, 48}) {
        Image small;
        ASSERT_TRUE(readPng(committedIcon(size), small)) << committedIcon(size);
        ASSERT_EQ(small.width, size);
        ASSERT_EQ(small.height, size);
        EXPECT_EQ(differingPixels(shrinkImage(large, size, size), small, 1), 0)
            << committedIcon(size) << kRegenerate;
    }
}

}  // namespace

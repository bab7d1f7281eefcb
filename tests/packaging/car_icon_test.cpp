// The icon is the game's own car: rendered through drawCar, framed whole, and
// the committed PNGs are what the renderer makes of the current model.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "icon/car_icon.h"
#include "icon/image.h"
#include "icon/png_file.h"
#include "tests/gl_window.h"

namespace {

// The committed sizes; the car is rendered at the first.
constexpr int kSizes[] = {KESTRUN_ICON_SIZES};
constexpr int kSize = kSizes[0];
const char* const kRegenerate =
    "; if the car model changed on purpose, run: cmake --build <build dir> "
    "--target kestrun-update-icons";

Image readIcon(const std::string& path) {
    Image image;
    EXPECT_TRUE(readPng(path, image)) << path;
    return image;
}

// Made once for the whole suite, as the update target makes them: sixteen
// passes of the car, then ImageMagick's shrinking.
const std::string& madeIcons() {
    static const std::string directory = [] {
        std::string made = ::testing::TempDir() + "kestrun-icons-XXXXXX";
        EXPECT_NE(mkdtemp(made.data()), nullptr);
        openTestWindow(kSize, kSize);
        EXPECT_TRUE(writeCarIcons(made, std::vector<int>(std::begin(kSizes), std::end(kSizes))));
        return made;
    }();
    return directory;
}

// Opaque pixels, edge pixels, and opaque pixels of the body's red and the cabin's blue.
std::array<int, 4> census(const Image& image) {
    std::array<int, 4> counts{};
    for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
        const int r = image.rgba[i], g = image.rgba[i + 1], b = image.rgba[i + 2];
        const int a = image.rgba[i + 3];
        counts[0] += a == 255;
        counts[1] += a > 0 && a < 255;
        counts[2] += a == 255 && r > 2 * g && r > 2 * b && r > 80;
        counts[3] += a == 255 && b > r + 60 && b > g + 40;
    }
    return counts;
}

bool borderIsTransparent(const Image& image) {
    for (int i = 0; i < image.width; ++i) {
        if (pixelAt(image, i, 0)[3] || pixelAt(image, i, image.height - 1)[3] ||
            pixelAt(image, 0, i)[3] || pixelAt(image, image.width - 1, i)[3]) {
            return false;
        }
    }
    return true;
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
    const Image icon = readIcon(carIconPath(madeIcons(), kSize));
    ASSERT_EQ(icon.width, kSize);
    const std::array<int, 4> counts = census(icon);
    const int total = kSize * kSize;
    EXPECT_GT(counts[0], total / 10) << "the car fills too little of the icon";
    EXPECT_LT(counts[0], total * 7 / 10) << "no transparent surroundings";
    EXPECT_GT(counts[1], 100) << "edges are not smoothed";
    EXPECT_GT(counts[2], total / 50) << "too little of the red body";
    EXPECT_GT(counts[3], total / 100) << "too little of the blue cabin";
    EXPECT_TRUE(borderIsTransparent(icon)) << "the car is cut off at the edge";
}

TEST(CarIcon, CommittedIconsAreTheRenderedCarAtEachSize) {
    for (int size : kSizes) {
        const Image committed = readIcon(carIconPath(KESTRUN_ICON_DIR, size));
        const Image made = readIcon(carIconPath(madeIcons(), size));
        ASSERT_EQ(committed.width, size);
        ASSERT_EQ(committed.height, size);
        ASSERT_EQ(made.rgba.size(), committed.rgba.size());
        EXPECT_LE(differingPixels(made, committed, 6), size * size / 500)
            << carIconPath(KESTRUN_ICON_DIR, size) << " is not the current car" << kRegenerate;
    }
}

}  // namespace

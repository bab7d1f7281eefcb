#include "icon/image.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// How much of source cell `cell` lies under the target span [from, to).
float overlap(int cell, float from, float to) {
    const float low = std::max(from, static_cast<float>(cell));
    const float high = std::min(to, static_cast<float>(cell + 1));
    return std::max(0.0f, high - low);
}

std::uint8_t toByte(float value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 255.0f)));
}

// Alpha-weighted sums of colour, plus the alpha and area they cover.
struct Coverage {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 0.0f;
    float area = 0.0f;
};

void addSample(Coverage& sum, const std::uint8_t* pixel, float weight) {
    const float alpha = pixel[3] * weight;
    sum.red += pixel[0] * alpha;
    sum.green += pixel[1] * alpha;
    sum.blue += pixel[2] * alpha;
    sum.alpha += alpha;
    sum.area += weight;
}

// Averages the source rectangle [x0, x1) x [y0, y1), given in source pixels.
Coverage averageArea(const Image& source, float x0, float x1, float y0, float y1) {
    Coverage sum;
    const int lastRow = std::min(source.height, static_cast<int>(std::ceil(y1)));
    const int lastColumn = std::min(source.width, static_cast<int>(std::ceil(x1)));
    for (int y = static_cast<int>(y0); y < lastRow; ++y) {
        const float rowWeight = overlap(y, y0, y1);
        for (int x = static_cast<int>(x0); x < lastColumn; ++x) {
            addSample(sum, pixelAt(source, x, y), rowWeight * overlap(x, x0, x1));
        }
    }
    return sum;
}

void storeAverage(std::uint8_t* pixel, const Coverage& sum) {
    if (sum.alpha > 0.0f) {
        pixel[0] = toByte(sum.red / sum.alpha);
        pixel[1] = toByte(sum.green / sum.alpha);
        pixel[2] = toByte(sum.blue / sum.alpha);
    }
    pixel[3] = sum.area > 0.0f ? toByte(sum.alpha / sum.area) : 0;
}

}  // namespace

Image makeImage(int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    image.rgba.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
    return image;
}

std::uint8_t* pixelAt(Image& image, int x, int y) {
    return image.rgba.data() + (static_cast<std::size_t>(y) * image.width + x) * 4;
}

const std::uint8_t* pixelAt(const Image& image, int x, int y) {
    return image.rgba.data() + (static_cast<std::size_t>(y) * image.width + x) * 4;
}

Image shrinkImage(const Image& source, int width, int height) {
    Image target = makeImage(width, height);
    const float scaleX = static_cast<float>(source.width) / static_cast<float>(width);
    const float scaleY = static_cast<float>(source.height) / static_cast<float>(height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Coverage sum =
                averageArea(source, x * scaleX, (x + 1) * scaleX, y * scaleY, (y + 1) * scaleY);
            storeAverage(pixelAt(target, x, y), sum);
        }
    }
    return target;
}

#include "icon/image.h"

#include <cstddef>

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

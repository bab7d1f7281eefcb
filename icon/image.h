// A small RGBA picture: the car rendered as an icon.
#pragma once

#include <cstdint>
#include <vector>

// 8-bit RGBA, rows top first, colour not premultiplied by alpha.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// A fully transparent picture of the given size.
Image makeImage(int width, int height);

// The pixel's four channels, starting at its red byte.
std::uint8_t* pixelAt(Image& image, int x, int y);
const std::uint8_t* pixelAt(const Image& image, int x, int y);

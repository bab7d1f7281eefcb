// Finds where text was drawn: pixels of the back buffer that differ from the
// clear colour, within a rectangle given from the window's top-left corner.
#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tests/gl_window.h"

struct Ink {
    int count = 0;
    int left = 1 << 30;  // bounding box of the pixels found, inclusive
    int top = 1 << 30;
    int right = -1;
    int bottom = -1;
    Rgb colour = {0, 0, 0};  // of the last pixel found
};

struct Area {
    int left, top, width, height;
};

inline Rgb clearColour() {
    GLfloat c[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, c);
    return rgb(c[0], c[1], c[2]);
}

inline void clearScreen() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

inline std::vector<std::uint8_t> readArea(const Area& area, int windowHeight) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(area.width) * area.height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(area.left, windowHeight - area.top - area.height, area.width, area.height, GL_RGB,
                 GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

inline void addInk(Ink& ink, int x, int y, const Rgb& colour) {
    ++ink.count;
    ink.left = std::min(ink.left, x);
    ink.right = std::max(ink.right, x);
    ink.top = std::min(ink.top, y);
    ink.bottom = std::max(ink.bottom, y);
    ink.colour = colour;
}

// GL rows run bottom to top; the result is in top-left coordinates.
inline Ink findInk(const Area& area, int windowHeight) {
    const std::vector<std::uint8_t> pixels = readArea(area, windowHeight);
    const Rgb background = clearColour();
    Ink ink;
    for (int row = 0; row < area.height; ++row) {
        for (int column = 0; column < area.width; ++column) {
            const std::uint8_t* p =
                &pixels[(static_cast<std::size_t>(row) * area.width + column) * 3];
            const Rgb colour = {p[0], p[1], p[2]};
            if (!near(colour, background, 0)) {
                addInk(ink, area.left + column, area.top + area.height - 1 - row, colour);
            }
        }
    }
    return ink;
}

// Where text was drawn, outline included: back-buffer pixels that differ
// from the clear colour.
#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "game/state.h"
#include "render/text.h"

struct Ink {
    int count = 0;
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive, from top-left
};

// Searches the rectangle whose top-left corner is (left, top) from the
// window's top-left.
inline Ink findInk(int left, int top, int width, int height) {
    std::vector<GLubyte> pixels(static_cast<std::size_t>(width) * height * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(left, game.windowHeight - top - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    GLfloat c[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, c);
    const GLubyte sky[3] = {GLubyte(c[0] * 255 + 0.5f), GLubyte(c[1] * 255 + 0.5f),
                            GLubyte(c[2] * 255 + 0.5f)};
    Ink ink;
    for (int i = 0; i < width * height; ++i) {
        const GLubyte* p = &pixels[static_cast<std::size_t>(i) * 4];
        if (!std::equal(p, p + 3, sky)) {
            const int x = left + i % width, y = top + height - 1 - i / width;
            ++ink.count;
            ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
        }
    }
    return ink;
}

// Draws one text on a cleared screen and finds it on the rows of its line.
inline Ink inkOfText(int x, int y, const char* text) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawText(x, y, text);
    return findInk(x - 4, y - 24, 360, 30);
}

// The legibility rule for screen texts: every pixel beside a glyph pixel
// (left, right, above or below) that is not glyph itself contrasts at least
// 3:1 with the text colour, by WCAG 2 relative luminance.
#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "render/graphics.h"
#include "render/text.h"

struct EdgeContrast {
    int glyphPixels = 0;      // pixels in the text colour, where the texts are
    int edgePixels = 0;       // their neighbours that are not glyph
    int unchangedGlyphs = 0;  // glyph pixels the whole frame still shows in the text colour
    double worst = 1e9;       // the lowest contrast found at an edge
};

inline double relativeLuminance(const GLubyte* rgb) {
    double channels[3];
    for (int i = 0; i < 3; ++i) {
        const double c = rgb[i] / 255.0;
        channels[i] = c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    }
    return 0.2126 * channels[0] + 0.7152 * channels[1] + 0.0722 * channels[2];
}

inline double contrastRatio(const GLubyte* a, const GLubyte* b) {
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

inline std::vector<GLubyte> readBackBuffer(int width, int height) {
    std::vector<GLubyte> pixels(static_cast<std::size_t>(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Draws the frame of the current state, then the texts alone on a cleared
// buffer to learn which pixels are glyph (those in the text colour, the
// raster colour the text pass takes), and judges the frame at their edges.
inline EdgeContrast textEdgeContrast(int width, int height) {
    drawFrame();
    const std::vector<GLubyte> frame = readBackBuffer(width, height);
    GLfloat raster[4];
    glGetFloatv(GL_CURRENT_RASTER_COLOR, raster);
    const GLubyte text[3] = {GLubyte(std::lround(raster[0] * 255)),
                             GLubyte(std::lround(raster[1] * 255)),
                             GLubyte(std::lround(raster[2] * 255))};
    glClear(GL_COLOR_BUFFER_BIT);
    drawHud();
    const std::vector<GLubyte> alone = readBackBuffer(width, height);
    auto at = [&](const std::vector<GLubyte>& image, int x, int y) {
        return &image[(static_cast<std::size_t>(y) * width + x) * 3];
    };
    auto glyph = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width && y < height &&
               std::equal(text, text + 3, at(alone, x, y));
    };
    EdgeContrast found;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!glyph(x, y)) {
                continue;
            }
            ++found.glyphPixels;
            found.unchangedGlyphs += std::equal(text, text + 3, at(frame, x, y)) ? 1 : 0;
            const int neighbours[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : neighbours) {
                if (n[0] >= 0 && n[1] >= 0 && n[0] < width && n[1] < height && !glyph(n[0], n[1])) {
                    ++found.edgePixels;
                    found.worst = std::min(found.worst, contrastRatio(text, at(frame, n[0], n[1])));
                }
            }
        }
    }
    return found;
}

#include "render/text.h"

#include <GL/gl.h>

#include <cstdint>

#include "game/state.h"
#include "glyphs/gbk.h"
#include "render/glyphs.h"
#include "render/text_layout.h"

namespace {

// Pixel transfer settings glBitmap needs for the glyphs' packed rows,
// whatever the rest of the program left; restored by the matching pop.
void pushGlyphUnpacking() {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
}

// One bitmap a character, the glyphs' outlines or their ink; each moves the
// pen by the glyph's advance, so both layers follow the same path.
void drawGlyphLayer(const char* text, GlyphBitmap Glyph::*layer) {
    forEachGbkCharacter(text, [layer](std::uint16_t code) {
        const Glyph& glyph = glyphFor(code);
        const GlyphBitmap& bitmap = glyph.*layer;
        glBitmap(bitmap.width, bitmap.height, bitmap.xOrigin, bitmap.yOrigin, glyph.advance, 0.0f,
                 bitmap.bits.empty() ? nullptr : bitmap.bits.data());
    });
}

// Window pixels with y up, for the raster positions of the text. The texts
// are lit like the ground, facing up: the normal that the car's last part
// leaves differs from one freeglut to the next.
void beginScreenText() {
    glNormal3f(0.0f, 1.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, game.windowWidth, 0.0, game.windowHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
}

void endScreenText() {
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// The raster position at (x, height - y), in the colour the current state
// gives it. An empty bitmap moves the position without its having to be
// inside the view, as a glRasterPos there would need.
void placeRaster(int x, int y) {
    glRasterPos2f(0.0f, 0.0f);
    glBitmap(0, 0, 0.0f, 0.0f, static_cast<float>(x), static_cast<float>(game.windowHeight - y),
             nullptr);
}

// The outline is unlit black: the darkest border contrasts most with the
// lamp-lit text colour, on the sky, the grass, the road and its yellow
// dashes alike. Everything changed here is restored by the matching pop,
// the raster colour of the text included.
void beginOutlinePass() {
    glPushAttrib(GL_CURRENT_BIT | GL_LIGHTING_BIT);
    glDisable(GL_LIGHTING);
    glColor3f(0.0f, 0.0f, 0.0f);
}

void endOutlinePass() {
    glPopAttrib();
}

// The outline pass, then the text over it. The glyphs' outline masks cost
// one bitmap per character.
void drawOutlinedGlyphs(int x, int y, const char* text) {
    beginOutlinePass();
    placeRaster(x, y);
    drawGlyphLayer(text, &Glyph::outline);
    endOutlinePass();
    placeRaster(x, y);
    drawGlyphLayer(text, &Glyph::ink);
}

}  // namespace

void drawText(int x, int y, const char* text) {
    // A minimised window has no area to write on, and glOrtho rejects an
    // empty width or height.
    if (text == nullptr || game.windowWidth <= 0 || game.windowHeight <= 0) {
        return;
    }
    beginScreenText();
    pushGlyphUnpacking();
    drawOutlinedGlyphs(x, y, text);
    glPopClientAttrib();
    endScreenText();
}

// The texts take the raster colour the scene leaves, lit like everything
// else; only their outline has a colour of its own.
void drawHud() {
    const HudLayout layout = layoutHud(game);
    for (int i = 0; i < layout.count; ++i) {
        const HudLine& line = layout.lines[i];
        drawText(line.x, line.y, line.text);
    }
}

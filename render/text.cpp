#include "render/text.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <string>
#include <utility>

#include "game/state.h"
#include "platform/glyph_source.h"
#include "render/glyphs.h"
#include "render/text_decode.h"
#include "render/text_layout.h"

namespace {

// The em height that matches GLUT_BITMAP_HELVETICA_18, the font the texts
// were laid out for.
constexpr int kTextPixelSize = 18;

enum class TextRenderer { Undecided, Glyphs, BitmapFont };

TextRenderer renderer = TextRenderer::Undecided;

// Every character any screen text can show, so one face serves them all and
// each line looks uniform.
std::u32string charactersOfTheTexts() {
    std::u32string characters = U"0123456789-";
    for (const char* text : kScreenTexts) {
        characters += decodeGbk(text);
    }
    return characters;
}

bool openChineseFace(std::string& reason) {
    if (!gbkDecoderAvailable()) {
        reason = "the system has no GBK converter";
        return false;
    }
    return openGlyphFace(charactersOfTheTexts(), kTextPixelSize, reason);
}

// Decided once; without a usable face the texts keep only what the GLUT
// bitmap font can draw, and the player is told once how to get the rest.
TextRenderer chooseRenderer() {
    std::string reason;
    if (openChineseFace(reason)) {
        return TextRenderer::Glyphs;
    }
    std::fprintf(stderr, "kestrun: %s; the screen texts show their ASCII characters only. %s\n",
                 reason.c_str(), missingFontAdvice());
    return TextRenderer::BitmapFont;
}

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
void drawGlyphLayer(const std::u32string& codePoints, GlyphBitmap Glyph::*layer) {
    for (char32_t codePoint : codePoints) {
        const Glyph& glyph = glyphFor(codePoint);
        const GlyphBitmap& bitmap = glyph.*layer;
        glBitmap(bitmap.width, bitmap.height, bitmap.xOrigin, bitmap.yOrigin, glyph.advance, 0.0f,
                 bitmap.bits.empty() ? nullptr : bitmap.bits.data());
    }
}

// freeglut draws codes 1 to 255 only: bytes above 127 arrive as negative
// values and draw nothing, which leaves the ASCII part of each text.
void drawBitmapFontBytes(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, static_cast<signed char>(*c));
    }
}

// Window pixels with y up, for the raster positions of the text.
void beginScreenText() {
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

// The raster position at (x + dx, height - y + dy), in the colour the
// current state gives it. An empty bitmap moves the position without its
// having to be inside the view, as a glRasterPos there would need.
void placeRaster(int x, int y, int dx = 0, int dy = 0) {
    glRasterPos2f(0.0f, 0.0f);
    glBitmap(0, 0, 0.0f, 0.0f, static_cast<float>(x + dx),
             static_cast<float>(game.windowHeight - y + dy), nullptr);
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
    // Decoded once for both layers; nothing between them decodes again.
    const std::u32string& codePoints = decodedText(text);
    beginOutlinePass();
    placeRaster(x, y);
    drawGlyphLayer(codePoints, &Glyph::outline);
    endOutlinePass();
    placeRaster(x, y);
    drawGlyphLayer(codePoints, &Glyph::ink);
}

// The GLUT font has no outline masks, so its bytes are drawn dark once per
// neighbour direction, then in the text colour over them.
void drawOutlinedBytes(int x, int y, const char* text) {
    beginOutlinePass();
    for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
        placeRaster(x, y, dx, dy);
        drawBitmapFontBytes(text);
    }
    endOutlinePass();
    placeRaster(x, y);
    drawBitmapFontBytes(text);
}

}  // namespace

void drawText(int x, int y, const char* text) {
    // A minimised window has no area to write on, and glOrtho rejects an
    // empty width or height.
    if (text == nullptr || game.windowWidth <= 0 || game.windowHeight <= 0) {
        return;
    }
    if (renderer == TextRenderer::Undecided) {
        renderer = chooseRenderer();
    }
    beginScreenText();
    pushGlyphUnpacking();
    if (renderer == TextRenderer::Glyphs) {
        drawOutlinedGlyphs(x, y, text);
    } else {
        drawOutlinedBytes(x, y, text);
    }
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

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>

#include "game/state.h"
#include "render/glyphs.h"
#include "render/graphics.h"
#include "render/text.h"
#include "render/text_decode.h"
#include "render/text_layout.h"
#include "tests/gl_window.h"
#include "tests/text_ink.h"

namespace {

// Rows around one line of text whose baseline is at y: glyphs reach about
// 18 pixels above it and a few below, and the next line is 30 pixels away.
Area lineArea(int x, int y) {
    return {x - 4, y - 24, 360, 30};
}

Ink inkOfText(int x, int y, const char* text) {
    clearScreen();
    drawText(x, y, text);
    return findInk(lineArea(x, y), game.windowHeight);
}

class TextRenderTest : public testing::Test {
protected:
    void SetUp() override {
        openTestWindow(800, 600);
        game.phase = GamePhase::Menu;
        glColor3f(0.95f, 0.85f, 0.25f);
    }
};

TEST_F(TextRenderTest, TitleShowsTheChineseCharactersAfterKestrun) {
    const Ink kestrun = inkOfText(330, 340, "Kestrun");
    const Ink title = inkOfText(330, 340, kTitleText);
    ASSERT_GT(kestrun.count, 100);

    // Placed with the pen at x and the baseline on the row above y.
    EXPECT_GE(kestrun.left, 330);
    EXPECT_LE(kestrun.left, 332);
    EXPECT_EQ(kestrun.bottom, 339);
    EXPECT_GE(kestrun.top, 339 - 14);

    EXPECT_EQ(title.left, kestrun.left);
    const Ink chinese = findInk({kestrun.right + 2, 340 - 24, 60, 30}, game.windowHeight);
    EXPECT_GT(chinese.count, 60) << "two Chinese characters expected after Kestrun";
    EXPECT_GE(chinese.right - chinese.left, 28);
    EXPECT_GE(chinese.bottom - chinese.top, 12);
}

TEST_F(TextRenderTest, EveryMenuLineHasInkWhereNonAsciiCharactersStand) {
    // Each line's last characters are Chinese; their glyphs must reach well
    // past where the ASCII part alone would end.
    const HudLayout layout = layoutHud(game);
    const char* asciiParts[] = {"Kestrun", "\xB0\xB4 S ", "A/D ", "W/S ", "ESC "};
    for (int i = 0; i < layout.count; ++i) {
        const HudLine& line = layout.lines[i];
        const Ink ascii = inkOfText(line.x, line.y, asciiParts[i]);
        const Ink whole = inkOfText(line.x, line.y, line.text);
        EXPECT_GT(whole.right - ascii.right, 30) << "line " << i;
        EXPECT_GT(whole.count, ascii.count + 100) << "line " << i;
    }
}

// No colour is set and lighting stays on: the pixels are the raster colour
// that GL lit from the current colour.
TEST_F(TextRenderTest, TextTakesTheLitRasterColour) {
    for (const auto& colour : {std::array<float, 3>{0.95f, 0.85f, 0.25f}, {0.8f, 0.1f, 0.1f}}) {
        glColor3f(colour[0], colour[1], colour[2]);
        const Ink ink = inkOfText(100, 100, kEscapeText);
        GLfloat raster[4];
        glGetFloatv(GL_CURRENT_RASTER_COLOR, raster);
        ASSERT_GT(ink.count, 0);
        EXPECT_TRUE(near(ink.colour, rgb(raster[0], raster[1], raster[2]), 1));
        EXPECT_FALSE(near(ink.colour, rgb(colour[0], colour[1], colour[2]), 3))
            << "the text was not lit";
    }
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

struct MatrixState {
    GLint mode = 0;
    GLint projectionDepth = 0;
    GLint modelviewDepth = 0;
    std::array<GLfloat, 16> projection{};
    std::array<GLfloat, 16> modelview{};
    GLboolean depthTest = GL_FALSE;
    GLint unpackAlignment = 0;
};

MatrixState captureState() {
    MatrixState s;
    glGetIntegerv(GL_MATRIX_MODE, &s.mode);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.projectionDepth);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.modelviewDepth);
    glGetFloatv(GL_PROJECTION_MATRIX, s.projection.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview.data());
    s.depthTest = glIsEnabled(GL_DEPTH_TEST);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &s.unpackAlignment);
    return s;
}

TEST_F(TextRenderTest, TextPassLeavesMatricesAndDepthTestAsFound) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, -2.0f, -7.0f);
    glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
    for (GamePhase phase : {GamePhase::Menu, GamePhase::Playing, GamePhase::GameOver}) {
        game.phase = phase;
        const MatrixState before = captureState();
        drawHud();
        const MatrixState after = captureState();
        EXPECT_EQ(after.mode, GL_MODELVIEW);
        EXPECT_EQ(after.projectionDepth, before.projectionDepth);
        EXPECT_EQ(after.modelviewDepth, before.modelviewDepth);
        EXPECT_EQ(after.projection, before.projection);
        EXPECT_EQ(after.modelview, before.modelview);
        EXPECT_TRUE(after.depthTest);
        EXPECT_EQ(after.unpackAlignment, before.unpackAlignment);
    }
    EXPECT_EQ(takeGlError(), GL_NO_ERROR);
}

TEST_F(TextRenderTest, MinimisedWindowDrawsTextWithoutGlErrors) {
    takeGlError();
    const MatrixState before = captureState();
    for (const auto& size : {std::array<int, 2>{800, 0}, {0, 600}, {0, 0}}) {
        onReshape(size[0], size[1]);
        for (GamePhase phase : {GamePhase::Menu, GamePhase::Playing, GamePhase::GameOver}) {
            game.phase = phase;
            drawFrame();
            EXPECT_EQ(takeGlError(), GL_NO_ERROR) << size[0] << "x" << size[1];
        }
    }
    EXPECT_EQ(captureState().projectionDepth, before.projectionDepth);
    EXPECT_EQ(captureState().modelviewDepth, before.modelviewDepth);
}

TEST_F(TextRenderTest, FramesReuseDecodedTextsAndRasterizedGlyphs) {
    game.score = 321;
    game.player.speed = 18.0f;
    auto drawEveryPhase = [] {
        for (GamePhase phase : {GamePhase::Menu, GamePhase::Playing, GamePhase::GameOver}) {
            game.phase = phase;
            drawFrame();
        }
    };
    drawEveryPhase();
    const int rasterized = glyphRasterizations();
    const int decoded = decodedTextMisses();
    ASSERT_GT(rasterized, 40) << "the three phases show over 40 distinct characters";
    for (int frame = 0; frame < 5; ++frame) {
        drawEveryPhase();
    }
    EXPECT_EQ(glyphRasterizations(), rasterized);
    EXPECT_EQ(decodedTextMisses(), decoded);
    EXPECT_EQ(static_cast<std::size_t>(glyphRasterizations()), cachedGlyphCount())
        << "some code point was rasterized twice";

    // A new score brings only its new digits.
    game.score = 90;
    game.phase = GamePhase::Playing;
    drawFrame();
    EXPECT_LE(glyphRasterizations() - rasterized, 2);
    EXPECT_EQ(decodedTextMisses(), decoded + 1);
}

TEST_F(TextRenderTest, PositionsFollowAReshape) {
    openTestWindow(640, 480);
    // Title at (320 - 70, 240 + 40), its baseline on the row above.
    clearScreen();
    drawHud();
    const Ink title = findInk(lineArea(250, 280), game.windowHeight);
    EXPECT_GE(title.left, 250);
    EXPECT_LE(title.left, 252);
    EXPECT_LE(title.bottom, 279 + 4);
    EXPECT_GE(title.bottom, 279);

    openTestWindow(800, 600);
    clearScreen();
    drawHud();
    const Ink moved = findInk(lineArea(330, 340), game.windowHeight);
    EXPECT_EQ(moved.left - 330, title.left - 250);
    EXPECT_EQ(moved.bottom - 340, title.bottom - 280);
    EXPECT_EQ(moved.count, title.count);
}

}  // namespace

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "glyphs/texts.h"
#include "render/graphics.h"
#include "render/text.h"
#include "tests/gl_window.h"
#include "tests/text_contrast.h"
#include "tests/text_ink.h"

namespace {

const GamePhase kPhases[] = {GamePhase::Menu, GamePhase::Playing, GamePhase::GameOver};

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
    EXPECT_GE(kestrun.left, 330);
    EXPECT_LE(kestrun.left, 332);
    EXPECT_EQ(kestrun.bottom, 340) << "baseline on the row above y, its outline on y";

    const Ink title = inkOfText(330, 340, kTitleText);
    const Ink chinese = findInk(kestrun.right + 2, 316, 60, 30);
    EXPECT_EQ(title.left, kestrun.left);
    EXPECT_GT(chinese.count, 60);
    EXPECT_GE(chinese.right - chinese.left, 28) << "two characters, each about 18 pixels";
    EXPECT_GE(chinese.bottom - chinese.top, 12);
}

std::vector<GLfloat> matrixState() {
    std::vector<GLfloat> state(32);
    glGetFloatv(GL_PROJECTION_MATRIX, state.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, state.data() + 16);
    for (GLenum name : {GL_MATRIX_MODE, GL_PROJECTION_STACK_DEPTH, GL_MODELVIEW_STACK_DEPTH,
                        GL_UNPACK_ALIGNMENT, GL_DEPTH_TEST}) {
        GLint value = 0;
        glGetIntegerv(name, &value);
        state.push_back(static_cast<GLfloat>(value));
    }
    return state;
}

TEST_F(TextRenderTest, TextPassLeavesMatricesAndDepthTestAsFound) {
    glTranslatef(1.0f, -2.0f, -7.0f);
    glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
    const std::vector<GLfloat> before = matrixState();
    for (GamePhase phase : kPhases) {
        game.phase = phase;
        drawHud();
        EXPECT_EQ(matrixState(), before);
    }
    EXPECT_EQ(takeGlError(), GL_NO_ERROR);
}

// The texts' colour is their own, whatever normal the drawing before them
// left: freeglut's cubes leave different ones from one version to the next.
TEST_F(TextRenderTest, TextColourIgnoresTheNormalLeftBefore) {
    std::vector<std::vector<GLfloat>> colours;
    for (const Vec3& n :
         {Vec3{0.0f, 0.0f, 1.0f}, Vec3{-1.0f, 0.0f, 0.0f}, Vec3{0.0f, -1.0f, 0.0f}}) {
        glNormal3f(n[0], n[1], n[2]);
        drawText(330, 340, kTitleText);
        glGetFloatv(GL_CURRENT_RASTER_COLOR, colours.emplace_back(4).data());
    }
    EXPECT_GT(colours[0][0], 0.5f) << "lit, not the outline's black";
    EXPECT_EQ(colours[1], colours[0]);
    EXPECT_EQ(colours[2], colours[0]);
}

TEST_F(TextRenderTest, MinimisedWindowDrawsWithoutGlErrors) {
    takeGlError();
    for (const auto& size : {std::make_pair(800, 0), std::make_pair(0, 600)}) {
        onReshape(size.first, size.second);
        for (GamePhase phase : kPhases) {
            game.phase = phase;
            drawHud();
            EXPECT_EQ(takeGlError(), GL_NO_ERROR) << size.first << "x" << size.second;
        }
    }
}

// What follows a character the game does not carry stands where it would
// after one it does: the K after an unknown two-byte character ends where the
// K after a Chinese one does, with the box's ink between.
TEST_F(TextRenderTest, TextAfterAnUnknownCharacterKeepsItsPlace) {
    const Ink known = inkOfText(100, 100, "\xD3\xCEK");
    const Ink unknown = inkOfText(100, 100, "\x81\x40K");
    const Ink box = findInk(96, 76, 20, 30);
    EXPECT_EQ(unknown.right, known.right);
    EXPECT_GT(box.count, 40);
    // One byte that starts no pair is half an em; a lead byte at the end, a box.
    EXPECT_EQ(inkOfText(100, 100, "\x80K").right - inkOfText(100, 100, "K").right,
              kTextPixelSize / 2);
    EXPECT_GT(inkOfText(100, 100, "K\xD3").count, inkOfText(100, 100, "K").count);
}

TEST_F(TextRenderTest, PositionsFollowAReshape) {
    openTestWindow(640, 480);
    glClear(GL_COLOR_BUFFER_BIT);
    drawHud();
    const Ink small = findInk(246, 256, 360, 30);  // title at (320 - 70, 240 + 40)
    openTestWindow(800, 600);
    glClear(GL_COLOR_BUFFER_BIT);
    drawHud();
    const Ink large = findInk(326, 316, 360, 30);  // title at (330, 340)
    ASSERT_GT(small.count, 100);
    EXPECT_EQ(large.count, small.count);
    EXPECT_EQ(large.left - small.left, 80);
    EXPECT_EQ(large.bottom - small.bottom, 60);
}

// Every text on whatever lies under it: the menu over the road and its
// yellow centre line at two sizes, the HUD on the sky, the game-over texts.
TEST_F(TextRenderTest, EveryGlyphEdgeContrastsThreeToOne) {
    struct Case {
        GamePhase phase;
        int width, height;
    };
    for (const Case& c :
         {Case{GamePhase::Menu, 800, 600}, Case{GamePhase::Menu, 1920, 1080},
          Case{GamePhase::Playing, 800, 600}, Case{GamePhase::GameOver, 800, 600}}) {
        SCOPED_TRACE(testing::Message() << int(c.phase) << " at " << c.width << "x" << c.height);
        openTestWindow(c.width, c.height);
        game.player = PlayerCar{};
        game.phase = c.phase;
        game.score = 4321;
        const EdgeContrast edges = textEdgeContrast(c.width, c.height);
        EXPECT_GT(edges.glyphPixels, 300);
        EXPECT_EQ(edges.unchangedGlyphs, edges.glyphPixels);
        EXPECT_GT(edges.edgePixels, edges.glyphPixels / 2);
        EXPECT_GE(edges.worst, 3.0);
    }
    openTestWindow(800, 600);
}

}  // namespace

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>

#include "game/state.h"
#include "render/display_mode.h"
#include "render/graphics.h"
#include "tests/gl_window.h"

namespace {

struct Viewport {
    GLint x, y, width, height;
};

Viewport currentViewport() {
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    return {v[0], v[1], v[2], v[3]};
}

// gluPerspective puts f / aspect in [0] and f in [5] of the projection; GL
// keeps matrices in single precision, so compare ratios.
double projectionAspect() {
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    return m[5] / m[0];
}

bool projectionFinite() {
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    for (double v : m) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

GLint matrixMode() {
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    return mode;
}

TEST(GraphicsTest, SetUpLeavesTheMenuWithTheScenery) {
    openTestWindow();
    EXPECT_EQ(game.phase, GamePhase::Menu);
    EXPECT_EQ(game.trees.size(), static_cast<std::size_t>(kTreeCount));
    EXPECT_TRUE(game.obstacles.empty());
    EXPECT_EQ(game.player.x, 0.0f);
    EXPECT_EQ(game.player.speed, 0.0f);
}

TEST(GraphicsTest, EnablesLightsAndMaterialsAsSet) {
    openTestWindow();
    for (GLenum cap :
         {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_LIGHT1, GL_COLOR_MATERIAL, GL_NORMALIZE}) {
        EXPECT_TRUE(glIsEnabled(cap)) << "capability 0x" << std::hex << cap;
    }
    GLint value = 0;
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    glGetIntegerv(GL_COLOR_MATERIAL_FACE, &value);
    EXPECT_EQ(value, GL_FRONT_AND_BACK);
    glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &value);
    EXPECT_EQ(value, GL_AMBIENT_AND_DIFFUSE);

    // The sky, which every frame is cleared to.
    GLfloat c[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, c);
    EXPECT_FLOAT_EQ(c[0], 0.45f);
    EXPECT_FLOAT_EQ(c[1], 0.72f);
    EXPECT_FLOAT_EQ(c[2], 0.92f);
    EXPECT_FLOAT_EQ(c[3], 1.0f);

    auto expectLight = [](GLenum light, GLenum parameter, float r, float g, float b, float a) {
        GLfloat v[4];
        glGetLightfv(light, parameter, v);
        EXPECT_FLOAT_EQ(v[0], r);
        EXPECT_FLOAT_EQ(v[1], g);
        EXPECT_FLOAT_EQ(v[2], b);
        EXPECT_FLOAT_EQ(v[3], a);
    };
    // Positions are stored in eye coordinates: given under the identity, they
    // read back exactly as written, whatever the camera does later.
    expectLight(GL_LIGHT0, GL_POSITION, 4, 8, 3, 1);
    expectLight(GL_LIGHT0, GL_AMBIENT, 0.45f, 0.45f, 0.45f, 1);
    expectLight(GL_LIGHT0, GL_DIFFUSE, 0.95f, 0.95f, 0.85f, 1);
    expectLight(GL_LIGHT0, GL_SPECULAR, 0.4f, 0.4f, 0.4f, 1);
    expectLight(GL_LIGHT1, GL_POSITION, -3, 5, -2, 0);
    expectLight(GL_LIGHT1, GL_DIFFUSE, 0.2f, 0.15f, 0.1f, 1);
    expectLight(GL_LIGHT1, GL_AMBIENT, 0.2f, 0.15f, 0.1f, 1);
    EXPECT_EQ(takeGlError(), GL_NO_ERROR);
}

TEST(GraphicsTest, FrameShowsTheSkyAtTheTop) {
    openTestWindow(800, 600);
    drawFrame();
    for (int x : {5, 400, 794}) {
        EXPECT_TRUE(near(readPixel(x, 3), rgb(kSkyColour[0], kSkyColour[1], kSkyColour[2]), 1))
            << "x = " << x;
    }
    EXPECT_EQ(matrixMode(), GL_MODELVIEW);
    EXPECT_EQ(takeGlError(), GL_NO_ERROR);
}

TEST(GraphicsTest, CameraFollowsPartOfTheCar) {
    openTestWindow();
    game.player.x = 2.6f;
    game.player.z = 2.0f;
    drawFrame();
    game.player = PlayerCar{};

    // The camera's view matrix is what the frame leaves loaded; its inverse
    // maps the eye (origin) back to world space. Rebuild it with the expected
    // eye and centre and compare.
    GLdouble drawn[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, drawn);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(0.91, 2.8, 8.5, 1.43, 0.8, -6.0, 0, 1, 0);
    GLdouble expected[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, expected);
    glPopMatrix();
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(drawn[i], expected[i], 1e-5) << "element " << i;
    }
}

TEST(GraphicsTest, ReshapeFollowsTheWindowAndSurvivesZeroSizes) {
    openTestWindow();

    onReshape(640, 480);
    EXPECT_EQ(game.windowWidth, 640);
    EXPECT_EQ(game.windowHeight, 480);
    Viewport v = currentViewport();
    EXPECT_EQ(v.width, 640);
    EXPECT_EQ(v.height, 480);
    EXPECT_NEAR(projectionAspect() / (640.0 / 480.0), 1.0, 1e-6);
    EXPECT_EQ(matrixMode(), GL_MODELVIEW);
    EXPECT_EQ(takeGlError(), GL_NO_ERROR);

    // Zero height: stored as reported, drawn as one pixel high.
    onReshape(640, 0);
    EXPECT_EQ(game.windowWidth, 640);
    EXPECT_EQ(game.windowHeight, 0);
    v = currentViewport();
    EXPECT_EQ(v.width, 640);
    EXPECT_EQ(v.height, 1);
    EXPECT_NEAR(projectionAspect() / 640.0, 1.0, 1e-6);
    EXPECT_TRUE(projectionFinite());
    drawFrame();
    EXPECT_EQ(takeGlError(), GL_NO_ERROR);

    // Zero width: an aspect ratio of 0 would make the projection infinite.
    onReshape(0, 480);
    EXPECT_EQ(game.windowWidth, 0);
    EXPECT_EQ(game.windowHeight, 480);
    v = currentViewport();
    EXPECT_EQ(v.width, 0);
    EXPECT_EQ(v.height, 480);
    EXPECT_TRUE(projectionFinite());
    EXPECT_NEAR(projectionAspect() * 480.0, 1.0, 1e-6);
    drawFrame();
    EXPECT_EQ(takeGlError(), GL_NO_ERROR);

    onReshape(0, 0);
    EXPECT_TRUE(projectionFinite());
    drawFrame();
    EXPECT_EQ(takeGlError(), GL_NO_ERROR);

    onReshape(800, 600);
    EXPECT_EQ(game.windowWidth, 800);
    EXPECT_EQ(game.windowHeight, 600);
}

// Xvfb renders with Mesa's llvmpipe, which says so before any window opens;
// a display that cannot be opened says nothing.
TEST(GraphicsTest, TheRendererIsKnownBeforeTheWindow) {
    char name[] = "kestrun";
    char option[] = "-display";
    char nowhere[] = ":4093";
    char* plain[] = {name, nullptr};
    char* elsewhere[] = {name, option, nowhere, nullptr};
    EXPECT_EQ(probeRendererBeforeWindow(1, plain), RendererKind::Software);
    EXPECT_EQ(chooseDisplayMode(1, plain), kSingleSampledDisplayMode);
    EXPECT_EQ(probeRendererBeforeWindow(3, elsewhere), RendererKind::Unknown);
}

}  // namespace

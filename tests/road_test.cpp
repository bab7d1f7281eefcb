#include <GL/freeglut.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "game/state.h"
#include "game/world.h"
#include "render/camera.h"
#include "render/graphics.h"
#include "render/road.h"
#include "tests/gl_window.h"

namespace {

TEST(RoadTest, AtZeroScrollTheDashesStandInTwoInterleavedSets) {
    for (int i = 0; i < kDashCount; ++i) {
        const float expected = i <= 71    ? -390.0f + 6.0f * i
                               : i <= 131 ? -358.0f + 6.0f * (i - 72)
                               : i <= 138 ? 2.0f + 6.0f * (i - 132)
                                          : -356.0f;
        EXPECT_EQ(dashFarEdge(i, 0.0f), expected) << i;
    }
}

// Tick by tick every dash moves toward the viewer with the world, except when
// it leaves behind the camera (eye at z = 8.5) and comes back beyond the far
// plane (300 ahead). Runs through the scroll's wrap at 400.
TEST(RoadTest, DashesStreamTowardTheViewerWithTheWorld) {
    const float step = kSecondsPerTick * kCruiseSpeed;
    float scroll = 0.0f;
    for (int tick = 0; tick < 3000; ++tick) {
        const float next = scroll + step > 400.0f ? scroll + step - 400.0f : scroll + step;
        for (int i = 0; i < kDashCount; ++i) {
            const float before = dashFarEdge(i, scroll);
            const float after = dashFarEdge(i, next);
            ASSERT_TRUE(after > -400.0f && after <= 40.0f) << after;
            if (std::fabs(after - before - step) > 1e-3f) {
                ASSERT_TRUE(before + kDashLength > 8.5f && after < -291.5f) << "dash " << i;
            }
        }
        scroll = next;
    }
}

bool onDash(float z, float roadScroll) {
    for (int i = 0; i < kDashCount; ++i) {
        if (z >= dashFarEdge(i, roadScroll) && z <= dashFarEdge(i, roadScroll) + kDashLength) {
            return true;
        }
    }
    return false;
}

// The back-buffer pixel showing world point (x, y, z) through the game camera.
Rgb pixelAt(float x, float y, float z) {
    GLdouble modelview[16], projection[16], wx, wy, wz;
    GLint viewport[4];
    glPushMatrix();
    loadCameraView(cameraFor(game.player));
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glPopMatrix();
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(x, y, z, modelview, projection, viewport, &wx, &wy, &wz);
    return readPixel(static_cast<int>(wx), viewport[3] - 1 - static_cast<int>(wy));
}

// Whether the pixel is material (r, g, b) under the game's lights: ambient
// (global 0.2 plus both lights') in full, each diffuse term at some strength.
bool litAs(const Rgb& pixel, float r, float g, float b) {
    const float material[3] = {r, g, b}, ambient[3] = {0.85f, 0.8f, 0.75f};
    const float diffuse0[3] = {0.95f, 0.95f, 0.85f}, diffuse1[3] = {0.2f, 0.15f, 0.1f};
    for (int i = 0; i <= 100; ++i) {
        for (int j = 0; j <= 100; ++j) {
            bool match = true;
            for (int c = 0; c < 3; ++c) {
                const float light = ambient[c] + (diffuse0[c] * i + diffuse1[c] * j) / 100.0f;
                match =
                    match && std::fabs(std::min(1.0f, material[c] * light) * 255 - pixel[c]) <= 4;
            }
            if (match) {
                return true;
            }
        }
    }
    return false;
}

TEST(RoadTest, FramesShowTheWholeGroundAndTheDashesWhereTheScrollPutsThem) {
    openTestWindow(800, 600);
    game.phase = GamePhase::Playing;  // its texts keep to the top-left corner
    resetRace();
    game.obstacles.clear();
    for (float scroll = 0.0f; scroll < 400.0f; scroll += scroll < 375.0f ? 25.0f : 24.9f) {
        SCOPED_TRACE(testing::Message() << "scroll " << scroll);
        game.roadScroll = scroll;
        drawFrame();
        EXPECT_TRUE(litAs(pixelAt(-2.6f, 0.0f, -10.0f), 0.22f, 0.22f, 0.24f));
        EXPECT_TRUE(litAs(pixelAt(3.135f, 0.0f, -10.0f), 0.65f, 0.65f, 0.65f));
        EXPECT_TRUE(litAs(pixelAt(3.8f, 0.0f, -10.0f), 0.18f, 0.42f, 0.16f));
        const Rgb sky = rgb(kSkyColour[0], kSkyColour[1], kSkyColour[2]);
        for (float z = 5.0f; z > -285.0f; z -= 5.0f) {  // as far as the camera sees
            for (float x : {-12.0f, 0.0f, 3.0f}) {
                EXPECT_FALSE(near(pixelAt(x, 0.0f, z), sky, 2)) << z;
            }
        }
        // The centre line between the car's nose and where a unit of road
        // spans a couple of pixels, sampled clear of the dashes' ends.
        for (float z = -16.0f; z < -4.0f; z += 0.1f) {
            const bool dash = onDash(z, scroll);
            if (onDash(z - 0.3f, scroll) == dash && onDash(z + 0.3f, scroll) == dash) {
                const Rgb pixel = pixelAt(0.0f, 0.0f, z);
                EXPECT_TRUE(dash ? litAs(pixel, 0.88f, 0.82f, 0.25f)
                                 : litAs(pixel, 0.22f, 0.22f, 0.24f))
                    << z;
            }
        }
    }
}

TEST(RoadTest, FramesShowTheCarAndEachObstacleKindInItsColour) {
    openTestWindow(800, 600);
    game.phase = GamePhase::Menu;
    game.player = PlayerCar{};  // as at start-up
    game.obstacles.clear();
    drawFrame();
    EXPECT_TRUE(litAs(pixelAt(0.3f, 0.25f, 1.1f), 0.9f, 0.15f, 0.15f));   // body's rear
    EXPECT_TRUE(litAs(pixelAt(0.0f, 0.7f, 0.45f), 0.25f, 0.35f, 0.85f));  // cabin's rear

    game.phase = GamePhase::Playing;
    resetRace();
    Obstacle& first = game.obstacles.front();
    struct Case {
        int kind;
        float centre;  // of the drawn shape, in obstacle heights
        float r, g, b;
    };
    for (const Case& c : {Case{0, 0.5f, 0.95f, 0.45f, 0.1f}, Case{1, 1.0f, 0.2f, 0.75f, 0.25f},
                          Case{2, 1.5f, 0.7f, 0.25f, 0.85f}, Case{5, 1.5f, 0.7f, 0.25f, 0.85f}}) {
        first.kind = static_cast<ObstacleKind>(c.kind);
        drawFrame();
        EXPECT_TRUE(litAs(pixelAt(first.x, c.centre * first.height, first.z), c.r, c.g, c.b))
            << "kind " << c.kind;
        EXPECT_TRUE(litAs(pixelAt(0.0f, 0.5f, 3.1f), 0.9f, 0.15f, 0.15f));
    }
    EXPECT_EQ(takeGlError(), GL_NO_ERROR);
}

// The ground gives its own normal: a process's first frame, drawn with GL's
// initial normal (0, 0, 1), shows the same road as any later frame,
// whatever normal the drawing before it left.
TEST(RoadTest, TheRoadIsLitTheSameInEveryFrame) {
    openTestWindow(800, 600);
    game.phase = GamePhase::Playing;
    resetRace();
    game.obstacles.clear();
    glNormal3f(0.0f, 0.0f, 1.0f);
    drawFrame();
    const Rgb asphalt = pixelAt(-2.6f, 0.0f, -10.0f);
    const Rgb grass = pixelAt(-8.0f, 0.0f, -10.0f);
    for (const auto& normal : {std::array<float, 3>{1, 0, 0}, {0, -1, 0}, {0.3f, 0.9f, 0.1f}}) {
        glNormal3fv(normal.data());
        drawFrame();
        EXPECT_EQ(pixelAt(-2.6f, 0.0f, -10.0f), asphalt);
        EXPECT_EQ(pixelAt(-8.0f, 0.0f, -10.0f), grass);
    }
    drawFrame();
    EXPECT_EQ(pixelAt(-2.6f, 0.0f, -10.0f), asphalt) << "a frame after a frame";
}

}  // namespace

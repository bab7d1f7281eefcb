#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "game/state.h"
#include "render/graphics.h"
#include "render/road.h"
#include "tests/gl_window.h"
#include "tests/scene_gl.h"

namespace {

// What the race camera (eye at z = 8.5, far plane 300 away) can see of the road.
constexpr float kNearestSeen = 8.5f;
constexpr float kFarthestSeen = -291.5f;

// True when z lies on a centre-line dash at this scroll.
bool onDash(float z, float roadScroll) {
    for (int i = 0; i < kDashCount; ++i) {
        const float far = dashFarEdge(i, roadScroll);
        if (z >= far && z <= far + kDashLength) {
            return true;
        }
    }
    return false;
}

// Distance from z to the nearest dash end, so samples can keep off the edges.
float toNearestDashEnd(float z, float roadScroll) {
    float nearest = INFINITY;
    for (int i = 0; i < kDashCount; ++i) {
        const float far = dashFarEdge(i, roadScroll);
        nearest = std::min({nearest, std::fabs(z - far), std::fabs(z - far - kDashLength)});
    }
    return nearest;
}

TEST(DashTest, AtZeroScrollTheDashesStandInTheirTwoInterleavedSets) {
    for (int i = 0; i <= 71; ++i) {
        EXPECT_EQ(dashFarEdge(i, 0.0f), -390.0f + 6.0f * static_cast<float>(i)) << i;
    }
    for (int i = 72; i <= 131; ++i) {
        EXPECT_EQ(dashFarEdge(i, 0.0f), -358.0f + 6.0f * static_cast<float>(i - 72)) << i;
    }
    for (int i = 132; i <= 138; ++i) {
        EXPECT_EQ(dashFarEdge(i, 0.0f), 2.0f + 6.0f * static_cast<float>(i - 132)) << i;
    }
    EXPECT_EQ(dashFarEdge(139, 0.0f), -356.0f);
}

// Between two ticks every dash moves toward the viewer by the tick's step,
// except one that leaves the window behind the camera and comes back beyond
// the far plane. Sweeps the whole scroll range, including its wrap at 400.
TEST(DashTest, DashesStreamTowardTheViewerWithTheWorld) {
    const float step = 0.016f * 18.0f;
    float scroll = 0.0f;
    for (int tick = 0; tick < 3000; ++tick) {
        float next = scroll + step;
        if (next > 400.0f) {
            next -= 400.0f;
        }
        for (int i = 0; i < kDashCount; ++i) {
            const float before = dashFarEdge(i, scroll);
            const float after = dashFarEdge(i, next);
            ASSERT_GT(after, -400.0f);
            ASSERT_LE(after, 40.0f);
            if (std::fabs(after - before - step) > 1e-3f) {
                // A jump is allowed only where no one can see it.
                ASSERT_GT(before + kDashLength, kNearestSeen) << "tick " << tick << " dash " << i;
                ASSERT_LT(after, kFarthestSeen) << "tick " << tick << " dash " << i;
            }
        }
        scroll = next;
    }
}

TEST(DashTest, TheSeenStretchIsThePatternShiftedByTheScroll) {
    for (float scroll : {3.3f, 77.0f, 199.5f, 318.25f, 400.0f}) {
        for (float z = -290.0f; z < kNearestSeen; z += 0.37f) {
            const float back = z - scroll;
            if (back < -290.0f || toNearestDashEnd(z, scroll) < 0.01f) {
                continue;
            }
            EXPECT_EQ(onDash(z, scroll), onDash(back, 0.0f)) << "scroll " << scroll << " z " << z;
        }
    }
}

class RoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        openTestWindow(800, 600);
        // A race's texts stay in the top-left corner, clear of the road.
        game.phase = GamePhase::Playing;
        resetRace();
        game.obstacles.clear();
    }
    void TearDown() override {
        game.phase = GamePhase::Menu;
        game.roadScroll = 0.0f;
        EXPECT_EQ(takeGlError(), GL_NO_ERROR);
    }

    // Class of the ground pixel at world (x, 0, z) after drawing a frame.
    Rgb groundPixel(float x, float z) {
        const ScreenPoint p = screenPointOf(x, 0.0f, z);
        return readPixel(p.x, p.y);
    }
};

TEST_F(RoadTest, PiecesLieFlatAtTheirHeightsAndTheDashesWhereComputed) {
    game.roadScroll = 123.4f;
    glNormal3f(0.3f, 0.4f, 0.5f);
    glLoadIdentity();
    const MatrixState before = currentMatrices();
    const Feedback fed = captureFeedback(drawRoad, 420.0f);
    drawRoad();
    EXPECT_TRUE(currentMatrices() == before);

    // No normal of its own: the one left current is untouched.
    GLfloat normal[3];
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    EXPECT_FLOAT_EQ(normal[0], 0.3f);
    EXPECT_FLOAT_EQ(normal[2], 0.5f);

    EXPECT_EQ(fed.otherTokens, 0);
    EXPECT_EQ(fed.triangles.size(), 2u * 144u);
    struct Piece {
        float r, g, b;
        std::size_t triangles;
        Bounds span;
    };
    const Piece pieces[] = {
        {0.18f, 0.42f, 0.16f, 2, {{-80.0f, -0.01f, -400.0f}, {80.0f, -0.01f, 60.0f}}},
        {0.22f, 0.22f, 0.24f, 2, {{-3.2f, -0.005f, -400.0f}, {3.2f, -0.005f, 60.0f}}},
        {0.65f, 0.65f, 0.65f, 4, {{-3.22f, -0.002f, -400.0f}, {3.22f, -0.002f, 60.0f}}},
    };
    for (const Piece& piece : pieces) {
        const std::vector<FedTriangle> found = trianglesColoured(fed, piece.r, piece.g, piece.b);
        EXPECT_EQ(found.size(), piece.triangles);
        const Bounds b = boundsOf(found);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(b.min[k], piece.span.min[k], 1e-3f) << piece.r << " axis " << k;
            EXPECT_NEAR(b.max[k], piece.span.max[k], 1e-3f) << piece.r << " axis " << k;
        }
    }

    // Each dash is two triangles 0.24 wide and 3 long; collect their far edges.
    const std::vector<FedTriangle> dashes = trianglesColoured(fed, 0.88f, 0.82f, 0.25f);
    ASSERT_EQ(dashes.size(), 2u * kDashCount);
    std::vector<float> drawn;
    for (std::size_t t = 0; t < dashes.size(); t += 2) {
        const std::vector<FedTriangle> quad = {dashes[t], dashes[t + 1]};
        const Bounds b = boundsOf(quad);
        EXPECT_NEAR(b.max[0] - b.min[0], 0.24f, 1e-3f);
        EXPECT_NEAR(b.max[2] - b.min[2], 3.0f, 1e-2f);
        EXPECT_NEAR(b.min[1], 0.002f, 1e-3f);
        EXPECT_NEAR(b.max[1], 0.002f, 1e-3f);
        drawn.push_back(b.min[2]);
    }
    std::vector<float> expected;
    for (int i = 0; i < kDashCount; ++i) {
        expected.push_back(dashFarEdge(i, game.roadScroll));
    }
    std::sort(drawn.begin(), drawn.end());
    std::sort(expected.begin(), expected.end());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(drawn[i], expected[i], 1e-2f) << i;
    }
}

TEST_F(RoadTest, GrassAsphaltAndLinesLieWhereTheyBelong) {
    drawFrame();
    for (float side : {-1.0f, 1.0f}) {
        for (float z : {-3.0f, -12.0f, -30.0f}) {
            SCOPED_TRACE(testing::Message() << "side " << side << " z " << z);
            EXPECT_TRUE(litAs(groundPixel(side * 1.2f, z), 0.22f, 0.22f, 0.24f));
            EXPECT_TRUE(litAs(groundPixel(side * 2.6f, z), 0.22f, 0.22f, 0.24f));
            EXPECT_TRUE(litAs(groundPixel(side * 3.135f, z), 0.65f, 0.65f, 0.65f));
            EXPECT_TRUE(litAs(groundPixel(side * 3.8f, z), 0.18f, 0.42f, 0.16f));
        }
    }
    // Far edges -10 and -6 at zero scroll: a bar from -12 to -7, then a gap.
    EXPECT_TRUE(litAs(groundPixel(0.0f, -8.5f), 0.88f, 0.82f, 0.25f));
    EXPECT_TRUE(litAs(groundPixel(0.0f, -6.5f), 0.22f, 0.22f, 0.24f));
}

TEST_F(RoadTest, DashesOnScreenFollowTheScrollTowardTheViewer) {
    for (float scroll : {0.0f, 37.5f, 150.2f, 263.3f, 398.6f}) {
        for (float shift : {0.0f, 1.7f}) {
            game.roadScroll = scroll + shift;
            drawFrame();
            // Near enough for a unit of road to span several pixels, and clear
            // of the car, which hides the line nearer than about z = -4.
            for (float z = -20.0f; z + shift < -4.0f; z += 0.25f) {
                if (toNearestDashEnd(z, scroll) < 0.5f) {
                    continue;
                }
                // What stood at z before the shift now stands shift nearer.
                const Rgb pixel = groundPixel(0.0f, z + shift);
                SCOPED_TRACE(testing::Message()
                             << "scroll " << scroll << " + " << shift << " z " << z << " pixel "
                             << int{pixel[0]} << " " << int{pixel[1]} << " " << int{pixel[2]});
                if (onDash(z, scroll)) {
                    EXPECT_TRUE(litAs(pixel, 0.88f, 0.82f, 0.25f));
                } else {
                    EXPECT_TRUE(litAs(pixel, 0.22f, 0.22f, 0.24f));
                }
            }
        }
    }
}

// The ground itself stays put: its far end never comes into view, however
// far the race has gone.
TEST_F(RoadTest, NoSkyShowsWhereTheRoadShouldBeAtAnyScroll) {
    const Rgb sky = rgb(0.45f, 0.72f, 0.92f);
    std::vector<float> scrolls;
    for (float s = 0.0f; s <= 400.0f; s += 12.5f) {
        scrolls.push_back(s);
    }
    scrolls.push_back(399.9f);
    for (float scroll : scrolls) {
        game.roadScroll = scroll;
        drawFrame();
        int skyPoints = 0;
        int points = 0;
        for (float z = 5.0f; z > -285.0f; z -= 5.0f) {
            for (float x : {-12.0f, -3.0f, -1.5f, 0.0f, 1.5f, 3.0f, 12.0f}) {
                skyPoints += near(groundPixel(x, z), sky, 2) ? 1 : 0;
                ++points;
            }
        }
        EXPECT_EQ(skyPoints, 0) << "scroll " << scroll << " of " << points << " points";
    }
}

}  // namespace

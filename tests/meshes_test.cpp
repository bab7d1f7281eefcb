#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "game/state.h"
#include "render/meshes.h"
#include "render/models.h"
#include "tests/gl_window.h"

namespace {

constexpr float kPlace = 2e-4f;  // position error after the round trip

TEST(MeshesTest, VerticesLieOnTheFrustumsCirclesAndTheSpheresRadius) {
    for (const Vec3& p : emittedVertices([] { drawFrustum(0.18f, 0.13f, 1.2f, 12); })) {
        const bool bottom = std::fabs(p[1]) < kPlace;
        EXPECT_TRUE(bottom || std::fabs(p[1] - 1.2f) < kPlace) << p[1];
        const float r = std::hypot(p[0], p[2]);  // a cap's centre, or its rim
        EXPECT_TRUE(r < kPlace || std::fabs(r - (bottom ? 0.18f : 0.13f)) < kPlace) << r;
    }
    for (const Vec3& p : emittedVertices([] { drawSphere(0.75f, 14, 10); })) {
        EXPECT_NEAR(std::hypot(p[0], p[1], p[2]), 0.75f, kPlace);
    }
    const std::vector<Vec3> poleToPole = emittedVertices([] { drawSphere(0.6f, 10, 1); });
    EXPECT_EQ(poleToPole.size(), 3u * 20u);  // degenerate triangles still go out
    for (const Vec3& p : poleToPole) {
        EXPECT_NEAR(std::hypot(p[0], p[2]), 0.0f, 1e-5f);
        EXPECT_NEAR(std::fabs(p[1]), 0.6f, kPlace);
    }
    EXPECT_TRUE(emittedVertices([] { drawSphere(0.6f, 10, 0); }).empty());
    EXPECT_TRUE(emittedVertices([] { drawSphere(0.6f, 10, -2); }).empty());
    // No slices would divide by zero: nothing, rather than NaN vertices.
    EXPECT_TRUE(emittedVertices([] { drawFrustum(0.2f, 0.2f, 0.2f, 0); }).empty());
}

Obstacle obstacleOf(int kind, float width, float height) {
    return {0.0f, 0.5f * height, 0.0f, width, height, width, static_cast<ObstacleKind>(kind)};
}

TEST(MeshesTest, ShapesEmitTheirTrianglesAtTheirHeightsAndRestoreTheMatrices) {
    game.player = PlayerCar{};  // the car at start-up
    struct Case {
        const char* name;
        std::function<void()> draw;
        std::size_t triangles;
        float yMin, yMax;
    };
    const Case cases[] = {
        {"box", [] { drawBox(1.1f, 0.35f, 2.2f); }, 12, -0.175f, 0.175f},
        {"wheel", [] { drawFrustum(0.22f, 0.22f, 0.2f, 18); }, 72, 0.0f, 0.2f},  // 2n + n + n
        {"crown", [] { drawSphere(0.55f, 12, 9); }, 216, -0.55f, 0.55f},
        {"car", drawCar, 12 + 12 + 4 * 72 + 24, 0.175f, 0.79f},
        {"tree", [] { drawTree(Tree{}); }, 48 + 280 + 216, 0.6f, 2.7f},
        // A box stands on the ground, a sphere is centred at the full height,
        // a cylinder (and any other kind) stands from the full height to twice it.
        {"box obstacle", [] { drawObstacle(obstacleOf(0, 0.95f, 0.8f)); }, 12, 0.0f, 0.8f},
        {"sphere obstacle", [] { drawObstacle(obstacleOf(1, 0.7f, 0.5f)); }, 384, 0.115f, 0.885f},
        {"cylinder obstacle", [] { drawObstacle(obstacleOf(2, 0.7f, 0.8f)); }, 80, 0.8f, 1.6f},
        {"kind 7 obstacle", [] { drawObstacle(obstacleOf(7, 0.7f, 0.8f)); }, 80, 0.8f, 1.6f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Vec3> v = emittedVertices(c.draw);
        ASSERT_EQ(v.size(), 3 * c.triangles);
        const auto [low, high] = std::minmax_element(
            v.begin(), v.end(), [](const Vec3& a, const Vec3& b) { return a[1] < b[1]; });
        EXPECT_NEAR((*low)[1], c.yMin, kPlace);
        EXPECT_NEAR((*high)[1], c.yMax, kPlace);

        glRotatef(20.0f, 1.0f, 0.3f, 0.0f);
        GLfloat before[17], after[17];
        glGetFloatv(GL_MODELVIEW_MATRIX, before);
        glGetFloatv(GL_MODELVIEW_STACK_DEPTH, &before[16]);
        c.draw();
        glGetFloatv(GL_MODELVIEW_MATRIX, after);
        glGetFloatv(GL_MODELVIEW_STACK_DEPTH, &after[16]);
        EXPECT_TRUE(std::equal(before, before + 17, after));
    }
    // The lamps come last, so the text pass runs with their colour.
    GLfloat colour[4];
    drawCar();
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(Vec3({colour[0], colour[1], colour[2]}), Vec3({0.95f, 0.85f, 0.25f}));
    EXPECT_EQ(takeGlError(), GL_NO_ERROR);
}

}  // namespace

// The culling test must never skip a model that would have put anything on
// screen. GL feedback mode returns exactly the primitives that survive
// clipping, so every model the test skips must come back empty there.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "game/state.h"
#include "game/world.h"
#include "render/camera.h"
#include "render/culling.h"
#include "render/diagnostics.h"
#include "render/graphics.h"
#include "render/models.h"
#include "tests/gl_window.h"

namespace {

// Number of feedback values the drawing produced after clipping.
template <typename Draw>
int feedbackValues(Draw draw) {
    static std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    return glRenderMode(GL_RENDER);
}

// The game's camera for a racing car at x, as the frame places it.
void lookFromBehindCar(float x) {
    PlayerCar car;
    car.x = x;
    car.z = kCarZ;
    loadCameraView(cameraFor(car));
}

struct Tally {
    int skipped = 0;
    int drawn = 0;
};

// Draws each model in feedback mode; a skipped one must emit nothing.
template <typename Model, typename Bounds, typename Draw>
Tally checkSkippedAreInvisible(const std::vector<Model>& models, Bounds bounds, Draw draw) {
    const ViewVolume view = currentViewVolume();
    Tally tally;
    for (const Model& model : models) {
        const int values = feedbackValues([&] { draw(model); });
        EXPECT_GE(values, 0) << "feedback buffer overflow";
        if (outsideViewVolume(view, bounds(model))) {
            ++tally.skipped;
            EXPECT_EQ(values, 0) << "skipped a visible model at x " << model.x << " z " << model.z;
        } else if (values > 0) {
            ++tally.drawn;
        }
    }
    return tally;
}

// Trees spread over the roadside and beyond, in front of and behind the eye.
std::vector<Tree> scatteredTrees(std::mt19937& random) {
    std::uniform_real_distribution<float> x(-45.0f, 45.0f);
    std::uniform_real_distribution<float> z(-320.0f, 25.0f);
    std::vector<Tree> trees(1500);
    for (Tree& t : trees) {
        t.x = x(random);
        t.z = z(random);
    }
    return trees;
}

// Every kind and size of obstacle, at random places.
std::vector<Obstacle> scatteredObstacles(std::mt19937& random) {
    std::uniform_real_distribution<float> x(-40.0f, 40.0f);
    std::uniform_real_distribution<float> z(-320.0f, 25.0f);
    std::uniform_int_distribution<int> bit(0, 1);
    std::uniform_int_distribution<int> kind(0, 2);
    std::vector<Obstacle> obstacles(1500);
    for (Obstacle& o : obstacles) {
        o.x = x(random);
        o.z = z(random);
        o.kind = static_cast<ObstacleKind>(kind(random));
        o.width = 0.7f + 0.25f * static_cast<float>(bit(random));
        o.height = 0.5f + 0.3f * static_cast<float>(bit(random));
        o.depth = 0.7f + 0.25f * static_cast<float>(bit(random));
        o.y = o.height * 0.5f;
    }
    return obstacles;
}

struct View {
    int width;
    int height;
    float carX;
};

class CullingBoundsTest : public testing::TestWithParam<View> {};

TEST_P(CullingBoundsTest, SkippedModelsWouldDrawNothing) {
    const View v = GetParam();
    openTestWindow(800, 600);
    onReshape(v.width, v.height);
    lookFromBehindCar(v.carX);
    std::mt19937 random(7 + v.width + static_cast<unsigned>(v.carX * 10.0f));

    const Tally trees = checkSkippedAreInvisible(scatteredTrees(random), treeBounds, drawTree);
    const Tally obstacles =
        checkSkippedAreInvisible(scatteredObstacles(random), obstacleBounds, drawObstacle);
    // Both outcomes must really occur, or the checks above prove nothing.
    EXPECT_GT(trees.skipped, 150);
    EXPECT_GT(trees.drawn, 100);
    EXPECT_GT(obstacles.skipped, 150);
    EXPECT_GT(obstacles.drawn, 100);
    onReshape(800, 600);
}

INSTANTIATE_TEST_SUITE_P(WindowsAndCarPlaces, CullingBoundsTest,
                         testing::Values(View{800, 600, 0.0f}, View{800, 600, -2.6f},
                                         View{1920, 1080, 2.6f}, View{300, 900, 1.0f}));

// Trees right at the left and right edges of the view: one whose sphere
// just clears a side plane is skipped and draws nothing; one whose sphere
// just reaches across it is kept.
TEST(CullingTest, TreesAtTheSidesOfTheView) {
    openTestWindow(800, 600);
    lookFromBehindCar(0.0f);
    const ViewVolume view = currentViewVolume();
    int justOutside = 0;
    int justInside = 0;
    for (const float* plane : {view.planes[0], view.planes[1]}) {
        Tree tree;
        for (tree.z = -250.0f; tree.z < 5.0f; tree.z += 15.0f) {
            for (tree.x = -200.0f; tree.x <= 200.0f; tree.x += 0.05f) {
                const BoundingSphere s = treeBounds(tree);
                const float d = plane[0] * s.x + plane[1] * s.y + plane[2] * s.z + plane[3];
                if (d < -s.radius - 0.1f && d > -s.radius - 0.15f) {
                    ++justOutside;
                    EXPECT_TRUE(outsideViewVolume(view, s));
                    EXPECT_EQ(feedbackValues([&] { drawTree(tree); }), 0);
                } else if (d > -s.radius + 0.05f && d < -s.radius + 0.1f) {
                    ++justInside;
                    EXPECT_FALSE(outsideViewVolume(view, s));
                }
            }
        }
    }
    EXPECT_GT(justOutside, 20);
    EXPECT_GT(justInside, 20);
}

// Every vertex a model emits lies inside its bound, for trees and for every
// kind and size of obstacle, so a bound that stops holding its model fails.
TEST(CullingTest, EveryModelLiesInsideItsBound) {
    auto expectInside = [](const std::function<void()>& draw, const BoundingSphere& bound) {
        const std::vector<Vec3> vertices = emittedVertices(draw);
        ASSERT_FALSE(vertices.empty());
        for (const Vec3& v : vertices) {
            const float d = std::hypot(v[0] - bound.x, v[1] - bound.y, v[2] - bound.z);
            ASSERT_LE(d, bound.radius + 2e-4f) << v[0] << ", " << v[1] << ", " << v[2];
        }
    };
    const Tree tree{};
    expectInside([&] { drawTree(tree); }, treeBounds(tree));
    for (int kind = 0; kind < 3; ++kind) {
        for (int sizes = 0; sizes < 8; ++sizes) {
            Obstacle o;
            o.kind = static_cast<ObstacleKind>(kind);
            o.width = sizes & 1 ? 0.95f : 0.7f;
            o.height = sizes & 2 ? 0.8f : 0.5f;
            o.depth = sizes & 4 ? 0.95f : 0.7f;
            o.y = 0.5f * o.height;
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", sizes " << sizes);
            expectInside([&] { drawObstacle(o); }, obstacleBounds(o));
        }
    }
}

TEST(CullingTest, PlanesOfAnIdentityViewAreTheClipCube) {
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const ViewVolume cube = viewVolumeFromMatrix(identity);
    EXPECT_TRUE(outsideViewVolume(cube, {1.6f, 0.0f, 0.0f, 0.5f}));
    EXPECT_TRUE(outsideViewVolume(cube, {0.0f, -1.6f, 0.0f, 0.5f}));
    EXPECT_TRUE(outsideViewVolume(cube, {0.0f, 0.0f, 1.6f, 0.5f}));
    EXPECT_FALSE(outsideViewVolume(cube, {1.4f, 0.0f, 0.0f, 0.5f}));
    EXPECT_FALSE(outsideViewVolume(cube, {0.0f, 0.0f, 0.0f, 0.0f}));
    // Within the margin: touching is never skipped.
    EXPECT_FALSE(outsideViewVolume(cube, {1.52f, 0.0f, 0.0f, 0.5f}));
}

TEST(CullingTest, BrokenMatricesNeverSkipAnything) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float broken[16] = {nan, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float zero[16] = {};
    EXPECT_FALSE(outsideViewVolume(viewVolumeFromMatrix(broken), {500.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_FALSE(outsideViewVolume(viewVolumeFromMatrix(zero), {500.0f, 0.0f, 0.0f, 1.0f}));
}

TEST(CullingTest, SwitchOffDrawsEverything) {
    openTestWindow(800, 600);
    lookFromBehindCar(0.0f);
    const ViewVolume view = currentViewVolume();
    Tree behind;
    behind.z = 30.0f;  // well behind the eye
    EXPECT_TRUE(skipDrawing(view, treeBounds(behind)));
    cullingEnabled = false;
    EXPECT_FALSE(skipDrawing(view, treeBounds(behind)));
    cullingEnabled = true;
}

}  // namespace

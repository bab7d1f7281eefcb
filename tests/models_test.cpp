#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "game/state.h"
#include "render/graphics.h"
#include "render/models.h"
#include "tests/gl_window.h"
#include "tests/scene_gl.h"

namespace {

constexpr float kPlace = 2e-4f;
constexpr float kDegree = 3.14159265f / 180.0f;

struct Colour {
    float r, g, b;
};

constexpr Colour kBody = {0.9f, 0.15f, 0.15f};
constexpr Colour kCabin = {0.25f, 0.35f, 0.85f};
constexpr Colour kWheel = {0.1f, 0.1f, 0.12f};
constexpr Colour kLamp = {0.95f, 0.85f, 0.25f};
constexpr Colour kBoxObstacle = {0.95f, 0.45f, 0.1f};
constexpr Colour kSphereObstacle = {0.2f, 0.75f, 0.25f};
constexpr Colour kCylinderObstacle = {0.7f, 0.25f, 0.85f};
constexpr Colour kTrunk = {0.35f, 0.22f, 0.12f};
constexpr Colour kLowerCrown = {0.12f, 0.55f, 0.18f};
constexpr Colour kUpperCrown = {0.08f, 0.45f, 0.14f};

std::vector<FedTriangle> part(const Feedback& fed, const Colour& c) {
    return trianglesColoured(fed, c.r, c.g, c.b);
}

// Expects the triangles of one colour to fill exactly the box [lo, hi].
void expectSpan(const std::vector<FedTriangle>& triangles, std::array<float, 3> lo,
                std::array<float, 3> hi) {
    ASSERT_FALSE(triangles.empty());
    const Bounds b = boundsOf(triangles);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(b.min[k], lo[k], kPlace) << "axis " << k;
        EXPECT_NEAR(b.max[k], hi[k], kPlace) << "axis " << k;
    }
}

// Expects every vertex of the triangles on the sphere about (cx, cy, cz).
void expectOnSphere(const std::vector<FedTriangle>& triangles, float cx, float cy, float cz,
                    float radius) {
    ASSERT_FALSE(triangles.empty());
    for (const FedTriangle& t : triangles) {
        for (const FedVertex& v : t) {
            EXPECT_NEAR(std::hypot(v.x - cx, v.y - cy, v.z - cz), radius, kPlace);
        }
    }
}

Obstacle obstacleOf(ObstacleKind kind, float width, float height, float depth) {
    Obstacle o;
    o.x = 2.0f;
    o.y = 0.5f * height;
    o.z = -1.0f;
    o.width = width;
    o.height = height;
    o.depth = depth;
    o.kind = kind;
    return o;
}

class ModelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        openTestWindow();
        game.player = PlayerCar{};
    }
    void TearDown() override {
        game.player = PlayerCar{};
        EXPECT_EQ(takeGlError(), GL_NO_ERROR);
    }
};

TEST_F(ModelsTest, CarPartsStandWhereTheyBelongInTheirColours) {
    game.player.x = 1.0f;
    game.player.y = 0.25f;
    game.player.z = 2.0f;
    const Feedback fed = captureFeedback(drawCar, 4.0f);
    // Two boxes, four 18-slice wheels, two lamp boxes, and nothing else.
    EXPECT_EQ(fed.triangles.size(), 12u + 12u + 4u * 72u + 24u);
    EXPECT_EQ(part(fed, kBody).size(), 12u);
    EXPECT_EQ(part(fed, kCabin).size(), 12u);
    EXPECT_EQ(part(fed, kWheel).size(), 288u);
    EXPECT_EQ(part(fed, kLamp).size(), 24u);

    expectSpan(part(fed, kBody), {0.45f, 0.425f, 0.9f}, {1.55f, 0.775f, 3.1f});
    expectSpan(part(fed, kCabin), {0.55f, 0.76f, 1.35f}, {1.45f, 1.04f, 2.45f});
    // Upright wheels from 0.22 to 0.42 above the car's origin, one per corner.
    const std::vector<FedTriangle> wheels = part(fed, kWheel);
    for (float xs : {-1.0f, 1.0f}) {
        for (float zs : {-1.0f, 1.0f}) {
            SCOPED_TRACE(testing::Message() << "wheel " << xs << ", " << zs);
            std::vector<FedTriangle> wheel;
            for (const FedTriangle& t : wheels) {
                if ((t[0].x - 1.0f) * xs > 0.0f && (t[0].z - 2.0f) * zs > 0.0f) {
                    wheel.push_back(t);
                }
            }
            EXPECT_EQ(wheel.size(), 72u);
            const float cx = 1.0f + 0.5f * xs;
            const float cz = 2.0f + 0.75f * zs;
            // 18 slices reach the rim at 0 and 180 degrees but only 80 and 100 across z.
            const float zReach = 0.22f * std::sin(80.0f * kDegree);
            expectSpan(wheel, {cx - 0.22f, 0.47f, cz - zReach}, {cx + 0.22f, 0.67f, cz + zReach});
        }
    }
    // Lamps at the end facing the camera.
    const std::vector<FedTriangle> lamps = part(fed, kLamp);
    for (float xs : {-1.0f, 1.0f}) {
        std::vector<FedTriangle> lamp;
        for (const FedTriangle& t : lamps) {
            if ((t[0].x - 1.0f) * xs > 0.0f) {
                lamp.push_back(t);
            }
        }
        const float cx = 1.0f + 0.52f * xs;
        expectSpan(lamp, {cx - 0.04f, 0.69f, 2.89f}, {cx + 0.04f, 0.77f, 3.11f});
    }
}

TEST_F(ModelsTest, CarTiltSwingsTheFrontTowardTheSteeringSide) {
    // Centre of the body's front face: the mean of its two edges seen from above.
    auto frontCentreX = [](float tilt) {
        game.player.tilt = tilt;
        std::set<std::pair<long, long>> corners;
        for (const FedTriangle& t : part(captureFeedback(drawCar, 4.0f), kBody)) {
            for (const FedVertex& v : t) {
                if (v.z < 0.0f) {
                    corners.insert({std::lround(v.x * 1e3f), std::lround(v.z * 1e3f)});
                }
            }
        }
        float sum = 0.0f;
        for (const auto& corner : corners) {
            sum += static_cast<float>(corner.first) * 1e-3f;
        }
        return corners.size() == 2 ? sum / 2.0f : NAN;
    };
    const float swing = 1.1f * std::sin(12.0f * kDegree);
    EXPECT_NEAR(frontCentreX(0.0f), 0.0f, 2e-3f);
    EXPECT_NEAR(frontCentreX(12.0f), -swing, 2e-3f);  // steering left
    EXPECT_NEAR(frontCentreX(-12.0f), swing, 2e-3f);  // steering right

    // The body's rear face turned by exactly 12 degrees.
    game.player.tilt = 12.0f;
    const Bounds body = boundsOf(part(captureFeedback(drawCar, 4.0f), kBody));
    const float s = std::sin(12.0f * kDegree);
    const float c = std::cos(12.0f * kDegree);
    EXPECT_NEAR(body.max[0], 0.55f * c + 1.1f * s, kPlace);
    EXPECT_NEAR(body.max[2], 0.55f * s + 1.1f * c, kPlace);
}

TEST_F(ModelsTest, CarLeavesTheLampColourCurrent) {
    glColor3f(0.0f, 0.0f, 0.0f);
    drawCar();
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], kLamp.r);
    EXPECT_FLOAT_EQ(colour[1], kLamp.g);
    EXPECT_FLOAT_EQ(colour[2], kLamp.b);
}

TEST_F(ModelsTest, ObstacleShapeAndColourFollowItsKind) {
    // A box stands on the ground.
    const Feedback box = captureFeedback(
        [] { drawObstacle(obstacleOf(ObstacleKind::Box, 0.95f, 0.8f, 0.7f)); }, 4.0f);
    EXPECT_EQ(box.triangles.size(), 12u);
    expectSpan(part(box, kBoxObstacle), {1.525f, 0.0f, -1.35f}, {2.475f, 0.8f, -0.65f});

    // A sphere is centred at the full height.
    const Feedback sphere = captureFeedback(
        [] { drawObstacle(obstacleOf(ObstacleKind::Sphere, 0.7f, 0.5f, 0.95f)); }, 4.0f);
    EXPECT_EQ(sphere.triangles.size(), 384u);
    EXPECT_EQ(part(sphere, kSphereObstacle).size(), 384u);
    expectOnSphere(part(sphere, kSphereObstacle), 2.0f, 0.5f, -1.0f, 0.385f);

    // A cylinder, and any kind the game does not know, stands from the full
    // height to twice the height.
    for (ObstacleKind kind :
         {ObstacleKind::Cylinder, static_cast<ObstacleKind>(7), static_cast<ObstacleKind>(-1)}) {
        SCOPED_TRACE(static_cast<int>(kind));
        const Feedback cylinder =
            captureFeedback([&] { drawObstacle(obstacleOf(kind, 0.7f, 0.8f, 0.7f)); }, 4.0f);
        EXPECT_EQ(cylinder.triangles.size(), 80u);
        expectSpan(part(cylinder, kCylinderObstacle), {1.685f, 0.8f, -1.315f},
                   {2.315f, 1.6f, -0.685f});
    }
}

TEST_F(ModelsTest, TreeIsATrunkUnderTwoCrowns) {
    Tree tree;
    tree.x = -5.5f;
    tree.z = -3.0f;
    const Feedback fed = captureFeedback([&] { drawTree(tree); }, 8.0f);
    EXPECT_EQ(fed.triangles.size(), 48u + 280u + 216u);
    const std::vector<FedTriangle> trunk = part(fed, kTrunk);
    EXPECT_EQ(trunk.size(), 48u);
    expectSpan(trunk, {-5.68f, 0.6f, -3.18f}, {-5.32f, 1.8f, -2.82f});
    const std::vector<FedTriangle> lower = part(fed, kLowerCrown);
    EXPECT_EQ(lower.size(), 280u);
    expectOnSphere(lower, -5.5f, 1.7f, -3.0f, 0.75f);
    const std::vector<FedTriangle> upper = part(fed, kUpperCrown);
    EXPECT_EQ(upper.size(), 216u);
    expectOnSphere(upper, -5.5f, 2.15f, -3.0f, 0.55f);
}

TEST_F(ModelsTest, ModelsLeaveTheMatricesAsFound) {
    game.player.x = -1.3f;
    game.player.y = 0.25f;
    game.player.z = 2.0f;
    game.player.tilt = -12.0f;
    Tree tree;
    tree.x = 7.0f;
    const std::function<void()> models[] = {
        drawCar,
        [] { drawObstacle(obstacleOf(ObstacleKind::Box, 0.7f, 0.5f, 0.7f)); },
        [] { drawObstacle(obstacleOf(ObstacleKind::Sphere, 0.7f, 0.5f, 0.7f)); },
        [] { drawObstacle(obstacleOf(ObstacleKind::Cylinder, 0.7f, 0.5f, 0.7f)); },
        [&] { drawTree(tree); },
    };
    glLoadIdentity();
    glRotatef(20.0f, 1.0f, 0.0f, 0.0f);
    glTranslatef(0.0f, -2.8f, -8.5f);
    for (const auto& draw : models) {
        const MatrixState before = currentMatrices();
        draw();
        EXPECT_TRUE(currentMatrices() == before);
    }
    glLoadIdentity();
}

// Whole frames at the game's size, read back from the back buffer.
class SceneFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        openTestWindow(800, 600);
        game.phase = GamePhase::Menu;
        game.player = PlayerCar{};
        game.obstacles.clear();
    }
    void TearDown() override {
        game.phase = GamePhase::Menu;
        game.player = PlayerCar{};
        game.obstacles.clear();
        EXPECT_EQ(takeGlError(), GL_NO_ERROR);
    }

    static Rgb pixelAt(float x, float y, float z) {
        const ScreenPoint p = screenPointOf(x, y, z);
        return readPixel(p.x, p.y);
    }
};

TEST_F(SceneFrameTest, CarBodyShowsWhereTheCarStandsAtStartUp) {
    drawFrame();
    // The rear face of the body, either side of the centre line, and the cabin above it.
    for (float x : {-0.3f, 0.3f}) {
        EXPECT_TRUE(litAs(pixelAt(x, 0.25f, 1.1f), kBody.r, kBody.g, kBody.b)) << x;
    }
    EXPECT_TRUE(litAs(pixelAt(0.0f, 0.7f, 0.45f), kCabin.r, kCabin.g, kCabin.b));
}

TEST_F(SceneFrameTest, RaceShowsTheCarAndEachObstacleInItsKindsColour) {
    game.phase = GamePhase::Playing;
    resetRace();
    drawFrame();
    EXPECT_TRUE(litAs(pixelAt(0.0f, 0.5f, 3.1f), kBody.r, kBody.g, kBody.b));

    // The first obstacle of each lane, which nothing stands in front of.
    auto colourOf = [](ObstacleKind kind) {
        switch (kind) {
            case ObstacleKind::Box:
                return kBoxObstacle;
            case ObstacleKind::Sphere:
                return kSphereObstacle;
            default:
                return kCylinderObstacle;
        }
    };
    // Centre of the drawn shape: a box from the ground, a sphere about the
    // full height, a cylinder between once and twice the height.
    auto centreHeight = [](const Obstacle& o) {
        switch (o.kind) {
            case ObstacleKind::Box:
                return o.y;
            case ObstacleKind::Sphere:
                return o.height;
            default:
                return 1.5f * o.height;
        }
    };
    std::set<float> lanesSeen;
    for (const Obstacle& o : game.obstacles) {
        if (!lanesSeen.insert(o.x).second || o.z < -80.0f) {
            continue;
        }
        const Colour c = colourOf(o.kind);
        EXPECT_TRUE(litAs(pixelAt(o.x, centreHeight(o), o.z), c.r, c.g, c.b))
            << "lane " << o.x << " z " << o.z << " kind " << static_cast<int>(o.kind);
    }
    EXPECT_FALSE(lanesSeen.empty());

    // The nearest obstacle, made each kind in turn.
    Obstacle& first = game.obstacles.front();
    for (ObstacleKind kind : {ObstacleKind::Box, ObstacleKind::Sphere, ObstacleKind::Cylinder,
                              static_cast<ObstacleKind>(5)}) {
        first.kind = kind;
        drawFrame();
        const Colour c = colourOf(kind);
        EXPECT_TRUE(litAs(pixelAt(first.x, centreHeight(first), first.z), c.r, c.g, c.b))
            << static_cast<int>(kind);
    }
}

}  // namespace

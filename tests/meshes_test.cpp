#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "render/meshes.h"
#include "tests/gl_window.h"
#include "tests/scene_gl.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kPlace = 2e-4f;  // position tolerance after the round trip through feedback
constexpr float kShade = 2e-3f;  // lit colour tolerance

float radiusXZ(const FedVertex& v) {
    return std::hypot(v.x, v.z);
}

bool allAtHeight(const FedTriangle& t, float y) {
    for (const FedVertex& v : t) {
        if (std::fabs(v.y - y) > kPlace) {
            return false;
        }
    }
    return true;
}

// The side, bottom cap and top cap of a frustum, told apart by height.
struct FrustumParts {
    std::vector<FedTriangle> side, bottom, top;
};

FrustumParts splitFrustum(const Feedback& feedback, float height) {
    FrustumParts parts;
    for (const FedTriangle& t : feedback.triangles) {
        if (allAtHeight(t, 0.0f)) {
            parts.bottom.push_back(t);
        } else if (allAtHeight(t, height)) {
            parts.top.push_back(t);
        } else {
            parts.side.push_back(t);
        }
    }
    return parts;
}

// Every cap vertex is the centre or on the rim at a whole slice angle.
void expectCapOnCircle(const std::vector<FedTriangle>& cap, float radius, int slices) {
    std::set<int> rimSlices;
    for (const FedTriangle& t : cap) {
        for (const FedVertex& v : t) {
            const float r = radiusXZ(v);
            if (r < kPlace) {
                continue;
            }
            EXPECT_NEAR(r, radius, kPlace);
            const float step = std::atan2(v.z, v.x) / (2.0f * kPi / static_cast<float>(slices));
            EXPECT_NEAR(step, std::round(step), 1e-3f);
            rimSlices.insert((static_cast<int>(std::lround(step)) + slices) % slices);
        }
    }
    EXPECT_EQ(rimSlices.size(), static_cast<std::size_t>(slices));
}

class MeshesTest : public ::testing::Test {
protected:
    void SetUp() override { openTestWindow(); }
    void TearDown() override { EXPECT_EQ(takeGlError(), GL_NO_ERROR); }
};

TEST_F(MeshesTest, FrustumIsAClosedCappedCylinderOfTheGivenSlices) {
    for (int slices : {12, 18, 20}) {
        SCOPED_TRACE(slices);
        const Feedback fed =
            captureFeedback([&] { drawFrustum(0.22f, 0.22f, 0.2f, slices); }, 1.0f);
        EXPECT_EQ(fed.otherTokens, 0);
        // n + 1 side pairs close the ring in n quads; each cap fan has n + 2 vertices.
        EXPECT_EQ(fed.triangles.size(), static_cast<std::size_t>(4 * slices));
        const FrustumParts parts = splitFrustum(fed, 0.2f);
        EXPECT_EQ(parts.side.size(), static_cast<std::size_t>(2 * slices));
        EXPECT_EQ(parts.bottom.size(), static_cast<std::size_t>(slices));
        EXPECT_EQ(parts.top.size(), static_cast<std::size_t>(slices));
        expectCapOnCircle(parts.bottom, 0.22f, slices);
        expectCapOnCircle(parts.top, 0.22f, slices);
    }
}

TEST_F(MeshesTest, FrustumTapersAndEveryFaceWindsOutward) {
    const Feedback fed = captureFeedback([] { drawFrustum(0.18f, 0.13f, 1.2f, 12); }, 2.0f);
    const FrustumParts parts = splitFrustum(fed, 1.2f);
    ASSERT_EQ(parts.side.size(), 24u);
    expectCapOnCircle(parts.bottom, 0.18f, 12);
    expectCapOnCircle(parts.top, 0.13f, 12);

    // The top fan is walked the other way round, so both caps face away.
    for (const FedTriangle& t : parts.bottom) {
        EXPECT_LT(windingNormal(t)[1], 0.0f);
    }
    for (const FedTriangle& t : parts.top) {
        EXPECT_GT(windingNormal(t)[1], 0.0f);
    }
    for (const FedTriangle& t : parts.side) {
        const std::array<float, 3> n = windingNormal(t);
        const float cx = (t[0].x + t[1].x + t[2].x) / 3.0f;
        const float cz = (t[0].z + t[1].z + t[2].z) / 3.0f;
        EXPECT_GT(n[0] * cx + n[2] * cz, 0.0f);
    }
}

TEST_F(MeshesTest, FrustumNormalsAreHorizontalOnTheSideAndOnePerCap) {
    const Feedback fed = captureFeedback([] { drawFrustum(0.18f, 0.13f, 1.2f, 12); }, 2.0f,
                                         FeedbackLight::NormalProbe);
    const FrustumParts parts = splitFrustum(fed, 1.2f);
    ASSERT_EQ(parts.side.size(), 24u);
    for (const FedTriangle& t : parts.side) {
        for (const FedVertex& v : t) {
            // Horizontal even though the cone tapers: no upward component.
            const float r = radiusXZ(v);
            EXPECT_NEAR(v.r, std::max(0.0f, v.x / r), kShade);
            EXPECT_NEAR(v.g, 0.0f, kShade);
            EXPECT_NEAR(v.b, std::max(0.0f, v.z / r), kShade);
        }
    }
    for (const FedTriangle& t : parts.bottom) {
        for (const FedVertex& v : t) {
            EXPECT_NEAR(v.r + v.g + v.b, 0.0f, kShade);  // straight down
        }
    }
    for (const FedTriangle& t : parts.top) {
        for (const FedVertex& v : t) {
            EXPECT_NEAR(v.r, 0.0f, kShade);
            EXPECT_NEAR(v.g, 1.0f, kShade);
            EXPECT_NEAR(v.b, 0.0f, kShade);
        }
    }
}

struct SphereCase {
    float radius;
    int slices;
    int stacks;
};

TEST_F(MeshesTest, ModelSpheresLieOnTheirRadiusInEvenBands) {
    // The crowns and the widest obstacle sphere.
    for (const SphereCase& c :
         {SphereCase{0.75f, 14, 10}, SphereCase{0.55f, 12, 9}, SphereCase{0.5225f, 16, 12}}) {
        SCOPED_TRACE(c.slices);
        const Feedback fed =
            captureFeedback([&] { drawSphere(c.radius, c.slices, c.stacks); }, 1.0f);
        EXPECT_EQ(fed.otherTokens, 0);
        EXPECT_EQ(fed.triangles.size(), static_cast<std::size_t>(2 * c.slices * c.stacks));

        std::set<long> bandLevels;
        for (const FedVertex& v : verticesOf(fed)) {
            EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), c.radius, kPlace);
            const float band = std::acos(std::clamp(v.y / c.radius, -1.0f, 1.0f)) /
                               (kPi / static_cast<float>(c.stacks));
            EXPECT_NEAR(band, std::round(band), 2e-3f);
            bandLevels.insert(std::lround(band));
        }
        EXPECT_EQ(bandLevels.size(), static_cast<std::size_t>(c.stacks + 1));
        EXPECT_EQ(*bandLevels.begin(), 0);
        EXPECT_EQ(*bandLevels.rbegin(), c.stacks);
    }
}

TEST_F(MeshesTest, SphereNormalsPointOutwardAlongThePosition) {
    const Feedback fed =
        captureFeedback([] { drawSphere(0.75f, 14, 10); }, 1.0f, FeedbackLight::NormalProbe);
    ASSERT_EQ(fed.triangles.size(), 280u);
    for (const FedVertex& v : verticesOf(fed)) {
        EXPECT_NEAR(v.r, std::max(0.0f, v.x / 0.75f), kShade);
        EXPECT_NEAR(v.g, std::max(0.0f, v.y / 0.75f), kShade);
        EXPECT_NEAR(v.b, std::max(0.0f, v.z / 0.75f), kShade);
    }
}

TEST_F(MeshesTest, OneStackSphereCollapsesToTheAxisAndNoneDrawsNothing) {
    const Feedback one = captureFeedback([] { drawSphere(0.6f, 10, 1); }, 1.0f);
    EXPECT_EQ(one.triangles.size(), 20u);
    for (const FedVertex& v : verticesOf(one)) {
        EXPECT_NEAR(v.x, 0.0f, 1e-5f);
        EXPECT_NEAR(v.z, 0.0f, 1e-5f);
        EXPECT_NEAR(std::fabs(v.y), 0.6f, kPlace);
    }

    for (int stacks : {0, -3}) {
        const Feedback none = captureFeedback([&] { drawSphere(0.6f, 10, stacks); }, 1.0f);
        EXPECT_TRUE(none.triangles.empty()) << stacks;
        EXPECT_EQ(none.otherTokens, 0);
    }
    // No slices would mean dividing by zero: nothing, rather than NaN vertices.
    EXPECT_TRUE(captureFeedback([] { drawFrustum(0.2f, 0.2f, 0.2f, 0); }, 1.0f).triangles.empty());
    EXPECT_TRUE(captureFeedback([] { drawSphere(0.6f, 0, 4); }, 1.0f).triangles.empty());
}

TEST_F(MeshesTest, BoxIsTheUnitCubeScaledAboutTheOrigin) {
    const Feedback fed = captureFeedback([] { drawBox(1.1f, 0.35f, 2.2f); }, 2.0f);
    EXPECT_EQ(fed.triangles.size(), 12u);
    const float half[3] = {0.55f, 0.175f, 1.1f};
    for (const FedVertex& v : verticesOf(fed)) {
        const float p[3] = {v.x, v.y, v.z};
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(std::fabs(p[k]), half[k], kPlace) << "axis " << k;
        }
    }
}

TEST_F(MeshesTest, PrimitivesKeepTheColourAndTheMatrices) {
    const std::function<void()> primitives[] = {
        [] { drawBox(0.9f, 0.28f, 1.1f); },
        [] { drawFrustum(0.18f, 0.13f, 1.2f, 12); },
        [] { drawSphere(0.55f, 12, 9); },
    };
    for (const auto& draw : primitives) {
        glColor3f(0.3f, 0.6f, 0.9f);
        const Feedback fed = captureFeedback(draw, 2.0f);
        ASSERT_FALSE(fed.triangles.empty());
        EXPECT_EQ(trianglesColoured(fed, 0.3f, 0.6f, 0.9f).size(), fed.triangles.size());

        glLoadIdentity();
        glTranslatef(1.0f, 2.0f, -3.0f);
        glRotatef(30.0f, 0.2f, 1.0f, 0.1f);
        glPushMatrix();
        const MatrixState before = currentMatrices();
        draw();
        EXPECT_TRUE(currentMatrices() == before);
        glPopMatrix();
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_FLOAT_EQ(colour[0], 0.3f);
        EXPECT_FLOAT_EQ(colour[1], 0.6f);
        EXPECT_FLOAT_EQ(colour[2], 0.9f);
    }
    glLoadIdentity();
}

}  // namespace

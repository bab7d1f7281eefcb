// The speed-ups must not show: whole frames drawn with culling on and off are
// compared pixel for pixel over menu, race and game-over states at several
// window sizes (culled back faces may change a silhouette pixel in 100,000),
// and the software renderer draws without multisampling.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game/simulation.h"
#include "game/state.h"
#include "platform/renderer_probe.h"
#include "render/culling.h"
#include "render/diagnostics.h"
#include "render/graphics.h"
#include "render/models.h"
#include "tests/gl_window.h"

namespace {

std::vector<std::uint8_t> readFrame(int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::vector<std::uint8_t> drawWith(bool& lever, bool on, int width, int height) {
    lever = on;
    drawFrame();
    lever = true;
    return readFrame(width, height);
}

// Polygons the model pass hands to the rasteriser, in GL feedback mode.
int modelPassPolygons() {
    std::vector<GLfloat> buffer(1 << 21);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    drawModels(currentViewVolume());
    const int size = glRenderMode(GL_RENDER);
    int polygons = 0;
    for (int at = 0; at < size; at += 2 + 3 * static_cast<int>(buffer[at + 1])) {
        polygons += buffer[at] == GL_POLYGON_TOKEN ? 1 : 0;
    }
    return polygons;
}

long differingPixels(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    long count = 0;
    for (std::size_t i = 0; i + 3 < a.size(); i += 4) {
        if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2] || a[i + 3] != b[i + 3]) {
            ++count;
        }
    }
    return count;
}

void startFresh() {
    game = GameState{};
    buildScenery();
}

void startRace() {
    startFresh();
    game.phase = GamePhase::Playing;
    resetRace();
}

// Ticks with the given controls held and the car put at x first.
void race(int ticks, float x, ControlFlags held) {
    game.player.x = x;
    game.controls = held;
    for (int i = 0; i < ticks; ++i) {
        simulateTick();
    }
}

struct RaceState {
    std::string name;
    std::function<void()> setUp;
};

std::vector<RaceState> raceStates() {
    ControlFlags none;
    ControlFlags left;
    left.steerLeft = true;
    ControlFlags fastRight;
    fastRight.steerRight = true;
    fastRight.accelerate = true;
    ControlFlags fast;
    fast.accelerate = true;
    return {
        {"menu at start-up", startFresh},
        {"race start", startRace},
        {"between lanes after 300 ticks",
         [=] {
             startRace();
             race(300, 1.0f, none);
         }},
        {"steering left until the race ends",
         [=] {
             startRace();
             race(400, 0.0f, left);
         }},
        {"fast, turned right",
         [=] {
             startRace();
             race(250, -1.0f, fast);
             race(4, 1.0f, fastRight);
         }},
        {"road scroll about to wrap",
         [=] {
             startRace();
             race(580, 1.0f, fast);
         }},
        {"menu after a race",
         [=] {
             startRace();
             race(120, 1.0f, none);
             game.phase = GamePhase::Menu;
             resetRace();
         }},
    };
}

struct WindowSize {
    int width;
    int height;
};

class CullingFramesTest : public testing::TestWithParam<WindowSize> {};

TEST_P(CullingFramesTest, FramesAreIdenticalWithAndWithoutCulling) {
    const WindowSize size = GetParam();
    openTestWindow(size.width, size.height);
    long silhouettes = 0;
    long pixels = 0;
    for (const RaceState& state : raceStates()) {
        state.setUp();
        const std::vector<std::uint8_t> culled =
            drawWith(cullingEnabled, true, size.width, size.height);
        const int skipped = countModelsOutside(currentViewVolume());
        const std::vector<std::uint8_t> full =
            drawWith(cullingEnabled, false, size.width, size.height);
        EXPECT_EQ(differingPixels(culled, full), 0) << state.name;
        // Comparing frames where nothing was skipped would prove nothing.
        EXPECT_GT(skipped, 10) << state.name;
        silhouettes += differingPixels(
            culled, drawWith(backFaceCullingEnabled, false, size.width, size.height));
        pixels += static_cast<long>(size.width) * size.height;
        backFaceCullingEnabled = false;
        const int allFaces = modelPassPolygons();
        backFaceCullingEnabled = true;
        EXPECT_LT(modelPassPolygons(), allFaces * 6 / 10) << state.name << ": back faces drawn";
        EXPECT_EQ(takeGlError(), 0u) << state.name;
    }
    EXPECT_LE(silhouettes * 100000, pixels) << "pixels changed by culling back faces";
    startFresh();
}

INSTANTIATE_TEST_SUITE_P(Sizes, CullingFramesTest,
                         testing::Values(WindowSize{800, 600}, WindowSize{1920, 1080},
                                         WindowSize{333, 777}));

TEST(MultisampleLeverTest, SoftwareRendererDrawsWithoutMultisampling) {
    openTestWindow(800, 600);
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    ASSERT_NE(renderer, nullptr);
    ASSERT_TRUE(namesSoftwareRenderer(renderer)) << renderer;
    EXPECT_FALSE(glIsEnabled(GL_MULTISAMPLE));
}

TEST(MultisampleLeverTest, OnlySoftwareRasterisersAreNamed) {
    EXPECT_TRUE(namesSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(namesSoftwareRenderer("softpipe"));
    EXPECT_TRUE(namesSoftwareRenderer("Mesa X11 swrast"));
    EXPECT_FALSE(namesSoftwareRenderer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(namesSoftwareRenderer("AMD Radeon RX 6600 (navi23, LLVM 15.0.6)"));
    EXPECT_FALSE(namesSoftwareRenderer(""));
    EXPECT_FALSE(namesSoftwareRenderer(nullptr));
}

}  // namespace

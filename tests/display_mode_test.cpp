// The display mode the game asks for, from what the window system says of
// its renderer before the window exists; no display needed.
#include <gtest/gtest.h>

#include "render/display_mode.h"

namespace {

TEST(DisplayModeTest, OnlyAKnownSoftwareRendererLosesTheMultisampleBuffer) {
    const unsigned int withoutSamples = kMultisampledDisplayMode & ~GLUT_MULTISAMPLE;
    EXPECT_EQ(displayModeFor(RendererKind::Software), withoutSamples);
    EXPECT_EQ(displayModeFor(RendererKind::Hardware), kMultisampledDisplayMode);
    EXPECT_EQ(displayModeFor(RendererKind::Unknown), kMultisampledDisplayMode);
}

// The answer from before the window decides; the renderer's name only
// stands in when there was none.
TEST(DisplayModeTest, OneNotionOfSoftware) {
    const char* llvmpipe = "llvmpipe (LLVM 15.0.6, 256 bits)";
    const char* hardware = "Mesa Intel(R) UHD Graphics 620";
    EXPECT_TRUE(isSoftwareRenderer(RendererKind::Software, hardware));
    EXPECT_FALSE(isSoftwareRenderer(RendererKind::Hardware, llvmpipe));
    EXPECT_TRUE(isSoftwareRenderer(RendererKind::Unknown, llvmpipe));
    EXPECT_TRUE(isSoftwareRenderer(RendererKind::Unknown, "softpipe"));
    EXPECT_TRUE(isSoftwareRenderer(RendererKind::Unknown, "Software Rasterizer (swrast)"));
    EXPECT_FALSE(isSoftwareRenderer(RendererKind::Unknown, hardware));
    EXPECT_FALSE(isSoftwareRenderer(RendererKind::Unknown, nullptr));
}

}  // namespace

// Run with fontconfig pointed at a configuration without fonts: the texts
// fall back to the GLUT bitmap font, which draws only their ASCII bytes.
#include <gtest/gtest.h>

#include <string>

#include "render/text.h"
#include "render/text_layout.h"
#include "tests/gl_window.h"
#include "tests/text_contrast.h"
#include "tests/text_ink.h"

namespace {

TEST(TextFallbackTest, TitleDrawsKestrunOnlyAndSaysOnceWhichFontToInstall) {
    openTestWindow(800, 600);
    testing::internal::CaptureStderr();
    const Ink kestrun = inkOfText(330, 340, "Kestrun");
    const Ink title = inkOfText(330, 340, kTitleText);
    const std::string said = testing::internal::GetCapturedStderr();

    EXPECT_EQ(said.find("fonts-wqy-microhei"), said.rfind("fonts-wqy-microhei"));
    EXPECT_NE(said.find("fonts-wqy-microhei"), std::string::npos);
    ASSERT_GT(kestrun.count, 100);
    EXPECT_GE(kestrun.left, 330);
    EXPECT_LE(kestrun.left, 332);
    EXPECT_EQ(kestrun.bottom, 340);  // the outline under the baseline row
    EXPECT_EQ(title.count, kestrun.count);
    EXPECT_EQ(title.right, kestrun.right);
    EXPECT_EQ(findInk(kestrun.right + 2, 316, 60, 30).count, 0);
}

// The GLUT font's texts keep the same outline: the menu over the road.
TEST(TextFallbackTest, EveryGlyphEdgeContrastsThreeToOne) {
    openTestWindow(800, 600);
    game.phase = GamePhase::Menu;
    const EdgeContrast edges = textEdgeContrast(800, 600);
    EXPECT_GT(edges.glyphPixels, 300);
    EXPECT_EQ(edges.unchangedGlyphs, edges.glyphPixels);
    EXPECT_GE(edges.worst, 3.0);
}

}  // namespace

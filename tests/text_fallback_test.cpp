// Run with fontconfig pointed at a configuration without fonts: the texts
// fall back to the GLUT bitmap font, which draws only their ASCII bytes.
#include <gtest/gtest.h>

#include <string>

#include "game/state.h"
#include "render/text.h"
#include "render/text_layout.h"
#include "tests/gl_window.h"
#include "tests/text_ink.h"

namespace {

int occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

Ink inkOfText(int x, int y, const char* text) {
    clearScreen();
    drawText(x, y, text);
    return findInk({x - 4, y - 24, 360, 30}, game.windowHeight);
}

class TextFallbackTest : public testing::Test {
protected:
    // The renderer is chosen on the first text drawn in the process, so its
    // message is caught here, before any test draws.
    static void SetUpTestSuite() {
        openTestWindow(800, 600);
        testing::internal::CaptureStderr();
        for (int frame = 0; frame < 3; ++frame) {
            drawHud();
        }
        firstFramesStderr = new std::string(testing::internal::GetCapturedStderr());
    }
    static void TearDownTestSuite() { delete firstFramesStderr; }

    static std::string* firstFramesStderr;
};

std::string* TextFallbackTest::firstFramesStderr = nullptr;

TEST_F(TextFallbackTest, SaysOnceWhichPackageBringsTheFont) {
    EXPECT_EQ(occurrences(*firstFramesStderr, "fonts-wqy-microhei"), 1) << *firstFramesStderr;
}

TEST_F(TextFallbackTest, TitleDrawsKestrunAndNothingWhereTheChineseStands) {
    const Ink kestrun = inkOfText(330, 340, "Kestrun");
    const Ink title = inkOfText(330, 340, kTitleText);
    ASSERT_GT(kestrun.count, 100);
    EXPECT_GE(kestrun.left, 330);
    EXPECT_LE(kestrun.left, 332);
    EXPECT_EQ(kestrun.bottom, 339);

    EXPECT_EQ(title.count, kestrun.count);
    EXPECT_EQ(title.left, kestrun.left);
    EXPECT_EQ(title.right, kestrun.right);
    const Ink chinese = findInk({kestrun.right + 2, 340 - 24, 60, 30}, game.windowHeight);
    EXPECT_EQ(chinese.count, 0);
}

// The score line keeps its colon, space and digits.
TEST_F(TextFallbackTest, ScoreLineKeepsItsAsciiPart) {
    char score[kHudTextBytes];
    formatScore(score, sizeof score, 123);
    const Ink line = inkOfText(10, 25, score);
    const Ink ascii = inkOfText(10, 25, ": 123");
    ASSERT_GT(ascii.count, 0);
    EXPECT_EQ(line.count, ascii.count);
    EXPECT_EQ(line.left, ascii.left);
}

}  // namespace

// Tells the shell driver (scripts/drive.sh) the game's facts, and reads X
// captures of the game's window at its opening size (binary PPM, as written
// by `import -window ID ppm:FILE`) for what a player would see:
//
//   e2e_probe facts             title, window size, class, icon sizes and
//                               sky colour, as shell assignments
//   e2e_probe phase FILE        menu, race, over or unknown
//   e2e_probe car FILE          x of the car body's centre, or -1
//   e2e_probe differ FILE FILE hud|scene|window
//                               pixels that differ in the race's texts, below
//                               the horizon, or anywhere
//   e2e_probe glyphs FILE REFERENCE
//                               outline pixels of the menu's start line (nearly
//                               all Chinese) in FILE; of that line's pixels, how
//                               many differ from REFERENCE's in being outline
//
// Everything drawn lies below the horizon (nothing in the scene is as high as
// the eye), so above it only the sky and the phase's texts show: any pixel
// there that is not sky is ink of a text. Where the texts stand comes from
// the game's own layout.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/window_class.h"
#include "app/window_icons.h"
#include "game/state.h"
#include "render/graphics.h"
#include "render/text_layout.h"

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

struct Box {
    int x, y, width, height;
};

// The sky as bytes, and how far a pixel may be from it.
constexpr int byteOf(float channel) {
    return static_cast<int>(channel * 255.0f + 0.5f);
}
constexpr int kSky[3] = {byteOf(kSkyColour[0]), byteOf(kSkyColour[1]), byteOf(kSkyColour[2])};
constexpr int kSkyTolerance = 40;

// How far a text's ink reaches around its line's pen position.
constexpr int kInkLeft = 10;
constexpr int kInkWidth = 160;
constexpr int kInkAbove = 22;
constexpr int kCapHeight = 16;  // a line's top, clear of the line above's descenders
constexpr int kInk = 30;        // pixels that make a text line present

// The lines a phase shows in the window at its opening size.
HudLayout linesOf(GamePhase phase) {
    GameState state;
    state.phase = phase;
    return layoutHud(state);
}

// The band of a line above its baseline, `height` rows high.
Box above(const HudLine& line, int height) {
    return {line.x - kInkLeft, line.y - height, kInkWidth, height};
}

// Both lines of the race's texts, score and speed.
Box raceTexts() {
    const HudLayout race = linesOf(GamePhase::Playing);
    const Box first = above(race.lines[0], kInkAbove);
    const Box last = above(race.lines[race.count - 1], kInkAbove);
    return {first.x, first.y, first.width, last.y + last.height - first.y};
}

// Each phase's highest line: the menu's and the game-over screen's Escape line.
Box topLine(GamePhase phase) {
    const HudLayout layout = linesOf(phase);
    return above(layout.lines[layout.count - 1], kCapHeight);
}

const Box kHud = raceTexts();
const Box kMenuTop = topLine(GamePhase::Menu);
const Box kOverTop = topLine(GamePhase::GameOver);
// The menu's second line: "press S to start the game", all Chinese but the S.
const Box kStartLine = above(linesOf(GamePhase::Menu).lines[1], kInkAbove + 4);
// The lower seven twelfths of the window lie below the horizon, where the car is.
const Box kScene = {0, kWindowHeight * 5 / 12, kWindowWidth, kWindowHeight * 7 / 12};
// How far a window frame may set the picture in: Wine's, a pixel.
constexpr int kFrameOffset = 1;

// The captures' own header: "P6", width, height, 255, one whitespace, then
// the pixels. Larger than any screen is no capture of the game.
bool load(const char* path, Image& image) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    int maxValue = 0;
    char separator = 0;
    const bool header = std::fscanf(file, "P6 %d %d %d%c", &image.width, &image.height, &maxValue,
                                    &separator) == 4 &&
                        maxValue == 255 && image.width > 0 && image.height > 0 &&
                        image.width <= 16384 && image.height <= 16384;
    if (header) {
        image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    }
    const bool body =
        header && std::fread(image.rgb.data(), 1, image.rgb.size(), file) == image.rgb.size();
    std::fclose(file);
    return body;
}

const unsigned char* pixel(const Image& image, int x, int y) {
    return &image.rgb[(static_cast<std::size_t>(y) * image.width + x) * 3];
}

bool isInk(const unsigned char* p) {
    return std::abs(p[0] - kSky[0]) > kSkyTolerance || std::abs(p[1] - kSky[1]) > kSkyTolerance ||
           std::abs(p[2] - kSky[2]) > kSkyTolerance;
}

// The car body's red (0.9, 0.15, 0.15), lit: red well above green and blue.
// Orange boxes and purple cylinders fail the ratio.
bool isCarRed(const unsigned char* p) {
    return p[0] > 150 && p[1] * 3 < p[0] && p[2] * 3 < p[0];
}

template <typename Test>
int count(const Image& image, const Box& box, Test test) {
    int n = 0;
    for (int y = box.y; y < box.y + box.height && y < image.height; ++y) {
        for (int x = box.x; x < box.x + box.width && x < image.width; ++x) {
            n += test(pixel(image, x, y)) ? 1 : 0;
        }
    }
    return n;
}

const char* phaseOf(const Image& image) {
    if (image.width != kWindowWidth || image.height != kWindowHeight) {
        return "unknown";
    }
    const bool hud = count(image, kHud, isInk) >= kInk;
    const bool menuTop = count(image, kMenuTop, isInk) >= kInk;
    const bool overTop = count(image, kOverTop, isInk) >= kInk;
    if (hud) {
        return menuTop || overTop ? "unknown" : "race";
    }
    return menuTop ? "menu" : overTop ? "over" : "unknown";
}

// The mean x of the car's red pixels below the horizon, column by column.
int carCentre(const Image& image) {
    long sum = 0;
    long n = 0;
    for (int x = 0; x < image.width; ++x) {
        const int red = count(image, {x, kScene.y, 1, kScene.height}, isCarRed);
        sum += static_cast<long>(x) * red;
        n += red;
    }
    return n < 200 ? -1 : static_cast<int>(sum / n);
}

// The outline every text is drawn with: black, which nothing else is.
bool isOutline(const unsigned char* p) {
    return p[0] == 0 && p[1] == 0 && p[2] == 0;
}

// The pixels of `box` in `a` that are not `equal` to those `dx` right and
// `dy` down of them in `b`.
template <typename Equal>
int differing(const Image& a, const Image& b, const Box& box, int dx, int dy, Equal equal) {
    int n = 0;
    for (int y = box.y; y < box.y + box.height && y < a.height; ++y) {
        for (int x = box.x; x < box.x + box.width && x < a.width; ++x) {
            const bool inB = x + dx >= 0 && y + dy >= 0 && x + dx < b.width && y + dy < b.height;
            n += inB && equal(pixel(a, x, y), pixel(b, x + dx, y + dy)) ? 0 : 1;
        }
    }
    return n;
}

bool samePixel(const unsigned char* p, const unsigned char* q) {
    return std::equal(p, p + 3, q);
}

bool sameOutline(const unsigned char* p, const unsigned char* q) {
    return isOutline(p) == isOutline(q);
}

// The start line's outline compared where `a` and `b` agree best, up to a
// frame's offset: a shifted or mirrored text differs, however many pixels.
int glyphsDiffering(const Image& a, const Image& b) {
    int least = kStartLine.width * kStartLine.height;
    for (int dy = -kFrameOffset; dy <= kFrameOffset; ++dy) {
        for (int dx = -kFrameOffset; dx <= kFrameOffset; ++dx) {
            least = std::min(least, differing(a, b, kStartLine, dx, dy, sameOutline));
        }
    }
    return least;
}

void printFacts() {
    std::printf("title=%s\nwindow=%dx%d\nwindow_instance=%s\nwindow_class=%s\nicon_sizes='",
                KESTRUN_TITLE, kWindowWidth, kWindowHeight, kWindowInstance, kWindowClass);
    for (int i = 0; i < kWindowIconCount; ++i) {
        std::printf(i == 0 ? "%d" : " %d", kWindowIcons[i].side);
    }
    std::printf("'\nsky='srgb(%d,%d,%d)'\n", kSky[0], kSky[1], kSky[2]);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "facts" && argc == 2) {
        printFacts();
        return 0;
    }
    const std::string area = argc == 5 ? argv[4] : "";
    Image first, second;
    for (int i = 2; i < argc && i < 4; ++i) {
        if (!load(argv[i], i == 2 ? first : second)) {
            std::fprintf(stderr, "e2e_probe: cannot read %s as a binary PPM\n", argv[i]);
            return 1;
        }
    }
    if (command == "phase" && argc == 3) {
        std::printf("%s\n", phaseOf(first));
    } else if (command == "car" && argc == 3) {
        std::printf("%d\n", carCentre(first));
    } else if (command == "glyphs" && argc == 4) {
        std::printf("%d %d\n", count(first, kStartLine, isOutline), glyphsDiffering(first, second));
    } else if (command == "differ" && argc == 5 &&
               (area == "hud" || area == "scene" || area == "window")) {
        const Box whole = {0, 0, first.width, first.height};
        const Box& box = area == "hud" ? kHud : area == "scene" ? kScene : whole;
        // Pictures of different sizes differ everywhere.
        const bool sized = first.width == second.width && first.height == second.height;
        std::printf("%d\n", sized ? differing(first, second, box, 0, 0, samePixel)
                                  : box.width * box.height);
    } else {
        std::fprintf(stderr,
                     "usage: e2e_probe facts | phase FILE | car FILE | "
                     "differ FILE FILE hud|scene|window | glyphs FILE REFERENCE\n");
        return 2;
    }
    return 0;
}

// Frame cost, tick rate and the cost of a tick and of the text pass, measured
// under an X server (run it under tests/run-with-xvfb.sh). Every measurement
// that needs a window runs in a child process of its own, so each starts from
// a fresh freeglut and GL context, exactly as the game does.
//
//   kestrun_bench            the game as built
//   kestrun_bench --levers   also without culling and with multisampling kept,
//                            to show what each speed-up brings
#include <GL/freeglut.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/callbacks.h"
#include "app/timer.h"
#include "game/simulation.h"
#include "game/state.h"
#include "render/culling.h"
#include "render/graphics.h"
#include "render/text.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFrames = 300;
constexpr int kWarmUpMs = 1000;
constexpr int kRateMs = 10000;
constexpr int kLimitTickMs = 16;
constexpr float kSafeX = 1.0f;  // between two lanes: no obstacle can reach the car

struct Size {
    int width;
    int height;
};

constexpr Size kSizes[] = {{800, 600}, {1920, 1080}};

// The game's display mode, and the same without a multisample buffer.
constexpr unsigned kGameMode = GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE;
constexpr unsigned kSingleSampled = GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH;

// Which speed-ups a measurement runs with.
struct Levers {
    const char* name;
    bool culling;
    bool multisampling;
    unsigned displayMode;
};

constexpr Levers kAsBuilt = {"the game as built", true, false, kGameMode};
constexpr Levers kLeverSteps[] = {
    {"neither lever (culling off, multisampling on)", false, true, kGameMode},
    {"culling only (multisampling on)", true, true, kGameMode},
    {"multisampling off only (culling off)", false, false, kGameMode},
    {"both levers (culling on, multisampling off)", true, false, kGameMode},
    {"for comparison: a window with no multisample buffer", true, false, kSingleSampled},
};

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs body in a forked child, which sends its figures down the pipe end it
// is given; returns them, or nothing if the child failed.
std::vector<double> tryInChild(const std::function<void(int)>& body) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        body(pipeEnds[1]);
        _exit(0);
    }
    close(pipeEnds[1]);
    std::vector<double> values;
    double value = 0.0;
    while (read(pipeEnds[0], &value, sizeof value) == static_cast<ssize_t>(sizeof value)) {
        values.push_back(value);
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        values.clear();
    }
    return values;
}

// A busy shared X server now and then refuses a new client; one more try
// tells that apart from a measurement that really fails.
std::vector<double> inChild(const std::function<void(int)>& body) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::vector<double> values = tryInChild(body);
        if (!values.empty()) {
            return values;
        }
        std::fprintf(stderr, "kestrun_bench: a measurement failed%s\n",
                     attempt == 0 ? "; trying once more" : "");
    }
    std::exit(1);
}

void send(int to, const std::vector<double>& values) {
    const auto bytes = static_cast<ssize_t>(values.size() * sizeof(double));
    if (write(to, values.data(), values.size() * sizeof(double)) != bytes) {
        _exit(1);
    }
}

void initGlut() {
    int argc = 1;
    char name[] = "kestrun_bench";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
}

// Lets the window map and report its size before anything is timed.
void settle(const Size& size) {
    for (int i = 0; i < 200 && (game.windowWidth != size.width || i < 20); ++i) {
        glutMainLoopEvent();
        usleep(1000);
    }
}

// The game's own window and callbacks, at the given size, with the levers set.
void openGameWindow(const Size& size, const Levers& levers) {
    initGlut();
    glutInitDisplayMode(levers.displayMode);
    glutInitWindowSize(size.width, size.height);
    glutCreateWindow("Kestrun");
    initGraphics();
    cullingEnabled = levers.culling;
    if (levers.multisampling) {
        glEnable(GL_MULTISAMPLE);
    }
    registerCallbacks();
    settle(size);
}

void startSafeRace() {
    game.phase = GamePhase::Playing;
    resetRace();
    game.player.x = kSafeX;
}

struct Spread {
    double median;
    double p95;
};

Spread spreadOf(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double share) {
        return samples[static_cast<std::size_t>(share * static_cast<double>(samples.size() - 1))];
    };
    return {at(0.5), at(0.95)};
}

// drawFrame + glFinish over a race in progress; the swap is left out.
void frameCosts(const Size& size, const Levers& levers, int to) {
    openGameWindow(size, levers);
    startSafeRace();
    std::vector<double> costs;
    double skipped = 0.0;
    for (int i = 0; i < kFrames + 10; ++i) {
        simulateTick();
        const Clock::time_point start = Clock::now();
        drawFrame();
        glFinish();
        const double cost = millisecondsSince(start);
        skipped += countModelsOutside(currentFrustum());
        glutSwapBuffers();
        glutMainLoopEvent();
        if (i >= 10) {
            costs.push_back(cost);
        }
    }
    const Spread spread = spreadOf(costs);
    send(to, {spread.median, spread.p95, skipped / (kFrames + 10)});
}

// Ticks per second between two marks kRateMs apart, counted by `ticks`.
std::function<int()> tickCounter;
int ticksAtStart = 0;
Clock::time_point rateStart;
int rateReport = -1;

void markRateStart(int) {
    ticksAtStart = tickCounter();
    rateStart = Clock::now();
}

void reportRate(int) {
    const double seconds = millisecondsSince(rateStart) / 1000.0;
    send(rateReport, {static_cast<double>(tickCounter() - ticksAtStart) / seconds});
    _exit(0);
}

// Runs the event loop until the rate is reported; the child ends there.
void runLoopAndReport(int to) {
    rateReport = to;
    glutTimerFunc(kWarmUpMs, markRateStart, 0);
    glutTimerFunc(kWarmUpMs + kRateMs, reportRate, 0);
    glutMainLoop();
}

void gameTickRate(const Size& size, const Levers& levers, int to) {
    openGameWindow(size, levers);
    startSafeRace();
    tickCounter = [] { return game.score; };
    startTimer();
    runLoopAndReport(to);
}

// The practical limit of the timer design: the same 16 ms timer re-armed at
// the end of each tick, in a window whose frame only clears. In the game's
// display mode (multisampling off, as the game turns it off) it is the floor
// under the game's own frame.
int limitTicks = 0;

void clearOnly() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

void limitTick(int) {
    ++limitTicks;
    glutPostRedisplay();
    glutTimerFunc(kLimitTickMs, limitTick, 0);
}

void trackSize(int width, int height) {
    game.windowWidth = width;
    game.windowHeight = height;
    glViewport(0, 0, width, height);
}

void limitTickRate(const Size& size, unsigned displayMode, int to) {
    initGlut();
    glutInitDisplayMode(displayMode);
    glutInitWindowSize(size.width, size.height);
    glutCreateWindow("Kestrun limit");
    glDisable(GL_MULTISAMPLE);
    glClearColor(0.45f, 0.72f, 0.92f, 1.0f);
    glutDisplayFunc(clearOnly);
    glutReshapeFunc(trackSize);
    game.windowWidth = 0;
    settle(size);
    tickCounter = [] { return limitTicks; };
    glutTimerFunc(0, limitTick, 0);
    runLoopAndReport(to);
}

// Microseconds per simulateTick over a long race; no window needed.
double tickCost() {
    game = GameState{};
    buildScenery();
    startSafeRace();
    constexpr int kTicks = 2000000;
    for (int i = 0; i < kTicks / 10; ++i) {
        simulateTick();
    }
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kTicks; ++i) {
        simulateTick();
    }
    return millisecondsSince(start) * 1000.0 / kTicks;
}

// Median milliseconds of drawHud + glFinish in the given phase at 800x600.
void textPassCost(GamePhase phase, int to) {
    openGameWindow(kSizes[0], kAsBuilt);
    startSafeRace();
    game.phase = phase;
    game.score = 12345;
    drawFrame();
    std::vector<double> costs;
    for (int i = 0; i < 500; ++i) {
        const Clock::time_point start = Clock::now();
        drawHud();
        glFinish();
        costs.push_back(millisecondsSince(start));
    }
    send(to, {spreadOf(costs).median});
}

// Prints what renderer the game's window gets, and with how many samples.
void describeRenderer(int to) {
    openGameWindow(kSizes[0], kAsBuilt);
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    const char* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    std::printf("renderer: %s; the game's display mode got %d samples\n",
                name != nullptr ? name : "?", samples);
    std::fflush(stdout);
    send(to, {static_cast<double>(samples)});
}

struct LeverFigures {
    Spread frame[2];
    double outsideView[2];
    double rate[2];
};

LeverFigures measureLevers(const Levers& levers) {
    LeverFigures figures{};
    for (int s = 0; s < 2; ++s) {
        const Size size = kSizes[s];
        const std::vector<double> frame = inChild([&](int to) { frameCosts(size, levers, to); });
        figures.frame[s] = {frame[0], frame[1]};
        figures.outsideView[s] = frame[2];
        figures.rate[s] = inChild([&](int to) { gameTickRate(size, levers, to); })[0];
    }
    return figures;
}

void printRow(const char* label, double a, double b, const char* format) {
    std::printf("  %-34s", label);
    std::printf(format, a);
    std::printf(format, b);
    std::printf("\n");
}

void printLevers(const char* heading, const LeverFigures& f, const double limit[2]) {
    std::printf("%s\n", heading);
    printRow("frame cost median (ms)", f.frame[0].median, f.frame[1].median, "%12.2f");
    printRow("frame cost p95 (ms)", f.frame[0].p95, f.frame[1].p95, "%12.2f");
    printRow("models outside the view (of 88)", f.outsideView[0], f.outsideView[1], "%12.1f");
    printRow("game ticks/s during a race", f.rate[0], f.rate[1], "%12.1f");
    printRow("game / limit", f.rate[0] / limit[0], f.rate[1] / limit[1], "%12.3f");
}

}  // namespace

int main(int argc, char** argv) {
    const bool showLevers = argc > 1 && std::strcmp(argv[1], "--levers") == 0;
    inChild(describeRenderer);

    double limit[2];
    double floor[2];
    for (int s = 0; s < 2; ++s) {
        limit[s] = inChild([&](int to) { limitTickRate(kSizes[s], kSingleSampled, to); })[0];
        floor[s] = inChild([&](int to) { limitTickRate(kSizes[s], kGameMode, to); })[0];
    }
    std::printf("%-36s%12s%12s\n", "", "800x600", "1920x1080");
    printRow("limit loop ticks/s (clear only)", limit[0], limit[1], "%12.1f");
    printRow("same, in the game's display mode", floor[0], floor[1], "%12.1f");

    if (showLevers) {
        for (const Levers& levers : kLeverSteps) {
            printLevers(levers.name, measureLevers(levers), limit);
        }
    } else {
        printLevers(kAsBuilt.name, measureLevers(kAsBuilt), limit);
    }

    const double race = inChild([](int to) { textPassCost(GamePhase::Playing, to); })[0];
    const double menu = inChild([](int to) { textPassCost(GamePhase::Menu, to); })[0];
    std::printf("  %-34s%12.2f\n", "simulateTick (us)", tickCost());
    std::printf("  %-34s%12.3f\n", "text pass, race HUD (ms)", race);
    std::printf("  %-34s%12.3f\n", "text pass, menu (ms)", menu);
    return 0;
}

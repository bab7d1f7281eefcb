// Frame cost and what each of its passes costs, the tick rate and the cost of
// a tick, measured under an X server whose screen holds a 3840x2160 window
// (bench/run.sh starts one). Every measurement that needs a window runs in a child process
// of its own, so each starts from a fresh freeglut and GL context, exactly as
// the game does. The tick rates are measured several times, alternating the
// limit loop and the game, and the median ratio is reported.
//
//   kestrun_bench            the game as built
//   kestrun_bench --levers   also without culling, with back faces drawn and
//                            with multisampling kept, to show what each
//                            speed-up brings
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
#include "render/camera.h"
#include "render/culling.h"
#include "render/diagnostics.h"
#include "render/display_mode.h"
#include "render/graphics.h"
#include "render/models.h"
#include "render/road.h"
#include "render/text.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFrames = 200;
constexpr int kWarmUpMs = 1000;
constexpr int kRateMs = 5000;
constexpr int kRateRuns = 5;
constexpr int kLimitTickMs = 16;
constexpr float kSafeX = 1.0f;  // between two lanes: no obstacle can reach the car

struct Size {
    int width;
    int height;
};

constexpr Size kSizes[] = {{800, 600}, {1920, 1080}, {2560, 1440}, {3840, 2160}};
constexpr int kSizeCount = sizeof kSizes / sizeof kSizes[0];

// The game chooses its display mode before the window opens; 0 stands for
// that choice, anything else is a mode forced for comparison.
constexpr unsigned kGamesOwnMode = 0;

// Which speed-ups a measurement runs with.
struct Levers {
    const char* name;
    bool culling;
    bool backFaceCulling;
    bool multisampling;
    unsigned displayMode;
};

constexpr Levers kAsBuilt = {"the game as built", true, true, false, kGamesOwnMode};
constexpr Levers kLeverSteps[] = {
    {"neither lever (culling off, 4-sample window, multisampling on)", false, true, true,
     kMultisampledDisplayMode},
    {"culling only (4-sample window, multisampling on)", true, true, true,
     kMultisampledDisplayMode},
    {"4-sample window, multisampling disabled, culling on", true, true, false,
     kMultisampledDisplayMode},
    {"no multisample buffer, culling off", false, true, false, kSingleSampledDisplayMode},
    {"back faces drawn (culling on, no multisample buffer on software)", true, false, false,
     kGamesOwnMode},
    {"the game as built (culling on, no multisample buffer on software)", true, true, false,
     kGamesOwnMode},
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

char benchName[] = "kestrun_bench";
char* benchArguments[] = {benchName, nullptr};

void initGlut() {
    int argc = 1;
    glutInit(&argc, benchArguments);
}

// The mode the game itself would ask for here, or the forced one.
unsigned displayModeOf(const Levers& levers) {
    return levers.displayMode != kGamesOwnMode ? levers.displayMode
                                               : chooseDisplayMode(1, benchArguments);
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
    const unsigned displayMode = displayModeOf(levers);
    initGlut();
    glutInitDisplayMode(displayMode);
    glutInitWindowSize(size.width, size.height);
    glutCreateWindow(KESTRUN_TITLE);
    initGraphics();
    cullingEnabled = levers.culling;
    backFaceCullingEnabled = levers.backFaceCulling;
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

// The frame's passes one by one, each finished before the next starts, so
// each is timed with the rasterising it causes: the clear, the road, the
// models and the text, in milliseconds.
std::vector<double> passCosts() {
    std::vector<double> costs;
    Clock::time_point start = Clock::now();
    const auto lap = [&] {
        glFinish();
        costs.push_back(millisecondsSince(start));
        start = Clock::now();
    };
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    loadCameraView(cameraFor(game.player));
    lap();
    drawRoad();
    lap();
    drawModels(currentViewVolume());
    lap();
    drawHud();
    lap();
    return costs;
}

constexpr int kPasses = 4;

// drawFrame + glFinish over a race in progress, the swap left out; each tick
// the frame is then drawn again pass by pass.
void frameCosts(const Size& size, const Levers& levers, int to) {
    openGameWindow(size, levers);
    startSafeRace();
    std::vector<double> costs;
    std::vector<double> passes[kPasses];
    double skipped = 0.0;
    for (int i = 0; i < kFrames + 10; ++i) {
        simulateTick();
        const Clock::time_point start = Clock::now();
        drawFrame();
        glFinish();
        const double cost = millisecondsSince(start);
        const std::vector<double> pass = passCosts();
        skipped += countModelsOutside(currentViewVolume());
        glutSwapBuffers();
        glutMainLoopEvent();
        if (i >= 10) {
            costs.push_back(cost);
            for (int p = 0; p < kPasses; ++p) {
                passes[p].push_back(pass[static_cast<std::size_t>(p)]);
            }
        }
    }
    const Spread spread = spreadOf(costs);
    std::vector<double> figures = {spread.median, spread.p95, skipped / (kFrames + 10)};
    for (const std::vector<double>& pass : passes) {
        figures.push_back(spreadOf(pass).median);
    }
    send(to, figures);
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
// the end of each tick, in a single-sampled window whose frame only clears.
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

void limitTickRate(const Size& size, int to) {
    initGlut();
    glutInitDisplayMode(kSingleSampledDisplayMode);
    glutInitWindowSize(size.width, size.height);
    glutCreateWindow("Kestrun limit");
    glDisable(GL_MULTISAMPLE);
    glClearColor(kSkyColour[0], kSkyColour[1], kSkyColour[2], 1.0f);
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

// Prints what renderer the game's window gets, and with how many samples.
void describeRenderer(int to) {
    const RendererKind kind = probeRendererBeforeWindow(1, benchArguments);
    openGameWindow(kSizes[0], kAsBuilt);
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    const char* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const char* const kinds[] = {"unknown", "software", "hardware"};  // RendererKind's order
    std::printf("renderer: %s; known before the window as %s; display mode %u, %d samples\n",
                name != nullptr ? name : "?", kinds[static_cast<int>(kind)], displayModeFor(kind),
                samples);
    std::fflush(stdout);
    send(to, {static_cast<double>(samples)});
}

struct SizeFigures {
    Spread frame;
    double passes[kPasses] = {};  // medians: clear, road, models, text
    double outsideView = 0.0;
    double limit = 0.0;  // median limit-loop ticks/s
    double rate = 0.0;   // median game ticks/s
    double ratio = 0.0;  // median of the per-run game / limit ratios
};

// The limit loop and the game alternate, so a slow spell of the machine
// touches both; each run's ratio compares neighbours in time.
SizeFigures measureSize(const Size& size, const Levers& levers) {
    SizeFigures figures;
    const std::vector<double> frame = inChild([&](int to) { frameCosts(size, levers, to); });
    figures.frame = {frame[0], frame[1]};
    figures.outsideView = frame[2];
    std::copy(frame.begin() + 3, frame.end(), figures.passes);
    std::vector<double> limits, rates, ratios;
    for (int run = 0; run < kRateRuns; ++run) {
        limits.push_back(inChild([&](int to) { limitTickRate(size, to); })[0]);
        rates.push_back(inChild([&](int to) { gameTickRate(size, levers, to); })[0]);
        ratios.push_back(rates.back() / limits.back());
    }
    figures.limit = spreadOf(limits).median;
    figures.rate = spreadOf(rates).median;
    figures.ratio = spreadOf(ratios).median;
    return figures;
}

void printRow(const char* label, const SizeFigures (&f)[kSizeCount],
              const std::function<double(const SizeFigures&)>& value, const char* format) {
    std::printf("  %-36s", label);
    for (const SizeFigures& figures : f) {
        std::printf(format, value(figures));
    }
    std::printf("\n");
}

void printSizes(const char* heading, const Levers& levers) {
    SizeFigures f[kSizeCount];
    for (int s = 0; s < kSizeCount; ++s) {
        f[s] = measureSize(kSizes[s], levers);
    }
    std::printf("%s\n  %-36s", heading, "");
    for (const Size& size : kSizes) {
        std::printf("%12s",
                    (std::to_string(size.width) + "x" + std::to_string(size.height)).c_str());
    }
    std::printf("\n");
    using F = const SizeFigures&;
    printRow(
        "frame cost median (ms)", f, [](F x) { return x.frame.median; }, "%12.2f");
    printRow(
        "frame cost p95 (ms)", f, [](F x) { return x.frame.p95; }, "%12.2f");
    const char* const passNames[kPasses] = {"  clear (ms)", "  road (ms)", "  models (ms)",
                                            "  text (ms)"};
    for (int p = 0; p < kPasses; ++p) {
        printRow(
            passNames[p], f, [p](F x) { return x.passes[p]; }, "%12.2f");
    }
    printRow(
        "models outside the view (of 88)", f, [](F x) { return x.outsideView; }, "%12.1f");
    printRow(
        "limit loop ticks/s (median)", f, [](F x) { return x.limit; }, "%12.1f");
    printRow(
        "game ticks/s in a race (median)", f, [](F x) { return x.rate; }, "%12.1f");
    printRow(
        "game / limit (median of runs)", f, [](F x) { return x.ratio; }, "%12.3f");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const bool showLevers = argc > 1 && std::strcmp(argv[1], "--levers") == 0;
    inChild(describeRenderer);

    if (showLevers) {
        for (const Levers& levers : kLeverSteps) {
            printSizes(levers.name, levers);
        }
    } else {
        printSizes(kAsBuilt.name, kAsBuilt);
    }

    std::printf("  %-36s%12.2f\n", "simulateTick (us)", tickCost());
    return 0;
}

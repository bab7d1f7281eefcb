#include <GL/freeglut.h>

#include <cstdlib>
#include <ctime>

#include "app/callbacks.h"
#include "app/timer.h"
#include "app/window_class.h"
#include "app/window_icons.h"
#include "game/state.h"
#include "platform/window_identity.h"
#include "render/display_mode.h"
#include "render/graphics.h"

int main(int argc, char** argv) {
    // buildScenery() reseeds with a fixed value, so this seed only matters to
    // anything drawn before it.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // Asked before glutInit, which consumes a -display argument.
    const unsigned int displayMode = chooseDisplayMode(argc, argv);
    glutInit(&argc, argv);
    glutInitDisplayMode(displayMode);
    glutInitWindowSize(kWindowWidth, kWindowHeight);
    glutCreateWindow(KESTRUN_TITLE);
    identifyGameWindow(kWindowInstance, kWindowClass, kWindowIcons, kWindowIconCount);
    initGraphics();

    registerCallbacks();
    startTimer();

    glutMainLoop();
    return 0;
}

#include <GL/freeglut.h>

#include <cstdlib>
#include <ctime>

#include "app/callbacks.h"
#include "app/timer.h"
#include "render/graphics.h"

static_assert((GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE) == 146,
              "display mode must be RGBA, double-buffered, depth, multisample");

int main(int argc, char** argv) {
    // buildScenery() reseeds with a fixed value, so this seed only matters to
    // anything drawn before it.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutInitWindowSize(800, 600);
    glutCreateWindow("Kestrun");
    initGraphics();

    registerCallbacks();
    startTimer();

    glutMainLoop();
    return 0;
}

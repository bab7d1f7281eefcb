#include "app/timer.h"

#include <GL/freeglut.h>

#include "game/simulation.h"

void onTimer(int /*value*/) {
    simulateTick();
    // Redrawn even when frozen, so phase changes made by keys show up.
    glutPostRedisplay();
    // Re-armed last: the next tick comes kTickMs after this one finished.
    glutTimerFunc(kTickMs, onTimer, 0);
}

void startTimer() {
    glutTimerFunc(0, onTimer, 0);
}

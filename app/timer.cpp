#include "app/timer.h"

#include <GL/freeglut.h>

#include "game/simulation.h"
#include "input/keyboard.h"
#include "platform/focus.h"

void onTimer(int /*value*/) {
    // Before the tick, so a key that came up in another window steers no more.
    noteKeyboardFocus(keyboardFocusIsElsewhere());
    simulateTick();
    // Redrawn even when frozen, so phase changes made by keys show up.
    glutPostRedisplay();
    // Re-armed last: the next tick comes kTickMs after this one finished.
    glutTimerFunc(kTickMs, onTimer, 0);
}

void startTimer() {
    glutTimerFunc(0, onTimer, 0);
}

// The game's clock: one simulation tick and one redraw every kTickMs.
#pragma once

// freeglut timer callback: lets go of the controls when the keyboard focus
// has just moved to another window, advances a race by one tick, asks for a
// redraw and re-arms itself, in every phase. value is unused.
void onTimer(int value);

// Arms the first tick to fire as soon as the event loop runs. Call once:
// every tick re-arms the next, so exactly one timer is ever pending.
void startTimer();

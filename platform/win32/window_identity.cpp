#include "platform/window_identity.h"

// Windows ties a window to its program by the executable, and freeglut gives
// the window the icon named GLUT_ICON in the program's resources: nothing
// is left to set here.
void identifyGameWindow(const char* /*instance*/, const char* /*windowClass*/,
                        const IconPng* /*icons*/, int /*count*/) {}

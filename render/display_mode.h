// The window's display mode, chosen before the window exists from what the
// window system says of the renderer it will get.
#pragma once

#include <GL/freeglut.h>

#include "platform/renderer_probe.h"

// The designed mode, and the same without the multisample buffer.
constexpr unsigned int kMultisampledDisplayMode =
    GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE;
constexpr unsigned int kSingleSampledDisplayMode = GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH;

// The display mode for a renderer known before the window opens: a software
// rasteriser gets no multisample buffer, whose clearing and resolving alone
// would cost a large window its tick rate; otherwise the designed mode.
unsigned int displayModeFor(RendererKind renderer);

// Asks the window system about the renderer before glutInit (which consumes
// -display), remembers the answer and returns the mode.
unsigned int chooseDisplayMode(int argc, char** argv);

// What chooseDisplayMode heard; Unknown before it has asked.
RendererKind rendererBeforeWindow();

// True when the renderer is a software rasteriser: the answer known before
// the window decides; the GL_RENDERER name only when there was none.
bool isSoftwareRenderer(RendererKind knownBeforeWindow, const char* glRenderer);

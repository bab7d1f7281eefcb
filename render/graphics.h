// OpenGL state, projection and the drawing of one frame.
#pragma once

#include "platform/renderer_probe.h"

// The display mode the design asks for (RGBA, double, depth, multisample),
// and the same without the multisample buffer.
constexpr unsigned int kMultisampledDisplayMode = 146;
constexpr unsigned int kSingleSampledDisplayMode = 18;

// The display mode for a renderer known before the window opens: a software
// rasteriser gets no multisample buffer, whose clearing and resolving alone
// would cost a large window its tick rate; otherwise the designed mode.
unsigned int displayModeFor(RendererKind renderer);

// Asks the window system about the renderer before glutInit (which consumes
// -display), remembers the answer for initGraphics and returns the mode. The
// question's connection stays open until initGraphics closes it.
unsigned int chooseDisplayMode(int argc, char** argv);

// True when the renderer is a software rasteriser: the answer known before
// the window decides; the GL_RENDERER name only when there was none.
bool isSoftwareRenderer(RendererKind knownBeforeWindow, const char* glRenderer);

// One-time GL set-up after the window exists; ends by laying out the scenery.
void initGraphics();

// freeglut reshape callback: records the size and resets viewport and projection.
void onReshape(int width, int height);

// Draws every pass of one frame into the back buffer, without swapping.
void drawFrame();

// freeglut display callback: draws the frame and swaps buffers.
void onDisplay();

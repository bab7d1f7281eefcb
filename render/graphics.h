// OpenGL state, projection and the drawing of one frame.
#pragma once

// One-time GL set-up after the window exists; ends by laying out the scenery.
void initGraphics();

// freeglut reshape callback: records the size and resets viewport and projection.
void onReshape(int width, int height);

// Draws every pass of one frame into the back buffer, without swapping.
void drawFrame();

// freeglut display callback: draws the frame and swaps buffers.
void onDisplay();

// True when a GL_RENDERER string names a software rasteriser (llvmpipe,
// softpipe, swrast); initGraphics turns multisampling off on those.
bool namesSoftwareRenderer(const char* renderer);

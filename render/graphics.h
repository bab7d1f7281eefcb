// OpenGL state, projection and the drawing of one frame.
#pragma once

// The colour every frame is cleared to, red, green and blue.
inline constexpr float kSkyColour[3] = {0.45f, 0.72f, 0.92f};

// One-time GL set-up after the window exists; ends by laying out the scenery.
void initGraphics();

// freeglut reshape callback: records the size and resets viewport and projection.
void onReshape(int width, int height);

// Draws every pass of one frame into the back buffer, without swapping.
void drawFrame();

// freeglut display callback: draws the frame and swaps buffers.
void onDisplay();

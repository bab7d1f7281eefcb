// A real GLUT window on the test's X server (Xvfb with Mesa's software
// renderer), set up the way the game sets up its own.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

using Rgb = std::array<std::uint8_t, 3>;
using Vec3 = std::array<float, 3>;

// Opens the window once per process, runs initGraphics() and a reshape to the
// window's size. Single-sampled so pixels read back exactly as drawn.
void openTestWindow(int width = 800, int height = 600);

// The pixel at (x, y) counted from the window's top-left corner, read from
// the back buffer (call before any swap).
Rgb readPixel(int x, int yFromTop);

// True when every channel differs by at most tolerance.
bool near(const Rgb& actual, const Rgb& expected, int tolerance = 3);

// Rgb of a colour given as floats in [0, 1].
Rgb rgb(float r, float g, float b);

// Drains the GL error queue; returns the first error found, or 0.
unsigned int takeGlError();

// The vertices of every triangle draw emits, in its own coordinates: it runs
// in GL feedback mode under an orthographic view of the cube [-4, 4]^3, in
// the test window (opened if need be). Accurate to about 2e-4.
std::vector<Vec3> emittedVertices(const std::function<void()>& draw);

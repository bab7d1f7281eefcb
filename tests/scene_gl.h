// Test support for the scene: what a drawing call emits (GL feedback mode),
// where a world point lands on screen, and whether a pixel is a lit colour.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "tests/gl_window.h"

// A vertex as emitted: its position back in the drawing's own coordinates and
// its colour (see FeedbackLight).
struct FedVertex {
    float x, y, z;
    float r, g, b;
};

using FedTriangle = std::array<FedVertex, 3>;

enum class FeedbackLight {
    // Lighting off: each vertex carries the current colour.
    Unlit,
    // Three white-on-one-channel directional lights along +x, +y and +z on a
    // white material: the colour is the positive part of the unit normal.
    NormalProbe,
};

struct Feedback {
    std::vector<FedTriangle> triangles;
    int otherTokens = 0;  // points, lines, bitmaps: none expected from meshes
};

// Runs draw in feedback mode under an orthographic view of the cube
// [-extent, extent]^3 with an identity modelview, culling off. Restores the
// matrices, viewport and lighting state it changed.
Feedback captureFeedback(const std::function<void()>& draw, float extent,
                         FeedbackLight light = FeedbackLight::Unlit);

// Every vertex of every triangle, in emission order.
std::vector<FedVertex> verticesOf(const Feedback& feedback);

// Triangles whose vertices all carry colour (r, g, b).
std::vector<FedTriangle> trianglesColoured(const Feedback& feedback, float r, float g, float b);

// Axis-aligned bounds of a set of triangles.
struct Bounds {
    std::array<float, 3> min;
    std::array<float, 3> max;
};
Bounds boundsOf(const std::vector<FedTriangle>& triangles);

// Geometric normal (not normalised) from the winding of the triangle.
std::array<float, 3> windingNormal(const FedTriangle& triangle);

// The modelview matrix and both stack depths, to check a call leaves them.
struct MatrixState {
    std::array<float, 16> modelview;
    int modelviewDepth;
    int projectionDepth;
    int mode;
};
MatrixState currentMatrices();
bool operator==(const MatrixState& a, const MatrixState& b);

// Where the world point lands in the window (x, y from the top) under the
// game's camera for the current player position.
struct ScreenPoint {
    int x;
    int y;
};
ScreenPoint screenPointOf(float x, float y, float z);

// True when the pixel is material (r, g, b) lit by the game's two lights at
// some strength: the global ambient and both lights' ambient always, the two
// diffuse terms anywhere from nothing to full.
bool litAs(const Rgb& pixel, float r, float g, float b);

// Skips trees and obstacles that lie wholly outside the view. The software
// renderer transforms and lights every vertex it is given before clipping
// throws the invisible ones away, so not sending them saves most of a frame's
// vertex work without changing a single pixel.
#pragma once

#include "game/state.h"

struct BoundingSphere {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float radius = 0.0f;
};

// The view volume: six planes (a, b, c, d) in world space, normalised so that a x + b y + c z + d
// is the signed distance from the plane, positive on the inside.
struct ViewVolume {
    float planes[6][4] = {};
};

// The planes of clip space pulled back through a column-major clip-from-world
// matrix (projection times view).
ViewVolume viewVolumeFromMatrix(const float clipFromWorld[16]);

// The view volume of the projection and modelview matrices now loaded in GL.
ViewVolume currentViewVolume();

// True when the sphere lies wholly on the outer side of some plane.
bool outsideViewVolume(const ViewVolume& view, const BoundingSphere& sphere);

// True when culling is on (render/diagnostics.h) and the sphere cannot reach
// the screen.
bool skipDrawing(const ViewVolume& view, const BoundingSphere& sphere);

// Spheres that hold every vertex the models emit, with room to spare.
BoundingSphere treeBounds(const Tree& tree);
BoundingSphere obstacleBounds(const Obstacle& obstacle);

#include "render/culling.h"

#include <GL/gl.h>

#include <cmath>

#include "game/world.h"
#include "render/diagnostics.h"

bool cullingEnabled = true;

namespace {

// A tree fills at most an upright cylinder from its trunk's foot to its top,
// kTreeSpread round its axis; the sphere through that cylinder's rims holds it.
constexpr float kTreeCentreHeight = 0.5f * (kTrunkBase + kTreeTop);
const float kTreeRadius = std::hypot(0.5f * (kTreeTop - kTrunkBase), kTreeSpread);

// Extra room on every sphere, so float rounding in the plane test can never
// skip a model whose edge just touches the view.
constexpr float kMargin = 0.05f;

float matrixEntry(const float m[16], int row, int column) {
    return m[column * 4 + row];
}

void setPlane(float plane[4], const float m[16], int row, float sign) {
    for (int column = 0; column < 4; ++column) {
        plane[column] = matrixEntry(m, 3, column) + sign * matrixEntry(m, row, column);
    }
    const float length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
    if (length > 0.0f) {
        for (int i = 0; i < 4; ++i) {
            plane[i] /= length;
        }
    }
}

void multiply(const float a[16], const float b[16], float out[16]) {
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += matrixEntry(a, row, k) * matrixEntry(b, k, column);
            }
            out[column * 4 + row] = sum;
        }
    }
}

}  // namespace

ViewVolume viewVolumeFromMatrix(const float clipFromWorld[16]) {
    // A point is inside when -w <= x, y, z <= w in clip space: each bound is
    // the fourth row plus or minus one of the first three.
    ViewVolume view;
    for (int axis = 0; axis < 3; ++axis) {
        setPlane(view.planes[2 * axis], clipFromWorld, axis, 1.0f);
        setPlane(view.planes[2 * axis + 1], clipFromWorld, axis, -1.0f);
    }
    return view;
}

ViewVolume currentViewVolume() {
    float projection[16];
    float view[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    float clipFromWorld[16];
    multiply(projection, view, clipFromWorld);
    return viewVolumeFromMatrix(clipFromWorld);
}

bool outsideViewVolume(const ViewVolume& view, const BoundingSphere& sphere) {
    for (const auto& p : view.planes) {
        // A degenerate plane (zero normal) cannot vouch for anything.
        if (p[0] == 0.0f && p[1] == 0.0f && p[2] == 0.0f) {
            continue;
        }
        const float distance = p[0] * sphere.x + p[1] * sphere.y + p[2] * sphere.z + p[3];
        if (distance < -(sphere.radius + kMargin)) {
            return true;
        }
    }
    return false;
}

bool skipDrawing(const ViewVolume& view, const BoundingSphere& sphere) {
    return cullingEnabled && outsideViewVolume(view, sphere);
}

BoundingSphere treeBounds(const Tree& tree) {
    return {tree.x, tree.y + kTreeCentreHeight, tree.z, kTreeRadius};
}

BoundingSphere obstacleBounds(const Obstacle& o) {
    // Centred at the top of a box: a box reaches down by the full height,
    // a cylinder up by it, a sphere is centred there. Summing the extents
    // covers every kind's shape whatever its proportions.
    return {o.x, o.y + 0.5f * o.height, o.z, o.width + o.height + o.depth};
}

int countModelsOutside(const ViewVolume& view) {
    int outside = 0;
    for (const Tree& tree : game.trees) {
        outside += outsideViewVolume(view, treeBounds(tree)) ? 1 : 0;
    }
    for (const Obstacle& obstacle : game.obstacles) {
        outside += outsideViewVolume(view, obstacleBounds(obstacle)) ? 1 : 0;
    }
    return outside;
}

#include "render/meshes.h"

#include <GL/freeglut.h>

#include <cmath>

namespace {

// Single precision throughout, so every call produces the same vertices.
constexpr float kPi = 3.1415927f;

struct SinCos {
    float sin;
    float cos;
};

// Both values computed once and used for a normal and its vertex alike, so
// they agree exactly; std::sin and std::cos, as glibc's sincosf is not
// everywhere.
SinCos sinCos(float angle) {
    return {std::sin(angle), std::cos(angle)};
}

// Angle of step i of n around a full turn.
float turnAngle(int i, int n) {
    return 2.0f * static_cast<float>(i) * kPi / static_cast<float>(n);
}

// Angle of step i of n from the north pole (0) to the south pole (pi).
float polarAngle(int i, int n) {
    return static_cast<float>(i) * kPi / static_cast<float>(n);
}

void frustumSide(float r0, float r1, float h, int n) {
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i <= n; ++i) {
        const SinCos a = sinCos(turnAngle(i, n));
        // Horizontal even when the radii differ: the cones here are nearly upright.
        glNormal3f(a.cos, 0.0f, a.sin);
        glVertex3f(r0 * a.cos, 0.0f, r0 * a.sin);
        glVertex3f(r1 * a.cos, h, r1 * a.sin);
    }
    glEnd();
}

void frustumBottom(float r0, int n) {
    glBegin(GL_TRIANGLE_FAN);
    glNormal3f(0.0f, -1.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    for (int i = 0; i <= n; ++i) {
        const SinCos a = sinCos(turnAngle(i, n));
        glVertex3f(r0 * a.cos, 0.0f, r0 * a.sin);
    }
    glEnd();
}

// Walked backwards so the top fan winds opposite to the bottom one.
void frustumTop(float r1, float h, int n) {
    glBegin(GL_TRIANGLE_FAN);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, h, 0.0f);
    for (int i = n; i >= 0; --i) {
        const SinCos a = sinCos(turnAngle(i, n));
        glVertex3f(r1 * a.cos, h, r1 * a.sin);
    }
    glEnd();
}

// A point on the sphere, used as its own normal (GL_NORMALIZE scales it).
void spherePoint(float r, const SinCos& phi, const SinCos& theta) {
    const float x = r * phi.sin * theta.cos;
    const float y = r * phi.cos;
    const float z = r * phi.sin * theta.sin;
    glNormal3f(x, y, z);
    glVertex3f(x, y, z);
}

void sphereBand(float r, int slices, const SinCos& upper, const SinCos& lower) {
    glBegin(GL_QUAD_STRIP);
    for (int j = 0; j <= slices; ++j) {
        const SinCos theta = sinCos(turnAngle(j, slices));
        spherePoint(r, upper, theta);
        spherePoint(r, lower, theta);
    }
    glEnd();
}

}  // namespace

void drawBox(float sx, float sy, float sz) {
    glPushMatrix();
    glScalef(sx, sy, sz);
    glutSolidCube(1.0);
    glPopMatrix();
}

void drawFrustum(float bottomRadius, float topRadius, float height, int slices) {
    // No slices would divide by zero and emit NaN vertices.
    if (slices <= 0) {
        return;
    }
    frustumSide(bottomRadius, topRadius, height, slices);
    frustumBottom(bottomRadius, slices);
    frustumTop(topRadius, height, slices);
}

void drawSphere(float radius, int slices, int stacks) {
    if (stacks <= 0 || slices <= 0) {
        return;
    }
    // Each band edge's angle is shared by two bands: compute it once.
    SinCos upper = sinCos(polarAngle(0, stacks));
    for (int i = 1; i <= stacks; ++i) {
        const SinCos lower = sinCos(polarAngle(i, stacks));
        sphereBand(radius, slices, upper, lower);
        upper = lower;
    }
}

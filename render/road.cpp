#include "render/road.h"

#include <GL/freeglut.h>

#include <cmath>

#include "game/state.h"

namespace {

// Every ground piece runs from the far end to behind the camera.
constexpr float kFarZ = -400.0f;
constexpr float kNearZ = 60.0f;

// Pieces stacked a few thousandths apart so the depth test never mixes them.
constexpr float kGrassY = 0.0f;
constexpr float kAsphaltY = 0.005f;
constexpr float kEdgeLineY = 0.008f;
constexpr float kDashY = 0.012f;

constexpr float kDashSpacing = 6.0f;
constexpr float kDashHalfWidth = 0.12f;
constexpr float kDashWindow = 400.0f;
constexpr float kDashWindowNear = 40.0f;

// One flat quad at height y, corners from (x0, far) round to (x0, near).
void flatQuad(float x0, float x1, float y, float zFar, float zNear) {
    glBegin(GL_QUADS);
    glVertex3f(x0, y, zFar);
    glVertex3f(x1, y, zFar);
    glVertex3f(x1, y, zNear);
    glVertex3f(x0, y, zNear);
    glEnd();
}

void grass() {
    glColor3f(0.18f, 0.42f, 0.16f);
    flatQuad(-80.0f, 80.0f, kGrassY, kFarZ, kNearZ);
}

void asphalt() {
    glColor3f(0.22f, 0.22f, 0.24f);
    flatQuad(-3.2f, 3.2f, kAsphaltY, kFarZ, kNearZ);
}

void centreDashes(float roadScroll) {
    glColor3f(0.88f, 0.82f, 0.25f);
    for (int i = 0; i < kDashCount; ++i) {
        const float z = dashFarEdge(i, roadScroll);
        flatQuad(-kDashHalfWidth, kDashHalfWidth, kDashY, z, z + kDashLength);
    }
}

void edgeLines() {
    glColor3f(0.65f, 0.65f, 0.65f);
    flatQuad(-3.22f, -3.05f, kEdgeLineY, kFarZ, kNearZ);
    flatQuad(3.05f, 3.22f, kEdgeLineY, kFarZ, kNearZ);
}

}  // namespace

float dashFarEdge(int index, float roadScroll) {
    float z =
        std::fmod(kDashSpacing * static_cast<float>(index) - 390.0f + roadScroll, kDashWindow);
    if (z < -kDashWindow) {
        z += kDashWindow;
    }
    if (z > kDashWindowNear) {
        z -= kDashWindow;
    }
    return z;
}

// The ground itself stays put: only the dashes scroll, so they stream past
// with the trees and obstacles, and the far end of the road never comes into
// view however far the race has gone.
void drawRoad() {
    glPushMatrix();
    glTranslatef(0.0f, -0.01f, 0.0f);
    // The ground faces up: given here, it is lit the same in every frame,
    // not by whatever normal the previous frame's last drawing left.
    glNormal3f(0.0f, 1.0f, 0.0f);
    grass();
    asphalt();
    centreDashes(game.roadScroll);
    edgeLines();
    glPopMatrix();
}

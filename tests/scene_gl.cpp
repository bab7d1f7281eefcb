#include "tests/scene_gl.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "game/state.h"

namespace {

// Square, so both axes map the same way back to object coordinates.
constexpr int kFeedbackViewport = 1024;
constexpr int kFloatsPerVertex = 7;  // GL_3D_COLOR in RGBA mode: x, y, z, r, g, b, a

void setProbeLight(GLenum light, float x, float y, float z) {
    const GLfloat direction[4] = {x, y, z, 0.0f};
    const GLfloat colour[4] = {x, y, z, 1.0f};
    const GLfloat none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(light, GL_POSITION, direction);
    glLightfv(light, GL_DIFFUSE, colour);
    glLightfv(light, GL_AMBIENT, none);
    glLightfv(light, GL_SPECULAR, none);
    glEnable(light);
}

// Called with the identity modelview, so the directions are the drawing's axes.
void useNormalProbe() {
    const GLfloat none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glEnable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    setProbeLight(GL_LIGHT2, 1.0f, 0.0f, 0.0f);
    setProbeLight(GL_LIGHT3, 0.0f, 1.0f, 0.0f);
    setProbeLight(GL_LIGHT4, 0.0f, 0.0f, 1.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
}

void beginCaptureView(float extent, FeedbackLight light) {
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_TRANSFORM_BIT |
                 GL_VIEWPORT_BIT);
    glViewport(0, 0, kFeedbackViewport, kFeedbackViewport);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-extent, extent, -extent, extent, -extent, extent);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    if (light == FeedbackLight::Unlit) {
        glDisable(GL_LIGHTING);
    } else {
        useNormalProbe();
    }
}

void endCaptureView() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

// Runs draw into the buffer; returns the number of values written, or -1 when
// the buffer was too small.
int runFeedback(const std::function<void()>& draw, std::vector<GLfloat>& buffer) {
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    return glRenderMode(GL_RENDER);
}

// Inverts the orthographic view and the viewport.
FedVertex objectVertex(const GLfloat* v, float extent) {
    const float scale = 2.0f * extent / static_cast<float>(kFeedbackViewport);
    return {v[0] * scale - extent,
            v[1] * scale - extent,
            -(2.0f * v[2] - 1.0f) * extent,
            v[3],
            v[4],
            v[5]};
}

int vertexCountOfToken(GLfloat token) {
    switch (static_cast<GLint>(token)) {
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            return 1;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            return 2;
        default:
            return 0;
    }
}

Feedback parseFeedback(const std::vector<GLfloat>& buffer, int size, float extent) {
    Feedback result;
    int at = 0;
    while (at < size) {
        const GLfloat token = buffer[at++];
        if (static_cast<GLint>(token) == GL_POLYGON_TOKEN) {
            const int count = static_cast<int>(buffer[at++]);
            // Mesa hands every polygon back as triangles; anything else counts as other.
            if (count == 3) {
                FedTriangle triangle;
                for (int k = 0; k < 3; ++k) {
                    triangle[k] = objectVertex(&buffer[at + k * kFloatsPerVertex], extent);
                }
                result.triangles.push_back(triangle);
            } else {
                ++result.otherTokens;
            }
            at += count * kFloatsPerVertex;
        } else if (static_cast<GLint>(token) == GL_PASS_THROUGH_TOKEN) {
            ++result.otherTokens;
            at += 1;
        } else {
            ++result.otherTokens;
            at += vertexCountOfToken(token) * kFloatsPerVertex;
        }
    }
    return result;
}

bool sameColour(const FedVertex& v, float r, float g, float b) {
    constexpr float kTolerance = 1e-3f;
    return std::fabs(v.r - r) < kTolerance && std::fabs(v.g - g) < kTolerance &&
           std::fabs(v.b - b) < kTolerance;
}

// Light reaching a surface per channel: global ambient 0.2 plus both lights'
// ambient, plus the diffuse of light 0 and light 1 at strengths d0 and d1.
std::array<float, 3> lightReaching(float d0, float d1) {
    return {0.85f + 0.95f * d0 + 0.2f * d1, 0.8f + 0.95f * d0 + 0.15f * d1,
            0.75f + 0.85f * d0 + 0.1f * d1};
}

bool litWith(const Rgb& pixel, const std::array<float, 3>& material,
             const std::array<float, 3>& light) {
    constexpr int kTolerance = 4;
    for (int c = 0; c < 3; ++c) {
        const float value = std::min(1.0f, material[c] * light[c]) * 255.0f;
        if (std::fabs(value - static_cast<float>(pixel[c])) > kTolerance) {
            return false;
        }
    }
    return true;
}

}  // namespace

Feedback captureFeedback(const std::function<void()>& draw, float extent, FeedbackLight light) {
    beginCaptureView(extent, light);
    std::vector<GLfloat> buffer(1 << 16);
    int size = runFeedback(draw, buffer);
    while (size < 0) {
        buffer.resize(buffer.size() * 4);
        size = runFeedback(draw, buffer);
    }
    endCaptureView();
    return parseFeedback(buffer, size, extent);
}

std::vector<FedVertex> verticesOf(const Feedback& feedback) {
    std::vector<FedVertex> vertices;
    for (const FedTriangle& triangle : feedback.triangles) {
        vertices.insert(vertices.end(), triangle.begin(), triangle.end());
    }
    return vertices;
}

std::vector<FedTriangle> trianglesColoured(const Feedback& feedback, float r, float g, float b) {
    std::vector<FedTriangle> result;
    for (const FedTriangle& triangle : feedback.triangles) {
        if (std::all_of(triangle.begin(), triangle.end(),
                        [&](const FedVertex& v) { return sameColour(v, r, g, b); })) {
            result.push_back(triangle);
        }
    }
    return result;
}

Bounds boundsOf(const std::vector<FedTriangle>& triangles) {
    Bounds bounds{{INFINITY, INFINITY, INFINITY}, {-INFINITY, -INFINITY, -INFINITY}};
    for (const FedTriangle& triangle : triangles) {
        for (const FedVertex& v : triangle) {
            const float p[3] = {v.x, v.y, v.z};
            for (int k = 0; k < 3; ++k) {
                bounds.min[k] = std::min(bounds.min[k], p[k]);
                bounds.max[k] = std::max(bounds.max[k], p[k]);
            }
        }
    }
    return bounds;
}

std::array<float, 3> windingNormal(const FedTriangle& t) {
    const float ax = t[1].x - t[0].x, ay = t[1].y - t[0].y, az = t[1].z - t[0].z;
    const float bx = t[2].x - t[0].x, by = t[2].y - t[0].y, bz = t[2].z - t[0].z;
    return {ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
}

MatrixState currentMatrices() {
    MatrixState state{};
    glGetFloatv(GL_MODELVIEW_MATRIX, state.modelview.data());
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &state.modelviewDepth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &state.projectionDepth);
    glGetIntegerv(GL_MATRIX_MODE, &state.mode);
    return state;
}

bool operator==(const MatrixState& a, const MatrixState& b) {
    return a.modelview == b.modelview && a.modelviewDepth == b.modelviewDepth &&
           a.projectionDepth == b.projectionDepth && a.mode == b.mode;
}

ScreenPoint screenPointOf(float x, float y, float z) {
    const float px = game.player.x;
    const float pz = game.player.z;
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(0.35f * px, 2.8f, pz + 6.5f, 0.55f * px, 0.8f, pz - 8.0f, 0.0, 1.0, 0.0);
    GLdouble modelview[16];
    GLdouble projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glPopMatrix();

    GLdouble wx = 0.0, wy = 0.0, wz = 0.0;
    gluProject(x, y, z, modelview, projection, viewport, &wx, &wy, &wz);
    const int column = static_cast<int>(std::floor(wx));
    const int rowFromBottom = static_cast<int>(std::floor(wy));
    return {column, viewport[3] - 1 - rowFromBottom};
}

bool litAs(const Rgb& pixel, float r, float g, float b) {
    const std::array<float, 3> material = {r, g, b};
    constexpr int kSteps = 100;
    for (int i = 0; i <= kSteps; ++i) {
        for (int j = 0; j <= kSteps; ++j) {
            const float d0 = static_cast<float>(i) / kSteps;
            const float d1 = static_cast<float>(j) / kSteps;
            if (litWith(pixel, material, lightReaching(d0, d1))) {
                return true;
            }
        }
    }
    return false;
}

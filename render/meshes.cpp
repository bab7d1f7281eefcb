#include "render/meshes.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstddef>
#include <vector>

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

struct Vertex {
    GLfloat position[3];
    GLfloat normal[3];
};

// One shape at one size and tessellation, as the arrays GL draws it from.
// A frustum is its side strip and two cap fans, one after the other; a
// sphere is its rings of vertices, each sent once, and the triangles of its
// bands over them.
struct Mesh {
    bool sphere = false;
    float size[3] = {};  // frustum: radii and height; sphere: radius
    int slices = 0;
    int stacks = 0;
    std::vector<Vertex> vertices;
    std::vector<GLuint> triangles;
};

void addVertex(Mesh& mesh, float x, float y, float z, float nx, float ny, float nz) {
    mesh.vertices.push_back({{x, y, z}, {nx, ny, nz}});
}

// Side, bottom cap, top cap. The side's normals are horizontal even where
// the radii differ: the cones here are nearly upright. Each cap has one
// normal; the top is walked backwards so it winds opposite to the bottom.
void buildFrustum(Mesh& mesh) {
    const float r0 = mesh.size[0];
    const float r1 = mesh.size[1];
    const float h = mesh.size[2];
    const int n = mesh.slices;
    for (int i = 0; i <= n; ++i) {
        const SinCos a = sinCos(turnAngle(i, n));
        addVertex(mesh, r0 * a.cos, 0.0f, r0 * a.sin, a.cos, 0.0f, a.sin);
        addVertex(mesh, r1 * a.cos, h, r1 * a.sin, a.cos, 0.0f, a.sin);
    }
    addVertex(mesh, 0.0f, 0.0f, 0.0f, 0.0f, -1.0f, 0.0f);
    for (int i = 0; i <= n; ++i) {
        const SinCos a = sinCos(turnAngle(i, n));
        addVertex(mesh, r0 * a.cos, 0.0f, r0 * a.sin, 0.0f, -1.0f, 0.0f);
    }
    addVertex(mesh, 0.0f, h, 0.0f, 0.0f, 1.0f, 0.0f);
    for (int i = n; i >= 0; --i) {
        const SinCos a = sinCos(turnAngle(i, n));
        addVertex(mesh, r1 * a.cos, h, r1 * a.sin, 0.0f, 1.0f, 0.0f);
    }
}

// Each point is its own normal (GL_NORMALIZE scales it). Every quad of a
// band, upper j, lower j, lower j + 1, upper j + 1, is split along upper j
// to lower j + 1, as a quad strip of the band is drawn, so the pixels are
// the strips' to the last one. The outer faces wind clockwise.
void buildSphere(Mesh& mesh) {
    const float r = mesh.size[0];
    for (int i = 0; i <= mesh.stacks; ++i) {
        const SinCos phi = sinCos(polarAngle(i, mesh.stacks));
        for (int j = 0; j <= mesh.slices; ++j) {
            const SinCos theta = sinCos(turnAngle(j, mesh.slices));
            const float x = r * phi.sin * theta.cos;
            const float y = r * phi.cos;
            const float z = r * phi.sin * theta.sin;
            addVertex(mesh, x, y, z, x, y, z);
        }
    }
    const auto ring = static_cast<GLuint>(mesh.slices + 1);
    for (GLuint i = 1; i <= static_cast<GLuint>(mesh.stacks); ++i) {
        for (GLuint j = 0; j < static_cast<GLuint>(mesh.slices); ++j) {
            const GLuint upper = (i - 1) * ring + j;
            const GLuint lower = i * ring + j;
            mesh.triangles.insert(mesh.triangles.end(),
                                  {upper + 1, upper, lower + 1, upper, lower, lower + 1});
        }
    }
}

bool sameShape(const Mesh& a, const Mesh& b) {
    return a.sphere == b.sphere && a.size[0] == b.size[0] && a.size[1] == b.size[1] &&
           a.size[2] == b.size[2] && a.slices == b.slices && a.stacks == b.stacks;
}

// The models use ten shapes in all; the cap only keeps a caller with ever
// new sizes from growing the cache without end.
constexpr std::size_t kMaxMeshes = 32;
std::vector<Mesh> meshes;
Mesh uncached;

// The mesh of this shape, built on its first request.
const Mesh& meshFor(const Mesh& shape) {
    for (const Mesh& mesh : meshes) {
        if (sameShape(mesh, shape)) {
            return mesh;
        }
    }
    Mesh& mesh = meshes.size() < kMaxMeshes ? meshes.emplace_back(shape) : (uncached = shape);
    if (mesh.sphere) {
        buildSphere(mesh);
    } else {
        buildFrustum(mesh);
    }
    return mesh;
}

void drawMesh(const Mesh& mesh) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex), mesh.vertices[0].position);
    glNormalPointer(GL_FLOAT, sizeof(Vertex), mesh.vertices[0].normal);
    if (mesh.sphere) {
        // Set here, so a pass that culls back faces keeps the outer ones.
        glFrontFace(GL_CW);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mesh.triangles.size()), GL_UNSIGNED_INT,
                       mesh.triangles.data());
        glFrontFace(GL_CCW);
    } else {
        const int side = 2 * (mesh.slices + 1);
        const int cap = mesh.slices + 2;
        glDrawArrays(GL_QUAD_STRIP, 0, side);
        glDrawArrays(GL_TRIANGLE_FAN, side, cap);
        glDrawArrays(GL_TRIANGLE_FAN, side + cap, cap);
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
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
    Mesh shape;
    shape.size[0] = bottomRadius;
    shape.size[1] = topRadius;
    shape.size[2] = height;
    shape.slices = slices;
    drawMesh(meshFor(shape));
}

void drawSphere(float radius, int slices, int stacks) {
    if (stacks <= 0 || slices <= 0) {
        return;
    }
    Mesh shape;
    shape.sphere = true;
    shape.size[0] = radius;
    shape.slices = slices;
    shape.stacks = stacks;
    drawMesh(meshFor(shape));
}

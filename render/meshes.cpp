#include "render/meshes.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
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

// One shape at one size and tessellation, as the arrays GL draws it from:
// each vertex its position, then its normal. A frustum is its side strip and
// its two cap fans, one after the other; a sphere is its rings of vertices,
// each sent once, and the triangles of its bands over them.
struct Mesh {
    bool sphere = false;
    float size[3] = {};  // a frustum's radii and height; a sphere's radius
    int slices = 0;
    int stacks = 0;
    std::vector<GLfloat> vertices;
    std::vector<GLuint> triangles;
};

void addVertex(Mesh& mesh, float x, float y, float z, float nx, float ny, float nz) {
    mesh.vertices.insert(mesh.vertices.end(), {x, y, z, nx, ny, nz});
}

// Side, bottom cap, top cap. The side's normals are horizontal even where
// the radii differ: the cones here are nearly upright. Each cap has one
// normal; the top is walked backwards so it winds opposite to the bottom.
void buildFrustum(Mesh& mesh) {
    const auto [r0, r1, h] = mesh.size;
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
// to lower j + 1, as a quad strip of the band is drawn, and each triangle
// lists its corners so that its outer face winds counter-clockwise, as the
// other meshes' do: a pass that culls back faces then needs no change of
// state between meshes, which would cost the software renderer dearly at
// every sphere. The pixels are the strips' but for about one in ten million.
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
    // Each vertex but a ring's last, down to the last ring but one, is the
    // upper left corner of a quad.
    const auto ring = static_cast<GLuint>(mesh.slices + 1);
    for (GLuint upper = 0; upper + ring < mesh.vertices.size() / 6; ++upper) {
        if ((upper + 1) % ring != 0) {
            const GLuint lower = upper + ring;
            mesh.triangles.insert(mesh.triangles.end(),
                                  {upper, upper + 1, lower + 1, lower, upper, lower + 1});
        }
    }
}

// The models use ten shapes in all, each built on its first request.
const Mesh& meshFor(const Mesh& shape) {
    static std::vector<Mesh> meshes;
    for (const Mesh& mesh : meshes) {
        if (mesh.sphere == shape.sphere && std::equal(mesh.size, mesh.size + 3, shape.size) &&
            mesh.slices == shape.slices && mesh.stacks == shape.stacks) {
            return mesh;
        }
    }
    Mesh& mesh = meshes.emplace_back(shape);
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
    glVertexPointer(3, GL_FLOAT, 6 * sizeof(GLfloat), mesh.vertices.data());
    glNormalPointer(GL_FLOAT, 6 * sizeof(GLfloat), mesh.vertices.data() + 3);
    if (mesh.sphere) {
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mesh.triangles.size()), GL_UNSIGNED_INT,
                       mesh.triangles.data());
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
    drawMesh(meshFor({false, {bottomRadius, topRadius, height}, slices, 0, {}, {}}));
}

void drawSphere(float radius, int slices, int stacks) {
    if (stacks <= 0 || slices <= 0) {
        return;
    }
    drawMesh(meshFor({true, {radius, 0.0f, 0.0f}, slices, stacks, {}, {}}));
}

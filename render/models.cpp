#include "render/models.h"

#include <GL/freeglut.h>

#include "game/world.h"
#include "render/culling.h"
#include "render/diagnostics.h"
#include "render/meshes.h"

namespace {

struct Place {
    float x;
    float y;
    float z;
};

constexpr Place kWheelPlaces[] = {
    {-0.5f, 0.22f, 0.75f}, {0.5f, 0.22f, 0.75f}, {-0.5f, 0.22f, -0.75f}, {0.5f, 0.22f, -0.75f}};

// At the +z end of the body, the end the camera sees.
constexpr Place kLampPlaces[] = {{0.52f, 0.48f, 1.0f}, {-0.52f, 0.48f, 1.0f}};

void carBody() {
    glColor3f(0.9f, 0.15f, 0.15f);
    glPushMatrix();
    glTranslatef(0.0f, 0.35f, 0.0f);
    drawBox(kCarWidth, 0.35f, kCarLength);
    glPopMatrix();
}

void carCabin() {
    glColor3f(0.25f, 0.35f, 0.85f);
    glPushMatrix();
    glTranslatef(0.0f, 0.65f, -0.1f);
    drawBox(0.9f, 0.28f, 1.1f);
    glPopMatrix();
}

// Upright cylinders standing from y = 0.22 to 0.42 of the car's frame.
void carWheels() {
    glColor3f(0.1f, 0.1f, 0.12f);
    for (const Place& p : kWheelPlaces) {
        glPushMatrix();
        glTranslatef(p.x, p.y, p.z);
        drawFrustum(0.22f, 0.22f, 0.2f, 18);
        glPopMatrix();
    }
}

// Drawn last in the car, so the text pass after it runs with this colour.
void carLamps() {
    glColor3f(0.95f, 0.85f, 0.25f);
    for (const Place& p : kLampPlaces) {
        glPushMatrix();
        glTranslatef(p.x, p.y, p.z);
        drawBox(0.08f, 0.08f, 0.22f);
        glPopMatrix();
    }
}

void boxObstacle(const Obstacle& o) {
    glColor3f(0.95f, 0.45f, 0.1f);
    drawBox(o.width, o.height, o.depth);
}

void sphereObstacle(const Obstacle& o) {
    glColor3f(0.2f, 0.75f, 0.25f);
    glPushMatrix();
    glTranslatef(0.0f, 0.5f * o.height, 0.0f);
    drawSphere(0.55f * o.width, 16, 12);
    glPopMatrix();
}

void cylinderObstacle(const Obstacle& o) {
    glColor3f(0.7f, 0.25f, 0.85f);
    glPushMatrix();
    glTranslatef(0.0f, 0.5f * o.height, 0.0f);
    drawFrustum(0.45f * o.width, 0.45f * o.width, o.height, 20);
    glPopMatrix();
}

void treeTrunk() {
    glColor3f(0.35f, 0.22f, 0.12f);
    glPushMatrix();
    glTranslatef(0.0f, kTrunkBase, 0.0f);
    drawFrustum(kTrunkBottomRadius, kTrunkTopRadius, kTrunkHeight, 12);
    glPopMatrix();
}

struct Crown {
    float red;
    float green;
    float blue;
    float height;
    float radius;
    int slices;
    int stacks;
};

constexpr Crown kLowerCrown = {0.12f, 0.55f, 0.18f, kLowerCrownHeight, kLowerCrownRadius, 14, 10};
constexpr Crown kUpperCrown = {0.08f, 0.45f, 0.14f, kUpperCrownHeight, kUpperCrownRadius, 12, 9};

void treeCrown(const Crown& crown) {
    glColor3f(crown.red, crown.green, crown.blue);
    glPushMatrix();
    glTranslatef(0.0f, crown.height, 0.0f);
    drawSphere(crown.radius, crown.slices, crown.stacks);
    glPopMatrix();
}

}  // namespace

void drawCar() {
    const PlayerCar& car = game.player;
    glPushMatrix();
    glTranslatef(car.x, car.y, car.z);
    glRotatef(car.tilt, 0.0f, 1.0f, 0.0f);
    carBody();
    carCabin();
    carWheels();
    carLamps();
    glPopMatrix();
}

void drawObstacle(const Obstacle& obstacle) {
    glPushMatrix();
    glTranslatef(obstacle.x, obstacle.y, obstacle.z);
    switch (obstacle.kind) {
        case ObstacleKind::Box:
            boxObstacle(obstacle);
            break;
        case ObstacleKind::Sphere:
            sphereObstacle(obstacle);
            break;
        default:  // any value that is neither box nor sphere
            cylinderObstacle(obstacle);
            break;
    }
    glPopMatrix();
}

void drawTree(const Tree& tree) {
    glPushMatrix();
    glTranslatef(tree.x, tree.y, tree.z);
    treeTrunk();
    treeCrown(kLowerCrown);
    treeCrown(kUpperCrown);
    glPopMatrix();
}

bool backFaceCullingEnabled = true;

void drawModels(const ViewVolume& view) {
    // Every model is closed, so its back faces are hidden behind its front
    // ones: culled, they never reach the rasteriser. Every mesh winds its
    // outer faces counter-clockwise.
    if (backFaceCullingEnabled) {
        glEnable(GL_CULL_FACE);
    }
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    for (const Tree& tree : game.trees) {
        if (!skipDrawing(view, treeBounds(tree))) {
            drawTree(tree);
        }
    }
    for (const Obstacle& obstacle : game.obstacles) {
        if (!skipDrawing(view, obstacleBounds(obstacle))) {
            drawObstacle(obstacle);
        }
    }
    drawCar();
    glDisable(GL_CULL_FACE);
}

#include "render/graphics.h"

#include <GL/freeglut.h>
// GL_MULTISAMPLE: Windows' gl.h stops at OpenGL 1.1.
#include <GL/glext.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/state.h"
#include "render/camera.h"
#include "render/culling.h"
#include "render/display_mode.h"
#include "render/models.h"
#include "render/road.h"
#include "render/text.h"

namespace {

// Set from KESTRUN_GL_CHECK=1 at start-up: each displayed frame then reports
// any GL error on stderr, so tests of the real binary can watch for them.
bool reportGlErrors = false;

void setLight(GLenum light, GLenum parameter, GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    const GLfloat value[4] = {r, g, b, a};
    glLightfv(light, parameter, value);
}

// Given once while the modelview matrix is the identity, so both lights stay
// fixed relative to the eye as the camera follows the car.
void setUpLights() {
    setLight(GL_LIGHT0, GL_POSITION, 4.0f, 8.0f, 3.0f, 1.0f);
    setLight(GL_LIGHT0, GL_AMBIENT, 0.45f, 0.45f, 0.45f, 1.0f);
    setLight(GL_LIGHT0, GL_DIFFUSE, 0.95f, 0.95f, 0.85f, 1.0f);
    setLight(GL_LIGHT0, GL_SPECULAR, 0.4f, 0.4f, 0.4f, 1.0f);

    glEnable(GL_LIGHT1);
    setLight(GL_LIGHT1, GL_POSITION, -3.0f, 5.0f, -2.0f, 0.0f);
    setLight(GL_LIGHT1, GL_DIFFUSE, 0.2f, 0.15f, 0.1f, 1.0f);
    setLight(GL_LIGHT1, GL_AMBIENT, 0.2f, 0.15f, 0.1f, 1.0f);
}

// Multisampling multiplies a software rasteriser's fill work, and the game's
// speed is its tick rate: on such a renderer smooth edges would cost the
// game its designed speed, so they are given up there and only there.
void dropMultisamplingInSoftware() {
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (isSoftwareRenderer(rendererBeforeWindow(), renderer)) {
        glDisable(GL_MULTISAMPLE);
    }
}

void reportPendingGlErrors() {
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        std::fprintf(stderr, "kestrun: GL error 0x%04x\n", error);
    }
}

}  // namespace

void initGraphics() {
    glClearColor(kSkyColour[0], kSkyColour[1], kSkyColour[2], 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_NORMALIZE);
    glShadeModel(GL_SMOOTH);
    setUpLights();
    dropMultisamplingInSoftware();
    const char* check = std::getenv("KESTRUN_GL_CHECK");
    reportGlErrors = check != nullptr && std::strcmp(check, "1") == 0;
    buildScenery();
}

void onReshape(int width, int height) {
    game.windowWidth = width;
    game.windowHeight = height;

    // A minimised window may report a zero width or height; either would give
    // a degenerate aspect ratio and an unusable projection.
    const int w = width > 0 ? width : 1;
    const int h = height > 0 ? height : 1;
    glViewport(0, 0, width > 0 ? width : 0, h);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(62.0, static_cast<double>(w) / static_cast<double>(h), 0.1, 300.0);
    glMatrixMode(GL_MODELVIEW);
}

void drawFrame() {
    // The matrix mode is already the modelview: reshape and the text pass leave it so.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    loadCameraView(cameraFor(game.player));
    drawRoad();
    drawModels(currentViewVolume());
    drawHud();
}

void onDisplay() {
    drawFrame();
    if (reportGlErrors) {
        reportPendingGlErrors();
    }
    glutSwapBuffers();
}

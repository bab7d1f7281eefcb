#include "tests/gl_window.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "render/graphics.h"

namespace {

bool windowOpen = false;

void ignoreDisplay() {}

}  // namespace

void openTestWindow(int width, int height) {
    if (!windowOpen) {
        int argc = 1;
        char name[] = "kestrun-test";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
        glutInitWindowSize(width, height);
        glutCreateWindow("Kestrun test");
        glutDisplayFunc(ignoreDisplay);
        glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
        initGraphics();
        windowOpen = true;
    }
    glutReshapeWindow(width, height);
    for (int i = 0; i < 20; ++i) {
        glutMainLoopEvent();
    }
    // Mesa grows the buffers of a window that got larger only when it next
    // checks the drawable, as a swap does.
    glutSwapBuffers();
    onReshape(width, height);
}

Rgb readPixel(int x, int yFromTop) {
    GLubyte pixel[3] = {0, 0, 0};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, glutGet(GLUT_WINDOW_HEIGHT) - 1 - yFromTop, 1, 1, GL_RGB, GL_UNSIGNED_BYTE,
                 pixel);
    return {pixel[0], pixel[1], pixel[2]};
}

bool near(const Rgb& actual, const Rgb& expected, int tolerance) {
    for (int i = 0; i < 3; ++i) {
        if (std::abs(int{actual[i]} - int{expected[i]}) > tolerance) {
            return false;
        }
    }
    return true;
}

Rgb rgb(float r, float g, float b) {
    auto channel = [](float v) { return static_cast<std::uint8_t>(std::lround(v * 255.0f)); };
    return {channel(r), channel(g), channel(b)};
}

unsigned int takeGlError() {
    GLenum first = GL_NO_ERROR;
    for (GLenum e = glGetError(); e != GL_NO_ERROR; e = glGetError()) {
        if (first == GL_NO_ERROR) {
            first = e;
        }
    }
    return first;
}

std::vector<Vec3> emittedVertices(const std::function<void()>& draw) {
    openTestWindow();
    std::vector<GLfloat> buffer(1 << 16);
    glViewport(0, 0, 1000, 1000);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 4, -4, 4, -4, 4);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int size = glRenderMode(GL_RENDER);
    EXPECT_GE(size, 0) << "feedback buffer overflow";
    std::vector<Vec3> vertices;
    for (int at = 0; at < size; at += 11) {  // token, count 3, three vertices
        EXPECT_EQ(buffer[at + 1], 3.0f);
        for (const GLfloat* v = &buffer[at + 2]; v < &buffer[at + 11]; v += 3) {
            vertices.push_back({v[0] / 125 - 4, v[1] / 125 - 4, 4 - 8 * v[2]});
        }
    }
    return vertices;
}

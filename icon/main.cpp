// Renders the game's car into the application icons:
//   kestrun-icon OUTPUT_DIR SIZE...
// writes kestrun-SIZE.png there for each SIZE: the car is rendered at the
// first, and shrunk from it to the others by ImageMagick. Needs an X display
// (run it under Xvfb on a machine without one).
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "icon/car_icon.h"
#include "render/graphics.h"

namespace {

void ignoreDisplay() {}

// A single-sampled window, so the pixels read back are exactly those drawn.
void openWindow(int size) {
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(size, size);
    glutCreateWindow("Kestrun icon");
    glutDisplayFunc(ignoreDisplay);
    for (int i = 0; i < 20; ++i) {
        glutMainLoopEvent();
    }
    initGraphics();
    onReshape(size, size);
}

}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i) {
        sizes.push_back(std::atoi(argv[i]));
        if (sizes.back() <= 0 || sizes.back() > sizes[0]) {
            std::fprintf(stderr, "kestrun-icon: bad size %s\n", argv[i]);
            return 2;
        }
    }
    if (sizes.empty()) {
        std::fprintf(stderr, "usage: kestrun-icon OUTPUT_DIR SIZE...\n");
        return 2;
    }
    openWindow(sizes[0]);
    return writeCarIcons(argv[1], sizes) ? 0 : 1;
}

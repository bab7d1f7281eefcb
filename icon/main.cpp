// Renders the game's car into the application icons:
//   kestrun-icon OUTPUT_DIR SIZE...
// writes kestrun-SIZE.png there for each SIZE: the car is rendered at the
// first, and shrunk from it to the others. Needs an X display (run it under
// Xvfb on a machine without one).
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "icon/car_icon.h"
#include "icon/image.h"
#include "icon/png_file.h"
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

bool writeIcon(const std::string& directory, const Image& image) {
    const std::string path = directory + "/kestrun-" + std::to_string(image.width) + ".png";
    if (!writePng(path, image)) {
        std::fprintf(stderr, "kestrun-icon: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    const int rendered = argc >= 3 ? std::atoi(argv[2]) : 0;
    if (rendered <= 0) {
        std::fprintf(stderr, "usage: kestrun-icon OUTPUT_DIR SIZE...\n");
        return 2;
    }
    openWindow(rendered);
    const Image icon = renderCarIcon(rendered);
    bool written = writeIcon(argv[1], icon);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0 || size > rendered) {
            std::fprintf(stderr, "kestrun-icon: bad size %s\n", argv[i]);
            return 2;
        }
        written = writeIcon(argv[1], shrinkImage(icon, size, size)) && written;
    }
    return written ? 0 : 1;
}

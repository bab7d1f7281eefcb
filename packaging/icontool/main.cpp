// Renders the game's car into the application icons:
//   kestrun-icon OUTPUT_DIR
// writes kestrun-256.png, kestrun-128.png and kestrun-48.png there. Needs an
// X display (run it under Xvfb on a machine without one).
#include <GL/freeglut.h>

#include <cstdio>
#include <string>

#include "packaging/icontool/car_icon.h"
#include "tools/icon/image.h"
#include "tools/icon/png_file.h"
#include "render/graphics.h"

namespace {

constexpr int kIconSize = 256;
constexpr int kSmallerSizes[] = {128, 48};

void ignoreDisplay() {}

// A single-sampled window, so the pixels read back are exactly those drawn.
void openWindow() {
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(kIconSize, kIconSize);
    glutCreateWindow("Kestrun icon");
    glutDisplayFunc(ignoreDisplay);
    for (int i = 0; i < 20; ++i) {
        glutMainLoopEvent();
    }
    initGraphics();
    onReshape(kIconSize, kIconSize);
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
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrun-icon OUTPUT_DIR\n");
        return 2;
    }
    openWindow();
    const Image icon = renderCarIcon(kIconSize);
    bool written = writeIcon(argv[1], icon);
    for (int size : kSmallerSizes) {
        written = writeIcon(argv[1], shrinkImage(icon, size, size)) && written;
    }
    return written ? 0 : 1;
}

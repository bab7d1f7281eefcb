#include "icon/car_icon.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>

#include "game/state.h"
#include "icon/png_file.h"
#include "render/models.h"

namespace {

// 4 x 4 sub-pixel passes: enough for smooth edges at 256 pixels.
constexpr int kJitterGrid = 4;
constexpr double kFieldOfView = 26.0;

// Colour sums over the passes in which a pixel was covered by the car.
struct Accumulator {
    std::vector<float> colour;
    std::vector<int> hits;
};

// Shifts the whole picture by a fraction of a pixel, then the usual lens.
void setProjection(int size, float shiftX, float shiftY) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glTranslatef(2.0f * shiftX / size, 2.0f * shiftY / size, 0.0f);
    gluPerspective(kFieldOfView, 1.0, 0.5, 50.0);
    glMatrixMode(GL_MODELVIEW);
}

// Behind, above and a little to the right, so the rear, the roof and one
// side all show; the car stands at the origin as at the start of a race.
void drawCarAlone() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(2.6, 2.4, 4.6, -0.1, 0.28, 0.0, 0.0, 1.0, 0.0);
    drawCar();
    glFinish();
}

// Adds one pass: the car is wherever depth was written.
void accumulatePass(int size, Accumulator& sum) {
    const std::size_t count = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
    std::vector<GLubyte> colour(count * 3);
    std::vector<GLfloat> depth(count);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size, size, GL_RGB, GL_UNSIGNED_BYTE, colour.data());
    glReadPixels(0, 0, size, size, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    for (std::size_t i = 0; i < count; ++i) {
        if (depth[i] < 1.0f) {
            sum.hits[i] += 1;
            for (std::size_t c = 0; c < 3; ++c) {
                sum.colour[i * 3 + c] += colour[i * 3 + c];
            }
        }
    }
}

// GL rows run bottom first; the image's run top first.
Image resolve(int size, const Accumulator& sum) {
    constexpr int kPasses = kJitterGrid * kJitterGrid;
    Image image = makeImage(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const std::size_t i = static_cast<std::size_t>(size - 1 - y) * size + x;
            const int hits = sum.hits[i];
            if (hits == 0) {
                continue;
            }
            std::uint8_t* pixel = pixelAt(image, x, y);
            for (std::size_t c = 0; c < 3; ++c) {
                pixel[c] = static_cast<std::uint8_t>(sum.colour[i * 3 + c] / hits + 0.5f);
            }
            pixel[3] = static_cast<std::uint8_t>(255.0f * hits / kPasses + 0.5f);
        }
    }
    return image;
}

// ImageMagick's resize, its output 8-bit RGBA with nothing dated in it.
bool shrinkIcon(const std::string& from, const std::string& to, int size) {
    const std::string geometry = std::to_string(size) + "x" + std::to_string(size);
    const std::string output = "PNG32:" + to;
    const pid_t child = fork();
    if (child == 0) {
        execl("/usr/bin/convert", "convert", from.c_str(), "-resize", geometry.c_str(), "-strip",
              output.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

}  // namespace

std::string carIconPath(const std::string& directory, int size) {
    return directory + "/kestrun-" + std::to_string(size) + ".png";
}

Image renderCarIcon(int size) {
    const std::size_t count = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
    Accumulator sum{std::vector<float>(count * 3, 0.0f), std::vector<int>(count, 0)};
    glViewport(0, 0, size, size);
    for (int i = 0; i < kJitterGrid; ++i) {
        for (int j = 0; j < kJitterGrid; ++j) {
            setProjection(size, (i + 0.5f) / kJitterGrid - 0.5f, (j + 0.5f) / kJitterGrid - 0.5f);
            drawCarAlone();
            accumulatePass(size, sum);
        }
    }
    return resolve(size, sum);
}

bool writeCarIcons(const std::string& directory, const std::vector<int>& sizes) {
    const std::string rendered = carIconPath(directory, sizes.at(0));
    if (!writePng(rendered, renderCarIcon(sizes[0]))) {
        std::fprintf(stderr, "kestrun-icon: cannot write %s\n", rendered.c_str());
        return false;
    }
    for (std::size_t i = 1; i < sizes.size(); ++i) {
        if (!shrinkIcon(rendered, carIconPath(directory, sizes[i]), sizes[i])) {
            std::fprintf(stderr,
                         "kestrun-icon: /usr/bin/convert (ImageMagick) could not shrink %s to %d "
                         "pixels\n",
                         rendered.c_str(), sizes[i]);
            return false;
        }
    }
    return true;
}

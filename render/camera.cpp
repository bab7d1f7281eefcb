#include "render/camera.h"

#include <GL/freeglut.h>

Camera cameraFor(const PlayerCar& car) {
    // 6.5 behind the car at height 2.8, looking 8 ahead of it.
    return {{0.35f * car.x, 2.8f, car.z + 6.5f}, {0.55f * car.x, 0.8f, car.z - 8.0f}};
}

void loadCameraView(const Camera& camera) {
    glLoadIdentity();
    gluLookAt(camera.eye[0], camera.eye[1], camera.eye[2], camera.centre[0], camera.centre[1],
              camera.centre[2], 0.0, 1.0, 0.0);
}

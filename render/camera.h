// Where the camera stands and looks: behind and above the car, following
// only part of its sideways movement.
#pragma once

#include "game/state.h"

struct Camera {
    float eye[3];
    float centre[3];  // the point looked at; up is +y
};

// The camera for the car where it is now.
Camera cameraFor(const PlayerCar& car);

// Loads the camera's view into the current (modelview) matrix, in place of
// what was there.
void loadCameraView(const Camera& camera);

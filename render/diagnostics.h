// What the tests and the benchmark switch and count in the renderer; the
// game itself uses none of it. Each is defined beside what it watches.
#pragma once

struct ViewVolume;

// On by default; off draws every model, which is how frames are compared.
extern bool cullingEnabled;

// On by default; off draws the models' back faces too.
extern bool backFaceCullingEnabled;

// How many of the game's trees and obstacles lie wholly outside the view volume,
// whether or not culling is on.
int countModelsOutside(const ViewVolume& view);

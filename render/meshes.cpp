#include "render/meshes.h"

void drawBox(float, float, float) {}

void drawFrustum(float, float, float, int) {}

void drawSphere(float, int, int) {}

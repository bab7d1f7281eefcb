// The primitives from which every model is built: freeglut's cube, and cones
// and spheres drawn from vertex arrays made once for each shape. None sets a
// colour; each leaves the matrix stacks as it found them.
#pragma once

// A box of the given size centred on the current origin.
void drawBox(float sx, float sy, float sz);

// A capped truncated cone standing on its base circle at y = 0, axis +y.
void drawFrustum(float bottomRadius, float topRadius, float height, int slices);

// A latitude-longitude sphere centred on the current origin.
void drawSphere(float radius, int slices, int stacks);

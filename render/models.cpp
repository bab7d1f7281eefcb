#include "render/models.h"

void drawCar() {}

void drawObstacle(const Obstacle&) {}

void drawTree(const Tree&) {}

#include "game/state.h"

#include <cstdlib>

#include "game/world.h"

GameState game;

namespace {

// One of two sizes: the small one, or the small one plus a step.
float pickSize(float small, float step) {
    return static_cast<float>(std::rand() % 2) * step + small;
}

}  // namespace

Obstacle rollObstacle(float z) {
    Obstacle o;
    o.x = kLaneCentres[std::rand() % 3];
    o.kind = static_cast<ObstacleKind>(std::rand() % 3);
    o.width = pickSize(0.7f, 0.25f);
    o.height = pickSize(0.5f, 0.3f);
    o.y = o.height * 0.5f;
    o.depth = pickSize(0.7f, 0.25f);
    o.z = z;
    return o;
}

void resetRace() {
    PlayerCar& car = game.player;
    car.tilt = 0.0f;
    car.x = 0.0f;
    car.y = kCarHeight;
    car.z = kCarZ;
    car.speed = kCruiseSpeed;

    game.obstacles.clear();
    game.controls = ControlFlags{};
    game.score = 0;
    game.roadScroll = 0.0f;

    for (int i = 0; i < kObstacleTarget; ++i) {
        game.obstacles.push_back(
            rollObstacle(kFirstObstacleZ - kObstacleSpacing * static_cast<float>(i)));
    }
}

void buildScenery() {
    game.trees.clear();
    std::srand(kSceneSeed);
    for (int i = 0; i < kTreeCount; ++i) {
        const int r1 = std::rand();
        const int r2 = std::rand();
        const int r3 = std::rand();
        const float side = (r1 % 2 == 1) ? 1.0f : -1.0f;
        Tree tree;
        tree.x = side * (static_cast<float>(r2 % 18) + 4.5f);
        tree.y = 0.0f;
        tree.z = static_cast<float>(r3 % 420 - 350);
        game.trees.push_back(tree);
    }
}

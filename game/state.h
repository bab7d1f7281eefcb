// The one record that holds everything the game knows, and the operations
// that fill it outside the per-tick simulation.
#pragma once

#include <cstdint>
#include <vector>

enum class GamePhase : std::int32_t { Menu, Playing, GameOver };

enum class ObstacleKind : std::int32_t { Box, Sphere, Cylinder };

struct PlayerCar {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float speed = 0.0f;  // world units per second
    float tilt = 0.0f;   // yaw in degrees: +12 steering left, -12 steering right
};

// True while the key is held.
struct ControlFlags {
    bool brake = false;
    bool accelerate = false;
    bool steerRight = false;
    bool steerLeft = false;
};

struct Tree {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct Obstacle {
    float x = 0.0f;  // lane centre
    float y = 0.0f;  // half the height
    float z = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float depth = 0.0f;
    ObstacleKind kind = ObstacleKind::Box;
};

// The window's size when it opens, in pixels (set in the top CMakeLists.txt).
constexpr std::int32_t kWindowWidth = KESTRUN_WINDOW_WIDTH;
constexpr std::int32_t kWindowHeight = KESTRUN_WINDOW_HEIGHT;

struct GameState {
    std::int32_t score = 0;
    float roadScroll = 0.0f;
    ControlFlags controls;
    std::vector<Tree> trees;
    std::vector<Obstacle> obstacles;  // nearest first, strictly decreasing z
    PlayerCar player;
    GamePhase phase = GamePhase::Menu;
    std::int32_t windowWidth = kWindowWidth;
    std::int32_t windowHeight = kWindowHeight;  // as reported, may be 0
};

extern GameState game;

constexpr int kObstacleTarget = 18;
constexpr int kTreeCount = 70;
constexpr unsigned int kSceneSeed = 12345;

// A new obstacle at z with random lane, kind and size; exactly five rand() calls.
Obstacle rollObstacle(float z);

// Puts the car, controls, score, scroll and obstacles at a race's first tick.
// Leaves the phase, the trees and the window size alone.
void resetRace();

// Lays out the roadside trees from a fixed seed, so every run looks the same
// and the first race's obstacle stream is the same too.
void buildScenery();

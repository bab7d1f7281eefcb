# The scene: mesh primitives and models in GL feedback mode, road and frames in pixels.
kestrun_display_test(meshes_test meshes_test.cpp)
kestrun_display_test(road_test road_test.cpp)

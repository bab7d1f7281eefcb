# The scene: mesh primitives, models and road, drawn for real under Xvfb.
kestrun_display_test(meshes_test meshes_test.cpp scene_gl.cpp)
kestrun_display_test(models_test models_test.cpp scene_gl.cpp)
kestrun_display_test(road_test road_test.cpp scene_gl.cpp)

# The race: keyboard and phases, the simulation tick and the timer.
kestrun_core_test(keyboard_test keyboard_test.cpp)
kestrun_core_test(random_play_test random_play_test.cpp)

# The tick's tests share a binary with the timer's, which needs a window.
kestrun_display_test(simulation_test simulation_test.cpp)
target_link_libraries(simulation_test PRIVATE kestrun_app)

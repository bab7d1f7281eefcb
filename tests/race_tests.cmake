# The race: keyboard and phases, the simulation tick and the timer.
kestrun_core_test(keyboard_test keyboard_test.cpp)
kestrun_core_test(simulation_test simulation_test.cpp)
kestrun_core_test(random_play_test random_play_test.cpp)

# The timer runs under freeglut's event loop, which needs a window.
kestrun_display_test(timer_test timer_test.cpp)
target_link_libraries(timer_test PRIVATE kestrun_app)

# One long seeded game's states, for the cross-built suites to compare theirs
# with (tests/CMakeLists.txt).
add_executable(race_trace race_trace.cpp)
target_link_libraries(race_trace PRIVATE kestrun_game kestrun_input)

# The whole game proved as a player would: long random play on the core,
# frames unchanged by culling, and the real binary driven under X.
kestrun_core_test(soak_test soak_test.cpp)
kestrun_display_test(culling_test culling_test.cpp)
kestrun_display_test(culling_frames_test culling_frames_test.cpp)

# The real binary under its own X server, driven with xdotool and judged by
# X captures: every phase and Escape in each, resizing, the window's class and
# icon, a key storm, and a key let go while another window has the focus,
# without and with a window manager.
foreach(scenario phases storm focus focus_wm)
  add_test(NAME e2e_${scenario}
           COMMAND ${KESTRUN_XVFB} bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/play.sh
                   $<TARGET_FILE:kestrun> $<TARGET_FILE:e2e_probe> ${scenario})
  set_tests_properties(e2e_${scenario} PROPERTIES LABELS "display;e2e" TIMEOUT 480)
endforeach()

if(NOT KESTRUN_SANITIZE)
  return()
endif()

# Display tests of a sanitizer build. LeakSanitizer would report Mesa's own
# buffers in every GL program, from frames it cannot name because the driver
# is unloaded before the report. Preloading the driver keeps it loaded, so
# its leaks can be suppressed by module while the program's own leaks are
# still reported. Only the driver is preloaded, not libasan: a preloaded
# libasan would turn Xvfb and the X tools into sanitized programs failing on
# their own leaks. libasan then loads right after the driver, still ahead of
# libc, which verify_asan_link_order=0 accepts.
find_file(KESTRUN_SWRAST_DRIVER swrast_dri.so
          PATHS /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/dri /usr/lib64/dri /usr/lib/dri
          NO_DEFAULT_PATH)
if(NOT KESTRUN_SWRAST_DRIVER)
  message(FATAL_ERROR "swrast_dri.so not found: install libgl1-mesa-dri")
endif()
set(KESTRUN_SANITIZER_ENV
    "LD_PRELOAD=${KESTRUN_SWRAST_DRIVER}"
    "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=1"
    "${KESTRUN_LEAK_OPTIONS}"
    "UBSAN_OPTIONS=print_stacktrace=1")

# A GL program that leaks on purpose: the set-up above must still report it.
add_executable(leak_canary e2e/leak_canary.cpp)
target_link_libraries(leak_canary PRIVATE kestrun_gl_testing)
add_test(NAME sanitizer_reports_own_leaks COMMAND ${KESTRUN_XVFB} $<TARGET_FILE:leak_canary>)
set_tests_properties(sanitizer_reports_own_leaks PROPERTIES
                     LABELS display PASS_REGULAR_EXPRESSION "Direct leak of 4242 byte")

# Deferred to the end of this directory, so display tests that other areas
# register after this file are covered too. The end-to-end scripts start many
# X tools, so they preload the driver into the game alone.
function(kestrun_sanitize_display_tests)
  get_property(tests DIRECTORY PROPERTY TESTS)
  foreach(test IN LISTS tests)
    get_test_property(${test} LABELS labels)
    if("e2e" IN_LIST labels)
      string(REPLACE "LD_PRELOAD=" "KESTRUN_E2E_PRELOAD=" env "${KESTRUN_SANITIZER_ENV}")
      set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT ${env})
    elseif("display" IN_LIST labels)
      set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT ${KESTRUN_SANITIZER_ENV})
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL kestrun_sanitize_display_tests)

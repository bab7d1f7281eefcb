# Screen text: bytes, layout, decoding and font need no display. The font's
# glyphs depend on the installed fonts, so they have a binary of their own.
foreach(suite text_core_test text_font_test)
  add_executable(${suite} ${suite}.cpp)
  target_link_libraries(${suite} PRIVATE kestrun_render GTest::gtest_main)
  kestrun_discover_tests(${suite})
endforeach()

kestrun_display_test(text_render_test text_render_test.cpp)

# Where no font has the Chinese characters: fontconfig lists no font dirs.
kestrun_display_test(text_fallback_test text_fallback_test.cpp)
set(KESTRUN_NO_FONTS ${CMAKE_CURRENT_BINARY_DIR}/text-no-fonts.conf)
file(WRITE ${KESTRUN_NO_FONTS} "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n")
set_tests_properties(text_fallback_test PROPERTIES ENVIRONMENT "FONTCONFIG_FILE=${KESTRUN_NO_FONTS}")

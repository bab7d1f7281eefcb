# Screen text: layout and formats, GBK decoding and glyphs need no display.
add_executable(text_core_test text_layout_test.cpp text_decode_test.cpp text_glyphs_test.cpp)
target_link_libraries(text_core_test PRIVATE kestrun_render GTest::gtest_main)
gtest_discover_tests(text_core_test DISCOVERY_TIMEOUT 30)

# Drawing under Xvfb with the Chinese face.
kestrun_display_test(text_render_test text_render_test.cpp)

# The same texts where no font has the Chinese characters: fontconfig reads a
# configuration that lists no font directories.
kestrun_display_test(text_fallback_test text_fallback_test.cpp)
set(KESTRUN_NO_FONTS_CONF ${CMAKE_CURRENT_BINARY_DIR}/text-no-fonts.conf)
file(WRITE ${KESTRUN_NO_FONTS_CONF}
     "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig></fontconfig>\n")
set_tests_properties(text_fallback_test PROPERTIES ENVIRONMENT
                     "FONTCONFIG_FILE=${KESTRUN_NO_FONTS_CONF}")

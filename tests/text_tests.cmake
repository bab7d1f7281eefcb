# Screen text: bytes, layout, characters and the glyphs the game carries need
# no display.
add_executable(text_core_test text_core_test.cpp)
target_link_libraries(text_core_test PRIVATE kestrun_render kestrun_baked_glyphs GTest::gtest_main)
kestrun_discover_tests(text_core_test)

kestrun_display_test(text_render_test text_render_test.cpp)

# The glyphs the game carries are what the tool makes from the font now.
if(NOT TARGET kestrun_bake_glyphs)
  message(FATAL_ERROR "The tests need the glyph tool: apt-get install libfreetype-dev fonts-wqy-microhei")
endif()
add_test(NAME baked_glyphs_are_the_fonts
         COMMAND sh -c "\"$0\" \"$1\" \"$3\" && diff -u \"$2\" \"$3\""
                 $<TARGET_FILE:kestrun_bake_glyphs> ${KESTRUN_GLYPH_FONT}
                 $<TARGET_PROPERTY:kestrun_baked_glyphs,SOURCES> ${CMAKE_CURRENT_BINARY_DIR}/baked_glyphs.cpp)

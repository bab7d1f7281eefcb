# Packaging: the icon renderer, and the installed tree and .deb checked with
# Debian's own tools.
kestrun_core_test(icon_image_test packaging/icon_image_test.cpp)
target_link_libraries(icon_image_test PRIVATE kestrun_icon)

kestrun_display_test(car_icon_test packaging/car_icon_test.cpp)
target_link_libraries(car_icon_test PRIVATE kestrun_icon)
list(JOIN KESTRUN_ICON_SIZES , kestrunIconSizeList)
target_compile_definitions(car_icon_test PRIVATE KESTRUN_ICON_DIR="${KESTRUN_ICON_DIR}"
                                                 KESTRUN_ICON_SIZES=${kestrunIconSizeList})

set(kestrunPackagingTests ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
set(kestrunStage ${CMAKE_BINARY_DIR}/packaging-stage)

# One staged install (prefix /usr, as in the package) that the checks share.
add_test(NAME packaging_stage
         COMMAND sh ${kestrunPackagingTests}/stage.sh ${CMAKE_BINARY_DIR} ${kestrunStage})
set_tests_properties(packaging_stage PROPERTIES FIXTURES_SETUP kestrun_stage)

add_test(NAME packaging_installed_files
         COMMAND sh ${kestrunPackagingTests}/installed_files.sh ${kestrunStage})
add_test(NAME packaging_desktop_and_metainfo
         COMMAND sh ${kestrunPackagingTests}/desktop_and_metainfo.sh ${kestrunStage})
add_test(NAME packaging_man_page COMMAND sh ${kestrunPackagingTests}/man_page.sh ${kestrunStage})
add_test(NAME packaging_deb
         COMMAND sh ${kestrunPackagingTests}/deb_package.sh ${CMAKE_BINARY_DIR} ${kestrunStage})
add_test(NAME packaging_escape_exits
         COMMAND ${KESTRUN_XVFB} bash ${kestrunPackagingTests}/escape_exits.sh ${kestrunStage}
                 $<TARGET_FILE:e2e_probe>)
set_tests_properties(packaging_installed_files packaging_desktop_and_metainfo packaging_man_page
                     packaging_deb packaging_escape_exits
                     PROPERTIES FIXTURES_REQUIRED kestrun_stage TIMEOUT 120)
# On a server that resets when its last client leaves, as a bare Xvfb started
# for the game alone does: the game's start-up must never leave it clientless.
set_tests_properties(packaging_escape_exits PROPERTIES LABELS display
                     ENVIRONMENT KESTRUN_XVFB_RESET=1)

# Two clones of the checkout built one after the other give the same .deb.
# The sanitizer build, with the same sources, would only repeat it.
if(NOT KESTRUN_SANITIZE)
  add_test(NAME packaging_reproducible_deb
           COMMAND sh ${kestrunPackagingTests}/reproducible_deb.sh ${PROJECT_SOURCE_DIR})
  set_tests_properties(packaging_reproducible_deb PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600)
endif()

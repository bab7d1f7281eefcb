# The icon pictures' reading, writing and shrinking, and the build-time tool
# that turns the rendered icon into a C++ source. Included by platform/, which
# builds the game with that source, before packaging/ renders icons with the
# same code.
find_package(PNG REQUIRED)

add_library(kestrun_icon_image STATIC ${CMAKE_CURRENT_LIST_DIR}/image.cpp
                                      ${CMAKE_CURRENT_LIST_DIR}/png_file.cpp)
target_include_directories(kestrun_icon_image PUBLIC ${CMAKE_CURRENT_LIST_DIR}/../..)
target_link_libraries(kestrun_icon_image PUBLIC PNG::PNG)

add_executable(kestrun-icon-source ${CMAKE_CURRENT_LIST_DIR}/icon_source.cpp)
target_link_libraries(kestrun-icon-source PRIVATE kestrun_icon_image)

# The same icon as a Windows .ico, for the Windows build's resources.
add_executable(kestrun-icon-ico ${CMAKE_CURRENT_LIST_DIR}/icon_ico.cpp)
target_link_libraries(kestrun-icon-ico PRIVATE kestrun_icon_image)

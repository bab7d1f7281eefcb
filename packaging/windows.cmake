# Windows: the exe with the README and the licences (the game's, and those of
# the font its glyphs come from and of what the exe links in: freeglut, and
# MinGW-w64's runtime with winpthreads), as a zip and as an NSIS installer
# (Program Files, a Start Menu shortcut, an uninstaller).
install(TARGETS kestrun RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
install(FILES ${KESTRUN_GLYPH_LICENCE} DESTINATION licences)
# freeglut is built from the source of this system's Debian package, whose
# copyright file its -dev package carries; winpthreads is MinGW-w64's.
include(${PROJECT_SOURCE_DIR}/packaging/licences.cmake)
kestrun_install_licence(freeglut libglut-dev)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread.a
                OUTPUT_VARIABLE kestrunWinpthread OUTPUT_STRIP_TRAILING_WHITESPACE)
kestrun_install_licence_of(winpthreads ${kestrunWinpthread})

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME kestrun)
set(CPACK_PACKAGE_VENDOR "The Kestrun developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME kestrun-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${KESTRUN_TITLE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D arcade driving game: dodge the obstacles on an endless road")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_EXECUTABLES kestrun ${KESTRUN_TITLE})
# The exe sits at the top of the install directory, where the zip has it too;
# NSIS would otherwise point the Start Menu shortcut into a bin folder.
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
# Debian's makensis makes 32-bit installers by default, which 64-bit-only
# Wine cannot run; its amd64-unicode stubs make a 64-bit one. Without the
# files' dates in it, the installer is the same from one build of a commit to
# the next; installed files are dated by their installation.
set(CPACK_NSIS_DEFINES "Target amd64-unicode\nSetDateSave off")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME ${KESTRUN_TITLE})
set(CPACK_NSIS_DISPLAY_NAME ${KESTRUN_TITLE})
set(CPACK_NSIS_INSTALLED_ICON_NAME kestrun.exe)
if(KESTRUN_HOMEPAGE)
  set(CPACK_NSIS_URL_INFO_ABOUT ${KESTRUN_HOMEPAGE})
  set(CPACK_NSIS_HELP_LINK ${KESTRUN_HOMEPAGE})
endif()
include(CPack)

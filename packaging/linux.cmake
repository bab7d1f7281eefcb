# The portable Linux game (scripts/build-linux.sh): one folder holding the
# program, a README for its players and the licences of the game and of what
# the program carries: the font of its glyphs, freeglut and GLU.
install(TARGETS kestrun RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
install(FILES ${KESTRUN_GLYPH_LICENCE} DESTINATION licences)

# freeglut's and GLU's as the base system has them.
include(${PROJECT_SOURCE_DIR}/packaging/licences.cmake)
kestrun_install_licence_of(freeglut ${KESTRUN_GLUT_STATIC})
kestrun_install_licence_of(glu ${KESTRUN_GLU_STATIC})

# The README: how to start the game and what it needs, then its manual.
set(kestrunPortableDir ${PROJECT_BINARY_DIR}/portable)
configure_file(${PROJECT_SOURCE_DIR}/packaging/linux-readme.in ${kestrunPortableDir}/readme-head @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/kestrun.6.in ${kestrunPortableDir}/kestrun.6 @ONLY)
find_program(KESTRUN_GROFF groff REQUIRED)
add_custom_command(
  OUTPUT ${kestrunPortableDir}/README
  COMMAND ${KESTRUN_GROFF} -man -Tascii -P-cbou ${kestrunPortableDir}/kestrun.6
          > ${kestrunPortableDir}/manual
  COMMAND ${CMAKE_COMMAND} -E cat ${kestrunPortableDir}/readme-head ${kestrunPortableDir}/manual
          > ${kestrunPortableDir}/README
  DEPENDS ${kestrunPortableDir}/readme-head ${kestrunPortableDir}/kestrun.6
  COMMENT "Writing the players' README with the manual")
add_custom_target(kestrun-portable-readme ALL DEPENDS ${kestrunPortableDir}/README)
install(FILES ${kestrunPortableDir}/README DESTINATION .)

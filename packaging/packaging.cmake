# Installation as a Debian game: the binary in games/, a desktop entry, hicolor
# icons, AppStream metainfo, a section 6 man page, the copyright file and
# changelog Debian requires, and a .deb through CPack.
include(GNUInstallDirs)

set(KESTRUN_INSTALL_GAMESDIR "games"
    CACHE STRING "Where the game binary goes, relative to the install prefix")
# The .invalid domain never resolves: whoever publishes the package sets a real one.
set(KESTRUN_MAINTAINER "The Kestrun developers <maintainers@kestrun.invalid>"
    CACHE STRING "Maintainer named in the Debian package and its changelog")

set(kestrunAppId org.kestrun.Kestrun)
set(kestrunPackagingDir ${PROJECT_SOURCE_DIR}/packaging)
set(kestrunPackagingBuildDir ${PROJECT_BINARY_DIR}/packaging)

# The metainfo names a homepage only when there is one.
set(kestrunHomepageElement "")
if(KESTRUN_HOMEPAGE)
    string(REPLACE "&" "&amp;" kestrunHomepageXml "${KESTRUN_HOMEPAGE}")
    set(kestrunHomepageElement "  <url type=\"homepage\">${kestrunHomepageXml}</url>\n")
endif()
configure_file(${kestrunPackagingDir}/${kestrunAppId}.metainfo.xml.in
               ${kestrunPackagingBuildDir}/${kestrunAppId}.metainfo.xml @ONLY)
configure_file(${kestrunPackagingDir}/${kestrunAppId}.desktop.in
               ${kestrunPackagingBuildDir}/${kestrunAppId}.desktop @ONLY)
configure_file(${kestrunPackagingDir}/kestrun.6.in ${kestrunPackagingBuildDir}/kestrun.6 @ONLY)

# Debian ships man pages compressed; -n keeps the archive free of time stamps.
add_custom_command(
    OUTPUT ${kestrunPackagingBuildDir}/kestrun.6.gz
    COMMAND gzip -9 -n -f -k ${kestrunPackagingBuildDir}/kestrun.6
    DEPENDS ${kestrunPackagingBuildDir}/kestrun.6
    VERBATIM)
add_custom_target(kestrun-man-page ALL DEPENDS ${kestrunPackagingBuildDir}/kestrun.6.gz)

# The machine-readable copyright file carries LICENSE itself: the holder from
# its copyright line, and its permission text indented as DEP-5 wants (one
# space, blank lines as " .").
file(READ ${PROJECT_SOURCE_DIR}/LICENSE kestrunLicence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" kestrunCopyright "${kestrunLicence}")
set(kestrunCopyright ${CMAKE_MATCH_1})
string(REGEX REPLACE "^.*(Permission is hereby granted)" "\\1" kestrunLicenceText "${kestrunLicence}")
string(STRIP "${kestrunLicenceText}" kestrunLicenceText)
string(REPLACE "\n\n" "\n.\n" kestrunLicenceText "${kestrunLicenceText}")
string(REPLACE "\n" "\n " kestrunLicenceText " ${kestrunLicenceText}")
configure_file(${kestrunPackagingDir}/debian/copyright.in ${kestrunPackagingBuildDir}/copyright @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)

# A version without a Debian revision makes this a native package, whose
# changelog Debian names changelog.gz. Its entry is dated by the release date.
execute_process(COMMAND date -u -R -d ${KESTRUN_RELEASE_DATE}
                OUTPUT_VARIABLE kestrunChangelogDate OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE kestrunDateStatus)
if(NOT kestrunDateStatus EQUAL 0)
  message(FATAL_ERROR "date cannot read the release date ${KESTRUN_RELEASE_DATE}")
endif()
configure_file(${kestrunPackagingDir}/debian/changelog.in ${kestrunPackagingBuildDir}/changelog @ONLY)
add_custom_command(
    OUTPUT ${kestrunPackagingBuildDir}/changelog.gz
    COMMAND gzip -9 -n -f -k ${kestrunPackagingBuildDir}/changelog
    DEPENDS ${kestrunPackagingBuildDir}/changelog
    VERBATIM)
add_custom_target(kestrun-changelog ALL DEPENDS ${kestrunPackagingBuildDir}/changelog.gz)

install(TARGETS kestrun RUNTIME DESTINATION ${KESTRUN_INSTALL_GAMESDIR})
install(FILES ${kestrunPackagingBuildDir}/${kestrunAppId}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${kestrunPackagingBuildDir}/${kestrunAppId}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${kestrunPackagingBuildDir}/kestrun.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
foreach(size IN LISTS KESTRUN_ICON_SIZES)
    install(FILES ${KESTRUN_ICON_DIR}/kestrun-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME kestrun.png)
endforeach()
install(FILES ${KESTRUN_ICON_DIR}/kestrun.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${kestrunPackagingBuildDir}/copyright ${kestrunPackagingBuildDir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Without a homepage, AppStream 1.0 fails the metainfo, and lintian passes
# that on; the override says why it is expected. Debian 12's lintian has no
# such tag and counts an override of it as an error, so only packages built
# for a later release, whose lintian checks with AppStream 1.0, carry it.
set(kestrunDebianVersion "")
if(EXISTS /etc/debian_version)
    file(STRINGS /etc/debian_version kestrunDebianVersion LIMIT_COUNT 1)
endif()
if(NOT KESTRUN_HOMEPAGE AND NOT kestrunDebianVersion MATCHES "^([0-9]|1[0-2])\\.")
    install(FILES ${kestrunPackagingDir}/debian/lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kestrun)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrun)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${KESTRUN_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D arcade driving game: dodge the obstacles on an endless road")
# Debian wants the long description in lines of under 80 columns.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Your car is seen from behind on a long straight road of three lanes\n"
       "while trees and obstacles stream toward it. Steer between the lanes,\n"
       "choose your speed and survive as long as you can: a race ends at the\n"
       "first touch of an obstacle. Played with the keyboard alone; every text\n"
       "on screen is in Chinese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KESTRUN_MAINTAINER})
if(KESTRUN_HOMEPAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KESTRUN_HOMEPAGE})
endif()
# Depends is worked out from the libraries the binary links (dpkg-shlibdeps):
# the game carries the glyphs of its texts, and needs no font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

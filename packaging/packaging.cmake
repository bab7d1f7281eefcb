# Installation as a Debian game: the binary in games/, a desktop entry, hicolor
# icons, AppStream metainfo, a section 6 man page, and a .deb through CPack.
include(GNUInstallDirs)

set(KESTRUN_INSTALL_GAMESDIR "games"
    CACHE STRING "Where the game binary goes, relative to the install prefix")
set(KESTRUN_HOMEPAGE_URL "https://kestrun.example.org"
    CACHE STRING "Project home page; the AppStream screenshot lives under it")
set(KESTRUN_MAINTAINER "Kestrun maintainers <maintainers@kestrun.example.org>"
    CACHE STRING "Maintainer named in the Debian package")
set(KESTRUN_RELEASE_DATE "2026-12-08")

set(kestrunAppId org.kestrun.Kestrun)
set(kestrunPackagingDir ${PROJECT_SOURCE_DIR}/packaging)
set(kestrunPackagingBuildDir ${PROJECT_BINARY_DIR}/packaging)

add_subdirectory(${kestrunPackagingDir}/icontool ${kestrunPackagingBuildDir}/icontool)

configure_file(${kestrunPackagingDir}/${kestrunAppId}.metainfo.xml.in
               ${kestrunPackagingBuildDir}/${kestrunAppId}.metainfo.xml @ONLY)
configure_file(${kestrunPackagingDir}/kestrun.6.in ${kestrunPackagingBuildDir}/kestrun.6 @ONLY)

# Debian ships man pages compressed; -n keeps the archive free of time stamps.
add_custom_command(
    OUTPUT ${kestrunPackagingBuildDir}/kestrun.6.gz
    COMMAND gzip -9 -n -f -k ${kestrunPackagingBuildDir}/kestrun.6
    DEPENDS ${kestrunPackagingBuildDir}/kestrun.6
    VERBATIM)
add_custom_target(kestrun-man-page ALL DEPENDS ${kestrunPackagingBuildDir}/kestrun.6.gz)

install(TARGETS kestrun RUNTIME DESTINATION ${KESTRUN_INSTALL_GAMESDIR})
install(FILES ${kestrunPackagingDir}/${kestrunAppId}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${kestrunPackagingBuildDir}/${kestrunAppId}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${kestrunPackagingBuildDir}/kestrun.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
foreach(size 48 128 256)
    install(FILES ${kestrunPackagingDir}/icons/kestrun-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME kestrun.png)
endforeach()
install(FILES ${kestrunPackagingDir}/icons/kestrun.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

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
       "first touch of an obstacle. Played with the keyboard alone; the menu\n"
       "texts are in Chinese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KESTRUN_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KESTRUN_MAINTAINER})
# Depends is worked out from the libraries the binary links (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The menu texts are Chinese; without a face that covers them they show as gaps.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-wqy-microhei)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

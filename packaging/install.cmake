# SPDX-License-Identifier: GPL-3.0-or-later
# Installing the game as Debian lays out its games, and its Debian package.
#
#   games/tobrin                  the launcher: plays in the user's own data folder
#   libexec/tobrin/tobrin         the game itself
#   share/games/tobrin/resources  pictures and sounds
#   share/man/man6/tobrin.6.gz    the manual page
#   share/doc/tobrin              copyright and changelog
#   share/applications, share/metainfo, share/icons/hicolor   the desktop's entries
include(GNUInstallDirs)

set(TOBRIN_APP_ID io.github.tobrin.TobrinAndTheFish)
set(TOBRIN_LAUNCHER_DIR games CACHE STRING "Where the tobrin command goes, under the prefix")
set(TOBRIN_GAME_DIR ${CMAKE_INSTALL_LIBEXECDIR}/tobrin)
set(TOBRIN_DATA_DIR ${CMAKE_INSTALL_DATADIR}/games/tobrin)
set(TOBRIN_PACKAGING_DIR ${PROJECT_BINARY_DIR}/packaging)

# The launcher finds the game and its data relative to itself, so a different --prefix at
# install time, or a package's, works alike.
file(RELATIVE_PATH TOBRIN_BIN_TO_GAME
     ${CMAKE_INSTALL_PREFIX}/${TOBRIN_LAUNCHER_DIR} ${CMAKE_INSTALL_PREFIX}/${TOBRIN_GAME_DIR})
file(RELATIVE_PATH TOBRIN_BIN_TO_DATA
     ${CMAKE_INSTALL_PREFIX}/${TOBRIN_LAUNCHER_DIR} ${CMAKE_INSTALL_PREFIX}/${TOBRIN_DATA_DIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/tobrin.in ${TOBRIN_PACKAGING_DIR}/tobrin @ONLY)

# The manual page and the changelog are installed compressed, without a time stamp, so the
# package comes out the same from the same sources.
foreach(document tobrin.6 changelog)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                 ${CMAKE_CURRENT_LIST_DIR}/${document})
    execute_process(COMMAND gzip -9 -n -c ${CMAKE_CURRENT_LIST_DIR}/${document}
                    OUTPUT_FILE ${TOBRIN_PACKAGING_DIR}/${document}.gz
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()

install(TARGETS tobrin RUNTIME DESTINATION ${TOBRIN_GAME_DIR})
install(PROGRAMS ${TOBRIN_PACKAGING_DIR}/tobrin DESTINATION ${TOBRIN_LAUNCHER_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/ DESTINATION ${TOBRIN_DATA_DIR}/resources)
install(FILES ${TOBRIN_PACKAGING_DIR}/tobrin.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${TOBRIN_PACKAGING_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TOBRIN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TOBRIN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The Debian package; tools/package.sh builds it with Debian's hardened flags. Its
# dependencies are worked out by dpkg-shlibdeps from the libraries the game links.
set(TOBRIN_PACKAGE_MAINTAINER
    "The Tobrin and the Fish developers <tobrin@users.noreply.github.com>"
    CACHE STRING "The Debian package's maintainer")
set(TOBRIN_PACKAGE_HOMEPAGE "" CACHE STRING "The Debian package's home page, if it has one")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tobrin)
set(CPACK_PACKAGE_VENDOR "The Tobrin and the Fish developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game: steer a little submarine, flee the big fish")
# The extended description under the summary; one string, since lines given as a CMake
# list would be joined with ';'.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tobrin and the Fish is a small 2D arcade game. Pitch a little submarine
through an endless ocean seen from the side, swallow the schools of small
fish for points, bump through the seed weed, and flee the big fish that
hunts you faster and faster.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TOBRIN_PACKAGE_MAINTAINER}")
if(TOBRIN_PACKAGE_HOMEPAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TOBRIN_PACKAGE_HOMEPAGE}")
endif()
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
# Stripped as Debian strips, comments and notes too, once the files are staged.
set(CPACK_STRIP_FILES OFF)
set(CPACK_TOBRIN_GAME_DIR ${TOBRIN_GAME_DIR})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/strip.cmake)
if(PROJECT_IS_TOP_LEVEL)
    include(CPack)
endif()

# Installing the game in the GNU layout, and its Debian package.
#
#   bin/tobrin                    the launcher: plays in the user's own data folder
#   libexec/tobrin/tobrin         the game itself
#   share/tobrin/resources/       pictures and sounds
#   share/applications, share/metainfo, share/icons/hicolor   the desktop's entries
include(GNUInstallDirs)

set(TOBRIN_APP_ID io.github.tobrin.TobrinAndTheFish)
set(TOBRIN_GAME_DIR ${CMAKE_INSTALL_LIBEXECDIR}/tobrin)
set(TOBRIN_DATA_DIR ${CMAKE_INSTALL_DATADIR}/tobrin)

# The launcher finds the game and its data relative to itself, so a different --prefix at
# install time, or a package's, works alike.
file(RELATIVE_PATH TOBRIN_BIN_TO_GAME
     ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${TOBRIN_GAME_DIR})
file(RELATIVE_PATH TOBRIN_BIN_TO_DATA
     ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${TOBRIN_DATA_DIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/tobrin.in ${CMAKE_BINARY_DIR}/packaging/tobrin @ONLY)

install(TARGETS tobrin RUNTIME DESTINATION ${TOBRIN_GAME_DIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/tobrin DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/ DESTINATION ${TOBRIN_DATA_DIR}/resources)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TOBRIN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TOBRIN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The Debian package. The SDL 1.2 API comes from the classic library or from SDL2's
# compatibility layer; both provide libsdl1.2debian.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tobrin)
set(CPACK_PACKAGE_VENDOR "The Tobrin and the Fish developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game: steer a little submarine, flee the big fish")
set(CPACK_PACKAGE_DESCRIPTION
    "Tobrin and the Fish is a small 2D arcade game. Pitch a little submarine through an\n"
    " endless ocean, swallow the schools of small fish for points, bump through the seed\n"
    " weed and flee the big fish that hunts you faster and faster.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Tobrin and the Fish developers <tobrin@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libsdl1.2debian (>= 1.2.15), libsdl-image1.2 (>= 1.2.12), libsdl-mixer1.2 (>= 1.2.12), libgl1, libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
include(CPack)

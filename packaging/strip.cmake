# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on the staged files: strips the game as Debian's dh_strip does, with the
# compiler's .comment and the .note sections, which nothing reads at run time.
file(GLOB_RECURSE games "${CPACK_TEMPORARY_DIRECTORY}/*/${CPACK_TOBRIN_GAME_DIR}/tobrin")
if(NOT games)
    message(FATAL_ERROR "strip.cmake: no game under ${CPACK_TEMPORARY_DIRECTORY}")
endif()
foreach(game ${games})
    execute_process(COMMAND strip --remove-section=.comment --remove-section=.note ${game}
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()

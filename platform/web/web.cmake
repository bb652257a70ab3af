# SPDX-License-Identifier: GPL-3.0-or-later
# The browser build, made with Emscripten (emcmake cmake): the same engine, platform and game
# code as the desktop's, linked against Emscripten's own SDL 1.2, SDL_image, SDL_mixer and
# OpenGL emulation, which stand in for the libraries pkg-config finds on the desktop.
#
#   index.html   the page, of our own
#   tobrin.js    the glue Emscripten writes, with page.js in front
#   tobrin.wasm  the game
#   tobrin.data  the pictures and sounds, the music as Ogg Vorbis (browsers play no modules)
# all in TOBRIN_WEB_PAGE_DIR (tools/web.sh makes it build-web/).

foreach(library SDL SDL_IMAGE SDL_MIXER)
    add_library(PkgConfig::${library} INTERFACE IMPORTED)

endforeach()
add_library(OpenGL::GL INTERFACE IMPORTED)

find_program(TOBRIN_XMP xmp REQUIRED)
find_program(TOBRIN_OGGENC oggenc REQUIRED)

set(TOBRIN_WEB_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TOBRIN_WEB_PAGE_DIR ${PROJECT_BINARY_DIR}/page CACHE PATH "Where the page is made")

# The page's data: the pictures and effects as they are, and each module rendered once to Ogg
# Vorbis, named as the module but ending in .ogg: the asset table stays the same on both targets.
function(add_web_resources target)
    set(data ${PROJECT_BINARY_DIR}/data)
    file(GLOB images ${PROJECT_SOURCE_DIR}/resources/images/*.png)
    file(GLOB effects ${PROJECT_SOURCE_DIR}/resources/audio/*.wav)
    file(GLOB modules ${PROJECT_SOURCE_DIR}/resources/audio/*.xm)
    set(outputs)
    foreach(file ${images} ${effects})
        file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${file})
        add_custom_command(OUTPUT ${data}/${relative}
            COMMAND ${CMAKE_COMMAND} -E copy ${file} ${data}/${relative} DEPENDS ${file})
        list(APPEND outputs ${data}/${relative})
    endforeach()
    foreach(module ${modules})
        get_filename_component(name ${module} NAME_WE)
        set(ogg ${data}/resources/audio/${name}.ogg)
        add_custom_command(OUTPUT ${ogg}
            COMMAND ${TOBRIN_XMP} --quiet -o ${data}/${name}.wav ${module}
            COMMAND ${TOBRIN_OGGENC} --quiet -q 0 -o ${ogg} ${data}/${name}.wav
            COMMAND ${CMAKE_COMMAND} -E remove ${data}/${name}.wav
            DEPENDS ${module})
        list(APPEND outputs ${ogg})
    endforeach()
    add_custom_target(${target}_data DEPENDS ${outputs})
    add_dependencies(${target} ${target}_data)
    target_link_options(${target} PRIVATE "SHELL:--preload-file ${data}/resources@/resources")
endfunction()

# Pictures are decoded in the game as on the desktop (stb_image), to the same texels, rather than
# by the browser; sounds are decoded by the browser's Web Audio, from the bytes in the page's
# files.
function(add_web_page target)
    add_web_resources(${target})
    target_link_options(${target} PRIVATE
        -sASYNCIFY -sLEGACY_GL_EMULATION=1 -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
        -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web -sEXIT_RUNTIME=1 -lidbfs.js
        -sSTB_IMAGE=1 -sEXPORTED_FUNCTIONS=_main,_malloc,_free,_stbi_load,_stbi_load_from_memory,_stbi_image_free
        "SHELL:--pre-js ${TOBRIN_WEB_DIR}/page.js")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
        ${TOBRIN_WEB_DIR}/page.js ${TOBRIN_WEB_DIR}/index.html)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TOBRIN_WEB_PAGE_DIR})
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy ${TOBRIN_WEB_DIR}/index.html ${TOBRIN_WEB_PAGE_DIR}/index.html)
endfunction()

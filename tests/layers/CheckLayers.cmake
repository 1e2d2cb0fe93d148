# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSOURCE_DIR=... -P CheckLayers.cmake
# Fails on any quoted include that runs against the layer order of the folders:
# shared <- config <- purge <- schedule <- ui <- app, and quillon <- shared only.
# A file may include its own folder and any folder before it, never one after it.
set(layers shared config purge schedule ui app)

function(CheckFile file allowed)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    set(lineNumber 0)
    foreach(line IN LISTS lines)
        if(line MATCHES "#[ \t]*include[ \t]*\"([^\"/]+)/[^\"]*\"")
            set(folder "${CMAKE_MATCH_1}")
            list(FIND allowed "${folder}" found)
            if(found EQUAL -1)
                file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
                message(SEND_ERROR "${shown}: ${line}")
            endif()
        endif()
    endforeach()
endfunction()

set(allowed "")
foreach(layer IN LISTS layers)
    list(APPEND allowed "${layer}")
    file(GLOB_RECURSE files "${SOURCE_DIR}/scourwell/${layer}/*.h" "${SOURCE_DIR}/scourwell/${layer}/*.cpp")
    if(NOT files)
        message(SEND_ERROR "scourwell/${layer}: no sources found")
    endif()
    foreach(file IN LISTS files)
        CheckFile("${file}" "${allowed}")
    endforeach()
endforeach()

file(GLOB_RECURSE files "${SOURCE_DIR}/quillon/*.h" "${SOURCE_DIR}/quillon/*.cpp")
foreach(file IN LISTS files)
    CheckFile("${file}" "shared;quillon")
endforeach()

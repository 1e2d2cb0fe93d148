# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSOURCE_DIR=... -P CheckLicence.cmake
# Fails on any source file whose first lines do not name the project's licence.
set(identifier "SPDX-License-Identifier: GPL-3.0-or-later")
file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}"
     "${SOURCE_DIR}/scourwell/*.h" "${SOURCE_DIR}/scourwell/*.cpp" "${SOURCE_DIR}/quillon/*.h"
     "${SOURCE_DIR}/quillon/*.cpp" "${SOURCE_DIR}/tests/*.h" "${SOURCE_DIR}/tests/*.cpp" "${SOURCE_DIR}/tests/*.py"
     "${SOURCE_DIR}/bench/*.cpp" "${SOURCE_DIR}/bench/*.py" "${SOURCE_DIR}/*CMakeLists.txt" "${SOURCE_DIR}/scripts/*")
list(FILTER files EXCLUDE REGEX "^build")
if(NOT files)
    message(FATAL_ERROR "no sources found under ${SOURCE_DIR}")
endif()
foreach(file IN LISTS files)
    file(STRINGS "${SOURCE_DIR}/${file}" head LIMIT_COUNT 3)
    string(FIND "${head}" "${identifier}" found)
    if(found EQUAL -1)
        message(SEND_ERROR "${file}: no \"${identifier}\" in its first lines")
    endif()
endforeach()

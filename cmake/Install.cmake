# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts under the prefix: the two programs, their desktop entries,
# icons, AppStream metainfo, help page, man pages and the systemd user unit. Tests and
# benchmarks are never installed.
include(GNUInstallDirs)

set(SCOURWELL_RESOURCES "${PROJECT_SOURCE_DIR}/resources")
set(SCOURWELL_GENERATED "${PROJECT_BINARY_DIR}/generated")
set(SCOURWELL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/scourwell")

# The change log's top entry is the release: its version must be the project's, and its
# date dates the metainfo and the man pages.
file(STRINGS "${SCOURWELL_RESOURCES}/package/changelog" changelog)
list(GET changelog 0 changelogTop)
if(NOT changelogTop MATCHES "^scourwell \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "resources/package/changelog: the top entry is not version ${PROJECT_VERSION}")
endif()
list(FILTER changelog INCLUDE REGEX "^ -- ")
list(GET changelog 0 changelogTrailer)
string(REGEX MATCH "([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9])" _ "${changelogTrailer}")
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months "${CMAKE_MATCH_2}" month)
math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
if(month LESS 10)
    set(month "0${month}")
endif()
set(SCOURWELL_RELEASE_DATE "${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1}")

install(TARGETS scourwell quillon RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

install(FILES "${SCOURWELL_RESOURCES}/desktop/scourwell.desktop" "${SCOURWELL_RESOURCES}/desktop/quillon.desktop"
    DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/applications")
install(FILES "${SCOURWELL_RESOURCES}/icons/scourwell.svg" "${SCOURWELL_RESOURCES}/icons/quillon.svg"
    DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps")

configure_file("${SCOURWELL_RESOURCES}/desktop/org.example.scourwell.metainfo.xml.in"
    "${SCOURWELL_GENERATED}/org.example.scourwell.metainfo.xml" @ONLY)
install(FILES "${SCOURWELL_GENERATED}/org.example.scourwell.metainfo.xml"
    DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/metainfo")

# The unit names the installed program by its full path, as systemd requires.
set(SCOURWELL_INSTALLED_EXECUTABLE "${CMAKE_INSTALL_FULL_BINDIR}/scourwell")
configure_file("${SCOURWELL_RESOURCES}/desktop/scourwell.service.in" "${SCOURWELL_GENERATED}/scourwell.service" @ONLY)
install(FILES "${SCOURWELL_GENERATED}/scourwell.service" DESTINATION "lib/systemd/user")

# Help finds the page here, relative to the installed program (../share/doc/scourwell).
install(FILES "${SCOURWELL_RESOURCES}/help/scourwell-help.html" "${SCOURWELL_RESOURCES}/package/copyright"
    DESTINATION "${SCOURWELL_DOCDIR}")

# Man pages and the change log go compressed, as Debian's policy asks (gzip -9n: no name,
# no time stamp, so the package is reproducible).
find_program(SCOURWELL_GZIP gzip REQUIRED)
set(compressed)
foreach(page scourwell.1 quillon.1)
    configure_file("${SCOURWELL_RESOURCES}/man/${page}.in" "${SCOURWELL_GENERATED}/${page}" @ONLY)
    list(APPEND compressed "${page}")
endforeach()
configure_file("${SCOURWELL_RESOURCES}/package/changelog" "${SCOURWELL_GENERATED}/changelog" COPYONLY)
list(APPEND compressed changelog)
set(compressedFiles)
foreach(file ${compressed})
    add_custom_command(OUTPUT "${SCOURWELL_GENERATED}/${file}.gz"
        COMMAND "${SCOURWELL_GZIP}" -9nkf "${SCOURWELL_GENERATED}/${file}"
        DEPENDS "${SCOURWELL_GENERATED}/${file}" VERBATIM)
    list(APPEND compressedFiles "${SCOURWELL_GENERATED}/${file}.gz")
endforeach()
add_custom_target(scourwell_docs ALL DEPENDS ${compressedFiles})
install(FILES "${SCOURWELL_GENERATED}/scourwell.1.gz" "${SCOURWELL_GENERATED}/quillon.1.gz"
    DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${SCOURWELL_GENERATED}/changelog.gz" DESTINATION "${SCOURWELL_DOCDIR}")

# SPDX-License-Identifier: GPL-3.0-or-later
# A Debian package of what cmake/Install.cmake installs (scripts/package). Configure with
# -DCMAKE_INSTALL_PREFIX=/usr: the package installs under the prefix the programs were built
# for, so they know themselves as installed.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME scourwell)
set(CPACK_PACKAGE_VENDOR "Orvik Software")
set(CPACK_PACKAGE_CONTACT "Orvik Software <scourwell@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Scourwell runs purge jobs. Each names a folder, an age threshold, what is
deleted (the files in the folder, the files of all its subfolders, or its
direct subfolders) and when it runs. Every run is logged in a weekly HTML
log, which the log explorer Quillon lists and opens. Scourwell waits in the
system tray, or runs the same jobs without a window as a systemd user service.")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies come from the shared libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the SVG icon engine as a plugin, which the library scan cannot see: every
# picture of both programs is SVG.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
# The default viewer and the desktop's browser for help and folders.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)

include(CPack)

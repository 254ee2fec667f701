# SPDX-License-Identifier: GPL-3.0-or-later
# Runs at install time, when the prefix is known: writes the desktop entry
# with the installed program's full path and installs it (so that it is in
# install_manifest.txt, which the uninstall line reads).
set(KATALOG_PROGRAM "${CMAKE_INSTALL_PREFIX}/lib/katalog/katalog")
configure_file("${KATALOG_SOURCE_DIR}/desktop/katalog.desktop.in"
               "${KATALOG_BINARY_DIR}/katalog.desktop" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications"
     TYPE FILE FILES "${KATALOG_BINARY_DIR}/katalog.desktop")

# SPDX-License-Identifier: GPL-3.0-or-later
# Runs at install time, when the prefix is known: writes the desktop entry
# with the installed program's full path and installs it as the menu entry and
# as the entry that starts the panel at login (so that both are in
# install_manifest.txt, which the uninstall line reads).
set(KATALOG_PROGRAM "${CMAKE_INSTALL_PREFIX}/lib/katalog/katalog")
configure_file("${KATALOG_SOURCE_DIR}/desktop/katalog.desktop.in"
               "${KATALOG_BINARY_DIR}/katalog.desktop" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications"
     TYPE FILE FILES "${KATALOG_BINARY_DIR}/katalog.desktop")

# Installed for one user, the panel starts at that user's login; every
# desktop's "Startup applications" tool lists the entry and can switch it off.
string(FIND "${CMAKE_INSTALL_PREFIX}/" "$ENV{HOME}/" at_home)
if(DEFINED ENV{HOME} AND at_home EQUAL 0)
    if(DEFINED ENV{XDG_CONFIG_HOME} AND IS_ABSOLUTE "$ENV{XDG_CONFIG_HOME}")
        set(autostart "$ENV{XDG_CONFIG_HOME}/autostart")
    else()
        set(autostart "$ENV{HOME}/.config/autostart")
    endif()
else()
    set(autostart "${CMAKE_INSTALL_PREFIX}/etc/xdg/autostart")
endif()
# An update keeps the user's choice: an entry switched off stays off.
set(enabled "true")
if(EXISTS "${autostart}/katalog.desktop")
    file(STRINGS "${autostart}/katalog.desktop" off
         REGEX "^(Hidden=true|X-GNOME-Autostart-enabled=false)$")
    if(off)
        set(enabled "false\nHidden=true")
    endif()
endif()
file(READ "${KATALOG_BINARY_DIR}/katalog.desktop" entry)
file(WRITE "${KATALOG_BINARY_DIR}/autostart/katalog.desktop"
     "${entry}X-GNOME-Autostart-enabled=${enabled}\n")
file(INSTALL DESTINATION "${autostart}" TYPE FILE
     FILES "${KATALOG_BINARY_DIR}/autostart/katalog.desktop")

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages Katalog needs to build and run; with --test,
# also what its tests need. Uses sudo when not run as root.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-private-dev qt6-base-dev-tools libglib2.0-dev libxcb1-dev libgl-dev
          shared-mime-info adwaita-icon-theme fonts-liberation fonts-dejavu-core
          qt6-translations-l10n)
if [ "${1:-}" = "--test" ]; then
    packages+=(xvfb openbox xdotool x11-utils imagemagick clang-14 clang-format-14 libclang-rt-14-dev
               inotify-tools xinput libglib2.0-bin desktop-file-utils pcmanfm python3-fusepy
               wmctrl icewm fluxbox metacity xfwm4 i3-wm marco mate-settings-daemon-common
               xfconf dbus acl python3-xlib
               # a whole XFCE session, with Caja beside it and Qt's GTK theme
               xfce4-session xfwm4 xfce4-panel xfdesktop4 xfce4-settings xfce4-helpers thunar
               caja qt6-gtk-platformtheme)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs into a fresh home as the README says, starts the panel from the
# shell and from the menu entry, then uninstalls, keeping the store.
# Usage: install.sh PATH-TO-katalog (in its build folder)
source "$(dirname "$0")/xsession.sh"

start_x
build=$(dirname "$1")
export HOME="$E2E_TMP/home" XDG_CONFIG_HOME="$E2E_TMP/home/config" # the install honours it
lib="$HOME/.local/lib/katalog" entry="$HOME/.local/share/applications/katalog.desktop"
login="$XDG_CONFIG_HOME/autostart/katalog.desktop"
cmake --install "$build" --prefix "$HOME/.local" >/dev/null || fail "install failed"
desktop-file-validate "$entry" && desktop-file-validate "$login" || fail "desktop entry not valid"
icons="$HOME/.local/share/icons/hicolor"
[ -f "$icons/48x48/apps/katalog.png" ] && [ -f "$icons/scalable/apps/katalog.svg" ] || fail "no icons"
! readelf -S "$lib/katalog" | grep -q -E '\.symtab|\.debug' || fail "not stripped"
grep -qx 'X-GNOME-Autostart-enabled=true' "$login" || fail "not started at login"
# Switched off in the desktop's startup settings, either way they write it.
for off in Hidden=true X-GNOME-Autostart-enabled=false; do
    sed -i '/^Hidden=/d; /^X-GNOME-Autostart-enabled=/d' "$login" && echo "$off" >>"$login"
    touch -d 2000-01-01 "$login" # else an install in the same second finds it up to date
    cmake --install "$build" --prefix "$HOME/.local" >/dev/null || fail "update failed"
    grep -qx "$off" "$login" && ! grep -qx 'X-GNOME-Autostart-enabled=true' "$login" ||
        fail "an update switched the start at login back on ($off)"
done
pass "installed into ~/.local, stripped, with a valid desktop entry and icons, started at login until switched off"

# runs_panel COMMAND...: the command brings up the panel, which then closes.
runs_panel() {
    "$@" >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    wait_for 10 panel_window || fail "$* showed no panel"
    local pid=$(xdotool getwindowpid "$(panel_window)")
    # Asked through the window manager, which cannot miss as a key can.
    wmctrl -i -c "$(panel_window)"
    wait_for 10 sh -c "! kill -0 $pid" || fail "panel did not close"
}
PATH="$HOME/.local/bin:$PATH" runs_panel katalog
cmp -s "$lib/knw.dll" <({ printf '1\r%.0s' {1..24}; printf '1\r\n'; }) || fail "no store beside the program"
runs_panel gio launch "$entry"
pass "the katalog command and the menu entry start the panel; its store sits beside the program"

(cd "$build" && xargs -d '\n' rm -f <install_manifest.txt)
[ ! -e "$HOME/.local/bin/katalog" ] && [ ! -e "$entry" ] && [ ! -e "$login" ] || fail "uninstall left files"
[ "$(ls -A "$lib")" = knw.dll ] || fail "left beside the store: $(ls -A "$lib")"
pass "the uninstall line removes all but the store"

# Installed for everyone, staged: started at everyone's login, nothing in the home.
home=$(find "$HOME" | sort)
DESTDIR="$E2E_TMP/stage" cmake --install "$build" --prefix /usr/local >/dev/null ||
    fail "staged install failed"
desktop-file-validate "$E2E_TMP/stage/usr/local/etc/xdg/autostart/katalog.desktop" ||
    fail "not started at everyone's login"
[ "$(find "$HOME" | sort)" = "$home" ] || fail "an install for everyone wrote into the home"
pass "an install for everyone starts the panel at every login and leaves the home alone"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installed panel inside a whole XFCE session, as a user meets it: it
# starts at login from its autostart entry, once; it is on every workspace; a
# folder opens in XFCE's own file manager though Caja is installed beside it;
# after a logout that saves the session, the next login brings one panel back.
# Usage: desktop.sh PATH-TO-katalog (in its build folder)
source "$(dirname "$0")/xsession.sh"

command -v startxfce4 >/dev/null || { echo "skipped: no XFCE here"; exit 77; }
E2E_WM=none start_x 1280x800
export HOME="$E2E_TMP/home" GVFS_DISABLE_FUSE=1 # gvfs's FUSE helper cannot mount here
# The session's own folders: xfce4-session would restore a saved session
# from a cache left by another run.
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_STATE_HOME XDG_CURRENT_DESKTOP SESSION_MANAGER
cmake --install "$(dirname "$1")" --prefix "$HOME/.local" >/dev/null || fail "install failed"
program="$HOME/.local/lib/katalog/katalog"
grep -qxF "Exec=\"$program\"" "$HOME/.config/autostart/katalog.desktop" || fail "no autostart entry"

panels() { pgrep -fc "^$program" || true; }
login() {
    setsid dbus-run-session -- startxfce4 >>"$E2E_TMP/session.log" 2>&1 &
    E2E_GROUPS+=($!)
    wait_for 60 panel_window || fail "no panel after login"
    sleep 3 # whatever else the session starts
    [ "$(panels)" = 1 ] || fail "$(panels) panels"
    ! grep 'Unable to launch' "$E2E_TMP/session.log" || fail "a launch failed"
}
logout() {
    env "$(tr '\0' '\n' <"/proc/$(pgrep -f "^$program")/environ" | grep ^DBUS_SESSION_BUS_ADDRESS=)" \
        xfce4-session-logout --logout
    wait_for 20 sh -c "! pgrep -f '^$program'" || fail "the panel outlived the session"
    kill -- "-${E2E_GROUPS[-1]}" 2>/dev/null || true
}

login
pass "started once at login from ~/.config/autostart"

W=$(panel_window)
for desk in 1 2 0; do
    wmctrl -s "$desk" && sleep 0.5
    xwininfo -id "$W" | grep -q IsViewable || fail "not on workspace $desk"
    geometry "$W"
    [ "$wx,$wy" = "683,127" ] || fail "at $wx,$wy on workspace $desk"
done
pass "on every workspace, at its place"

folder="$HOME/Папка"
mkdir -p "$folder"
write_store "$HOME/.local/lib/katalog/knw.dll" "$folder" " Папка"
# The panel takes up the outside edit within a second or so, more on a busy
# machine: a click before it opens nothing, and the next one is tried.
opened() { xdotool search --name '^Папка - Thunar$'; }
for try in 1 2 3 4 5; do
    xdotool mousemove "$slot_x" "$(slot_y 1)" click 1
    wait_for 8 opened && break
done
opened >/dev/null || fail "no Thunar window on the folder"
! pgrep -s "${E2E_GROUPS[-1]}" -x caja >/dev/null || fail "Caja started"
pass "a folder opens in Thunar, XFCE's file manager, with Caja installed"

logout
login
pass "one panel again at the next login, with no launch error"

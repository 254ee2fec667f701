#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The X server killed under the running panel. With a compositor's socket
# that takes connections (the session goes on, as when a compositor starts
# its XWayland again), the same process comes back once the display answers:
# at its place, above, its store untouched. Once the compositor has gone
# too, or with no compositor at all, it ends.
# Usage: displayloss.sh PATH-TO-katalog
source "$(dirname "$0")/xsession.sh"

start_x
xvfb=${E2E_PIDS[0]} # the first it starts
app=$(install_panel "$1")
write_store "$app/knw.dll" /etc etc /tmp tmp
cp "$app/knw.dll" "$E2E_TMP/store"
# start_compositor NAME: a socket that stands for a Wayland compositor.
start_compositor() {
    export WAYLAND_DISPLAY=$1
    python3 -c 'import socket, sys
s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen(8)
while True: s.accept()[0].close()' "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" &
    compositor=$!
    E2E_PIDS+=($!)
    wait_for 5 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || fail "no compositor socket"
}
start_compositor wayland-e2e
exec 7<"$E2E_TMP/store" # a descriptor the panel inherits, not for the program it runs again
start_panel "$app"
panel=$PANEL_PID

kill -KILL "$xvfb"
sleep 1
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp 2>>"$E2E_TMP/xvfb.log" &
xvfb=$!
E2E_PIDS+=($!)
wait_for 10 xdpyinfo || fail "Xvfb did not start again"
start_wm || start_wm || fail "no window manager again"
wait_for 5 panel_window || fail "the panel did not come back: $(tail -n 3 "$E2E_TMP/panel.log")"
W=$(panel_window)
geometry "$W"
[ "$wx,$wy" = "683,127" ] || fail "back at $wx,$wy"
wait_for 5 sh -c "xprop -id $W _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE" || fail "not above"
kill -0 "$panel" && cmp -s "$app/knw.dll" "$E2E_TMP/store" || fail "another process, or the store changed"
grep -q "answers again: starting again" "$E2E_TMP/panel.log" || fail "not told"
! find "/proc/$panel/fd" -lname "$E2E_TMP/store" | grep -q . || fail "a descriptor passed on"
[ "$(cat "/proc/$panel/comm")" = katalog ] || fail "run again as $(cat "/proc/$panel/comm")"
pass "back by itself at (683, 127), above, its store untouched"

kill "$compositor"
kill -KILL "$xvfb"
wait_for 3 sh -c "! kill -0 $panel" || fail "still running without a session"
pass "ends with the compositor and the display"

# A logout's SIGTERM while the display is away ends it at once.
first=${#E2E_PIDS[@]}
start_x
start_compositor wayland-e2e-2
start_panel "$app"
kill -KILL "${E2E_PIDS[first]}"
sleep 1
kill -TERM "$PANEL_PID"
wait_for 2 sh -c "! kill -0 $PANEL_PID" || fail "SIGTERM did not end it while it waited"
kill "$compositor"
pass "SIGTERM ends it while it waits for the display"

first=${#E2E_PIDS[@]}
unset WAYLAND_DISPLAY
start_x # an X11 session: its server is the session
start_panel "$app"
kill -KILL "${E2E_PIDS[first]}"
wait_for 3 sh -c "! kill -0 $PANEL_PID" || fail "still running without its X server"
[ "$(grep -c "broke off with the session: ending" "$E2E_TMP/panel.log")" = 2 ] || fail "not told"
pass "ends at once with its X server"

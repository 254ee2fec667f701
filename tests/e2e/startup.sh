#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The built program under Xvfb and openbox, looked at from outside: its window,
# a second start, Help and About, closing.
# Usage: startup.sh PATH-TO-katalog
source "$(dirname "$0")/xsession.sh"

start_x
app=$(install_panel "$1")
start_panel "$app"
W=$(panel_window)
panel=$PANEL_PID
wait_for 5 sh -c "xprop -id $W _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE" || fail "not above"
! xprop -id "$W" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "no taskbar entry"
geometry "$W"
[ "$wx,$wy,$ww,$wh" = "683,127,81,523" ] || fail "client area $wx,$wy,$ww,$wh"
# Started from the test's folder, it works in "/", as the programs it starts do.
[ "$(readlink "/proc/$panel/cwd")" = / ] || fail "working folder $(readlink "/proc/$panel/cwd")"
[ "$(xprop -id "$W" WM_NORMAL_HINTS | grep -c -E '(minimum|maximum) size: 81 by 523')" = 2 ] ||
    fail "resizable: $(xprop -id "$W" WM_NORMAL_HINTS)"
# Motif hints: no iconify (0x8) or maximize (0x10) function, no minimize (0x20)
# or maximize (0x40) button (openbox draws its own regardless).
IFS=', ' read -r _ _ _ functions decorations _ <<<"$(xprop -id "$W" _MOTIF_WM_HINTS)"
(((functions & 0x18) == 0 && (decorations & 0x60) == 0 && (functions & 0x20))) ||
    fail "motif hints: $functions $decorations"
pass "fixed 81 x 523 at (683, 127), above others, in the taskbar"

# On every workspace, and back there when the window manager moves it to one.
everywhere() { xprop -id "$W" _NET_WM_DESKTOP | grep -q '= 4294967295$'; }
wait_for 5 everywhere || fail "not on every workspace: $(xprop -id "$W" _NET_WM_DESKTOP)"
xprop -spy -id "$W" _NET_WM_DESKTOP >"$E2E_TMP/workspaces" 2>&1 &
E2E_PIDS+=($!)
wait_for 5 test -s "$E2E_TMP/workspaces" || fail "no watch on the workspace"
# Asked until the manager moves it (a request while it settles may be lost).
moved() { grep -q '= 1$' "$E2E_TMP/workspaces" || { wmctrl -i -r "$W" -t 1 && false; }; }
wait_for 5 moved || fail "the window manager did not move it to workspace 2"
back() { sed -n '/= 1$/,$p' "$E2E_TMP/workspaces" | grep -q '= 4294967295$'; }
wait_for 5 back || fail "moved to workspace 2 and left there: $(cat "$E2E_TMP/workspaces")"
pass "on every workspace, and back on all of them after a move to one"

# Sampled once the panel has painted: a mapped window is black until then.
painted() { screenshot && [ "$(pixel 695 183)" = "255,255,192" ]; }
wait_for 5 painted || fail "slot 1 not painted"
[ "$(pixel 685 427)" = "0,0,0" ] && [ "$(pixel 743 327)" = "0,0,0" ] || fail "ground or letter row"
for top in 171 361 589; do [ "$(pixel 695 $((top + 12)))" = "255,255,192" ] || fail "slot at $top"; done
not_panel 699 637 || fail "no eraser"
pass "black ground, light-yellow slots, the eraser, no letter row"

# A second start from the same folder brings the running panel to the front
# and ends at once; the lock leaves nothing beside the store to clear out.
[ "$(ls "$app")" = "$(printf 'katalog\nkatalog-probe\nknw.dll')" ] || fail "files beside the store: $(ls "$app")"
before=$(stat -c %Y.%s "$app/knw.dll")
xmessage -geometry +600+300 other >/dev/null 2>&1 &
E2E_PIDS+=($!)
wait_for 5 xdotool search --name '^xmessage$' || fail "no other window"
xdotool windowactivate --sync "$(xdotool search --name '^xmessage$' | head -n1)"
t0=$SECONDS
timeout 10 "$app/katalog" >"$E2E_TMP/second.log" 2>&1 || fail "second start ended with $?"
[ $((SECONDS - t0)) -le 3 ] || fail "second start took $((SECONDS - t0)) s"
active() { [ "$(xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*' | xargs printf '%d')" = "$W" ]; }
wait_for 3 active || fail "the running panel is not the active window"
[ "$(xdotool search --name '^КаталогOrlanta$' | wc -l)" = 1 ] || fail "the second start opened a window"
[ "$(stat -c %Y.%s "$app/knw.dll")" = "$before" ] && kill -0 "$panel" || fail "store or first panel"
pass "a second start exits 0 at once and brings the running panel to the front"

# --replace: the running panel closes and the new one takes its place.
"$app/katalog" --replace >>"$E2E_TMP/panel.log" 2>&1 &
replacement=$!
E2E_PIDS+=($replacement)
wait_for 10 sh -c "! kill -0 $panel" || fail "the running panel did not close"
wait_for 10 panel_window || fail "no window of the new panel"
kill -0 "$replacement" && [ "$(stat -c %Y.%s "$app/knw.dll")" = "$before" ] || fail "new panel or store"
W=$(panel_window) panel=$replacement
pass "--replace: the running panel makes way for the new one, store untouched"

# About, then Help (which covers that part of the panel), from the menu.
for item in "Down Down Down" "Down Down"; do
    xdotool mousemove 686 427 click 3 sleep 0.4 key $item Return sleep 0.4
done
wait_for 5 xdotool search --name '^О проге$' || fail "no About window"
wait_for 5 xdotool search --name '^Справка$' || fail "no Help window"
help=$(xdotool search --name '^Справка$' | head -n1)
xprop -id "$help" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "Help in the taskbar"
! xprop -id "$(xdotool search --name '^О проге$' | head -n1)" _NET_WM_STATE |
    grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "About not in the taskbar"
wait_for 5 covered_by_window '^Справка$' || fail "Help is under the panel"
pass "Help (above the panel, no taskbar entry) and About (in the taskbar) open from the menu"

xdotool windowactivate --sync "$W" key alt+F4
wait_for 10 sh -c "! kill -0 $panel" || fail "closing did not end the program"
pass "closing the window ends the program, Help and About with it"


# A fractional scale is drawn at the nearest whole one, so every slot keeps
# whole, even pixels: at 1.25 and at MATE's 100 dpi (1.04) the panel is 1x.
# A scale at which the panel would not fit the screen is lowered until it does.
for setting in QT_SCALE_FACTOR=1.25 Xft.dpi:100 QT_SCALE_FACTOR=2 Xft.dpi:192; do
    case $setting in
    Xft.*) echo "$setting" | xrdb -merge ;;
    *) export "${setting?}" ;;
    esac
    start_panel "$app"
    unset QT_SCALE_FACTOR
    geometry "$(panel_window)"
    [ "$ww,$wh" = "81,523" ] || fail "$ww x $wh at $setting"
    wmctrl -i -c "$(panel_window)"
    wait_for 10 sh -c "! kill -0 $PANEL_PID" || fail "did not close"
done
xrdb -remove
pass "drawn at 1x for scale 1.25 and for 100 dpi, and on a 768-px screen for 2 and 192 dpi"

# The session bus may go away and come back (GLib would end the panel with
# it; the GTK theme of a GTK desktop connects to it); SIGTERM then closes the
# panel as its close box does, its socket removed.
bus="unix:path=$E2E_TMP/bus"
restart_bus() { dbus-daemon --session --address="$bus" --print-pid --fork >"$E2E_TMP/bus.pid"; }
restart_bus
DBUS_SESSION_BUS_ADDRESS=$bus XDG_CURRENT_DESKTOP=XFCE start_panel "$app"
sleep 1
for round in 1 2; do
    kill "$(cat "$E2E_TMP/bus.pid")" && sleep 1.5
    kill -0 "$PANEL_PID" || fail "the panel ended with the session bus ($round)"
    restart_bus && sleep 2.5 # it connects again within about two seconds
done
kill "$(cat "$E2E_TMP/bus.pid")"
ls "$XDG_RUNTIME_DIR" | grep -q '^katalog-' || fail "no socket"
kill -TERM "$PANEL_PID"
wait_for 5 sh -c "! kill -0 $PANEL_PID" || fail "SIGTERM did not close the panel"
! ls "$XDG_RUNTIME_DIR" | grep -q '^katalog-' || fail "SIGTERM left the socket"
pass "outlives its session bus twice; SIGTERM closes it and removes its socket"

# A platform Qt has no plugin for still starts the panel, on X11; a program
# it starts gets the user's own settings, the scale the panel rounded too.
printf '#!/bin/sh\nprintf "%%s %%s" "$QT_QPA_PLATFORM" "$QT_SCALE_FACTOR" >"%s"\n' "$E2E_TMP/platform" >"$E2E_TMP/record"
chmod +x "$E2E_TMP/record"
write_store "$app/knw.dll" "$E2E_TMP/record" record
QT_QPA_PLATFORM=wayland QT_SCALE_FACTOR=1.25 start_panel "$app"
xdotool mousemove "$slot_x" "$(slot_y 1)" click 1
wait_for 5 test -e "$E2E_TMP/platform" || fail "the slot's program did not start"
[ "$(cat "$E2E_TMP/platform")" = "wayland 1.25" ] ||
    fail "it got QT_QPA_PLATFORM and QT_SCALE_FACTOR $(cat "$E2E_TMP/platform")"
grep -q 'no platform plugin for QT_QPA_PLATFORM=wayland' "$E2E_TMP/panel.log" || fail "not told"
wmctrl -i -c "$(panel_window)"
wait_for 10 sh -c "! kill -0 $PANEL_PID" || fail "did not close"
pass "QT_QPA_PLATFORM=wayland without Qt's Wayland plugin: the panel starts, its programs get wayland and QT_SCALE_FACTOR=1.25"

# The frame the window manager announces counts: at 2 the panel alone would
# fit a screen 1050 px high, with its frame it does not.
start_x 300x1050
QT_SCALE_FACTOR=2 start_panel "$app"
geometry "$(panel_window)"
[ "$ww,$wh" = "81,523" ] || fail "$ww x $wh at 2 on a 1050-px screen"
pass "drawn at 1x where at 2 the frame would not fit"

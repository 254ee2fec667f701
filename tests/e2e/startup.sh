#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The built program under Xvfb and openbox, looked at from outside.
# Usage: startup.sh PATH-TO-katalog
source "$(dirname "$0")/xsession.sh"

start_x
app=$(install_panel "$1")
"$app/katalog" >"$E2E_TMP/panel.log" 2>&1 &
panel=$!
E2E_PIDS+=($panel)

wait_for 10 panel_window || fail "no panel window"
W=$(panel_window)
sleep 0.5 # let the window manager settle its frame

title=$(xprop -id "$W" _NET_WM_NAME)
[[ "$title" == *'"КаталогOrlanta"'* ]] || fail "title: $title"
pass "title"

info=$(xwininfo -id "$W")
grep -q 'Absolute upper-left X:  683$' <<<"$info" || fail "x: $info"
grep -q 'Absolute upper-left Y:  127$' <<<"$info" || fail "y: $info"
grep -q 'Width: 81$' <<<"$info" || fail "width: $info"
grep -q 'Height: 523$' <<<"$info" || fail "height: $info"
pass "client area 81 x 523 at (683, 127)"

hints=$(xprop -id "$W" WM_NORMAL_HINTS)
grep -q 'minimum size: 81 by 523' <<<"$hints" && grep -q 'maximum size: 81 by 523' <<<"$hints" \
    || fail "resizable: $hints"
pass "not resizable"

# Motif hints: functions without iconify (0x8) or maximize (0x10), decorations
# without the minimize (0x20) or maximize (0x40) button. (openbox draws its
# buttons regardless, by its own policy; other window managers follow these.)
IFS=', ' read -r _ _ flags functions decorations _ <<<"$(xprop -id "$W" _MOTIF_WM_HINTS)"
(( (functions & 0x18) == 0 && (decorations & 0x60) == 0 && (functions & 0x20) )) \
    || fail "motif hints: $functions $decorations"
pass "close box, no minimize or maximize"

state=$(xprop -id "$W" _NET_WM_STATE)
grep -q _NET_WM_STATE_ABOVE <<<"$state" || fail "not above: $state"
! grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$state" || fail "no taskbar entry"
pass "kept above other windows, with a taskbar entry"

{ printf '1\r%.0s' {1..24}; printf '1\r\n'; } >"$E2E_TMP/default.dll"
cmp "$app/knw.dll" "$E2E_TMP/default.dll" || fail "knw.dll: $(od -c "$app/knw.dll")"
pass "knw.dll holds the 51 default bytes"

# Another window opened later over the panel's place must stay below it.
xmessage -geometry 300x600+600+50 "другое окно" &
E2E_PIDS+=($!)
wait_for 10 xdotool search --name '^xmessage$' || fail "no other window"
sleep 0.5
screenshot
x=683; y=127
[ "$(pixel $((x + 2)) $((y + 300)))" = "0,0,0" ] || fail "ground: $(pixel $((x + 2)) $((y + 300)))"
[ "$(pixel $((x + 60)) $((y + 200)))" = "0,0,0" ] || fail "letter row shown"
for k in 1 6 12; do
    top=$((y + 44 + 38 * (k - 1)))
    [ "$(pixel $((x + 12)) $((top + 12)))" = "255,255,192" ] \
        || fail "slot $k face: $(pixel $((x + 12)) $((top + 12)))"
done
eraser=$(pixel $((x + 16)) $((y + 510)))
[ "$eraser" != "0,0,0" ] && [ "$eraser" != "255,255,192" ] || fail "eraser: $eraser"
pass "black ground, light-yellow slots, eraser, no letter row, above another window"

# A second panel from the same folder says so and leaves the store alone,
# whatever the user cleared out of the folder.
find "$app" -type f ! -name katalog ! -name knw.dll -delete
[ "$(ls "$app")" = "$(printf 'katalog\nknw.dll')" ] || fail "files beside the store: $(ls "$app")"
before=$(stat -c %Y.%s "$app/knw.dll")
"$app/katalog" >"$E2E_TMP/second.log" 2>&1 &
second=$!
E2E_PIDS+=($second)
wait_for 10 sh -c '[ "$(xdotool search --name "^КаталогOrlanta$" | wc -l)" -ge 2 ]' \
    || fail "second start showed no message"
for w in $(xdotool search --name '^КаталогOrlanta$'); do
    [ "$w" = "$W" ] || xdotool windowactivate --sync "$w" key Return
done
wait_for 10 sh -c "! kill -0 $second" || fail "second panel still running"
[ "$(stat -c %Y.%s "$app/knw.dll")" = "$before" ] || fail "second panel touched the store"
kill -0 "$panel" || fail "first panel died"
pass "second panel refused"

# About, then Help (which covers that part of the panel) from the menu.
for item in "Down Down Down" "Down Down"; do
    xdotool mousemove $((x + 3)) $((y + 300)) click 3
    sleep 0.4
    xdotool key $item Return
    sleep 0.4
done
wait_for 5 xdotool search --name '^Справка$' || fail "no Help window"
wait_for 5 xdotool search --name '^О проге$' || fail "no About window"
help=$(xdotool search --name '^Справка$' | head -n1)
xprop -id "$help" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "Help in the taskbar"
about=$(xdotool search --name '^О проге$' | head -n1)
! xprop -id "$about" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "About not in the taskbar"
covered_by_window '^Справка$' 683 127 81 523 || fail "Help is under the panel"
pass "Help (above the panel, no taskbar entry) and About (taskbar entry) open from the menu"

xdotool windowactivate --sync "$W" key alt+F4
wait_for 10 sh -c "! kill -0 $panel" || fail "closing did not end the program"
pass "closing the window ends the program, Help and About with it"

# A screen too small for the stored place: moved up just enough to show all.
start_x 1024x600
small=$(install_panel "$1")
"$small/katalog" >"$E2E_TMP/small.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 panel_window || fail "no panel on the small screen"
sleep 0.5
info=$(xwininfo -id "$(panel_window)")
grep -q 'Absolute upper-left X:  683$' <<<"$info" || fail "moved sideways: $info"
top=$(sed -n 's/ *Absolute upper-left Y: *//p' <<<"$info")
[ "$top" -lt 127 ] && [ $((top + 523)) -le 600 ] && [ $((top + 523)) -ge 595 ] || fail "top $top"
screenshot
eraser=$(pixel $((683 + 16)) $((top + 510)))
[ "$eraser" != "0,0,0" ] && [ "$eraser" != "255,255,192" ] || fail "no eraser: $eraser"
pass "on a 1024 x 600 screen the panel moves up just enough to show slot 12 and the eraser"

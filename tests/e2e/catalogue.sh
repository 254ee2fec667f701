#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The context menu and a catalogue, from creation to a letter, with real X
# input. Usage: catalogue.sh PATH-TO-katalog PATH-TO-e2e_dragsource
source "$(dirname "$0")/xsession.sh"

start_x
recording_desktop
app=$(install_panel "$1")
"$app/katalog" >"$E2E_TMP/panel.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 panel_window || fail "no panel window"
sleep 0.5

x=683; y=127
slot_x=$((x + 26)); slot_y=$((y + 120 + 18))
black_beside_slot3() { screenshot; [ "$(pixel $((x + 70)) $((slot_y + 15)))" = "0,0,0" ]; }

black_beside_slot3 || fail "panel not as expected before the menu"
xdotool mousemove "$slot_x" "$slot_y" click 3
sleep 0.5
! black_beside_slot3 || fail "a right click on a slot showed no menu"
xdotool key Escape
sleep 0.3
black_beside_slot3 || fail "the menu did not close"
[ "$(opened_count)" -eq 0 ] || fail "a right click launched: $(cat "$E2E_TMP/opened")"
pass "a right click on a slot shows the menu and launches nothing"

# The menu from the keyboard on the focused slot, its first item, the dialog,
# the message: each above the panel.
xdotool windowactivate --sync "$(panel_window)"
xdotool key Menu
sleep 0.5
xdotool key Down Return
wait_for 10 xdotool search --name '^Создание и сохранение каталога$' || fail "no save dialog"
sleep 0.5
covered_by_window '^Создание и сохранение каталога$' 683 127 81 523 || fail "the dialog is under the panel"
xdotool type --delay 20 "$E2E_TMP/Books"
sleep 0.3
xdotool key Return
wait_for 10 xdotool search --name '^Все исполненно$' || fail "no completion message"
[ -d "$E2E_TMP/Books/К" ] && [ "$(ls "$E2E_TMP/Books" | wc -l)" -eq 28 ] || fail "catalogue not made"
sleep 0.3
covered_by_window '^Все исполненно$' 683 127 81 523 || fail "the message is under the panel"
xdotool key Return
wait_for 5 sh -c "! xdotool search --name '^Все исполненно$'" || fail "message did not close"
pass "the Menu key, the dialog and the message, above the panel, create a catalogue"

"$2" "$E2E_TMP/Books" >"$E2E_TMP/source.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 xdotool search --name '^drag source$' || fail "no drag source"
sleep 0.5
drag 200 175 "$slot_x" "$slot_y"
stored() { iconv -f CP1251 -t UTF-8 "$app/knw.dll" | sed -n 4p | tr -d '\r' | grep -qx "$E2E_TMP/Books"; }
wait_for 5 stored || fail "catalogue not stored on slot 3"

xdotool mousemove "$slot_x" "$slot_y" click 1
sleep 0.5
screenshot
[ "$(pixel $((x + 45 + 15)) $((y + 42 + 4 + 10)))" != "0,0,0" ] || fail "no letter row"
[ "$(opened_count)" -eq 0 ] || fail "a catalogue click opened: $(cat "$E2E_TMP/opened")"
pass "a click on the catalogue's slot shows the letter row"

xdotool mousemove $((x + 45 + 15)) $((y + 42 + 148 + 10)) click 1
wait_for 5 sh -c "[ -s '$E2E_TMP/opened' ]" || fail "К opened nothing"
[ "$(cat "$E2E_TMP/opened")" = "$E2E_TMP/Books/К" ] || fail "opened: $(cat "$E2E_TMP/opened")"
pass "the tile К makes the desktop open the catalogue's К folder"

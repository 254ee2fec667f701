#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Slots driven with real X input: a file dragged from another X client, a
# click that makes the desktop open a folder, the lock, and the eraser.
# Usage: slots.sh PATH-TO-katalog PATH-TO-e2e_dragsource
source "$(dirname "$0")/xsession.sh"

start_x
recording_desktop
app=$(install_panel "$1")
folder="$E2E_TMP/Мои книги"
mkdir -p "$folder"
"$app/katalog" >"$E2E_TMP/panel.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 panel_window || fail "no panel window"
"$2" "$folder" >"$E2E_TMP/source.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 xdotool search --name '^drag source$' || fail "no drag source"
sleep 0.5

# Slot 3's middle, and the eraser's, on the screen.
slot_x=$((683 + 8 + 18)); slot_y=$((127 + 120 + 18))
eraser_x=$((683 + 10 + 12)); eraser_y=$((127 + 498 + 12))

store_line() { iconv -f CP1251 -t UTF-8 "$app/knw.dll" | sed -n "$1p" | tr -d '\r'; }
has_folder() { [ "$(store_line 4)" = "$folder" ] && [ "$(store_line 16)" = " Мои книги" ]; }

drag 200 175 "$slot_x" "$slot_y"
wait_for 5 has_folder || fail "drop not stored: $(od -c "$app/knw.dll" | head -20)"
pass "a folder dragged from another X client is stored on slot 3"

xdotool mousemove "$slot_x" "$slot_y" click 1
wait_for 5 sh -c "[ \$(cat '$E2E_TMP/opened' 2>/dev/null | wc -l) -ge 1 ]" || fail "click opened nothing"
[ "$(head -n1 "$E2E_TMP/opened")" = "$folder" ] || fail "opened: $(cat "$E2E_TMP/opened")"
pass "a click makes the desktop open the folder"

sleep 0.2
xdotool click 1
sleep 1.5
[ "$(opened_count)" -eq 1 ] || fail "a click during the lock opened again"
xdotool click 1
wait_for 5 sh -c "[ \$(wc -l < '$E2E_TMP/opened') -eq 2 ]" || fail "no open after the lock"
pass "a second click within the second does nothing; after it, a click opens again"

sleep 1.2
drag "$eraser_x" "$eraser_y" "$slot_x" "$slot_y"
cleared() { [ "$(store_line 4)" = 1 ]; }
wait_for 5 cleared || fail "eraser did not clear"
[ "$(store_line 16)" = 1 ] || fail "caption not cleared"
pass "the eraser dragged onto the slot empties it"

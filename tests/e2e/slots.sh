#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Slots driven with real X input: names outside Windows-1251 dragged from a
# real file manager, clicks and keys that make the desktop open them, the
# lock, another program's eraser, the panel's own eraser, and a restart.
# Usage: slots.sh PATH-TO-katalog PATH-TO-e2e_dragsource
source "$(dirname "$0")/xsession.sh"
export LC_ALL=C.UTF-8

start_x
recording_desktop
app=$(install_panel "$1")
names="$E2E_TMP/names"
mkdir -p "$names/数据" "$XDG_CONFIG_HOME/pcmanfm/default"
: >"$names/Café résumé.pdf"
printf '[ui]\nview_mode=list\n' >"$XDG_CONFIG_HOME/pcmanfm/default/pcmanfm.conf"

start_panel() {
    "$app/katalog" >>"$E2E_TMP/panel.log" 2>&1 &
    PANEL_PID=$!
    E2E_PIDS+=($PANEL_PID)
    wait_for 10 panel_window || fail "no panel window"
}
start_panel
pcmanfm --no-desktop "$names" >"$E2E_TMP/pcmanfm.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 xdotool search --name '^names$' || fail "no file manager window"
sleep 1
eval "$(xwininfo -id "$(xdotool search --name '^names$' | head -n1)" |
    sed -n 's/ *Absolute upper-left X: */fm_x=/p; s/ *Absolute upper-left Y: */fm_y=/p')"
# The list view's rows, folders first: 数据, then the document.
row_x=$((fm_x + 200)); folder_y=$((fm_y + 106)); file_y=$((fm_y + 134))

slot_x=$((683 + 8 + 18))
slot_y() { echo $((127 + 44 + 38 * ($1 - 1) + 18)); }
eraser_x=$((683 + 10 + 12)); eraser_y=$((127 + 498 + 12))

# Store line n holds entry n - 1, as bytes: 0x98 and UTF-8 for what Windows-1251 lacks.
store_line() { sed -n "$1p" "$app/knw.dll" | tr -d '\r'; }
folder_bytes="$names/"$'\x98\xe6\x95\xb0\x98\xe6\x8d\xae'
file_bytes="$names/Caf"$'\x98\xc3\xa9'" r"$'\x98\xc3\xa9'"sum"$'\x98\xc3\xa9'".pdf"
stored() { [ "$(store_line 6)" = "$folder_bytes" ] && [ "$(store_line 5)" = "$file_bytes" ]; }
opened_last() { [ "$(tail -n1 "$E2E_TMP/opened" 2>/dev/null)" = "$1" ]; }
slot_face() { convert "$E2E_TMP/shot.png" -crop "32x32+$((slot_x - 16))+$(($(slot_y "$1") - 16))" rgb:- | md5sum; }

drag "$row_x" "$folder_y" "$slot_x" "$(slot_y 5)"
drag "$row_x" "$file_y" "$slot_x" "$(slot_y 4)"
wait_for 5 stored || fail "drops not stored: $(od -c "$app/knw.dll" | head -20)"
pass "a folder 数据 and a file Café résumé.pdf dragged from pcmanfm are stored"

xdotool mousemove "$slot_x" "$(slot_y 5)" click 1
wait_for 5 opened_last "$names/数据" || fail "click opened: $(cat "$E2E_TMP/opened" 2>/dev/null)"
xdotool mousemove "$slot_x" "$(slot_y 4)" click 1
wait_for 5 opened_last "$names/Café résumé.pdf" || fail "opened: $(cat "$E2E_TMP/opened")"
pass "a click on each makes the desktop open it"

sleep 0.2
xdotool click 1
sleep 1.5
[ "$(opened_count)" -eq 2 ] || fail "a click during the lock opened again"
pass "a second click within the second does nothing"

# The mouse click left the focus on slot 4; Space twice opens it once.
xdotool key space; sleep 0.2; xdotool key space
sleep 1.5
[ "$(opened_count)" -eq 3 ] && opened_last "$names/Café résumé.pdf" ||
    fail "Space twice opened: $(cat "$E2E_TMP/opened")"
xdotool key Return
wait_for 5 sh -c "[ \$(wc -l < '$E2E_TMP/opened') -eq 4 ]" || fail "Enter after the lock opened nothing"
opened_last "$names/Café résumé.pdf" || fail "Enter opened: $(tail -n1 "$E2E_TMP/opened")"
pass "Space twice opens once and keeps the focus; Enter after the lock opens again"

sleep 1.2 # the lock ends, the slot drawn as usual
"$2" --eraser >"$E2E_TMP/source.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 xdotool search --name '^drag source$' || fail "no drag source"
sleep 0.5
screenshot; before=$(slot_face 4)
store_before=$(md5sum <"$app/knw.dll")
drag 200 175 "$slot_x" "$(slot_y 4)"
sleep 0.5
screenshot
[ "$(slot_face 4)" = "$before" ] || fail "another program's eraser changed the slot's picture"
[ "$(md5sum <"$app/knw.dll")" = "$store_before" ] || fail "another program's eraser changed the store"
pass "another program's drag of the eraser's type is refused"

drag "$eraser_x" "$eraser_y" "$slot_x" "$(slot_y 4)"
cleared() { [ "$(store_line 5)" = 1 ] && [ "$(store_line 17)" = 1 ]; }
wait_for 5 cleared || fail "eraser did not clear"
pass "the panel's own eraser dragged onto the slot empties it"

kill "$PANEL_PID"; wait "$PANEL_PID" 2>/dev/null || true
start_panel
sleep 1.2
xdotool mousemove "$slot_x" "$(slot_y 5)" click 1
wait_for 5 sh -c "[ \$(wc -l < '$E2E_TMP/opened') -eq 5 ]" || fail "no open after the restart"
opened_last "$names/数据" || fail "after the restart opened: $(tail -n1 "$E2E_TMP/opened")"
pass "after a restart the folder 数据 is still on its slot and opens"

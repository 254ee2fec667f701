#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The context menu and a catalogue, from creation to a letter, with real X
# input. Usage: catalogue.sh PATH-TO-katalog
source "$(dirname "$0")/xsession.sh"

start_x
recording_desktop
app=$(install_panel "$1")
start_panel "$app"

# The menu from the keyboard on the focused slot, its first item, the dialog
# and the message, each above the panel.
ask_for_dialog() {
    xdotool windowactivate --sync "$(panel_window)" sleep 0.5 key Menu sleep 0.5 key Down Return
    wait_for 10 xdotool search --name '^Создание и сохранение каталога$'
}
# A loaded machine may lose the keys while marco hands over the focus.
ask_for_dialog || ask_for_dialog || fail "no save dialog"
wait_for 5 covered_by_window '^Создание и сохранение каталога$' || fail "dialog under the panel"
# Centred, frame and all, on the 1024 x 768 screen.
D=$(xdotool search --name '^Создание и сохранение каталога$' | head -n 1)
wait_for 5 sh -c "xprop -id $D _NET_FRAME_EXTENTS | grep -q =" || fail "the dialog has no frame"
read -r l r t b < <(xprop -id "$D" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
geometry "$D"
dx=$((wx - l + (ww + l + r) / 2 - 512)) dy=$((wy - t + (wh + t + b) / 2 - 384))
[ "${dx#-}" -le 4 ] && [ "${dy#-}" -le 4 ] || fail "the dialog's centre is $dx, $dy off the screen's"
xdotool type --delay 20 "$E2E_TMP/Books"
xdotool sleep 0.3 key Return
wait_for 10 xdotool search --name '^Все исполненно$' || fail "no completion message"
[ -d "$E2E_TMP/Books/К" ] && [ "$(ls "$E2E_TMP/Books" | wc -l)" -eq 28 ] || fail "catalogue not made"
wait_for 5 covered_by_window '^Все исполненно$' || fail "the message is under the panel"
xdotool key Return
wait_for 5 sh -c "! xdotool search --name '^Все исполненно$'" || fail "message did not close"
pass "the Menu key, the dialog (centred) and the message, above the panel, create a catalogue"

# The catalogue on slot 3, as a drop would store it (drops are tried with a
# real file manager elsewhere), and the panel started on it.
kill "$PANEL_PID"
wait_for 5 sh -c "! kill -0 $PANEL_PID"
write_store "$app/knw.dll" 1 1 1 1 "$E2E_TMP/Books" " Books"
start_panel "$app"
xdotool mousemove "$slot_x" "$(slot_y 3)" click 1
row_shown() { screenshot; not_panel 743 183; } # the tile А
wait_for 5 row_shown || fail "no letter row"
[ "$(opened_count)" -eq 0 ] || fail "a catalogue click opened: $(cat "$E2E_TMP/opened")"
pass "a click on the catalogue's slot shows the letter row"

xdotool mousemove 743 327 click 1 # the tile К
opened 1 "$E2E_TMP/Books/К" || fail "opened: $(cat "$E2E_TMP/opened" 2>/dev/null)"
pass "the tile К makes the desktop open the catalogue's К folder"

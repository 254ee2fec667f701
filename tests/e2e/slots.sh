#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Slots driven with real X input: names outside Windows-1251 dragged from a
# real file manager, clicks that make the desktop open them, the lock, and
# the eraser.
# Usage: slots.sh PATH-TO-katalog
source "$(dirname "$0")/xsession.sh"
export LC_ALL=C.UTF-8

start_x
recording_desktop
app=$(install_panel "$1")
names="$E2E_TMP/names"
mkdir -p "$names/数据" "$XDG_CONFIG_HOME/pcmanfm/default"
: >"$names/Café résumé.pdf"
printf '[ui]\nview_mode=list\n' >"$XDG_CONFIG_HOME/pcmanfm/default/pcmanfm.conf"
start_panel "$app"
pcmanfm --no-desktop "$names" >"$E2E_TMP/pcmanfm.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 xdotool search --name '^names$' || fail "no file manager window"
sleep 1
geometry "$(xdotool search --name '^names$' | head -n1)"
# The list view's rows, folders first: 数据, then the document.
row_x=$((wx + 200)) folder_y=$((wy + 106)) file_y=$((wy + 134))

# Store line n holds entry n - 1, as bytes: 0x98 and UTF-8 for what
# Windows-1251 lacks.
line() { sed -n "$1p" "$app/knw.dll" | tr -d '\r'; }
folder="$names/数据" file="$names/Café résumé.pdf"
stored() {
    [ "$(line 6)" = "$names/"$'\x98\xe6\x95\xb0\x98\xe6\x8d\xae' ] &&
        [ "$(line 5)" = "$names/Caf"$'\x98\xc3\xa9'" r"$'\x98\xc3\xa9'"sum"$'\x98\xc3\xa9'".pdf" ]
}

drag "$row_x" "$folder_y" "$slot_x" "$(slot_y 5)"
drag "$row_x" "$file_y" "$slot_x" "$(slot_y 4)"
wait_for 5 stored || fail "drops not stored: $(od -c "$app/knw.dll" | head -20)"
pass "a folder 数据 and a file Café résumé.pdf dragged from pcmanfm are stored"

xdotool mousemove "$slot_x" "$(slot_y 5)" click 1
opened 1 "$folder" || fail "click opened: $(cat "$E2E_TMP/opened" 2>/dev/null)"
xdotool mousemove "$slot_x" "$(slot_y 4)" click 1 sleep 0.2 click 1
opened 2 "$file" || fail "opened: $(cat "$E2E_TMP/opened")"
pass "a click on each makes the desktop open it; a second click within the lock does nothing"

sleep 1.2 # the lock ends
drag "$eraser_x" "$eraser_y" "$slot_x" "$(slot_y 4)"
cleared() { [ "$(line 5)" = 1 ] && [ "$(line 17)" = 1 ]; }
wait_for 5 cleared || fail "eraser did not clear"
pass "the panel's own eraser empties the slot"


# From the keyboard: the file manager's Copy, then Ctrl+V on slot 3 (focused
# by a right-click, its menu closed with Escape); Enter held opens it once;
# Delete empties it.
xdotool mousemove "$row_x" "$file_y" click 1 sleep 0.3 key ctrl+c sleep 0.3
xdotool mousemove "$slot_x" "$(slot_y 3)" click 3 sleep 0.5 key Escape sleep 0.3 key ctrl+v
wait_for 5 sh -c "[ \"\$(sed -n 4p '$app/knw.dll' | tr -d '\r')\" != 1 ]" || fail "Ctrl+V stored nothing"
[ "$(line 4)" = "$names/Caf"$'\x98\xc3\xa9'" r"$'\x98\xc3\xa9'"sum"$'\x98\xc3\xa9'".pdf" ] &&
    [ "$(line 16)" = "Caf"$'\x98\xc3\xa9'" r"$'\x98\xc3\xa9'"sum"$'\x98\xc3\xa9'".pdf" ] ||
    fail "Ctrl+V stored: $(line 4) / $(line 16)"
before=$(opened_count)
xdotool keydown Return sleep 3.5 keyup Return
sleep 1
[ "$(opened_count)" -eq $((before + 1)) ] || fail "Enter held opened $(($(opened_count) - before)) times"
xdotool key Delete
wait_for 5 sh -c "[ \"\$(sed -n 4p '$app/knw.dll' | tr -d '\r')\" = 1 ]" || fail "Delete did not empty slot 3"
pass "a file manager's Copy and Ctrl+V fill slot 3 as a drop; Enter held opens once; Delete empties it"

# An owner that refuses the first format the panel asks for is asked for the
# other.
second="$E2E_TMP/second copy.txt"
: >"$second"
/usr/bin/python3 -c '
import sys, urllib.parse
from Xlib import X, display
from Xlib.protocol import event
d = display.Display()
w = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
w.set_selection_owner(d.intern_atom("CLIPBOARD"), X.CurrentTime)
given = d.intern_atom("x-special/gnome-copied-files")
d.sync()
print("owner", flush=True)
while True:
    e = d.next_event()
    if e.type != X.SelectionRequest:
        continue
    answer = X.NONE
    if e.target == given:
        e.requestor.change_property(e.property, given, 8,
                                    b"copy\nfile://" + urllib.parse.quote(sys.argv[1]).encode())
        answer = e.property
    e.requestor.send_event(event.SelectionNotify(time=e.time, requestor=e.requestor,
        selection=e.selection, target=e.target, property=answer))
    d.flush()
    print(d.get_atom_name(e.target), flush=True)
' "$second" >"$E2E_TMP/refusing" &
E2E_PIDS+=($!)
wait_for 5 grep -q owner "$E2E_TMP/refusing" || fail "no clipboard owner"
xdotool key ctrl+v
wait_for 5 sh -c "[ \"\$(sed -n 4p '$app/knw.dll' | tr -d '\r')\" = '$second' ]" ||
    fail "the second format not taken: $(line 4); asked $(tail -n +2 "$E2E_TMP/refusing")"
pass "an owner that refuses text/uri-list is asked for x-special/gnome-copied-files"

# A clipboard owner that never answers holds nothing up: a click 0.2 s after
# Ctrl+V opens at once, and the paste is given up.
/usr/bin/python3 -c '
import sys
from Xlib import X, display
d = display.Display()
w = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
w.set_selection_owner(d.intern_atom("CLIPBOARD"), X.CurrentTime)
d.sync()
print("owner", flush=True)
while True:
    d.next_event()
' >"$E2E_TMP/owner" &
E2E_PIDS+=($!)
wait_for 5 grep -q owner "$E2E_TMP/owner" || fail "no silent clipboard owner"
sleep 1.2 # the lock ends
before=$(opened_count)
t0=$(date +%s%N)
xdotool key ctrl+v sleep 0.2 mousemove "$slot_x" "$(slot_y 5)" click 1
opened $((before + 1)) "$folder" || fail "the click after Ctrl+V opened: $(tail -n1 "$E2E_TMP/opened")"
waited=$((($(date +%s%N) - t0) / 1000000))
[ "$waited" -le 1200 ] || fail "the click after Ctrl+V opened after $waited ms"
[ "$(line 4)" = "$second" ] || fail "the unanswered paste stored $(line 4)"
wait_for 3 grep -q 'clipboard.s owner did not answer within 500 ms' "$E2E_TMP/panel.log" ||
    fail "the unanswered paste was not given up"
pass "a clipboard owner that never answers: a click after Ctrl+V opens within $waited ms"

# Qt's own selections still work while a paste waits on the silent owner:
# the hover text selected with the mouse is the primary selection, which
# another program reads.
xdotool mousemove "$slot_x" "$(slot_y 5)" sleep 0.3 mousemove 685 130 mousedown 1 sleep 0.1 \
    mousemove 720 150 sleep 0.1 mousemove 758 165 sleep 0.1 mouseup 1 sleep 0.3
xdotool mousemove "$slot_x" "$(slot_y 3)" click 3 sleep 0.5 key Escape sleep 0.3 key ctrl+v
primary=$(timeout 5 /usr/bin/python3 -c '
from Xlib import X, display
d = display.Display()
w = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
into = d.intern_atom("PRIMARY_READ")
w.convert_selection(d.intern_atom("PRIMARY"), d.intern_atom("UTF8_STRING"), into, X.CurrentTime)
d.flush()
while True:
    e = d.next_event()
    if e.type == X.SelectionNotify:
        print(w.get_full_property(into, X.AnyPropertyType).value.decode() if e.property else "")
        break
') || fail "the panel did not answer for its primary selection"
[ -n "$primary" ] || fail "the panel gave an empty primary selection"
pass "the hover text, selected, is read from the panel while a paste waits: $primary"

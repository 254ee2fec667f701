#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A panel that never waits on the disk and follows it: targets on a share
# that takes seconds per look-up, a folder deleted and made again, the store
# edited by another program by rename and in place, also at the moment the
# panel saves. Real X input.
# Usage: live.sh PATH-TO-katalog
source "$(dirname "$0")/xsession.sh"

[ -c /dev/fuse ] && /usr/bin/python3 -c 'import fusepy' 2>/dev/null ||
    { echo "skipped: no FUSE here"; exit 77; }
delay=${SLOWFS_DELAY:-3}
share="$E2E_TMP/share"
mkdir -p "$E2E_TMP/shared/Slow folder" "$share" "$E2E_TMP/Local" "$E2E_TMP/Doomed" "$E2E_TMP/Other"
/usr/bin/python3 "$(dirname "$0")/slowfs.py" "$E2E_TMP/shared" "$share" "$delay" 2>>"$E2E_TMP/slowfs.log" &
fuse=$!
# A share whose server takes every question and never answers.
hung="$E2E_TMP/hung"
mkdir -p "$E2E_TMP/unanswered/Folder" "$hung"
touch "$E2E_TMP/unanswered/file.txt"
/usr/bin/python3 "$(dirname "$0")/slowfs.py" "$E2E_TMP/unanswered" "$hung" 100000 2>>"$E2E_TMP/slowfs.log" &
hung_fuse=$!
unmount() {
    [ -z "${PANEL_PID:-}" ] || kill "$PANEL_PID" 2>/dev/null || true
    # The server of a share that never answers ends only when killed.
    kill -KILL "$fuse" "$hung_fuse" 2>/dev/null || true
    wait "$fuse" "$hung_fuse" 2>/dev/null || true
    umount -l "$share" 2>/dev/null || true
    umount -l "$hung" 2>/dev/null || true
    e2e_cleanup
}
trap unmount EXIT
wait_for 10 mountpoint -q "$share" || fail "the slow share did not mount"
wait_for 10 mountpoint -q "$hung" || fail "the hung share did not mount"

start_x
recording_desktop
app=$(install_panel "$1")
slots=("$share/Slow folder" " Slow folder" "$share/Slow folder" " Slow folder"
       "$E2E_TMP/Local" " Local" "$E2E_TMP/Doomed" " Doomed")
write_store "$app/knw.dll" "${slots[@]}"
# picture K: slot K shows a picture (its middle is not the plain yellow).
picture() { screenshot; [ "$(pixel "$slot_x" "$(slot_y "$1")")" != "255,255,192" ]; }
no_picture() { ! picture "$1"; }
line() { sed -n "$1p" "$app/knw.dll" | tr -d '\r'; }
# line_is N TEXT: store line N (entry N - 1) reads TEXT.
line_is() { [ "$(line "$1")" = "$2" ]; }

t0=$SECONDS
start_panel "$app"
[ $((SECONDS - t0)) -le 3 ] || fail "the panel took $((SECONDS - t0)) s to show"
wait_for 3 picture 3 || fail "no picture on the local slot"
picture 1 && fail "a picture on the slow slot before the share answered"
pass "on screen within 3 s with two slots on a share that takes $delay s a look-up"

xdotool mousemove "$slot_x" "$(slot_y 1)" click 1 sleep 0.1
screenshot
[ "$(pixel 695 "$(slot_y 1)")" = "255,0,0" ] || fail "no red mark at once: $(pixel 695 "$(slot_y 1)")"
xdotool sleep 0.3 mousemove "$slot_x" "$(slot_y 3)" click 1
opened 1 "$E2E_TMP/Local" || fail "the local slot did not open at once: $(cat "$E2E_TMP/opened" 2>/dev/null)"
sleep 1.2 # the lock ends; asked again while the answer is out, it is not queued
xdotool mousemove "$slot_x" "$(slot_y 1)" click 1
wait_for "${SLOWFS_OPEN_WAIT:-60}" sh -c "[ \$(cat '$E2E_TMP/opened' | wc -l) -ge 2 ]" || fail "the slow folder never opened"
sleep 2
[ "$(opened_count)" = 2 ] && [ "$(tail -n1 "$E2E_TMP/opened")" = "$share/Slow folder" ] ||
    fail "opened: $(cat "$E2E_TMP/opened")"
picture 1 || fail "no picture on the slow slot once the share answered"
pass "a slow slot marks at once and opens once when the share answers; a local slot opens meanwhile"

rmdir "$E2E_TMP/Doomed"
wait_for 3 no_picture 4 || fail "the deleted folder's picture stayed"
mkdir "$E2E_TMP/Doomed"
wait_for 3 picture 4 || fail "the folder made again has no picture"
pass "a deleted target loses its picture, and gets it back when it is made again"

slots+=("$E2E_TMP/Other" " Other")
write_store "$E2E_TMP/edit" "${slots[@]}"
mv "$E2E_TMP/edit" "$app/knw.dll"
wait_for 3 picture 5 || fail "an edit by rename did not show"
slots+=("$E2E_TMP/Local" " Local")
write_store "$E2E_TMP/edit" "${slots[@]}"
cat "$E2E_TMP/edit" >"$app/knw.dll"
wait_for 3 picture 6 || fail "an edit in place did not show"
drag "$eraser_x" "$eraser_y" "$slot_x" "$(slot_y 4)"
wait_for 5 line_is 5 1 || fail "the eraser did not clear"
[ "$(line 6)" = "$E2E_TMP/Other" ] && [ "$(line 7)" = "$E2E_TMP/Local" ] || fail "edits lost: $(cat "$app/knw.dll")"
pass "edits of the store by rename and in place show, and the next save keeps them"

# Asked to maximise by the window manager (fluxbox grants it), the panel goes
# back to its size and place.
W=$(panel_window)
geometry "$W"
place="$wx,$wy,$ww,$wh"
wmctrl -i -r "$W" -b add,maximized_vert,maximized_horz
kept() { geometry "$W"; [ "$wx,$wy,$ww,$wh" = "$place" ]; }
sleep 0.5
wait_for 3 kept || fail "maximised: $wx,$wy,$ww,$wh"
pass "a maximised panel goes back to its size and place"

# Ten eraser drops, each met 0 to 9 ms after the button's release by another
# program that read the store before it and renames its edit of slot 12's
# caption over it: before the panel reads the store, between its read and
# its save, or just after. Each edit adds its number to the caption, so one
# lost is missing from every later one.
race=()
for k in $(seq 1 10); do race+=("$E2E_TMP/Local" " Local $k"); done
race+=(1 1 "$E2E_TMP/Other" " Other")
write_store "$E2E_TMP/edit" "${race[@]}"
mv "$E2E_TMP/edit" "$app/knw.dll"
wait_for 3 picture 12 || fail "the store for the race did not show"
for k in $(seq 1 10); do
    drag_over "$eraser_x" "$eraser_y" "$slot_x" "$(slot_y "$k")"
    LC_ALL=C sed "25s/\r\$/ $k\r/" "$app/knw.dll" >"$E2E_TMP/edit"
    # Started before the release, so that only the wait lies between the two.
    /usr/bin/python3 -c '
import os, sys, time
from Xlib import X, display
from Xlib.ext import xtest
d = display.Display()
xtest.fake_input(d, X.ButtonRelease, 1)
d.sync()
time.sleep(int(sys.argv[1]) / 1000)
os.rename(sys.argv[2], sys.argv[3])
' $((k - 1)) "$E2E_TMP/edit" "$app/knw.dll"
    sleep 0.3
done
sleep 3
erased=$(sed -n '2,11p;14,23p' "$app/knw.dll" | tr -d '\r' | sort -u)
[ "$erased" = 1 ] && line_is 25 " Other 1 2 3 4 5 6 7 8 9 10" ||
    fail "an erasure or an edit lost: $(tr -d '\r' <"$app/knw.dll" | tr '\n' '|')"
pass "ten eraser drops, each met within 10 ms by another program's edit by rename: all twenty kept"

# Targets on the hung share are asked about and opened; the panel still ends
# when it is closed, with every thread.
slots+=("$hung/file.txt" " file.txt" "$hung/Folder" " Folder")
write_store "$E2E_TMP/edit" "${slots[@]}"
mv "$E2E_TMP/edit" "$app/knw.dll"
sleep 1
xdotool mousemove "$slot_x" "$(slot_y 7)" click 1 sleep 1.2 mousemove "$slot_x" "$(slot_y 8)" click 1 sleep 1
threads=$(ls "/proc/$PANEL_PID/task" | wc -l)
[ "$threads" -lt 20 ] || fail "$threads threads"
wmctrl -i -c "$W"
# ended: the process is gone, or a zombie with no thread left in it.
ended() { [ ! -d "/proc/$PANEL_PID" ] || { [ "$(ls "/proc/$PANEL_PID/task" 2>/dev/null | wc -l)" -le 1 ] &&
    grep -q '^State:.*Z' "/proc/$PANEL_PID/status"; }; }
wait_for 5 ended || fail "still running 5 s after the close: $(ls "/proc/$PANEL_PID/task" | wc -l) threads"
pass "with targets asked about and opened on a share that never answers, a close ends the panel ($threads threads)"

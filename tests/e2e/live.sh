#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A panel that never waits on the disk and follows it: targets on a share
# that takes seconds per look-up, a folder deleted and made again, the store
# edited by another program by rename and in place, also at the moment the
# panel saves. Real X input.
# Usage: live.sh PATH-TO-katalog
source "$(dirname "$0")/xsession.sh"
# GIO's virtual file system (gvfs, with a session bus that dbus-launch starts
# for it where dbus-x11 is installed) looks the target up again in the
# opener: what is timed here is the panel's part.
export GIO_USE_VFS=local

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
line() { sed -n "$1p" "$app/knw.dll" | tr -d '\r'; }
# line_is N TEXT: store line N (entry N - 1) reads TEXT.
line_is() { [ "$(line "$1")" = "$2" ]; }

t0=$SECONDS
start_panel "$app"
[ $((SECONDS - t0)) -le 3 ] || fail "the panel took $((SECONDS - t0)) s to show"
wait_for 3 picture 3 || fail "no picture on the local slot"
picture 1 && fail "a picture on the slow slot before the share answered"
pass "on screen within 3 s with two slots on a share that takes $delay s a look-up"

clicked=${EPOCHREALTIME/./}
xdotool mousemove "$slot_x" "$(slot_y 1)" click 1 sleep 0.1
screenshot
[ "$(pixel 695 "$(slot_y 1)")" = "255,0,0" ] || fail "no red mark at once: $(pixel 695 "$(slot_y 1)")"
xdotool sleep 0.3 mousemove "$slot_x" "$(slot_y 3)" click 1
opened 1 "$E2E_TMP/Local" || fail "the local slot did not open at once: $(cat "$E2E_TMP/opened" 2>/dev/null)"
sleep 1.2 # the lock ends; asked again while the answer is out, it is not queued
xdotool mousemove "$slot_x" "$(slot_y 1)" click 1
# Its first questions were out before the click: it opens once they are
# answered (the folder, then its "А", each a look-up), within a second of the
# share's last answer, and is not asked about again to be opened.
wait_for $((2 * delay + 2)) sh -c "[ \$(cat '$E2E_TMP/opened' | wc -l) -ge 2 ]" || fail "the slow folder never opened"
took=$(((${EPOCHREALTIME/./} - clicked) / 1000))
[ "$took" -le $(((2 * delay + 1) * 1000)) ] || fail "the slow folder opened $took ms after its click"
sleep 2
[ "$(opened_count)" = 2 ] && [ "$(tail -n1 "$E2E_TMP/opened")" = "$share/Slow folder" ] ||
    fail "opened: $(cat "$E2E_TMP/opened")"
picture 1 || fail "no picture on the slow slot once the share answered"
pass "a slow slot marks at once and opens once when the share answers; a local slot opens meanwhile"

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

# Nothing the panel's own threads do follows a target: a local link into the
# hung share and a store line with a NUL byte hold up no local slot, and a
# disk helper killed or stopped is replaced.
ln -s "$hung/Folder" "$E2E_TMP/Into hung"
write_store "$E2E_TMP/edit" "$E2E_TMP/Local" " Local" "$E2E_TMP/Into hung" " Into hung" "$E2E_TMP/NUL" " NUL"
python3 -c 'import sys; p = sys.argv[1]; b = open(p, "rb").read(); open(p, "wb").write(b.replace(b"NUL\r\n", b"N\0L\r\n", 1))' "$E2E_TMP/edit"
mv "$E2E_TMP/edit" "$app/knw.dll"
sleep 1
# opens_within SECONDS SLOT TARGET: a click on the slot opens the target in time.
opens_within() {
    local n; n=$(opened_count)
    xdotool mousemove "$slot_x" "$(slot_y "$2")" click 1
    wait_for "$1" sh -c "[ \$(cat '$E2E_TMP/opened' | wc -l) -gt $n ]" && [ "$(tail -n1 "$E2E_TMP/opened")" = "$3" ]
}
no_thread_waits() { ! grep -q '^State:.*D' /proc/"$PANEL_PID"/task/*/status; }
helper() { pgrep -n -P "$PANEL_PID" -x katalog-probe; }
xdotool mousemove "$slot_x" "$(slot_y 2)" click 1 sleep 1.2
opens_within 1 1 "$E2E_TMP/Local" || fail "the local slot beside a link into the hung share did not open within 1 s"
no_thread_waits || fail "a thread of the panel waits on the disk"
for trouble in KILL STOP; do
    old=$(helper)
    kill -"$trouble" "$old"
    sleep 1.2
    opens_within 3 1 "$E2E_TMP/Local" || fail "after kill -$trouble of the disk helper the local slot did not open within 3 s"
    # A helper killed while the hung share holds its thread stays behind.
    wait_for 3 sh -c "[ -n \"\$(pgrep -n -P $PANEL_PID -x katalog-probe)\" ] && [ \"\$(pgrep -n -P $PANEL_PID -x katalog-probe)\" != $old ]" ||
        fail "no new disk helper 3 s after kill -$trouble"
    kill -KILL "$old" 2>/dev/null || true
done
no_thread_waits || fail "a thread of the panel waits on the disk"
kill -TERM "$PANEL_PID"
gone() { [ ! -d "/proc/$PANEL_PID" ] || grep -q '^State:.*Z' "/proc/$PANEL_PID/status"; }
wait_for 2 gone || fail "SIGTERM did not end the panel within 2 s"
pass "a link into a hung share and a NUL line hold up no local slot; a killed or stopped helper is replaced; SIGTERM ends the panel"
start_panel "$app"
W=$(panel_window)

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

# Eleven files of the hung share pasted on slots 2 to 12 (Tab, Ctrl+V) of a
# panel whose slot 1 is on the slow share: some pastes' look-ups wait their
# turn behind the hung ones and start once the slow share has answered.
# Then the close box's request: every paste is stored, the panel ends within
# 2 s, and a second start right after it shows a panel.
for k in $(seq 2 12); do touch "$E2E_TMP/unanswered/paste$k.txt"; done
start_panel "$app"
/usr/bin/python3 -c '
import sys
from Xlib import X, display
from Xlib.protocol import event
d = display.Display()
w = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
uris = d.intern_atom("text/uri-list")
w.set_selection_owner(d.intern_atom("CLIPBOARD"), X.CurrentTime)
d.sync()
print("owner", flush=True)
while True:
    e = d.next_event()
    if e.type == X.SelectionRequest:
        prop = e.property if e.target == uris else X.NONE
        if prop:
            e.requestor.change_property(prop, uris, 8, open(sys.argv[1], "rb").read())
        e.requestor.send_event(event.SelectionNotify(time=e.time, requestor=e.requestor,
            selection=e.selection, target=e.target, property=prop))
        d.flush()
' "$E2E_TMP/copied" >"$E2E_TMP/owner" 2>&1 &
E2E_PIDS+=($!)
wait_for 5 grep -q owner "$E2E_TMP/owner" || fail "no clipboard owner"
W=$(panel_window)
xdotool windowactivate --sync "$W" 2>/dev/null || xdotool windowfocus --sync "$W"
for k in $(seq 2 12); do
    printf 'file://%s/paste%d.txt\r\n' "$hung" "$k" >"$E2E_TMP/copied"
    xdotool key Tab sleep 0.1 key ctrl+v sleep 0.3
done
pasted() { tr -d '\r' <"$app/knw.dll" | grep -c "^$hung/paste"; }
all_pasted() { [ "$(pasted)" = 11 ]; }
wait_for 5 all_pasted
wait_for 60 picture 1 || fail "the slow share never answered"
t0=$(date +%s%N)
wmctrl -i -c "$W"
wait_for 2 ended || fail "still running 2 s after the close: $(ls "/proc/$PANEL_PID/task" | wc -l) threads"
closed=$((($(date +%s%N) - t0) / 1000000))
all_pasted || fail "$(pasted) of 11 pastes stored: $(tr -d '\r' <"$app/knw.dll")"
"$app/katalog" >>"$E2E_TMP/panel.log" 2>&1 &
PANEL_PID=$!
E2E_PIDS+=($!)
wait_for 3 panel_window || fail "no panel within 3 s of a second start"
pass "eleven pastes from a share that never answers are stored, the close ends the panel in $closed ms, and a second start shows one"

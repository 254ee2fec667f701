# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the end-to-end tests and the benchmark: private Xvfb displays with
# openbox, a work folder, and small helpers. All started here stops on exit.
set -euo pipefail
E2E_TMP=$(mktemp -d)
E2E_PIDS=()
E2E_GROUPS=() # process groups of their own, a desktop session's, say
e2e_cleanup() {
    local pid
    for pid in "${E2E_GROUPS[@]}"; do kill -- "-$pid" 2>/dev/null || true; done
    for pid in "${E2E_PIDS[@]}"; do # pipelines leave their members behind
        pkill -P "$pid" 2>/dev/null || true
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    [ -n "${E2E_KEEP:-}" ] || rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }

# wait_for SECONDS COMMAND...: retries COMMAND every 0.1 s until it succeeds.
wait_for() {
    local deadline=$((SECONDS + $1)); shift
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# start_x [WIDTHxHEIGHT]: a new X server (1024x768 unless told) with openbox,
# or the window manager $E2E_WM names; none for a desktop session to bring
# its own.
start_x() {
    local number="$E2E_TMP/display.$RANDOM"
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp 3>"$number" 2>>"$E2E_TMP/xvfb.log" &
    E2E_PIDS+=($!)
    wait_for 10 test -s "$number" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$number")"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    [ "${E2E_WM:-}" != none ] || return 0
    # A loaded machine may lose the manager's start: it gets a second one.
    start_wm || start_wm || fail "no ${E2E_WM:-openbox}: $(tail -n 5 "$E2E_TMP/wm.log")"
}
start_wm() {
    case "${E2E_WM:-openbox}" in # another manager where one is named
    openbox) openbox --sm-disable ;;
    metacity | marco) "$E2E_WM" --replace --sm-disable ;;
    xfwm4) dbus-run-session -- xfwm4 --compositor=off --sm-client-disable ;; # its settings need a bus
    i3) i3 -c /dev/null ;;
    *) "$E2E_WM" ;;
    esac >>"$E2E_TMP/wm.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}

# install_panel BINARY: copies the program and its disk helper into a folder
# of its own, where it keeps its store; prints that folder.
install_panel() {
    local dir="$E2E_TMP/app$RANDOM"
    mkdir -p "$dir" && cp "$1" "$dir/katalog" && cp "$(dirname "$1")/katalog-probe" "$dir/" &&
        echo "$dir"
}

# start_panel FOLDER: runs the panel there until its window is mapped.
start_panel() {
    "$1/katalog" >>"$E2E_TMP/panel.log" 2>&1 &
    PANEL_PID=$!
    E2E_PIDS+=($!)
    wait_for 10 panel_window || fail "no panel window"
}

# The panel's window: the one named as the panel whose size is the panel's.
panel_window() {
    local w
    for w in $(xdotool search --name '^КаталогOrlanta$' 2>/dev/null); do
        if xwininfo -id "$w" | grep -q 'Width: 81$'; then echo "$w"; return 0; fi
    done
    return 1
}

# geometry WINDOW: sets wx, wy, ww, wh to its client area on the screen.
geometry() {
    eval "$(xwininfo -id "$1" | sed -n 's/ *Absolute upper-left X: */wx=/p;
        s/ *Absolute upper-left Y: */wy=/p; s/ *Width: */ww=/p; s/ *Height: */wh=/p')"
}

# The panel's layout where it stands on a 1024 x 768 screen: its client area
# at (683, 127), the middle of slot K (1 to 12), the eraser.
slot_x=$((683 + 26))
slot_y() { echo $((127 + 44 + 38 * ($1 - 1) + 18)); }
eraser_x=$((683 + 22)) eraser_y=$((127 + 510))

# write_store FILE PATH1 CAPTION1 PATH2 CAPTION2 ...: a store whose slots 1, 2
# ... hold those targets and the rest none, in the store's encoding
# (Windows-1251) and line ends.
write_store() {
    local file=$1 k paths=() captions=(); shift
    for k in $(seq 1 12); do paths[k]=1 captions[k]=1; done
    k=1
    while [ $# -gt 0 ]; do paths[k]=$1 captions[k]=$2; shift 2; k=$((k + 1)); done
    { echo 1; printf '%s\n' "${paths[@]:1}" "${captions[@]:1}"; } | sed 's/$/\r/' |
        iconv -f UTF-8 -t CP1251 >"$file"
}

screenshot() { import -window root "$E2E_TMP/shot.png"; }
# pixel X Y: the colour at a point of the last screenshot, as "R,G,B".
pixel() {
    local p="p{$1,$2}"
    convert "$E2E_TMP/shot.png" -format "%[fx:int(255*$p.r)],%[fx:int(255*$p.g)],%[fx:int(255*$p.b)]" info:
}
# not_panel X Y: that point shows something other than the panel's black
# ground and light-yellow slots.
not_panel() { local p; p=$(pixel "$1" "$2"); [ "$p" != "0,0,0" ] && [ "$p" != "255,255,192" ]; }

# covered_by_window NAME: the window NAME meets the panel's client area at
# (683, 127), and where it does, the screen shows the window, not the panel.
covered_by_window() {
    local x1 y1 x2 y2
    geometry "$(xdotool search --name "$1" | head -n1)"
    x1=$((wx > 683 ? wx : 683)); y1=$((wy > 127 ? wy : 127))
    x2=$((wx + ww < 764 ? wx + ww : 764)); y2=$((wy + wh < 650 ? wy + wh : 650))
    [ "$x1" -lt "$x2" ] && [ "$y1" -lt "$y2" ] || { echo "$1 misses the panel" >&2; return 1; }
    screenshot
    not_panel $((x1 + 1)) $(((y1 + y2) / 2)) && not_panel $(((x1 + x2) / 2)) $(((y1 + y2) / 2))
}

# drag X1 Y1 X2 Y2: a left-button drag with real X input, in the small steps
# toolkits need to see a drag start and a target entered; drag_over holds it
# over the target.
drag() { drag_over "$@"; xdotool mouseup 1; sleep 0.3; }
drag_over() {
    local x1=$1 y1=$2 x2=$3 y2=$4 i
    xdotool mousemove "$x1" "$y1" sleep 0.2 mousedown 1 sleep 0.2
    for i in 1 2 3 4; do xdotool mousemove "$((x1 + 5 * i))" "$((y1 + 5 * i))" sleep 0.05; done
    for i in $(seq 1 20); do
        xdotool mousemove "$((x1 + 20 + (x2 - x1 - 20) * i / 20))" \
            "$((y1 + 20 + (y2 - y1 - 20) * i / 20))" sleep 0.03
    done
    xdotool mousemove "$((x2 + 2))" "$((y2 + 1))" sleep 0.1 mousemove "$x2" "$y2" sleep 0.2
}

# A desktop whose default application for folders, text, PDF and web
# addresses is a recorder that appends what it was asked to open to
# $E2E_TMP/opened.
recording_desktop() {
    local types="inode/directory text/plain application/pdf"
    mkdir -p "$E2E_TMP/config" "$E2E_TMP/data/applications"
    printf '#!/bin/sh\nprintf "%%s\\n" "$*" >> %s/opened\n' "$E2E_TMP" >"$E2E_TMP/record.sh"
    chmod +x "$E2E_TMP/record.sh"
    printf '[Desktop Entry]\nType=Application\nName=Recorder\nExec=%s %%F\nMimeType=%s;\n' \
        "$E2E_TMP/record.sh" "${types// /;}" >"$E2E_TMP/data/applications/recorder.desktop"
    { echo '[Default Applications]'; printf '%s=recorder.desktop\n' $types; } >"$E2E_TMP/config/mimeapps.list"
    export XDG_CONFIG_HOME="$E2E_TMP/config" XDG_DATA_HOME="$E2E_TMP/data"
}
opened_count() { cat "$E2E_TMP/opened" 2>/dev/null | wc -l; }
# opened N TARGET: waits for the Nth open request, which must be TARGET.
opened() {
    wait_for 5 sh -c "[ \$(cat '$E2E_TMP/opened' 2>/dev/null | wc -l) -ge $1 ]" &&
        [ "$(opened_count)" -eq "$1" ] && [ "$(tail -n1 "$E2E_TMP/opened")" = "$2" ]
}

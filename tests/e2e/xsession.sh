# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the end-to-end tests: a private Xvfb display with openbox, a work
# folder, and small helpers. Everything started here is stopped on exit.

set -euo pipefail

E2E_TMP=$(mktemp -d)
E2E_PIDS=()

e2e_cleanup() {
    local pid
    # Pipelines started in the background leave their members behind.
    for pid in "${E2E_PIDS[@]}"; do
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

# start_x [WIDTHxHEIGHT]: a new X server (1024x768 unless told) with openbox.
start_x() {
    local number="$E2E_TMP/display.$RANDOM"
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp 3>"$number" 2>>"$E2E_TMP/xvfb.log" &
    E2E_PIDS+=($!)
    wait_for 10 test -s "$number" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$number")"
    openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' \
        || fail "openbox did not start"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
}

# install_panel BINARY: copies the program into a folder of its own, where it
# keeps its store; prints that folder.
install_panel() {
    local dir="$E2E_TMP/app$RANDOM"
    mkdir -p "$dir"
    cp "$1" "$dir/katalog"
    echo "$dir"
}

# The panel's window: the one named as the panel whose size is the panel's.
panel_window() {
    local w
    for w in $(xdotool search --name '^КаталогOrlanta$' 2>/dev/null); do
        if xwininfo -id "$w" | grep -q 'Width: 81$'; then echo "$w"; return 0; fi
    done
    return 1
}

# covered_by_window NAME X Y W H: the screenshot's pixels where the window
# NAME meets the rectangle are the window's: not the panel's black ground or
# its light-yellow slots. Fails when they do not meet.
covered_by_window() {
    local w wx wy ww wh x1 y1 x2 y2
    w=$(xdotool search --name "$1" | head -n1) || return 1
    eval "$(xwininfo -id "$w" | sed -n 's/ *Absolute upper-left X: */wx=/p; s/ *Absolute upper-left Y: */wy=/p; s/ *Width: */ww=/p; s/ *Height: */wh=/p')"
    x1=$((wx > $2 ? wx : $2)); y1=$((wy > $3 ? wy : $3))
    x2=$((wx + ww < $2 + $4 ? wx + ww : $2 + $4)); y2=$((wy + wh < $3 + $5 ? wy + wh : $3 + $5))
    [ "$x1" -lt "$x2" ] && [ "$y1" -lt "$y2" ] || { echo "$1 does not meet the panel" >&2; return 1; }
    screenshot
    local p
    for p in "$(pixel $((x1 + 1)) $(((y1 + y2) / 2)))" "$(pixel $(((x1 + x2) / 2)) $(((y1 + y2) / 2)))"; do
        [ "$p" != "0,0,0" ] && [ "$p" != "255,255,192" ] || { echo "panel shows over $1: $p" >&2; return 1; }
    done
}

# pixel X Y: the colour at a screen point, as "R,G,B".
pixel() {
    convert "$E2E_TMP/shot.png" -format '%[fx:int(255*p{'"$1"','"$2"'}.r)],%[fx:int(255*p{'"$1"','"$2"'}.g)],%[fx:int(255*p{'"$1"','"$2"'}.b)]' info:
}

screenshot() {
    import -window root "$E2E_TMP/shot.png"
    [ -z "${E2E_KEEP_SHOT:-}" ] || cp "$E2E_TMP/shot.png" "$E2E_KEEP_SHOT"
}

# drag X1 Y1 X2 Y2: a left-button drag with real X input, in the small steps
# toolkits need to see a drag start and a target entered.
drag() {
    drag_over "$@"
    xdotool mouseup 1; sleep 0.3
}

# drag_over X1 Y1 X2 Y2: the same drag, held over its target.
drag_over() {
    local x1=$1 y1=$2 x2=$3 y2=$4 i
    xdotool mousemove "$x1" "$y1"; sleep 0.2
    xdotool mousedown 1; sleep 0.2
    for i in 1 2 3 4; do xdotool mousemove "$((x1 + 5 * i))" "$((y1 + 5 * i))"; sleep 0.05; done
    for i in $(seq 1 20); do
        xdotool mousemove "$((x1 + 20 + (x2 - x1 - 20) * i / 20))" "$((y1 + 20 + (y2 - y1 - 20) * i / 20))"
        sleep 0.03
    done
    xdotool mousemove "$((x2 + 2))" "$((y2 + 1))"; sleep 0.1
    xdotool mousemove "$x2" "$y2"; sleep 0.2
}

# A desktop whose default application for folders, text and web addresses is
# a recorder that appends what it was asked to open to $E2E_TMP/opened.
recording_desktop() {
    mkdir -p "$E2E_TMP/config" "$E2E_TMP/data/applications"
    printf '#!/bin/sh\nprintf "%%s\\n" "$*" >> %s/opened\n' "$E2E_TMP" >"$E2E_TMP/record.sh"
    chmod +x "$E2E_TMP/record.sh"
    printf '[Desktop Entry]\nType=Application\nName=Recorder\nExec=%s %%F\nMimeType=inode/directory;text/plain;application/pdf;\n' \
        "$E2E_TMP/record.sh" >"$E2E_TMP/data/applications/recorder.desktop"
    printf '[Default Applications]\ninode/directory=recorder.desktop\ntext/plain=recorder.desktop\napplication/pdf=recorder.desktop\n' \
        >"$E2E_TMP/config/mimeapps.list"
    export XDG_CONFIG_HOME="$E2E_TMP/config" XDG_DATA_HOME="$E2E_TMP/data"
}

# opened_count: how many open requests reached the recorder.
opened_count() {
    [ -f "$E2E_TMP/opened" ] && wc -l <"$E2E_TMP/opened" || echo 0
}

# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the end-to-end tests: a private Xvfb display with openbox, a work
# folder, and small helpers. Everything started here is stopped on exit.

set -euo pipefail

E2E_TMP=$(mktemp -d)
E2E_PIDS=()

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$E2E_TMP"
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

start_x() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$E2E_TMP/display" 2>"$E2E_TMP/xvfb.log" &
    E2E_PIDS+=($!)
    wait_for 10 test -s "$E2E_TMP/display" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
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

# pixel X Y: the colour at a screen point, as "R,G,B".
pixel() {
    convert "$E2E_TMP/shot.png" -format '%[fx:int(255*p{'"$1"','"$2"'}.r)],%[fx:int(255*p{'"$1"','"$2"'}.g)],%[fx:int(255*p{'"$1"','"$2"'}.b)]' info:
}

screenshot() {
    import -window root "$E2E_TMP/shot.png"
    [ -z "${E2E_KEEP_SHOT:-}" ] || cp "$E2E_TMP/shot.png" "$E2E_KEEP_SHOT"
}

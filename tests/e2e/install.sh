#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs into a fresh home as the README says, starts the panel from the
# shell and from the menu entry, then uninstalls, keeping the store.
# Usage: install.sh BUILD-FOLDER
source "$(dirname "$0")/xsession.sh"

build=$1
start_x
export HOME="$E2E_TMP/home"
mkdir -p "$HOME"
cmake --install "$build" --prefix "$HOME/.local" >/dev/null || fail "install failed"
entry="$HOME/.local/share/applications/katalog.desktop"
desktop-file-validate "$entry" || fail "desktop entry not valid"
for size in 32x32 48x48 64x64 128x128; do
    [ -f "$HOME/.local/share/icons/hicolor/$size/apps/katalog.png" ] || fail "no $size icon"
done
[ -f "$HOME/.local/share/icons/hicolor/scalable/apps/katalog.svg" ] || fail "no SVG icon"
! readelf -S "$HOME/.local/lib/katalog/katalog" | grep -q -E '\.symtab|\.debug' || fail "not stripped"
pass "installed into ~/.local, stripped, with a valid desktop entry and icons"

# runs_panel COMMAND...: the command brings up the panel, which then closes.
runs_panel() {
    "$@" >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    wait_for 10 panel_window || fail "$* showed no panel"
    local w pid
    w=$(panel_window)
    pid=$(xdotool getwindowpid "$w")
    xdotool windowactivate --sync "$w" key alt+F4
    wait_for 10 sh -c "! kill -0 $pid" || fail "panel did not close"
}

PATH="$HOME/.local/bin:$PATH" runs_panel katalog
cmp -s "$HOME/.local/lib/katalog/knw.dll" <({ printf '1\r%.0s' {1..24}; printf '1\r\n'; }) \
    || fail "no store beside the installed program"
pass "the katalog command starts the panel; its store sits beside the program"

runs_panel gio launch "$entry"
pass "the menu entry starts the panel (gio launch)"

(cd "$build" && xargs -d '\n' rm -f <install_manifest.txt)
[ ! -e "$HOME/.local/bin/katalog" ] && [ ! -e "$entry" ] && [ ! -e "$HOME/.local/lib/katalog/katalog" ] \
    && [ ! -e "$HOME/.local/share/icons/hicolor/scalable/apps/katalog.svg" ] || fail "uninstall left files"
[ "$(ls -A "$HOME/.local/lib/katalog")" = knw.dll ] || fail "left beside the store: $(ls -A "$HOME/.local/lib/katalog")"
pass "the uninstall line removes all but the store"

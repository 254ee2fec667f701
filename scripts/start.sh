#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what Katalog needs, builds the program alone (a stripped release
# build, in build-app/), installs it for this user and starts the installed
# panel, whose slots live in ~/.local/lib/katalog/knw.dll. Run again, it
# updates the program and the running panel with it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-app -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-app -j"$(nproc)" --target katalog
cmake --install build-app >/dev/null
installed="$HOME/.local/lib/katalog"
# Slots kept by a panel that earlier ran from the build folder move along.
if [ -f build/knw.dll ] && [ ! -e "$installed/knw.dll" ]; then
    cp build/knw.dll "$installed/knw.dll"
fi
# A panel already running from there makes way for the program just built.
exec "$installed/katalog" --replace

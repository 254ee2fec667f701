#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what Katalog and its tests need, builds everything and runs every
# test: unit and widget tests offscreen, end-to-end tests under their own Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --test
bash scripts/build.sh
cd build
ctest --output-on-failure

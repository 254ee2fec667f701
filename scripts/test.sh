#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what Katalog and its tests need, builds everything and runs every
# test: unit and widget tests offscreen, end-to-end tests under their own Xvfb.
# The C++ sources must be formatted as .clang-format says.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --test
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run --Werror
bash scripts/build.sh
cd build
ctest --output-on-failure

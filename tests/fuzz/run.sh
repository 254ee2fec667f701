#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the store fuzzer with clang and runs it for a while.
# Usage: tests/fuzz/run.sh [SECONDS] [BUILD-FOLDER]   (default 60 s, build-fuzz)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
seconds=${1:-60}
build=${2:-$here/../../build-fuzz}
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp "$here"/corpus/* "$corpus"/
"$build/store_fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -print_final_stats=1 "$corpus" 2>&1 | tail -n 25
echo "fuzz: store reader and writer ran ${seconds} s without a finding"

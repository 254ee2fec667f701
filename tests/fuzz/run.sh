#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the store reader and writer with clang under libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer, and fuzzes them a while.
# Usage: tests/fuzz/run.sh [SECONDS] [BUILD-FOLDER]   (default 60 s, build-fuzz)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd) top=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
build=${2:-$top/build-fuzz}
mkdir -p "$build"
# shellcheck disable=SC2046 # the flags are words
clang++-14 -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$top" $(pkg-config --cflags --libs Qt6Core) -o "$build/store_fuzzer" \
    "$here/StoreFuzzer.cpp" "$top/store/StoreCodec.cpp" "$top/store/StoreFile.cpp"
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp "$here"/corpus/* "$corpus"/
"$build/store_fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -print_final_stats=1 "$corpus" 2>&1 | tail -n 25
echo "fuzz: store reader and writer ran ${seconds} s without a finding"

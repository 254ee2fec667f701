#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How many planted faults the offscreen unit tests catch. Each mutation of
# scripts/mutations.tsv is applied alone to a copy of the sources, the copy is
# rebuilt, and the unit tests run: a failing test kills the mutation.
# Usage: scripts/mutate.sh [REVISION [LIST]]
#   REVISION: the commit whose sources are mutated (default: the work tree)
#   LIST: the mutations (default: scripts/mutations.tsv of the work tree)
# Prints one line a mutation, then the score.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
revision=${1:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
list="$work/mutations.tsv"
cp "${2:-$root/scripts/mutations.tsv}" "$list"

mkdir -p "$work/src"
if [ -n "$revision" ]; then
    git -C "$root" archive "$revision" | tar -x -C "$work/src"
else
    (cd "$root" && git ls-files -z | xargs -0 -I{} cp --parents {} "$work/src")
fi
cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
build() { cmake --build "$work/build" -j"$(nproc)" >/dev/null 2>&1; }
unit_tests() { (cd "$work/build" && ctest -L unit -j2 --timeout 300 >/dev/null 2>&1); }
build || { echo "the sources do not build" >&2; exit 1; }
unit_tests || { echo "the unit tests fail before any mutation" >&2; exit 1; }

# apply FILE FROM TO: replaces the one occurrence of FROM; fails unless there
# is exactly one.
apply() {
    FROM=$2 TO=$3 perl -0pi -e '
        BEGIN { ($f, $t) = map { s/\xe2\x8f\x8e/\n/g; $_ } ($ENV{FROM}, $ENV{TO}); $n = 0 }
        $n = () = /\Q$f\E/g; s/\Q$f\E/$t/ if $n == 1;
        END { exit($n == 1 ? 0 : 3) }' "$1"
}

killed=0 survived=0 number=0
while IFS=$'\t' read -r file from to note; do
    [[ -z "$file" || "$file" == \#* ]] && continue
    number=$((number + 1))
    target="$work/src/$file"
    cp "$target" "$work/original"
    if ! apply "$target" "$from" "$to"; then
        echo "$number $file: text not found once: $from" >&2
        exit 1
    fi
    if [ "$note" = equivalent ]; then
        verdict=equivalent
    elif ! build; then
        verdict=stillborn
    elif unit_tests; then
        verdict=survived; survived=$((survived + 1))
    else
        verdict=killed; killed=$((killed + 1))
    fi
    printf '%2d %-10s %s: %s\n' "$number" "$verdict" "$file" "$from"
    cp "$work/original" "$target"
    touch "$target"
done <"$list"
build
echo "(equivalent and stillborn mutations are not counted)"
echo "score: $killed killed of $((killed + survived)) counted ($((100 * killed / (killed + survived)))%)"

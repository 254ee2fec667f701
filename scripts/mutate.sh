#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How many planted faults the offscreen unit tests catch. Each fault is
# applied alone to a copy of the sources, the copy is rebuilt, and the unit
# tests run: a failing test kills the fault.
# Usage: scripts/mutate.sh [REVISION [LIST]]
#          the faults of LIST (default scripts/mutations.tsv) in the sources
#          of REVISION (default: the work tree)
#        scripts/mutate.sh --generated N [--list] REVISION
#          N faults made from the work tree's lines changed since REVISION
#          (scripts/faults.py; MUTATE_SEED chooses another sample); --list
#          prints them, one a line, without running them. A fault the unit
#          tests miss meets the end-to-end tests too (MUTATE_E2E=0: not).
#          MUTATE_ONLY="3 17" runs only those numbers of the sample.
# Prints one line a fault, then the score. Faults that do not build, and
# those scripts/equivalents.tsv names (no test can see them), are not counted.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
generated=
if [ "${1:-}" = --generated ]; then
    generated=$2; shift 2
    if [ "${1:-}" = --list ]; then
        /usr/bin/python3 "$root/scripts/faults.py" "$root" "$2" "$generated" "${MUTATE_SEED:-25}"
        exit 0
    fi
fi
revision=${1:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
list="$work/faults.tsv"
if [ -n "$generated" ]; then
    /usr/bin/python3 "$root/scripts/faults.py" "$root" "$revision" "$generated" "${MUTATE_SEED:-25}" >"$list"
    revision=
else
    cp "${2:-$root/scripts/mutations.tsv}" "$list"
fi

mkdir -p "$work/src"
if [ -n "$revision" ]; then
    git -C "$root" archive "$revision" | tar -x -C "$work/src"
else
    (cd "$root" && git ls-files -z | xargs -0 -I{} cp --parents {} "$work/src")
fi
cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
# Only what the unit tests run is built, and the first failure kills.
units=$(cd "$work/build" && ctest -L unit -N | awk '$3 ~ /^tst_/ { print $3 }')
build() { cmake --build "$work/build" -j"$(nproc)" --target $units >/dev/null 2>&1; }
unit_tests() { (cd "$work/build" && ctest -L unit -j2 --timeout 300 --stop-on-failure >/dev/null 2>&1); }
build || { echo "the sources do not build" >&2; exit 1; }
unit_tests || { echo "the unit tests fail before any mutation" >&2; exit 1; }
# The real program under Xvfb sees what no offscreen test can: X's clipboard,
# workspaces, a drag from the panel's own eraser.
end_to_end=
if [ -n "$generated" ] && [ "${MUTATE_E2E:-1}" != 0 ]; then
    end_to_end() {
        cmake --build "$work/build" -j"$(nproc)" --target katalog >/dev/null 2>&1 &&
            (cd "$work/build" && ctest -L e2e --timeout 180 --stop-on-failure >/dev/null 2>&1)
    }
    end_to_end || { echo "the end-to-end tests fail before any mutation" >&2; exit 1; }
    end_to_end=yes
fi

# apply FILE FROM TO: replaces the one occurrence of FROM; fails unless there
# is exactly one.
apply() {
    FROM=$2 TO=$3 perl -0pi -e '
        BEGIN { ($f, $t) = map { s/\xe2\x8f\x8e/\n/g; $_ } ($ENV{FROM}, $ENV{TO}); $n = 0 }
        $n = () = /\Q$f\E/g; s/\Q$f\E/$t/ if $n == 1;
        END { exit($n == 1 ? 0 : 3) }' "$1"
}
# apply_line FILE NUMBER FROM TO: replaces line NUMBER, which must read FROM.
apply_line() {
    LINE=$2 FROM=$3 TO=$4 perl -pi -e '
        if ($. == $ENV{LINE}) { chomp; $ok = $_ eq $ENV{FROM}; $_ = $ENV{TO} . "\n" }
        END { exit($ok ? 0 : 3) }' "$1"
}
# equivalent FILE LINE FROM TO: scripts/equivalents.tsv says no test can see
# it (a fifth column names the line where the same text stands twice).
equivalent() {
    awk -F'\t' -v f="$1" -v n="$2" -v a="$3" -v b="$4" '
        function trim(s) { gsub(/^[ \t]+|[ \t]+$/, "", s); return s }
        $1 == f && $2 == trim(a) && $3 == trim(b) && ($5 == "" || $5 == n) { found = 1 }
        END { exit !found }' "$root/scripts/equivalents.tsv"
}

killed=0 survived=0 stillborn=0 equivalents=0 number=0
while IFS=$'\t' read -r file a b c d; do
    [[ -z "$file" || "$file" == \#* ]] && continue
    number=$((number + 1))
    if [ -n "${MUTATE_ONLY:-}" ] && [[ " $MUTATE_ONLY " != *" $number "* ]]; then
        continue
    fi
    target="$work/src/$file"
    cp "$target" "$work/original"
    if [ -n "$generated" ]; then
        line=$a kind=$b from=$c to=$d
        applied() { apply_line "$target" "$line" "$from" "$to"; }
        shown="$file:$line $kind: $(echo "$from" | sed 's/^ *//') → $(echo "$to" | sed 's/^ *//')"
        equivalent "$file" "$line" "$from" "$to" && note=equivalent || note=
    else
        from=$a to=$b note=$c
        applied() { apply "$target" "$from" "$to"; }
        shown="$file: $from"
    fi
    if ! applied; then
        echo "$number $file: text not found: $from" >&2
        exit 1
    fi
    if [ "$note" = equivalent ]; then
        verdict=equivalent; equivalents=$((equivalents + 1))
    elif ! build; then
        verdict=stillborn; stillborn=$((stillborn + 1))
    elif unit_tests; then
        if [ -n "$end_to_end" ] && ! end_to_end; then
            verdict=killed-e2e; killed=$((killed + 1))
        else
            verdict=survived; survived=$((survived + 1))
        fi
    else
        verdict=killed; killed=$((killed + 1))
    fi
    printf '%2d %-10s %s\n' "$number" "$verdict" "$shown"
    cp "$work/original" "$target"
    touch "$target"
done <"$list"
build
counted=$((killed + survived))
echo "not counted: $stillborn that do not build, $equivalents equivalent"
echo "score: $killed killed of $counted counted ($((100 * killed / (counted > 0 ? counted : 1)))%)"
echo "killed $killed of $((killed + survived + stillborn + equivalents))"

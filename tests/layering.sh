#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Each folder includes only from the folders below it: the panel from the
# catalogue, the windows, the pictures and support; the catalogue and the
# windows from the pictures and support; support's rooms from support's top
# and the rooms their library links; support's top from none of them.
# Usage: layering.sh SOURCE-FOLDER
set -euo pipefail
cd "$1"
# allowed FOLDER: the folders FOLDER's files may include from, besides its own.
allowed() {
    case $1 in
    panel) echo "catalogue windows images support support/disk support/widgets support/x11" ;;
    catalogue) echo "images support support/disk support/widgets" ;;
    windows) echo "images support support/widgets support/x11" ;;
    images | support) echo "" ;;
    support/disk | support/widgets | support/x11) echo "support" ;;
    support/targets) echo "support support/disk support/gio support/gateway" ;;
    support/launch) echo "support support/gio" ;;
    support/gateway) echo "support" ;;
    support/gateway/probe) echo "support/gateway" ;;
    support/session) echo "support support/disk" ;;
    support/gio) echo "" ;;
    support/dialogs) echo "support support/widgets" ;;
    *) echo "?" ;;
    esac
}
status=0
while IFS= read -r file; do
    folder=$(dirname "$file")
    ok=" $folder $(allowed "$folder") "
    while IFS= read -r included; do
        [[ "$included" == */* ]] || continue # beside it
        [[ "$ok" == *" $(dirname "$included") "* ]] && continue
        echo "$file includes $included" >&2
        status=1
    done < <(sed -n 's/^#include "\(.*\)"/\1/p' "$file")
done < <(find panel catalogue windows images support -name '*.cpp' -o -name '*.h' | grep -v '^images/tools/')
[ "$status" = 0 ] && echo "every include goes downward"
exit "$status"

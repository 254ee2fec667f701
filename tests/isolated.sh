#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test with folders of its own: configuration, cache, data, state,
# runtime and temporary folders made fresh under the caller's temporary
# folder, whatever the caller's session keeps in its own.
# Usage: isolated.sh PROGRAM [ARGUMENTS...]
set -euo pipefail
own=$(mktemp -d "${TMPDIR:-/tmp}/katalog-test.XXXXXX")
trap 'rm -rf "$own"' EXIT
for folder in config cache data state runtime; do mkdir -m 700 "$own/$folder"; done
# Reached by the tests that act as another user, as /tmp is.
chmod 755 "$own" && mkdir -m 1777 "$own/tmp"
export XDG_CONFIG_HOME="$own/config" XDG_CACHE_HOME="$own/cache" XDG_DATA_HOME="$own/data" \
    XDG_STATE_HOME="$own/state" XDG_RUNTIME_DIR="$own/runtime" TMPDIR="$own/tmp"
"$@"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CPU time the panel spends on one slot click, its one-second lock included,
# read from outside the process (/proc/PID/task/*/schedstat), over 9 clicks.
# Usage: bench/click-cpu.sh [PATH-TO-katalog]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -eq 0 ]; then
    bash "$here/scripts/install-deps.sh" --test >/dev/null
    bash "$here/scripts/build.sh" >/dev/null
    set -- "$here/build/katalog"
fi
source "$here/tests/e2e/xsession.sh"

start_x
recording_desktop
app=$(install_panel "$1")
"$app/katalog" >/dev/null 2>&1 &
panel=$!
E2E_PIDS+=($panel)
wait_for 10 panel_window || fail "no panel window"
sleep 1

cpu_ns() { cat /proc/"$panel"/task/*/schedstat | awk '{ sum += $1 } END { print sum }'; }

samples=()
for run in $(seq 1 9); do
    xdotool mousemove $((683 + 26)) $((127 + 44 + 18 + 38 * (run % 12)))
    sleep 0.3
    before=$(cpu_ns)
    xdotool click 1
    sleep 1.2 # the lock and a little more
    after=$(cpu_ns)
    samples+=($(( (after - before) / 1000 )))
done
printf '%s\n' "${samples[@]}" | sort -n | awk '
    { v[NR] = $1 }
    END { printf "click-cpu: CPU time for one click and its 1 s lock: median %.2f ms, min %.2f ms, max %.2f ms (%d clicks; target < 5 ms)\n",
          v[int((NR + 1) / 2)] / 1000, v[1] / 1000, v[NR] / 1000, NR }'

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the built panel, and a minimal Qt window of the same shape built
# from the same tree as the floor, under Xvfb and openbox, from outside the
# processes (/proc, xprop, xdotool, inotifywait). Prints one line a figure:
# median, min and max over the runs.
# Usage: bench/run.sh [RUNS]   (default 9)
#        BENCH_ONLY=events bench/run.sh [RUNS]   (only the click and the drop)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-9}
bash "$here/scripts/install-deps.sh" --test >/dev/null
bash "$here/scripts/build.sh" >/dev/null
cmake --build "$here/build" --target bench_floor bench_dragsource >/dev/null
panel_bin="$here/build/katalog"
floor_bin="$here/build/bench/bench_floor"
source "$here/tests/e2e/xsession.sh"
start_x
recording_desktop

# stats NAME UNIT TARGET VALUES...: median, min and max of the values.
stats() {
    local name=$1 unit=$2 target=$3; shift 3
    printf '%s\n' "$@" | sort -g | awk -v name="$name" -v unit="$unit" -v target="$target" '
        { v[NR] = $1 }
        END { printf "%-42s median %9.2f %s  min %9.2f  max %9.2f  (%d runs)%s\n",
              name, v[int((NR + 1) / 2)], unit, v[1], v[NR], NR, target == "" ? "" : "  target: " target }'
}
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ s += $1 } END { print s }'; }
switches() { cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt_switches/ { s += $2 } END { print s }'; }
rollup_kib() { awk -v key="$2:" '$1 == key { print $2 }' /proc/"$1"/smaps_rollup; }
# with_helper PID: the process and its disk helper, if it has one.
with_helper() { echo "$1" $(pgrep -P "$1" -x katalog-probe); }
# total_kib PID KEY: KEY summed over the process and its disk helper.
total_kib() {
    local pid sum=0
    for pid in $(with_helper "$1"); do sum=$((sum + $(rollup_kib "$pid" "$2"))); done
    echo "$sum"
}
# total FUNCTION PID...: FUNCTION's figure summed over the processes.
total() {
    local f=$1 pid sum=0; shift
    for pid in "$@"; do sum=$((sum + $("$f" "$pid"))); done
    echo "$sum"
}

# stamped COMMAND...: the command's output lines, each behind the moment it
# arrived (microseconds since the epoch), stamped as they come.
stamped() {
    "$@" | while IFS= read -r line; do echo "${EPOCHREALTIME/./} $line"; done
}

# launch BINARY: starts it and waits until the window manager manages its
# window; sets LAUNCHED (pid) and MAP_MS (start to mapped, in ms).
launch() {
    coproc SPY { stamped stdbuf -oL xprop -root -spy _NET_CLIENT_LIST; }
    local spy=$SPY_PID t0 t1 line
    read -r line <&"${SPY[0]}"
    t0=${EPOCHREALTIME/./}
    "$1" >/dev/null 2>&1 &
    LAUNCHED=$!
    read -r t1 line <&"${SPY[0]}"
    MAP_CPU_MS=$(awk -v d="$(cpu_ns "$LAUNCHED")" 'BEGIN { printf "%.2f", d / 1e6 }')
    pkill -P "$spy" 2>/dev/null; wait "$spy" 2>/dev/null || true
    MAP_MS=$(awk -v d=$((t1 - t0)) 'BEGIN { printf "%.2f", d / 1e3 }')
}

# Lets the X server and the window manager settle before the next start.
stop() { { kill "$1" && wait "$1"; } 2>/dev/null || true; sleep 1; }

# sample SUBJECT BINARY: one run: start-up, memory two seconds after mapping,
# then CPU time and wake-ups over ten seconds of idling.
declare -A MAP MAP_CPU RSS PSS IDLE_CPU IDLE_WAKE
sample() {
    local subject=$1 pids c0 s0
    launch "$2"
    MAP[$subject]+="$MAP_MS "
    MAP_CPU[$subject]+="$MAP_CPU_MS "
    sleep 2
    # The panel's disk helper counts with it.
    RSS[$subject]+="$(awk -v k="$(total_kib "$LAUNCHED" Rss)" 'BEGIN { printf "%.1f", k / 1024 }') "
    PSS[$subject]+="$(awk -v k="$(total_kib "$LAUNCHED" Pss)" 'BEGIN { printf "%.1f", k / 1024 }') "
    pids=$(with_helper "$LAUNCHED")
    c0=$(total cpu_ns $pids); s0=$(total switches $pids)
    sleep 10
    IDLE_CPU[$subject]+="$(awk -v d=$(($(total cpu_ns $pids) - c0)) 'BEGIN { printf "%.3f", d / 1e6 }') "
    IDLE_WAKE[$subject]+="$(($(total switches $pids) - s0)) "
    stop "$LAUNCHED"
}

report() {
    local subject=$1 map_target=${2:-} rss_target=${3:-} idle_target=${4:-}
    # shellcheck disable=SC2086
    {
        stats "$subject: start-up to mapped" ms "$map_target" ${MAP[$subject]}
        stats "$subject: CPU time until mapped" ms "" ${MAP_CPU[$subject]}
        stats "$subject: RSS 2 s after mapping" MiB "$rss_target" ${RSS[$subject]}
        stats "$subject: PSS 2 s after mapping" MiB "" ${PSS[$subject]}
        stats "$subject: idle CPU over 10 s" ms "$idle_target" ${IDLE_CPU[$subject]}
        stats "$subject: idle wake-ups over 10 s" "" "$idle_target" ${IDLE_WAKE[$subject]}
    }
}

echo "machine: $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo), $(. /etc/os-release; echo "$PRETTY_NAME"), Qt $(pkg-config --modversion Qt6Core 2>/dev/null || echo 6)"

empty=$(install_panel "$panel_bin")
full=$(install_panel "$panel_bin")
mkdir -p "$E2E_TMP/targets/Папка" && echo text >"$E2E_TMP/targets/заметка.txt"
write_store "$full/knw.dll" "$HOME" " root" /usr/share/doc " doc" /usr/share/icons " icons" \
    "$E2E_TMP/targets/Папка" " Папка" /etc/hostname hostname "$E2E_TMP/targets/заметка.txt" заметка.txt \
    /usr/share/common-licenses/GPL-3 GPL-3 /usr/share/applications/openbox.desktop openbox.desktop \
    /usr/bin/cmake cmake /usr/bin/xdotool xdotool /etc/os-release os-release /tmp " tmp"

# Half of twelve targets on a share that takes 12 s to answer each look-up.
subjects=(floor "panel, empty store" "panel, 12 targets")
if [ -c /dev/fuse ] && /usr/bin/python3 -c 'import fusepy' 2>/dev/null; then
    slow=$(install_panel "$panel_bin")
    share="$E2E_TMP/share"
    mkdir -p "$share" "$E2E_TMP/shared/"{A,B,C} && touch "$E2E_TMP/shared/"{a,b,c}.txt
    /usr/bin/python3 "$here/tests/e2e/slowfs.py" "$E2E_TMP/shared" "$share" 12 2>/dev/null &
    E2E_PIDS+=($!)
    trap 'umount -l "$share" 2>/dev/null; e2e_cleanup' EXIT
    wait_for 10 mountpoint -q "$share"
    write_store "$slow/knw.dll" "$share/A" " A" "$share/B" " B" "$share/C" " C" "$share/a.txt" a.txt \
        "$share/b.txt" b.txt "$share/c.txt" c.txt /etc/hostname hostname /usr/share/doc " doc" \
        /usr/bin/cmake cmake /usr/share/applications/openbox.desktop openbox.desktop \
        /etc/os-release os-release /tmp " tmp"
    subjects+=("panel, 6 of 12 slow")
fi

if [ "${BENCH_ONLY:-}" != events ]; then
# Interleaved, each run in another order, so that whatever else the machine
# does weighs on all alike.
declare -A binary=([floor]="$floor_bin" ["panel, empty store"]="$empty/katalog"
                   ["panel, 12 targets"]="$full/katalog" ["panel, 6 of 12 slow"]="${slow:-}/katalog")
for run in $(seq 1 "$runs"); do
    for i in "${!subjects[@]}"; do
        subject=${subjects[$(((run + i) % ${#subjects[@]}))]}
        sample "$subject" "${binary[$subject]}"
    done
done
# shellcheck disable=SC2086
floor_map=$(median ${MAP[floor]}); floor_rss=$(median ${RSS[floor]})
map_target="<= $(awk -v f="$floor_map" 'BEGIN { printf "%.1f", 1.2 * f }') ms (1.2 x floor)"
rss_target="<= $(awk -v f="$floor_rss" 'BEGIN { printf "%.1f", f + 8 }') MiB (floor + 8, panel and helper)"
report floor
report "panel, empty store" "$map_target" "$rss_target" 0
report "panel, 12 targets" "$map_target" "$rss_target" 0
[ -z "${slow:-}" ] || report "panel, 6 of 12 slow" "$map_target" "$rss_target"
fi

# One click, its one-second lock included, on slots that open nothing.
launch "$empty/katalog"
panel=$LAUNCHED
sleep 1
clicks=()
for run in $(seq 1 "$runs"); do
    xdotool mousemove "$slot_x" "$(slot_y $((run % 12 + 1)))"
    sleep 0.3
    c0=$(cpu_ns "$panel")
    xdotool click 1
    sleep 1.2
    clicks+=("$(awk -v d=$(($(cpu_ns "$panel") - c0)) 'BEGIN { printf "%.3f", d / 1e6 }')")
done
stats "panel one click and its lock, CPU" ms "< 5 ms" "${clicks[@]}"

# One drop: from the button's release, as the X server reports it, to the
# store renamed into place.
mkdir -p "$E2E_TMP/dropped"
"$here/build/bench/bench_dragsource" "$E2E_TMP/dropped" >/dev/null 2>&1 &
E2E_PIDS+=($!)
wait_for 10 xdotool search --name '^drag source$'
sleep 0.5
mkfifo "$E2E_TMP/releases" "$E2E_TMP/renames"
stamped stdbuf -oL xinput test-xi2 --root >"$E2E_TMP/releases" &
E2E_PIDS+=($!)
stamped inotifywait -m -q -e moved_to --format %f "$empty" >"$E2E_TMP/renames" &
E2E_PIDS+=($!)
exec {releases}<"$E2E_TMP/releases" {renames}<"$E2E_TMP/renames"
sleep 0.5
drops=()
for run in $(seq 1 "$runs"); do
    drag_over 200 175 "$slot_x" "$(slot_y $((run % 12 + 1)))"
    # Forget the events of the drag so far.
    while read -r -t 0.2 _ <&"$releases"; do :; done
    xdotool mouseup 1
    while read -r t0 line <&"$releases"; do [[ "$line" == *RawButtonRelease* ]] && break; done
    while read -r t1 name <&"$renames"; do [ "$name" = knw.dll ] && break; done
    drops+=("$(awk -v d=$((t1 - t0)) 'BEGIN { printf "%.2f", d / 1e3 }')")
    sleep 0.5
done
stats "panel one drop to store in place" ms "< 5 ms" "${drops[@]}"
stop "$panel"

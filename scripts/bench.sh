#!/usr/bin/env bash
# Measures what BENCHMARKS.md reports: the micro-benchmarks (Google Benchmark) and the
# whole-process figures under Xvfb with openbox, each beside its floor from the same run.
#   scripts/bench.sh [RUNS]     (default 15 runs per start-up figure, at least 10)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
"$root/scripts/deps.sh" test
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target quadrivo bench_quadrivo empty_window -j"$(nproc)" >/dev/null
source "$root/tests/e2e/xsession.sh"
work=$(mktemp -d)
xsession_start
bus_pid=
trap 'xsession_stop; [[ -n "$bus_pid" ]] && kill "$bus_pid"; rm -rf "$work"' EXIT
cp "$root/examples/TEAM.dat" "$work/"

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
if [[ -z "${BENCH_PROCESS_ONLY:-}" ]]; then   # BENCH_PROCESS_ONLY=1: the whole-process figures alone
    echo
    echo "== micro-benchmarks (median, stddev over 15 repetitions)"
    "$root/build/bench/bench_quadrivo" --benchmark_repetitions=15 --benchmark_report_aggregates_only=true 2>/dev/null \
        | grep -E '_(median|stddev) '
fi

cmake --build "$root/build" --target map_timer -j"$(nproc)" >/dev/null
timer=$root/build/bench/map_timer
stats() { sort -n | awk '{a[NR]=$1} END {printf "median %s ms [min %s, max %s] (n=%d)", a[int((NR+1)/2)], a[1], a[NR], NR}'; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Launch to the window mapped, product and floor interleaved so both see the same machine.
# One line a run: "FLOOR_MS PRODUCT_MS".
startup_pairs() {
    local f p
    for _ in $(seq "$runs"); do
        # A pause before each launch, so what the X server and the bus still do for the
        # process before does not fall into the next one's figure.
        sleep 0.3
        f=$(cd "$work" && "$timer" --kill 'Leeres Fenster' -- "$root/build/bench/empty_window" 2>/dev/null | head -n1)
        sleep 0.3
        p=$(cd "$work" && "$timer" --kill 'Velmarin: Auswertung Kestrani' -- "$root/build/src/quadrivo" 2>/dev/null | head -n1)
        echo "$f $p"
    done
}

report_startup() {   # LABEL FILE
    local fm pm
    fm=$(cut -d' ' -f1 "$2" | median); pm=$(cut -d' ' -f2 "$2" | median)
    echo "$1"
    echo "  empty Qt 6 window:   $(cut -d' ' -f1 "$2" | stats)"
    echo "  selection window:    $(cut -d' ' -f2 "$2" | stats)"
    echo "  ratio of medians:    $(awk -v p="$pm" -v f="$fm" 'BEGIN {printf "%.2f", p / f}') x;" \
         "run by run: $(awk '{printf "%.2f\n", $2 / $1}' "$2" | stats | sed 's/ ms//g')"
}

echo
echo "== start-up: launch to the window mapped (X server's MapNotify), interleaved"
(unset DBUS_SESSION_BUS_ADDRESS; startup_pairs) >"$work/nobus.txt"
report_startup "without a D-Bus session bus:" "$work/nobus.txt"
{ read -r bus_address; read -r bus_pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
(export DBUS_SESSION_BUS_ADDRESS=$bus_address; startup_pairs) >"$work/bus.txt"
report_startup "with a D-Bus session bus:" "$work/bus.txt"

peak_kib() { grep VmHWM "/proc/$1/status" | awk '{print $2}'; }

# A whole session: the dialog, four views, four snapshots; the peak just before the end.
session_peak() {
    rm -f "$work"/*.jpg
    (cd "$work" && exec "$root/build/src/quadrivo") >/dev/null 2>&1 &
    APP_PID=$!
    wait_window '^Öffnen$' >/dev/null; sleep 0.3
    xdotool key Return
    wait_window '^Bestätigung$' >/dev/null; sleep 0.2
    xdotool key Return
    wait_window '^Velmarin: Auswertung Kestrani$' >/dev/null; sleep 0.3
    for tabs in 0 1 1 1; do
        for _ in $(seq "$tabs"); do xdotool key Tab; done
        xdotool key Return
        wait_window 'Teammitglied:|Team$' >/dev/null; sleep 0.3
        xdotool key Return
        wait_no_window 'Teammitglied:|Team$' >/dev/null; sleep 0.3
    done
    peak_kib "$APP_PID"
    [[ $(ls "$work"/*.jpg | wc -l) -eq 4 ]] || echo "warning: not four snapshots" >&2
    xdotool key Return   # the focus is on Schließen after the whole team
    wait "$APP_PID" || true
    APP_PID=
}

floor_peak() {
    (cd "$work" && exec "$root/build/bench/empty_window") >/dev/null 2>&1 &
    APP_PID=$!
    wait_window '^Leeres Fenster$' >/dev/null
    sleep 0.5
    peak_kib "$APP_PID"
    kill "$APP_PID"; wait "$APP_PID" 2>/dev/null || true
    APP_PID=
}

echo
echo "== peak memory (VmHWM), with the session bus; floor and product interleaved"
export DBUS_SESSION_BUS_ADDRESS=$bus_address
for _ in 1 2 3; do
    echo "$(floor_peak) $(session_peak)"
done >"$work/memory.txt"
fm=$(cut -d' ' -f1 "$work/memory.txt" | median); pm=$(cut -d' ' -f2 "$work/memory.txt" | median)
echo "  empty Qt 6 window:                       $(cut -d' ' -f1 "$work/memory.txt" | tr '\n' ' ')KiB"
echo "  session (dialog, 4 views, 4 snapshots):  $(cut -d' ' -f2 "$work/memory.txt" | tr '\n' ' ')KiB"
echo "  ratio of medians:                        $(awk -v p="$pm" -v f="$fm" 'BEGIN {printf "%.2f", p / f}') x"

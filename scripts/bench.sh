#!/usr/bin/env bash
# Measures what BENCHMARKS.md reports: the micro-benchmarks (Google Benchmark) and the
# whole-process figures under Xvfb with openbox, each beside its floor from the same run.
#   scripts/bench.sh [RUNS]     (default 15 runs per start-up figure)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
"$root/scripts/deps.sh" test
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target quadrivo bench_quadrivo empty_window -j"$(nproc)" >/dev/null
source "$root/tests/e2e/xsession.sh"
work=$(mktemp -d)
xsession_start
trap 'xsession_stop; rm -rf "$work"' EXIT
cp "$root/examples/TEAM.dat" "$work/"

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo
echo "== micro-benchmarks (median, stddev over 15 repetitions)"
"$root/build/bench/bench_quadrivo" --benchmark_repetitions=15 --benchmark_report_aggregates_only=true 2>/dev/null \
    | grep -E '_(median|stddev) '

now_ms() { date +%s%3N; }
median_spread() { sort -n | awk '{a[NR]=$1} END {printf "median %s ms, min %s, max %s (n=%d)\n", a[int((NR+1)/2)], a[1], a[NR], NR}'; }

# Launch to the named window visible (mapped by the window manager), in milliseconds.
startup_ms() {
    local name=$1; shift
    local t0 t1
    t0=$(now_ms)
    (cd "$work" && exec "$@") >/dev/null 2>&1 &
    APP_PID=$!
    until xdotool search --onlyvisible --name "$name" >/dev/null 2>&1; do sleep 0.002; done
    t1=$(now_ms)
    kill "$APP_PID"; wait "$APP_PID" 2>/dev/null || true
    APP_PID=
    echo $((t1 - t0))
}

echo
echo "== start-up: launch to the window mapped"
echo -n "empty Qt 6 window:   "
for _ in $(seq "$runs"); do startup_ms '^Leeres Fenster$' "$root/build/bench/empty_window"; done | median_spread
echo -n "selection window:    "
for _ in $(seq "$runs"); do startup_ms '^Velmarin: Auswertung Kestrani$' "$root/build/src/quadrivo"; done | median_spread

peak_kib() { grep VmHWM "/proc/$1/status" | awk '{print $2}'; }

echo
echo "== peak memory (VmHWM)"
(cd "$work" && exec "$root/build/bench/empty_window") >/dev/null 2>&1 &
APP_PID=$!
wait_window '^Leeres Fenster$' >/dev/null
sleep 0.5
echo "empty Qt 6 window:                       $(peak_kib "$APP_PID") KiB"
kill "$APP_PID"; wait "$APP_PID" 2>/dev/null || true

# A whole session: the dialog, four views, four snapshots.
(cd "$work" && exec "$root/build/src/quadrivo") >/dev/null 2>&1 &
APP_PID=$!
wait_window '^Öffnen$' >/dev/null; sleep 0.3
xdotool key Return
wait_window '^Bestätigung$' >/dev/null; sleep 0.2
xdotool key Return
main=$(wait_window '^Velmarin: Auswertung Kestrani$'); sleep 0.3
for tabs in 0 1 1 1; do
    for _ in $(seq "$tabs"); do xdotool key Tab; done
    xdotool key Return
    wait_window 'Teammitglied:|Team$' >/dev/null; sleep 0.3
    xdotool key Return
    sleep 0.4
done
echo "session (dialog, 4 views, 4 snapshots):  $(peak_kib "$APP_PID") KiB; snapshots: $(ls "$work"/*.jpg | wc -l)"
xdotool mousemove --window "$main" 464 240 click 1
wait "$APP_PID" || true
APP_PID=

#!/usr/bin/env bash
# Builds the program and starts it in examples/, where its open dialog offers the
# bundled TEAM.dat.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" build
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build "$root/build" --target quadrivo -j"$(nproc)"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "error: no display. Velmarin-Auswertung is a desktop program: start it from a" >&2
    echo "graphical session, or under a virtual X server: xvfb-run -a scripts/run.sh" >&2
    exit 1
fi
cd "$root/examples"
exec "$root/build/src/quadrivo"

#!/usr/bin/env bash
# Makes the README's pictures of both windows under Xvfb with openbox:
#   scripts/screenshots.sh            (builds first; writes docs/*.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" test
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target quadrivo -j"$(nproc)"
source "$root/tests/e2e/xsession.sh"
work=$(mktemp -d)
xsession_start
trap 'xsession_stop; rm -rf "$work"' EXIT
cp "$root/examples/TEAM.dat" "$work/"

# The picture of a window as the screen shows it, frame and title bar included.
shoot() {
    import -frame -window "$1" "$2"
}

(cd "$work" && exec "$root/build/src/quadrivo") >/dev/null 2>&1 &
APP_PID=$!
wait_window '^Öffnen$' >/dev/null
sleep 0.3
xdotool key Return
wait_window '^Bestätigung$' >/dev/null
sleep 0.2
xdotool key alt+n
main=$(wait_window '^Velmarin: Auswertung Kestrani$')
wait_outer_size "$main" 606 364
sleep 0.3
shoot "$main" "$root/docs/selection-window.png"
xdotool key Tab Tab Tab Return   # Gesamtteam
chart=$(wait_window 'Team$')
wait_outer_size "$chart" 808 580
sleep 0.5
shoot "$chart" "$root/docs/chart-window.png"
# The chart's context menu, opened on the chart; the picture shows the window's left part.
xdotool mousemove --window "$chart" 300 300 click 3
sleep 0.5
read -r cx cy _ _ < <(outer_geometry "$chart")
import -window root -crop "560x420+$cx+$cy" +repage "$root/docs/context-menu.png"
xdotool key Escape
sleep 0.3
xdotool key Return
sleep 0.3
xdotool mousemove --window "$main" 464 240 click 1
wait "$APP_PID" || true
APP_PID=
echo "written: docs/selection-window.png docs/chart-window.png docs/context-menu.png"

#!/usr/bin/env bash
# End-to-end: the keyboard always comes back to the selection window, on the button the
# focus rules name, after every modal window closes: the question box, each chart window
# and the error box of a failed snapshot. Run under one window manager, or none:
#   e2e_focus.sh QUADRIVO SAMPLE_TEAM_DAT openbox|xfwm4|icewm|none [ERROR_ROUNDS]
# Keys go to whatever window has the X input focus, as a user's do.
set -euo pipefail
app=$1 sample=$2 wm=$3 rounds=${4:-3}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xsession.sh"

FAIL_CONTEXT=$wm
XSESSION_WM=$wm e2e_begin 1280x1024x24

cp "$sample" "$work/TEAM.dat"
mkdir "$work/TEAM1.jpg"   # member 1's snapshot cannot be written: the error box comes

# The window named PATTERN appears: the key before it reached the selection window.
expect_window() {   # PATTERN WHAT
    wait_window "$1" >/dev/null || fail "$2"
    sleep 0.3
}

# A window is centred on the screen's work area (less any panel), frame and title bar included.
expect_centred() {   # PATTERN
    [[ $wm == none ]] && return 0   # no frame to include
    local id x y w h ax ay aw ah
    id=$(wait_window "$1")
    read -r x y w h < <(outer_geometry "$id")
    read -r ax ay aw ah < <(xprop -root _NET_WORKAREA | sed 's/.*= //' | tr -d , | cut -d' ' -f1-4)
    local dx=$(((2 * x + w) - (2 * ax + aw))) dy=$(((2 * y + h) - (2 * ay + ah)))
    (( dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2 )) || fail "'$1' is off centre by $((dx / 2)), $((dy / 2)) px"
}

# The pointer in a corner, off every window: without a window manager the keys would
# otherwise go to the window under it whatever has the focus.
xdotool mousemove 0 0
(cd "$work" && exec "$app") >"$work/app.log" 2>&1 &
APP_PID=$!
expect_window '^Öffnen$' "no open dialog"
xdotool key Return
expect_window '^Bestätigung$' "no question box"
expect_centred '^Bestätigung$'
xdotool key Return   # Ja
wait_no_window '^Bestätigung$' || fail "the question box stayed"
expect_window '^Velmarin: Auswertung Kestrani$' "no selection window"
expect_centred '^Velmarin: Auswertung Kestrani$'

echo "--- after the question box: Return presses Teammitglied 1"
xdotool key Return
expect_window 'Teammitglied: Jürgen Weiß$' "the keyboard does not act on the selection window after the question box"
expect_centred 'Teammitglied: Jürgen Weiß$'

for round in $(seq "$rounds"); do
    echo "--- error box, round $round"
    xdotool key Return   # Schließen: the snapshot fails
    expect_window '^Velmarin-Auswertung$' "no error box"
    expect_centred '^Velmarin-Auswertung$'
    xdotool key Return   # OK
    wait_no_window 'Teammitglied: Jürgen Weiß$' || fail "the chart window stayed after the error box"
    sleep 0.3
    xdotool key Return   # the focus is back on Teammitglied 1
    expect_window 'Teammitglied: Jürgen Weiß$' "the keyboard does not act on the selection window after the error box (round $round)"
done
xdotool key Escape   # closed without a snapshot
wait_no_window 'Teammitglied: Jürgen Weiß$' || fail "Escape did not close the chart window"
sleep 0.3

echo "--- after each chart window: Tab and Return open the next view"
for name in 'Anneliese Böhm' 'Dörte Maßmann'; do
    xdotool key Tab Return
    expect_window "Teammitglied: $name\$" "the keyboard does not act on the selection window after a chart window"
    xdotool key Return   # Schließen, with its snapshot
    wait_no_window "Teammitglied: $name\$" || fail "the chart window stayed"
    sleep 0.3
done
xdotool key Tab Return
expect_window 'Team$' "no whole-team view"
xdotool key Return
wait_no_window 'Team$' || fail "the whole-team window stayed"
sleep 0.3

echo "--- after the whole team the focus is on Schließen: Return ends the program"
xdotool key Return
for _ in $(seq 50); do
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$APP_PID" 2>/dev/null && fail "Return after the whole-team view did not end the program"
code=0
wait "$APP_PID" || code=$?
APP_PID=
[[ $code -eq 0 ]] || fail "the program exited with $code"
[[ -s "$work/TEAM2.jpg" && -s "$work/TEAM3.jpg" && -s "$work/TEAM-gesamt.jpg" ]] || fail "snapshots missing: $(ls "$work")"
echo "e2e focus ($wm): all passed"

#!/usr/bin/env bash
# End-to-end under Xvfb with openbox: a data file named on the command line opens without
# the open dialog; Ctrl+C in a chart window puts the chart on the clipboard as a picture
# and leaves the window's snapshot as it would be without the copy.
#   Usage: e2e_chart_extras.sh QUADRIVO SAMPLE_TEAM_DAT
set -euo pipefail
app=$1 sample=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xsession.sh"

e2e_begin
mkdir "$work/daten" "$work/start"
cp "$sample" "$work/daten/TEAM.dat"


echo "--- quadrivo FILE: no open dialog"
(cd "$work/start" && exec "$app" ../daten/TEAM.dat) >"$work/app.log" 2>&1 &
APP_PID=$!
wait_window '^Bestätigung$' >/dev/null || fail "no question box"
xdotool search --onlyvisible --name '^Öffnen$' >/dev/null 2>&1 && fail "the open dialog showed"
sleep 0.2
xdotool key Return   # Ja
wait_window '^Velmarin: Auswertung Kestrani$' >/dev/null || fail "no selection window"
sleep 0.3

echo "--- a snapshot without a copy"
xdotool key Return
wait_window 'Teammitglied: Jürgen Weiß$' >/dev/null || fail "no chart window"
sleep 0.5
xdotool key Return
wait_no_window 'Teammitglied: Jürgen Weiß$' || fail "the chart window stayed"
cp "$work/daten/TEAM1.jpg" "$work/without-copy.jpg"
sleep 0.3

echo "--- Ctrl+C: the chart on the clipboard"
xdotool key Return
wait_window 'Teammitglied: Jürgen Weiß$' >/dev/null || fail "no chart window"
sleep 0.5
xdotool key ctrl+c
sleep 0.3
xclip -selection clipboard -t TARGETS -o | grep -qx 'image/png' || fail "no picture on the clipboard: $(xclip -selection clipboard -t TARGETS -o)"
xclip -selection clipboard -t image/png -o >"$work/clipboard.png"
[[ "$(identify -format '%wx%h' "$work/clipboard.png")" == 930x1068 ]] \
    || fail "the clipboard's picture is $(identify -format '%wx%h' "$work/clipboard.png"), not the chart at twice its size"
xdotool key Return   # Schließen: the snapshot
wait_no_window 'Teammitglied: Jürgen Weiß$' || fail "the chart window stayed"
differing=$(compare -metric AE -fuzz 2% "$work/without-copy.jpg" "$work/daten/TEAM1.jpg" null: 2>&1 || true)
[[ "$differing" == 0 ]] || fail "the copy changed the snapshot: $differing pixels differ"
sleep 0.3
xdotool key alt+F4
expect_exit_zero

echo "--- quadrivo FILE that cannot be read: the message, then the end"
(cd "$work/start" && exec "$app" fehlt.dat) >"$work/app.log" 2>&1 &
APP_PID=$!
wait_window '^Bestätigung$' >/dev/null || fail "no question box"
sleep 0.2
xdotool key alt+n
wait_window '^Velmarin-Auswertung$' >/dev/null || fail "no message"
sleep 0.2
xdotool key Return
expect_exit_zero
echo "e2e chart extras: all passed"

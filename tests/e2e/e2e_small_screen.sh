#!/usr/bin/env bash
# End-to-end: on an 800 x 600 screen (Xvfb with openbox) the 808 x 580 chart window keeps
# its size, its title bar and top-left corner on the screen and its Schließen button within
# reach; its snapshot has no black columns where the window reaches past the screen.
#   Usage: e2e_small_screen.sh QUADRIVO SAMPLE_TEAM_DAT
set -euo pipefail
app=$1 sample=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xsession.sh"

e2e_begin 800x600x24
cp "$sample" "$work/TEAM.dat"

(cd "$work" && exec "$app") >"$work/app.log" 2>&1 &
APP_PID=$!
wait_window '^Öffnen$' >/dev/null || fail "no open dialog"
sleep 0.3
xdotool key Return
answer_question Return >/dev/null   # Ja
xdotool key Return
chart=$(wait_window 'Teammitglied: Jürgen Weiß$') || fail "no chart window"
wait_outer_size "$chart" 808 580 || fail "the chart window changed its size"
sleep 0.3
read -r x y w h < <(outer_geometry "$chart")
echo "chart window's frame at $x,$y, ${w}x$h"
(( x >= 0 && y >= 0 )) || fail "the frame's top-left corner is off the screen ($x, $y)"
(( y + 20 <= 600 )) || fail "the title bar is off the screen"
# Schließen: client 640..753 x 304..337, inside a frame of 1/20/1/5.
(( x + 1 + 753 <= 800 && y + 20 + 337 <= 600 )) || fail "Schließen is off the screen"
xdotool key Return   # Schließen: the snapshot
wait_no_window 'Teammitglied: Jürgen Weiß$' || fail "the chart window stayed"
read -r sw sh < <(identify -format '%w %h\n' "$work/TEAM1.jpg")
[[ "$sw $sh" == "808 580" ]] || fail "snapshot ${sw}x$sh"
# The columns beyond the screen come from the window's own drawing: white, not black.
dark=$(convert "$work/TEAM1.jpg" -crop 12x500+796+40 +repage -colorspace Gray -threshold 20% -negate \
           -format '%[fx:round(mean*w*h)]' info:)
(( dark < 30 )) || fail "$dark black pixels in the snapshot's columns beyond the screen"
xdotool key alt+F4
for _ in $(seq 50); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$APP_PID" 2>/dev/null && fail "the program did not end"
wait "$APP_PID" || fail "the program failed"
APP_PID=
echo "e2e small screen: all passed"

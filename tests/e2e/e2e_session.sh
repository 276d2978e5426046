#!/usr/bin/env bash
# End-to-end: the built program under Xvfb with openbox, driven by xdotool as a user
# would drive it.  Usage: e2e_session.sh QUADRIVO SNAPSHOT_CHECK SAMPLE_TEAM_DAT
set -euo pipefail
app=$1 check=$2 sample=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xsession.sh"

step() { echo "--- $*"; }

e2e_begin 2560x1600x24   # room for the chart window at twice the density

data="$work/Team Daten"
mkdir -p "$data" "$work/elsewhere"
cp "$sample" "$data/TEAM.dat"

# Starts the program in a folder of its own, chooses the data file by typing its path,
# and answers the question with the given key.
start_session() {
    local answer=$1
    (cd "$work/elsewhere" && exec "$app") >"$work/app.log" 2>&1 &
    APP_PID=$!
    dialog=$(wait_window '^Öffnen$') || fail "no open dialog"
    sleep 0.3
    xdotool key --window "$dialog" ctrl+a
    xdotool type --delay 2 "$data/TEAM.dat"
    xdotool key Return
    main=$(answer_question "$answer")
    wait_no_window '^Bestätigung$' || fail "question box stayed"
}

# Ends the program by the selection window's close button; it must exit with 0.
end_session() {
    local scale=${QT_SCALE_FACTOR:-1}
    xdotool mousemove --window "$main" $(((408 + 56) * scale)) $(((224 + 16) * scale)) click 1
    expect_exit_zero
}

client_shot() { import -window "$main" "$1"; }
dark_pixels() {   # FILE WxH+X+Y: pixels darker than half grey in that region
    convert "$1" -crop "$2" +repage -colorspace Gray -threshold 50% -negate -format '%[fx:round(mean*w*h)]' info:
}

# Opens a view with the focused button, checks the caption, closes with Return.
view() {
    local caption=$1
    xdotool key Return
    chart=$(wait_window "$caption") || fail "no chart window '$caption'"
    sleep 0.4
    [[ "$(xdotool getwindowname "$chart")" =~ $caption ]] || fail "caption $(xdotool getwindowname "$chart")"
    wait_outer_size "$chart" 808 580 || fail "chart window outer size"
    xdotool key Return
    wait_no_window "$caption" || fail "chart window did not close"
    sleep 0.3
}

step "first session: snapshots wanted"
start_session Return
wait_outer_size "$main" 606 364 || fail "selection window outer size"
client_shot "$work/start.png"
[[ $(dark_pixels "$work/start.png" 37x21+218+42) -gt 5 ]] || fail "the member count is not shown"
bold=$(dark_pixels "$work/start.png" 100x20+37+83)

step "member 1"
view '^Velmarin: Auswertung Kestrani   Teammitglied: Jürgen Weiß$'
"$check" "$data/TEAM1.jpg" "$data/TEAM.dat" 1 || fail "TEAM1.jpg"
client_shot "$work/after1.png"
regular=$(dark_pixels "$work/after1.png" 100x20+37+83)
[[ $regular -lt $bold ]] || fail "Teammitglied 1 is still bold ($regular >= $bold dark pixels)"

step "member 2"
xdotool key Tab
view '^Velmarin: Auswertung Kestrani   Teammitglied: Anneliese Böhm$'
"$check" "$data/TEAM2.jpg" "$data/TEAM.dat" 2 || fail "TEAM2.jpg"
inode=$(stat -c %i "$data/TEAM2.jpg")

step "member 3"
xdotool key Tab
view '^Velmarin: Auswertung Kestrani   Teammitglied: Dörte Maßmann$'

step "whole team"
xdotool key Tab
view '^Velmarin: Auswertung Kestrani   Team$'
"$check" "$data/TEAM-gesamt.jpg" "$data/TEAM.dat" 0 || fail "TEAM-gesamt.jpg"

step "member 2 again replaces its file"
xdotool key shift+Tab shift+Tab shift+Tab   # from the close button back to Teammitglied 2
view '^Velmarin: Auswertung Kestrani   Teammitglied: Anneliese Böhm$'
[[ $(stat -c %i "$data/TEAM2.jpg") != "$inode" ]] || fail "TEAM2.jpg was not replaced"
"$check" "$data/TEAM2.jpg" "$data/TEAM.dat" 2 || fail "TEAM2.jpg again"
end_session
[[ $(ls "$data" | sort | tr '\n' ' ') == "TEAM-gesamt.jpg TEAM.dat TEAM1.jpg TEAM2.jpg TEAM3.jpg " ]] \
    || fail "unexpected files: $(ls "$data")"
rm "$data"/*.jpg

step "second session: no snapshots"
start_session alt+n
view '^Velmarin: Auswertung Kestrani   Teammitglied: Jürgen Weiß$'
end_session
[[ $(ls "$data") == "TEAM.dat" ]] || fail "files written without snapshots: $(ls "$data")"

step "third session: the open dialog cancelled"
(cd "$work/elsewhere" && exec "$app") >"$work/app.log" 2>&1 &
APP_PID=$!
wait_window '^Öffnen$' >/dev/null || fail "no open dialog"
sleep 0.3
xdotool key Escape
expect_exit_zero
[[ -z "$(ls "$work/elsewhere")" ]] || fail "the cancelled program wrote something"

step "fourth session: twice the density"
rm -f "$data"/*.jpg
export QT_SCALE_FACTOR=2
start_session Return
xdotool key Return
chart=$(wait_window 'Teammitglied: Jürgen Weiß$') || fail "no chart window at scale 2"
sleep 0.5
xdotool key Return
wait_no_window 'Teammitglied: Jürgen Weiß$' || fail "chart window did not close at scale 2"
read -r w h < <(identify -format '%w %h\n' "$data/TEAM1.jpg")
# The screen's own pixels, not a 96-dpi picture scaled: twice 808 x 580, give or take
# the window manager's frame, which stays 1/20/1/5 device pixels.
(( w >= 1612 && w <= 1618 && h >= 1140 && h <= 1162 )) || fail "snapshot at scale 2 is ${w}x${h}"
end_session
unset QT_SCALE_FACTOR

echo "e2e: all passed"

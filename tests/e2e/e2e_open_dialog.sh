#!/usr/bin/env bash
# End-to-end: the open dialog under Xvfb with openbox. What is typed is what opens, in
# every kind of folder; the dialog always starts in the working folder, whatever the bytes
# of its name and whatever a stale history file says; a whole session leaves HOME empty.
#   Usage: e2e_open_dialog.sh QUADRIVO MAKE_SAMPLE_TEAM
set -euo pipefail
export LC_ALL=C.UTF-8   # the typed texts are UTF-8
app=$1 make_team=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xsession.sh"

e2e_begin
# A German keyboard, as the users have: umlauts are keys of their own, which xdotool then
# types reliably (it loses characters it has to map to a spare key first).
setxkbmap de

# A data file whose first member is called NAME.
team() {   # FOLDER NAME
    mkdir -p "$1"
    "$make_team" "$work/made.dat" "$2" >/dev/null   # the shell keeps a folder name's bytes
    mv "$work/made.dat" "$1/TEAM.dat"
}

# Starts the program in FOLDER with HOME at HOME_DIR and types TEXT into the open dialog.
start_typing() {   # FOLDER HOME_DIR TEXT
    (cd "$1" && HOME=$2 XDG_CONFIG_HOME= XDG_DATA_HOME= XDG_CACHE_HOME= XDG_STATE_HOME= exec "$app") \
        >"$work/app.log" 2>&1 &
    APP_PID=$!
    dialog=$(wait_window '^Öffnen$') || fail "no open dialog"
    sleep 0.3
    if [[ -n "$3" ]]; then
        xdotool key --window "$dialog" ctrl+a
        xdotool type --delay 20 "$3"
    fi
    xdotool key Return
}

# The file chosen was read: the question comes; answered Nein, member 1's view shows NAME.
expect_opened() {   # NAME
    answer_question alt+n >/dev/null
    xdotool key Return
    wait_window "Teammitglied: $1\$" >/dev/null || fail "member 1 is not '$1': $(xdotool search --onlyvisible --name Teammitglied getwindowname 2>/dev/null)"
    xdotool key Escape
    wait_no_window "Teammitglied: $1\$" || fail "the chart window stayed"
    sleep 0.2
    xdotool key alt+F4
    expect_exit_zero
}


home=$work/home
mkdir -p "$home"

echo "--- typed paths"
team "$work/w" "Eins"
team "$work/w/x" "Unter"
team "$work/Mit Blanks und Umlauten äöü" "Zwei"
mkdir -p "$home/Daten"
team "$home/Daten" "Daheim"
# folder the program starts in | what is typed | member 1 of the file that must open
cases=(
    "$work/w|$work/w/TEAM.dat|Eins"                      # one-letter folder, full path
    "$work/w|TEAM.dat|Eins"                              # the preset name as typed
    "$work/w|x/TEAM.dat|Unter"                           # relative, into a one-letter folder
    "$work/w/x|../TEAM.dat|Eins"                         # relative, upwards
    "$work/w|$work/Mit Blanks und Umlauten äöü/TEAM.dat|Zwei"   # blanks and umlauts
    "$work/w|~/Daten/TEAM.dat|Daheim"                    # the home folder
)
for c in "${cases[@]}"; do
    IFS='|' read -r folder typed name <<<"$c"
    echo "  $typed (in ${folder#"$work"/})"
    start_typing "$folder" "$home" "$typed"
    expect_opened "$name"
done

echo "--- a missing folder or file: the dialog's warning, and the dialog stays"
for typed in "$work/fehlt/TEAM.dat" "$work/w/FEHLT.dat"; do
    echo "  $typed"
    start_typing "$work/w" "$home" "$typed"
    sleep 0.5
    [[ $(xdotool search --onlyvisible --name '^Öffnen$' | wc -l) -eq 2 ]] || fail "no warning over the dialog"
    xdotool key Return   # the warning's OK
    sleep 0.3
    [[ $(xdotool search --onlyvisible --name '^Öffnen$' | wc -l) -eq 1 ]] || fail "the dialog did not stay"
    xdotool key Escape   # cancelled: the program ends
    expect_exit_zero
done

echo "--- a folder whose name is not UTF-8, and a stale history naming another folder"
odd="$work/"$'Alt\xe4\xf6'
team "$odd" "Richtig"
team "$work/andere" "Falsch"
stale=$work/stale-home
mkdir -p "$stale/.config"
printf '[FileDialog]\nhistory=file://%s\nlastVisited=file://%s\n' "$work/andere" "$work/andere" \
    >"$stale/.config/QtProject.conf"
(cd "$odd" && HOME=$stale exec "$app") >"$work/app.log" 2>&1 &
APP_PID=$!
wait_window '^Öffnen$' >/dev/null || fail "no open dialog"
sleep 0.3
xdotool key Return   # the preset TEAM.dat
answer_question Return >/dev/null   # Ja: snapshots; no question: the working folder's TEAM.dat did not open
xdotool key Return
wait_window 'Teammitglied: Richtig$' >/dev/null || fail "not the working folder's team"
sleep 0.3
xdotool key Return   # Schließen: the snapshot
wait_no_window 'Teammitglied: Richtig$' || fail "the chart window stayed"
sleep 0.2
xdotool key alt+F4
expect_exit_zero
[[ -s "$odd/TEAM1.jpg" ]] || fail "the snapshot is not beside the data file: $(ls "$odd")"
[[ ! -e "$work/andere/TEAM1.jpg" ]] || fail "the snapshot went into the stale history's folder"

echo "--- a whole session leaves an empty HOME empty"
empty=$work/empty-home
mkdir -p "$empty"
team "$work/s" "Sitzung"
start_typing "$work/s" "$empty" ""
answer_question Return >/dev/null   # Ja
xdotool key Return
wait_window 'Teammitglied: Sitzung$' >/dev/null || fail "no chart window"
sleep 0.3
xdotool key Return
wait_no_window 'Teammitglied: Sitzung$' || fail "the chart window stayed"
sleep 0.2
xdotool key alt+F4
expect_exit_zero
[[ -s "$work/s/TEAM1.jpg" ]] || fail "no snapshot"
# The system's font library may keep its cache there; nothing else may appear.
left=$(cd "$empty" && find . -mindepth 1 ! -path './.cache' ! -path './.cache/fontconfig' ! -path './.cache/fontconfig/*')
[[ -z "$left" ]] || fail "the session wrote into HOME: $left"

echo "e2e open dialog: all passed"

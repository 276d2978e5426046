#!/usr/bin/env bash
# Runs a command on a display of its own and stops the display afterwards:
#   run_on_display.sh openbox|xfwm4|icewm|none|weston-xwayland|weston-wayland [SCREEN] -- COMMAND...
# openbox, xfwm4, icewm: Xvfb with that window manager; none: Xvfb alone; weston-xwayland:
# XWayland on a headless weston. The command runs as an X11 client there, and as a
# native Wayland client with weston-wayland.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xsession.sh"
kind=$1; shift
size=""
if [[ "$1" != "--" ]]; then size=$1; shift; fi
shift   # --
case $kind in
    openbox|xfwm4|icewm|none) XSESSION_WM=$kind xsession_start "${size:-1280x1024x24}" ;;
    weston-xwayland|weston-wayland) westonsession_start "${size:-1280x1024}" ;;
    *) echo "unknown display kind $kind" >&2; exit 2 ;;
esac
if [[ $kind == weston-wayland ]]; then
    export QT_QPA_PLATFORM=wayland
    unset DISPLAY
else
    export QT_QPA_PLATFORM=xcb
fi
"$@"

# Sourced by the end-to-end tests and the screenshot script: starts a private X server
# (Xvfb picks a free display) with a window manager (openbox unless XSESSION_WM says
# xfwm4, icewm or none), and stops both on exit.
# Needs: Xvfb, openbox, xdotool, xprop, import (imagemagick).

xsession_start() {
    local size=${1:-1280x1024x24}
    XSESSION_TMP=$(mktemp -d)
    exec {xs_fd}>"$XSESSION_TMP/display"
    Xvfb -displayfd "$xs_fd" -screen 0 "$size" -nolisten tcp >"$XSESSION_TMP/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [[ -s "$XSESSION_TMP/display" ]] && break
        sleep 0.05
    done
    export DISPLAY=":$(head -n1 "$XSESSION_TMP/display")"
    [[ "$DISPLAY" != ":" ]] || { echo "Xvfb did not start" >&2; cat "$XSESSION_TMP/xvfb.log" >&2; return 1; }
    # The window manager: openbox unless XSESSION_WM names another (xfwm4, icewm) or none.
    local wm=${XSESSION_WM:-openbox}
    [[ -n "${XSESSION_NO_WM:-}" ]] && wm=none
    case $wm in
        openbox) openbox --sm-disable >"$XSESSION_TMP/wm.log" 2>&1 & ;;
        xfwm4) xfwm4 --compositor=off --sm-client-disable >"$XSESSION_TMP/wm.log" 2>&1 & ;;
        icewm) icewm >"$XSESSION_TMP/wm.log" 2>&1 & ;;
        none) ;;
        *) echo "unknown window manager $wm" >&2; return 1 ;;
    esac
    if [[ $wm != none ]]; then
        OPENBOX_PID=$!
        for _ in $(seq 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
            sleep 0.05
        done
    fi
    trap xsession_stop EXIT
}

# Stops what xsession_start or westonsession_start started, and the program under test.
xsession_stop() {
    local pid
    for pid in "${APP_PID:-}" "${OPENBOX_PID:-}" "${XVFB_PID:-}" "${WESTON_PID:-}"; do
        [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    [[ -n "${XSESSION_TMP:-}" ]] && rm -rf "$XSESSION_TMP"
    return 0
}

# For the end-to-end tests: a scratch folder `work`, removed at the end unless KEEP_E2E is
# set; `fail` leaves a picture of the whole screen there; `expect_exit_zero` waits for the
# program (APP_PID) to end by itself with status 0.
e2e_begin() {   # the arguments of xsession_start
    work=$(mktemp -d)
    xsession_start "$@"
    trap e2e_end EXIT
}

e2e_end() {
    xsession_stop
    if [[ "${KEEP_E2E:-}" ]]; then echo "kept $work"; else rm -rf "$work"; fi
}

fail() {
    echo "FAIL${FAIL_CONTEXT:+ ($FAIL_CONTEXT)}: $*" >&2
    import -window root "$work/failure.png" 2>/dev/null || true
    exit 1
}

# Answers the question box with KEY (Return: Ja, alt+n: Nein) and waits for the
# selection window; prints its id.
answer_question() {   # KEY
    wait_window '^Bestätigung$' >/dev/null || fail "no question box"
    sleep 0.2
    xdotool key "$1"
    local main
    main=$(wait_window '^Velmarin: Auswertung Kestrani$') || fail "no selection window"
    sleep 0.3
    echo "$main"
}

expect_exit_zero() {
    for _ in $(seq 100); do
        kill -0 "$APP_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$APP_PID" 2>/dev/null && fail "the program did not end"
    local code=0
    wait "$APP_PID" || code=$?
    APP_PID=
    [[ $code -eq 0 ]] || fail "the program exited with $code"
}

# Waits until a visible window whose name matches (a regular expression) exists; prints its id.
wait_window() {
    local pattern=$1 id
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | tail -n1) || true
        if [[ -n "$id" ]]; then echo "$id"; return 0; fi
        sleep 0.05
    done
    echo "no window named '$pattern' appeared" >&2
    return 1
}

wait_no_window() {
    local pattern=$1
    for _ in $(seq 200); do
        xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    echo "window '$pattern' did not close" >&2
    return 1
}

# Outer rectangle "x y w h" of a client window, frame included, from _NET_FRAME_EXTENTS.
outer_geometry() {
    local id=$1 x y w h l r t b extents=""
    for _ in $(seq 100); do   # the window manager sets it soon after mapping the window
        extents=$(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ,)
        [[ -n "$extents" ]] && break
        sleep 0.05
    done
    [[ -n "$extents" ]] || { echo "window $id has no frame extents" >&2; return 1; }
    read -r l r t b <<<"$extents"
    # xwininfo, not xdotool: xdotool counts the offset in the frame twice under some
    # window managers (xfwm4).
    local info
    info=$(xwininfo -id "$id")
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/.*Width: *//p' <<<"$info")
    h=$(sed -n 's/.*Height: *//p' <<<"$info")
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# Waits until the window's outer size is W H (the program fits its frame once the window
# manager has reported it); fails with the last size seen.
wait_outer_size() {
    local id=$1 want="$2 $3" got=""
    for _ in $(seq 60); do
        got=$(outer_geometry "$id" | cut -d' ' -f3-4) || return 1
        [[ "$got" == "$want" ]] && return 0
        sleep 0.05
    done
    echo "outer size $got, not $want" >&2
    return 1
}

# A headless Wayland compositor (weston) with XWayland, for X11 programs on a Wayland
# desktop. Weston picks a free X display for XWayland itself; DISPLAY names it.
westonsession_start() {
    local size=${1:-1280x1024} width height
    IFS=x read -r width height _ <<<"$size"
    XSESSION_TMP=$(mktemp -d)
    export XDG_RUNTIME_DIR="$XSESSION_TMP/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    weston --backend=headless-backend.so --xwayland --socket=wayland-test --idle-time=0 \
        --width="$width" --height="$height" >"$XSESSION_TMP/weston.log" 2>&1 &
    WESTON_PID=$!
    local display=""
    for _ in $(seq 200); do
        display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$XSESSION_TMP/weston.log" | head -n1)
        [[ -n "$display" ]] && break
        sleep 0.05
    done
    [[ -n "$display" ]] || { echo "weston did not start XWayland" >&2; cat "$XSESSION_TMP/weston.log" >&2; return 1; }
    export DISPLAY=$display WAYLAND_DISPLAY=wayland-test
    for _ in $(seq 100); do   # XWayland starts on the first connection
        xprop -root >/dev/null 2>&1 && break
        sleep 0.05
    done
    trap xsession_stop EXIT
}

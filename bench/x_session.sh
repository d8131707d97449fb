# Sourced by the bench scripts: a private X server with openbox, as a
# desktop gives it. Needs $tmp; leaves the two pids, window manager first,
# in $x_session_pids for the caller to stop.
x_session_start() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
    x_session_pids="$!"
    while [ ! -s "$tmp/display" ]; do sleep 0.1; done
    DISPLAY=":$(cat "$tmp/display")"
    export DISPLAY
    openbox --sm-disable >/dev/null 2>&1 &
    x_session_pids="$! $x_session_pids"
    until xprop -root _NET_WORKAREA 2>/dev/null | grep -q " = "; do sleep 0.1; done
}

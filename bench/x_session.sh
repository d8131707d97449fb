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

# A bench's whole private desktop: $tmp, the X server, folders of its own and
# no session bus; bench_desktop_stop (also at exit) ends every pid in $pids.
bench_desktop_start() {
    tmp=$(mktemp -d)
    pids=""
    trap bench_desktop_stop EXIT INT TERM
    x_session_start
    pids="$x_session_pids"
    export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$tmp/run" XDG_CONFIG_HOME="$tmp/config" XDG_STATE_HOME="$tmp/state"
    export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
    mkdir -m 700 "$XDG_RUNTIME_DIR"
}

bench_desktop_stop() {
    for p in $pids; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$tmp"
}

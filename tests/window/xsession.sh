# Shared by the scripts that run the reader in a real X window: starts a
# private Xvfb server (and, when asked, a window manager) and gives a retrying
# xdotool. Source it, then call x_start.
#
#   x_start FIRST_DISPLAY_NUMBER SCREEN_SIZE [wm]
#     starts Xvfb on the first free display from FIRST_DISPLAY_NUMBER on,
#     exports DISPLAY, and waits until the server answers; with "wm" also
#     starts openbox and waits until it manages the screen.
#   x_stop
#     ends what x_start started (the scripts call it from their exit trap).
#   xdo ARGS...
#     xdotool ARGS on the private display, tried again a few times: Xvfb now
#     and then refuses a new connection while it cleans up after a client.

x_start() {
    x_first=$1
    size=$2
    x_display=""
    x_log=$(mktemp /tmp/varnet-xsession.XXXXXX)
    n=$x_first
    while [ "$n" -lt $((x_first + 9)) ]; do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >> "$x_log" 2>&1 &
            x_server=$!
            export DISPLAY=":$n"
            for _ in $(seq 100); do
                kill -0 "$x_server" 2> /dev/null || break
                xdpyinfo > /dev/null 2>&1 && break
                sleep 0.1
            done
            # A server that exited lost the display to another one (a lock
            # file this file system does not show): try the next number.
            if kill -0 "$x_server" 2> /dev/null && xdpyinfo > /dev/null 2>&1; then
                x_display=":$n"
                break
            fi
            kill "$x_server" 2> /dev/null || true
        fi
        n=$((n + 1))
    done
    [ -n "$x_display" ] || { echo "no X server could be started from :$x_first on"; cat "$x_log"; return 1; }

    if [ "${3:-}" = wm ]; then
        # The window manager gets a home of its own: it writes a cache
        # folder there and must not depend on the caller's home.
        x_wm_home=$(mktemp -d /tmp/varnet-wm-home.XXXXXX)
        for attempt in 1 2 3; do
            HOME="$x_wm_home" openbox --sm-disable >> "$x_log" 2>&1 &
            x_wm=$!
            for _ in $(seq 150); do
                xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && return 0
                kill -0 "$x_wm" 2> /dev/null || break
                sleep 0.1
            done
            echo "the window manager did not start (attempt $attempt)" >> "$x_log"
            kill "$x_wm" 2> /dev/null || true
            wait "$x_wm" 2> /dev/null || true
        done
        echo "the window manager did not start"
        cat "$x_log"
        return 1
    fi
}

x_stop() {
    [ -n "${x_wm:-}" ] && kill "$x_wm" 2> /dev/null || true
    [ -n "${x_server:-}" ] && kill "$x_server" 2> /dev/null || true
    [ -n "${x_wm_home:-}" ] && rm -rf "$x_wm_home"
    [ -n "${x_log:-}" ] && rm -f "$x_log"
    return 0
}

xdo() {
    for _ in 1 2 3 4 5; do
        xdotool "$@" 2> /dev/null && return 0
        sleep 0.05
    done
    return 1
}

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
    first=$1
    size=$2
    x_display=""
    n=$first
    while [ "$n" -lt $((first + 9)) ]; do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then x_display=":$n"; break; fi
        n=$((n + 1))
    done
    [ -n "$x_display" ] || { echo "no free X display from :$first on"; return 1; }

    Xvfb "$x_display" -screen 0 "${size}x24" -nolisten tcp > /dev/null 2>&1 &
    x_server=$!
    export DISPLAY="$x_display"
    for _ in $(seq 100); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done
    xdpyinfo > /dev/null 2>&1 || { echo "Xvfb did not start on $x_display"; return 1; }

    if [ "${3:-}" = wm ]; then
        openbox --sm-disable > /dev/null 2>&1 &
        x_wm=$!
        for _ in $(seq 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && break
            sleep 0.1
        done
        xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' ||
            { echo "the window manager did not start"; return 1; }
    fi
}

x_stop() {
    [ -n "${x_wm:-}" ] && kill "$x_wm" 2> /dev/null || true
    [ -n "${x_server:-}" ] && kill "$x_server" 2> /dev/null || true
}

xdo() {
    for _ in 1 2 3 4 5; do
        xdotool "$@" 2> /dev/null && return 0
        sleep 0.05
    done
    return 1
}

#!/bin/sh
# Runs two builds of the reader through the same seven moments under Xvfb with
# a window manager and compares whole-screen screenshots pixel for pixel:
#   1. the first screen;
#   2. the window resized to 900 x 700 (the About page on show);
#   3. the Reading tab clicked;
#   4. two Page Downs;
#   5. the window resized to 600 x 900;
#   6. a Page Up;
#   7. the Table Of Contents tab clicked.
# Each run starts with an empty data folder. Extra arguments go to both
# programs (for example fable.qtx).
#
# Usage: same-screens.sh FIRST_BINARY SECOND_BINARY SCREENSHOT_CHECK_BINARY SHOT_DIR [ARGS...]
set -eu
here=$(dirname "$0")
. "$here/xsession.sh"
binary_a=$1
binary_b=$2
checker=$3
shots=$4
shift 4
rm -rf "$shots"
mkdir -p "$shots"

home=""
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2> /dev/null || true
    x_stop
    [ -n "$home" ] && rm -rf "$home"
}
trap cleanup EXIT INT TERM
x_start 61 1920x1080 wm
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS

# A screenshot once the screen has stopped changing.
settled() {
    previous=""
    for _ in $(seq 30); do
        sleep 0.25
        import -window root "$1"
        sum=$(convert "$1" rgb:- | md5sum)
        [ "$sum" = "$previous" ] && return 0
        previous=$sum
    done
    echo "same-screens: the screen did not settle for $1"
    return 1
}

run() {
    tag=$1
    program=$2
    shift 2
    home=$(mktemp -d /tmp/varnet-same.XXXXXX)
    chmod 700 "$home"
    HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home" "$program" "$@" > "$home/log" 2>&1 &
    app=$!
    window=$(xdo search --sync --onlyvisible --name '^Varnet' | head -1)
    settled "$shots/$tag-1-first.png"
    xdo windowsize "$window" 900 700
    settled "$shots/$tag-2-resized.png"
    eval "$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { print "WX=" $4 } /Absolute upper-left Y/ { print "WY=" $4 }')"
    xdo mousemove $((WX + 150)) $((WY + 30)) click 1
    xdo mousemove 1900 1060
    settled "$shots/$tag-3-reading.png"
    xdo key Next
    sleep 0.2
    xdo key Next
    settled "$shots/$tag-4-paged.png"
    xdo windowsize "$window" 600 900
    settled "$shots/$tag-5-resized.png"
    xdo key Prior
    settled "$shots/$tag-6-back.png"
    xdo mousemove $((WX + 50)) $((WY + 30)) click 1
    xdo mousemove 1900 1060
    settled "$shots/$tag-7-contents.png"
    kill "$app" 2> /dev/null || true
    wait "$app" 2> /dev/null || true
    app=""
    rm -rf "$home"
    home=""
}

run a "$binary_a" "$@"
run b "$binary_b" "$@"
failed=0
for moment in 1-first 2-resized 3-reading 4-paged 5-resized 6-back 7-contents; do
    printf '%s: ' "$moment"
    "$checker" --same "$shots/a-$moment.png" "$shots/b-$moment.png" 0 0 1920 1080 || failed=1
done
[ "$failed" -eq 0 ] && echo "same-screens: all seven moments are the same, pixel for pixel"
exit "$failed"

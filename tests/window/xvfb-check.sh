#!/bin/sh
# One run of the real program in a real X window (Xvfb): start it with an
# empty data folder, bring the Reading page to the front with a mouse click,
# take a screenshot and check that the reading surface shows band 0's
# background with text on it.
#
# Usage: xvfb-check.sh VARNET_BINARY SCREENSHOT_CHECK_BINARY [SHOT_DIR]
set -eu

varnet=$1
checker=$2
shots=${3:-$(mktemp -d /tmp/varnet-shots.XXXXXX)}
mkdir -p "$shots"

for tool in Xvfb xdotool import; do
    command -v "$tool" > /dev/null || { echo "xvfb-check: $tool is missing"; exit 1; }
done
. "$(dirname "$0")/xsession.sh"

home=$(mktemp -d /tmp/varnet-home.XXXXXX)
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2> /dev/null || true
    x_stop
    rm -rf "$home"
}
trap cleanup EXIT INT TERM
x_start 91 1280x1024

HOME="$home" XDG_DATA_HOME="$home/data" QT_QPA_PLATFORM=xcb "$varnet" > "$shots/varnet.log" 2>&1 &
app=$!

window=$(xdotool search --sync --onlyvisible --name '^Varnet$' | head -1)
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root "$shots/start.png"

# The tab row of the left page control lies just below the menu bar; click
# along it until the Reading page is in front.
for dy in 30 36 42 48; do
    for dx in 140 160 180 200 220 120 240; do
        xdotool mousemove $((X + dx)) $((Y + dy)) click 1
        sleep 0.3
        import -window root "$shots/reading.png"
        if "$checker" "$shots/reading.png" $((X + 10)) $((Y + dy + 30)) 300 250 e3bc9f > "$shots/check.txt"; then
            cat "$shots/check.txt"
            echo "xvfb-check: the Reading page shows band 0 with text ($shots/reading.png)"
            exit 0
        fi
    done
done
cat "$shots/check.txt"
echo "xvfb-check: the Reading page was not found on screen ($shots)"
exit 1

#!/bin/sh
# Crash safety of the side files: the real program, in a real X window, is
# asked to close (Ctrl+Q) after paging in the demo book, so that it writes its
# settings and a closing bookmark, and is killed with SIGKILL at a random
# moment of that. Over many runs each file must afterwards hold either its
# old content or its complete new content: never a mix, never a truncation.
#
# Usage: crash-safety.sh VARNET_BINARY [RUNS]
set -eu

varnet=$1
runs=${2:-30}

for tool in Xvfb xdotool; do
    command -v "$tool" > /dev/null || { echo "crash-safety: $tool is missing"; exit 1; }
done
. "$(dirname "$0")/xsession.sh"

home=$(mktemp -d /tmp/varnet-crash.XXXXXX)
trap 'x_stop; rm -rf "$home"' EXIT INT TERM
x_start 71 1280x1024
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=xcb

data="$home/data/Quorra"
name=$(basename "$varnet" | cut -d. -f1 | tr 'A-Z' 'a-z')
ini="$data/$name.ini"
bm="$data/$name.bm"
mkdir -p "$data"

# The old contents every run starts from.
printf '[old.toc]\r\n[how]\r\nfontsize=17\r\nbackground=0\r\ntleft=10\r\nttop=10\r\ntwidth=640\r\ntheight=600\r\n' > "$home/old.ini"
printf '<<none\r\n<<title\r\n<<fable\r\n<<author\r\n' > "$home/old.bm"

# One clean close gives the new settings content to compare with.
# Starts the program on the demo book, pages once, and asks it to close;
# $1, when given, is the moment (seconds after the request) to kill it.
one_run() {
    cp "$home/old.ini" "$ini"
    cp "$home/old.bm" "$bm"
    "$varnet" fable.qtx >> "$home/app.log" 2>&1 &
    app=$!
    window=$(xdo search --sync --onlyvisible --name '^Varnet' | head -1)
    sleep 0.3
    # No window manager: give the window the input focus, then type.
    xdo windowfocus --sync "$window" || xdo windowfocus "$window" || true
    xdo key Next || true
    sleep 0.2
    if [ -n "${1:-}" ]; then (sleep "$1"; kill -9 "$app" 2> /dev/null) & fi
    xdo key --delay 0 ctrl+q || kill -9 "$app" 2> /dev/null || true
    wait "$app" 2> /dev/null || true
}

(sleep 10; kill -9 "$$" 2> /dev/null) &
guard=$!
one_run
kill "$guard" 2> /dev/null || true
cp "$ini" "$home/new.ini"
grep -q 'Closed book at' "$bm" || { echo "crash-safety: a clean close wrote no closing bookmark"; exit 1; }
cmp -s "$home/new.ini" "$home/old.ini" && { echo "crash-safety: a clean close changed no setting"; exit 1; }

mixed=0
old_seen=0
new_seen=0
r=0
while [ "$r" -lt "$runs" ]; do
    r=$((r + 1))
    # Somewhere within the close: from at once to 6 ms after the request.
    one_run "$(printf '0.%04d' $(( (r * 373) % 60 )))"

    if cmp -s "$ini" "$home/old.ini"; then old_seen=$((old_seen + 1))
    elif cmp -s "$ini" "$home/new.ini"; then new_seen=$((new_seen + 1))
    else echo "run $r: the settings file is neither old nor new"; mixed=$((mixed + 1)); fi

    # The bookmark file: the old lines, with at most the one closing line
    # inserted right after the book's header.
    if ! cmp -s "$bm" "$home/old.bm"; then
        expected=$(printf '<<none\r\n<<title\r\n<<fable\r\n%s\r\n<<author\r\n' "$(sed -n 4p "$bm" | tr -d '\r')")
        if [ "$(cat "$bm")" != "$expected" ] || ! sed -n 4p "$bm" | grep -q '^#[0-9]* Closed book at '; then
            echo "run $r: the bookmark file is neither old nor new"; mixed=$((mixed + 1))
        fi
    fi
done

echo "crash-safety: $runs runs killed while closing: settings old $old_seen, new $new_seen, mixed $mixed"
[ "$mixed" -eq 0 ]

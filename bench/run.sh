#!/bin/sh
# Runs every benchmark of the project. Display benchmarks (start-up) run under
# Xvfb when it is there, else on Qt's offscreen platform.
# Usage: bench/run.sh BUILD_DIR
set -eu
build=${1:-build}
bench="$build/bench"

echo "== machine: $(nproc) cores, $(uname -srm)"

for b in "$bench"/*Bench; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    QT_QPA_PLATFORM=offscreen "$b" --benchmark_min_time=0.2
done

echo "== start-up (exec to the first painted panel)"
display=""
if command -v Xvfb > /dev/null; then
    for n in 81 82 83 84 85 86 87 88 89; do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
    done
fi
if [ -n "$display" ]; then
    Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp > /dev/null 2>&1 &
    xvfb=$!
    trap 'kill $xvfb 2> /dev/null || true' EXIT INT TERM
    sleep 1
    export DISPLAY="$display" QT_QPA_PLATFORM=xcb
else
    export QT_QPA_PLATFORM=offscreen
fi
home=$(mktemp -d)
export HOME="$home" XDG_DATA_HOME="$home/data"
"$bench/varnet_process_timer" minimal_qt_window 20 "$bench/varnet_minimal_window_probe"
"$bench/varnet_process_timer" varnet_window 20 "$bench/varnet_startup_probe"
rm -rf "$home"

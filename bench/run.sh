#!/bin/sh
# Runs every benchmark of the project and prints one table of figure, target
# and ratio, with the machine it ran on; the same text goes to
# BUILD_DIR/bench/RESULTS.md.
#
# Start-up runs on a private Xvfb at 1920 x 1080 with openbox, with a private
# session bus for the whole run (so no Qt program pays for starting one), in
# rounds: each round runs every program once, each round starting one
# program further on (A B C D, then B C D A, ...), so that drift on a shared
# machine falls on all alike; a figure against another program is the median
# of the per-round ratios. The programs: the yardstick (a Qt window with one
# line of serif text), `varnet`, `varnet fable.qtx`, and FBReader opening a
# plain text of the demo book's prose, all timed from outside at the X level
# by varnet_x_frame_timer; and, as a cross-check, the yardstick and the
# reader's window timed from inside (varnet_startup_probe). One round before
# the counted ones warms the caches and lets FBReader save its settings as
# after a first use; every counted run then starts from the same saved home
# folder.
#
# Usage: bench/run.sh BUILD_DIR [ROUNDS]
set -eu
build=${1:-build}
rounds=${2:-10}
bench="$build/bench"
out="$bench/results"
source_dir=$(cd "$(dirname "$0")/.." && pwd)
rm -rf "$out"
mkdir -p "$out"

work=$(mktemp -d /tmp/varnet-bench.XXXXXX)
chmod 700 "$work"
home="$work/home"
bus_pid=""
stop_all() {
    x_stop 2> /dev/null || true
    [ -n "$bus_pid" ] && kill "$bus_pid" 2> /dev/null || true
    rm -rf "$work"
}
trap stop_all EXIT
trap 'exit 1' INT TERM
mkdir -m 700 "$home" "$work/runtime" "$work/xhome"
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$work/runtime"

# One session bus for the whole run, ended with it.
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
bus_pid=$(echo "$bus" | sed -n 2p)
export DBUS_SESSION_BUS_ADDRESS

# Each benchmark may use at most 8 GiB of address space: one that runs away
# fails alone instead of starving the machine.
for b in DrawBench ReaderBench NavigationBench DemoBookBench ImportBench; do
    echo "== $b" >&2
    (ulimit -v 8388608 && QT_QPA_PLATFORM=offscreen exec "$bench/$b" --benchmark_min_time=0.2 --benchmark_repetitions=3 \
        --benchmark_report_aggregates_only=true --benchmark_filter=-BM_ImportPeakMemory \
        --benchmark_out="$out/$b.json" --benchmark_out_format=json) >&2
done
# The import's peak memory, in a process of its own.
echo "== ImportBench: peak memory" >&2
(ulimit -v 8388608 && exec "$bench/ImportBench" --benchmark_filter=BM_ImportPeakMemory \
    --benchmark_out="$out/ImportMemory.json" --benchmark_out_format=json) >&2

xtimer="$bench/varnet_x_frame_timer"
[ -x "$xtimer" ] || { echo "varnet_x_frame_timer was not built (make bench installs libxdamage-dev: scripts/setup.sh bench)" >&2; exit 1; }
command -v fbreader > /dev/null || { echo "fbreader is not installed (make bench installs it: scripts/setup.sh bench)" >&2; exit 1; }

# The window manager keeps its own home, which the runs never reset.
HOME="$work/xhome"
. "$source_dir/tests/window/xsession.sh"
x_start 81 1920x1080 wm >&2
HOME="$home"
export QT_QPA_PLATFORM=xcb

# The demo book's prose as one plain text, chapter after chapter.
book="$work/fables.txt"
for chapter in "$source_dir"/data/book/chapter*.txt; do
    cat "$chapter"
    echo
done > "$book"

varnet="$build/src/ui/varnet"
programs="yardstick varnet varnet_book fbreader probe_yardstick probe_varnet probe_varnet_book"
count=$(echo "$programs" | wc -w)

# One run of a program by its name; prints its figures on one line.
run_one() {
    case $1 in
        yardstick) "$xtimer" "$bench/varnet_yardstick_window" ;;
        varnet) "$xtimer" "$varnet" ;;
        varnet_book) "$xtimer" "$varnet" fable.qtx ;;
        fbreader) "$xtimer" ${2:-} fbreader "$book" ;;
        probe_yardstick) "$bench/varnet_process_timer" "$1" 1 "$bench/varnet_yardstick_window" --probe ;;
        probe_varnet) "$bench/varnet_process_timer" "$1" 1 "$bench/varnet_startup_probe" ;;
        probe_varnet_book) "$bench/varnet_process_timer" "$1" 1 "$bench/varnet_startup_probe" fable.qtx ;;
    esac
}

echo "== start-up: one warm-up round, then $rounds rounds of $programs" >&2
for p in $programs; do
    # FBReader is closed as a user closes it, so that it saves its settings
    # and no later run shows its first-run "upgrading" notice.
    [ "$p" = fbreader ] && option=--close || option=""
    run_one "$p" "$option" > /dev/null 2>> "$out/startup.log" || { echo "warm-up of $p failed" >&2; exit 1; }
done
cp -a "$home" "$work/saved-home"

: > "$out/startup.txt"
round=1
while [ "$round" -le "$rounds" ]; do
    k=0
    while [ "$k" -lt "$count" ]; do
        index=$(((round - 1 + k) % count + 1))
        p=$(echo "$programs" | cut -d' ' -f"$index")
        rm -rf "$home"
        cp -a "$work/saved-home" "$home"
        if figures=$(run_one "$p" 2>> "$out/startup.log"); then
            echo "$p round=$round ${figures#"$p" }" >> "$out/startup.txt"
        else
            echo "$p round=$round failed" >> "$out/startup.txt"
        fi
        k=$((k + 1))
    done
    echo "   round $round done" >&2
    round=$((round + 1))
done
cat "$out/startup.txt" >&2

echo "== memory of a run that opens every chapter" >&2
rm -rf "$home"
cp -a "$work/saved-home" "$home"
"$bench/varnet_process_timer" every_chapter 3 "$bench/varnet_every_chapter_probe" | tee "$out/process.txt" >&2

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
memory=$(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)
system=$(. /etc/os-release 2> /dev/null && echo "$PRETTY_NAME" || uname -s)
qt=$(dpkg-query -W -f='${Version}' libqt6core6 2> /dev/null | cut -d+ -f1 || true)
peer=$(dpkg-query -W -f='${Version}' fbreader 2> /dev/null | sed 's/dfsg.*//' || true)
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")

{
    echo "Machine: $cpu, $(nproc) cores, $memory; $system; Qt ${qt:-6}; $("$compiler" --version | head -1); ${build_type:-default} build."
    echo "Run of $(date -u '+%Y-%m-%d %H:%M UTC'). Google Benchmark figures are the median of three repetitions."
    echo "Start-up: Xvfb at 1920 x 1080 with openbox and a private session bus; $rounds rounds in rotating order after"
    echo "one warm-up round; figures are medians over the rounds, a figure against another program the median of"
    echo "the per-round ratios. FBReader ${peer:-} opens the demo book's prose as plain text. The every-chapter run"
    echo "3 times. A ratio of at most 1 meets the target."
    echo
    "$build/bench/varnet_bench_table" "$out" || echo "(some figures are missing)"
} > "$bench/RESULTS.md"
cat "$bench/RESULTS.md"
! grep -q 'figures are missing' "$bench/RESULTS.md"

#!/bin/sh
# Runs every benchmark of the project and prints one table of figure, target
# and ratio, with the machine it ran on; the same text goes to
# BUILD_DIR/bench/RESULTS.md. The process benchmarks (start-up, the run that
# opens every chapter) run under Xvfb at 1920 x 1080 when it is there, else
# on Qt's offscreen platform.
#
# Usage: bench/run.sh BUILD_DIR
set -eu
build=${1:-build}
bench="$build/bench"
out="$bench/results"
rm -rf "$out"
mkdir -p "$out"

home=$(mktemp -d /tmp/varnet-bench.XXXXXX)
chmod 700 "$home"
trap 'x_stop 2> /dev/null || true; rm -rf "$home"' EXIT INT TERM
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home"

for b in DrawBench ReaderBench NavigationBench DemoBookBench; do
    echo "== $b" >&2
    QT_QPA_PLATFORM=offscreen "$bench/$b" --benchmark_min_time=0.2 --benchmark_repetitions=3 \
        --benchmark_report_aggregates_only=true --benchmark_out="$out/$b.json" --benchmark_out_format=json >&2
done

platform="Qt's offscreen platform"
if command -v Xvfb > /dev/null && command -v xdpyinfo > /dev/null; then
    . "$(dirname "$0")/../tests/window/xsession.sh"
    x_start 81 1920x1080 >&2
    export QT_QPA_PLATFORM=xcb
    platform="Xvfb at 1920 x 1080"
else
    export QT_QPA_PLATFORM=offscreen
fi
echo "== start-up and memory ($platform)" >&2
{
    "$bench/varnet_process_timer" minimal_qt_window 20 "$bench/varnet_minimal_window_probe"
    "$bench/varnet_process_timer" varnet_window 20 "$bench/varnet_startup_probe"
    "$bench/varnet_process_timer" every_chapter 3 "$bench/varnet_every_chapter_probe"
} | tee "$out/process.txt" >&2

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
memory=$(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)
system=$(. /etc/os-release 2> /dev/null && echo "$PRETTY_NAME" || uname -s)
qt=$(dpkg-query -W -f='${Version}' libqt6core6 2> /dev/null | cut -d+ -f1 || true)
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")

{
    echo "Machine: $cpu, $(nproc) cores, $memory; $system; Qt ${qt:-6}; $("$compiler" --version | head -1); ${build_type:-default} build."
    echo "Run of $(date -u '+%Y-%m-%d %H:%M UTC'). Google Benchmark figures are the median of three repetitions;"
    echo "start-up and memory are whole processes on $platform (median time and peak resident set of"
    echo "20 runs; the every-chapter run 3 times). A ratio of at most 1 meets the target."
    echo
    "$build/bench/varnet_bench_table" "$out" || echo "(some figures are missing)"
} > "$bench/RESULTS.md"
cat "$bench/RESULTS.md"
! grep -q 'figures are missing' "$bench/RESULTS.md"

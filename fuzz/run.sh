#!/bin/sh
# Runs every fuzz target of a fuzz build folder for a bounded time each, the
# committed seeds under fuzz/corpus/<target> read first, new inputs kept in
# the build folder. A crash stops the run; its input is left as
# <build>/fuzz-artifacts/<target>-crash-*.
#
# Usage: run.sh FUZZ_BUILD_DIR SECONDS_PER_TARGET [TARGET...]
# Without targets, every one the build lists in fuzz/fuzz-targets.txt.
set -eu

build=$1
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
list="$build/fuzz/fuzz-targets.txt"
if [ $# -eq 0 ] && [ ! -f "$list" ]; then
    echo "fuzz: $list is missing: configure $build with VARNET_BUILD_FUZZ=ON first" >&2
    exit 1
fi
targets=${*:-$(cat "$list")}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
mkdir -p "$build/fuzz-artifacts"
for t in $targets; do
    corpus="$build/fuzz-corpus/$t"
    mkdir -p "$corpus" "$here/corpus/$t"
    log="$build/fuzz-artifacts/$t.log"
    if ! "$build/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-artifacts/$t-" "$corpus" "$here/corpus/$t" > "$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz: $t FAILED (input saved under $build/fuzz-artifacts/)"
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    echo "fuzz: $t ok, $runs runs in $seconds s"
done

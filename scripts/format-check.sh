#!/bin/sh
# Checks that every C++ source of the project is formatted as .clang-format
# says, changing nothing: prints each file that is not, with what would
# change, and fails if there is one. The files are those git tracks; in a
# copy without git, every .cpp and .h outside the build folders.
#
# Usage: format-check.sh [CLANG_FORMAT]
set -eu
cd "$(dirname "$0")/.."
clang_format=${1:-clang-format}
command -v "$clang_format" > /dev/null || {
    echo "format-check: $clang_format is not installed (scripts/setup.sh installs it)" >&2
    exit 1
}

list=$(mktemp)
trap 'rm -f "$list"' EXIT
# git's list only where this folder is the top of a checkout: a copy
# unpacked inside another one is not tracked there.
if [ "$(git rev-parse --show-toplevel 2> /dev/null)" != "$(pwd -P)" ] ||
    ! git ls-files -- '*.cpp' '*.h' > "$list" 2> /dev/null; then
    find . \( -path './build*' -o -path './.git' -o -path './out' \) -prune -o \
        -type f \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||' | sort > "$list"
fi

failed=0
total=0
while IFS= read -r file; do
    total=$((total + 1))
    if ! "$clang_format" --dry-run -Werror --style=file "$file" 2> /dev/null; then
        echo "format-check: $file is not formatted"
        "$clang_format" --dry-run --style=file "$file" 2>&1 | head -n 20
        failed=$((failed + 1))
    fi
done < "$list"
echo "format-check: $failed of $total files not formatted"
[ "$failed" -eq 0 ]

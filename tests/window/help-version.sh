#!/bin/sh
# "--help" and "--version" print to standard output and end at once, with no
# display to connect to and without touching the data folder; a different
# first argument is still a text to open (not checked here).
# Usage: help-version.sh VARNET_BINARY
set -eu
varnet=$1
home=$(mktemp -d /tmp/varnet-help.XXXXXX)
trap 'rm -rf "$home"' EXIT INT TERM
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export XDG_DATA_HOME="$home/data" HOME="$home"

help=$("$varnet" --help)
printf '%s\n' "$help" | grep -q '^Usage: varnet \[BOOK | TEXT\]$' || { echo "no usage line: $help"; exit 1; }
version=$("$varnet" --version)
printf '%s\n' "$version" | grep -Eq '^varnet [0-9]+\.[0-9]+\.[0-9]+$' || { echo "no version: $version"; exit 1; }
[ ! -e "$home/data" ] || { echo "a side file was touched: $(find "$home/data")"; exit 1; }
echo "help-version: both print and end without a window or a side file"

#!/bin/sh
# Installs the Debian packages Varnet needs to build, test and run, and only
# those that are missing; with "bench", those only the benchmarks need
# besides (the peer reader the start-up is measured against, the X libraries
# of the X-level timer (DAMAGE) and of the in-process probe's round trip to
# the server, and the session bus daemon). As root it runs apt-get;
# otherwise it prints the exact command to run and stops.
set -eu

if [ "${1:-}" = bench ]; then
    PACKAGES="fbreader libx11-dev libxdamage-dev libxcb1-dev dbus-daemon"
    who="The benchmarks need"
else
    PACKAGES="cmake make g++ pkg-config qt6-base-dev qt6-svg-dev libgl-dev libgtest-dev libgmock-dev \
libbenchmark-dev fonts-liberation xvfb xauth x11-utils xdotool imagemagick openbox clang libclang-rt-14-dev \
desktop-file-utils appstream clang-format libzip-dev libxml2-dev"
    who="Varnet needs"
fi

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "$who these Debian packages:$missing"
    echo "Install them with:"
    echo "  sudo apt-get install -y$missing"
    exit 1
fi

echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends $missing

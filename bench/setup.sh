#!/bin/sh
# Installs the Debian packages that only the benchmarks need, beyond what
# scripts/setup.sh installs for the build and the tests, and only those that
# are missing: the peer reader the start-up is measured against, the X
# libraries of the X-level timer (DAMAGE) and of the in-process probe's
# round trip to the server, and the session bus daemon. As root it runs
# apt-get; otherwise it prints the exact command to run and stops.
set -eu

PACKAGES="fbreader libx11-dev libxdamage-dev libxcb1-dev dbus-daemon"

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
    echo "The benchmarks need these Debian packages:$missing"
    echo "Install them with:"
    echo "  sudo apt-get install -y$missing"
    exit 1
fi

echo "Installing for the benchmarks:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends $missing

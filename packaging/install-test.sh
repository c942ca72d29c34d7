#!/bin/sh
# Installs the build into a fresh prefix, checks what lands where, and starts
# the installed program on the offscreen platform.
# Usage: install-test.sh BUILD_DIR INSTALL_CHECK
set -eu
build=$1
check=$2
id=com.example.quorra.Varnet

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$(cd "$work" && pwd -P)/prefix

fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > "$work/install.log" || { cat "$work/install.log"; fail "cmake --install failed"; }

for f in lib/varnet/varnet lib/varnet/varnet-import lib/varnet/fable.qdx share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/256x256/apps/$id.png share/man/man1/varnet.1; do
    [ -s "$prefix/$f" ] || fail "$f is missing"
done
[ -x "$prefix/lib/varnet/varnet" ] || fail "lib/varnet/varnet is not executable"
[ -x "$prefix/lib/varnet/varnet-import" ] || fail "lib/varnet/varnet-import is not executable"
[ -L "$prefix/bin/varnet" ] || fail "bin/varnet is no symbolic link"
[ "$(readlink "$prefix/bin/varnet")" = "../lib/varnet/varnet" ] || fail "bin/varnet points elsewhere"
[ "$(head -c 4 "$prefix/share/icons/hicolor/256x256/apps/$id.png" | od -An -c | tr -d ' ')" = "211PNG" ] ||
    fail "the PNG icon is no PNG"
grep -q '^Exec=varnet %f$' "$prefix/share/applications/$id.desktop" || fail "the launcher does not run varnet %f"
grep -q '^MimeType=text/plain;text/markdown;application/epub+zip;$' "$prefix/share/applications/$id.desktop" ||
    fail "the launcher does not offer to open books"

# The demo book's word index is found beside the program: its Index tab shows.
"$check" "$prefix/bin/varnet" || fail "the Index tab would not show"

# The installed program starts through its link and stays up until stopped;
# its first start writes the settings file for the program folder it found.
data="$work/data"
mkdir -p "$data"
status=0
XDG_DATA_HOME="$data" QT_QPA_PLATFORM=offscreen timeout 5 "$prefix/bin/varnet" > "$work/run.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$work/run.log"; fail "the installed program ended by itself (status $status)"; }
ini="$data/Quorra/varnet.ini"
[ -s "$ini" ] || fail "no settings file was written"
first=$(head -n 1 "$ini" | tr -d '\r')
[ "$first" = "[$prefix/lib/varnet/varnet.toc]" ] || fail "the settings name another program folder: $first"
echo "install test: installed into $prefix and started"

#!/bin/sh
# Installs the build folder under a temporary prefix and checks what a package would carry:
# the three programs, the menu entry naming a program and an icon that are installed, and a
# command-line tool that runs from there.
# Usage: install_test.sh BUILD_FOLDER
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "FAIL: $*" >&2; exit 1; }
for program in motrix motrix-cli kvtsim; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program missing"
done
desktop="$prefix/share/applications/motrix.desktop"
[ -f "$desktop" ] || fail "motrix.desktop missing"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[ -x "$prefix/bin/$exec_name" ] || fail "Exec=$exec_name is not an installed program"
for icon in scalable/apps/$icon_name.svg 128x128/apps/$icon_name.png; do
    [ -s "$prefix/share/icons/hicolor/$icon" ] || fail "icon $icon missing"
done
"$prefix/bin/motrix-cli" --help | grep -q "motrix-cli setup show" || fail "motrix-cli --help"
echo "installed: $(cd "$prefix" && find . -type f | sort | tr '\n' ' ')"

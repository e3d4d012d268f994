#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Quenvary developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the .deb, checks its metadata and contents, and starts the packaged game under Xvfb.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/check-lib.sh"
source "$here/xvfb.sh"
scratch="$1"
rm -rf "$scratch"
mkdir -p "$scratch"
gamePid=
cleanup() {
    if [ -n "$gamePid" ]; then
        kill "$gamePid" 2>/dev/null || true
        wait "$gamePid" 2>/dev/null || true
    fi
    stop_xvfb
}
trap cleanup EXIT

cpack --config "$QUENVARY_BUILD_DIR/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log" >&2; exit 1; }
arch=$(dpkg --print-architecture)
deb="$scratch/out/quenvary_${QUENVARY_VERSION}_$arch.deb"
[ -f "$deb" ] || { echo "FAIL: no $deb; cpack made: $(ls "$scratch/out")" >&2; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quenvary ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$QUENVARY_VERSION" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer '$(field Maintainer)' is no 'Name <address>'"
[ -n "$(field Description)" ] || fail "no Description"
[ -n "$(field Homepage)" ] || fail "no Homepage"

depends=$(field Depends)
dependNames=$(echo "$depends" | tr ',' '\n' | sed 's/[(|].*//; s/ //g' | grep -v '^$')
for needed in libc6 libqt5core5a libqt5gui5 libqt5widgets5 libqt5multimedia5 \
              libqt5multimedia5-plugins fonts-noto-cjk; do
    echo "$dependNames" | grep -qx "$needed" || fail "Depends lacks $needed: $depends"
done
# A misspelt dependency would make the package uninstallable.
for name in $dependNames; do
    dpkg-query -W "$name" >/dev/null 2>&1 || fail "dependency $name is no package known here"
done

dpkg-deb -c "$deb" >"$scratch/contents.txt"
actual=$(awk '$1 !~ /^d/ { print $6 }' "$scratch/contents.txt" | sed 's|^\./usr/||' | sort)
expected=$(expected_files | sort)
if [ "$actual" != "$expected" ]; then
    fail "package files differ from the expected set:"
    diff <(echo "$expected") <(echo "$actual") >&2 || true
fi
awk '$2 != "root/root" { print "FAIL: not owned by root: " $0; bad = 1 } END { exit bad }' \
    "$scratch/contents.txt" >&2 || failures=$((failures + 1))
grep -q '^-rwxr-xr-x .* \./usr/bin/quenvary$' "$scratch/contents.txt" || fail "usr/bin/quenvary is not mode 755"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
game="$root/usr/bin/quenvary"
missing=$(ldd "$game" | grep 'not found' || true)
[ -z "$missing" ] || fail "libraries not found: $missing"

# The packaged program alone, away from the build tree, must open its window with its icon.
start_xvfb "$scratch"
(cd "$scratch" && exec env -u QT_QPA_PLATFORM "$game" -platform xcb) >"$scratch/game.log" 2>&1 &
gamePid=$!
window=
for _ in $(seq 1 150); do
    window=$(xdotool search --onlyvisible --pid "$gamePid" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    kill -0 "$gamePid" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$window" ]; then
    fail "the packaged game showed no window within 15 s:"
    cat "$scratch/game.log" >&2
else
    size=$(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    [ "$size" = 320x588 ] || fail "the first window is $size, not 320x588"
    icon=$(xprop -id "$window" _NET_WM_ICON | head -c 200)
    [[ "$icon" == *"Icon ("* ]] || fail "the window has no icon: $icon"
    sleep 1
    kill -0 "$gamePid" 2>/dev/null || fail "the packaged game exited within a second of showing its window"
fi

finish

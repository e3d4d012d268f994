#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Quenvary developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs into a scratch root and checks that a desktop would find a whole application there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/check-lib.sh"
scratch="$1"
rm -rf "$scratch"
mkdir -p "$scratch"
root="$scratch/root"
usr="$root/usr"

DESTDIR="$root" cmake --install "$QUENVARY_BUILD_DIR" --prefix /usr >"$scratch/install.log"

actual=$(cd "$usr" && find . -type f -o -type l | sed 's|^\./||' | sort)
expected=$(expected_files | sort)
if [ "$actual" != "$expected" ]; then
    fail "installed files differ from the expected set:"
    diff <(echo "$expected") <(echo "$actual") >&2 || true
fi
[ -x "$usr/bin/quenvary" ] || fail "bin/quenvary is not executable"

desktop="$usr/share/applications/quenvary.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
execName=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$usr/bin/$execName" ] || fail "Exec=$execName is not an installed program"
iconName=$(sed -n 's/^Icon=//p' "$desktop")
for size in 16 32 48 64 128 256; do
    icon="$usr/share/icons/hicolor/${size}x${size}/apps/$iconName.png"
    if [ ! -f "$icon" ]; then
        fail "no ${size}x${size} icon named $iconName"
        continue
    fi
    got=$(png_size "$icon")
    [ "$got" = "${size}x${size}" ] || fail "$icon is '${got:-not a PNG}', not ${size}x${size}"
done
svg="$usr/share/icons/hicolor/scalable/apps/$iconName.svg"
if [ -f "$svg" ]; then
    rsvg-convert -w 64 -h 64 -o "$scratch/svg-64.png" "$svg" 2>"$scratch/rsvg.log" \
        || fail "the scalable icon does not render: $(cat "$scratch/rsvg.log")"
else
    fail "no scalable icon named $iconName"
fi

metainfo="$usr/share/metainfo/$QUENVARY_APP_ID.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" 2>&1 \
    || { fail "appstreamcli rejects the metainfo:"; cat "$scratch/appstream.log" >&2; }
grep -q "<id>$QUENVARY_APP_ID</id>" "$metainfo" || fail "metainfo id is not $QUENVARY_APP_ID"
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
[ -f "$usr/share/applications/$launchable" ] || fail "metainfo launches '$launchable', which is not installed"
grep -q "<release version=\"$QUENVARY_VERSION\"" "$metainfo" || fail "metainfo has no release $QUENVARY_VERSION"
# Software centres fetch the screenshots from the published docs/ folder, so each must be there.
shots=$(sed -n 's|.*<image>.*/\([^/]*\)</image>.*|\1|p' "$metainfo")
[ -n "$shots" ] || fail "metainfo names no screenshot"
for shot in $shots; do
    [ -n "$(png_size "$QUENVARY_SOURCE_DIR/docs/$shot")" ] || fail "screenshot docs/$shot is missing or no PNG"
    grep -q "(docs/$shot)" "$QUENVARY_SOURCE_DIR/README.md" || fail "the README does not show docs/$shot"
done

man="$usr/share/man/man6/quenvary.6.gz"
if MANWIDTH=80 man --warnings=w -l "$man" >"$scratch/man.txt" 2>"$scratch/man.log"; then
    [ ! -s "$scratch/man.log" ] || { fail "the man page has warnings:"; cat "$scratch/man.log" >&2; }
    grep -q '^NAME' "$scratch/man.txt" || fail "the man page has no NAME section"
else
    fail "man cannot format the man page: $(cat "$scratch/man.log")"
fi

leftovers=$(zcat "$man" | cat - "$metainfo" | grep -o '@[A-Z_]*@' || true)
[ -z "$leftovers" ] || fail "unsubstituted placeholders: $leftovers"

finish

#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs into a scratch root as a user or a distribution would, and checks that a desktop finds
# a whole, runnable application there that states one version everywhere.
set -euo pipefail
source "$(dirname "$0")/need.sh"
need desktop-file-validate appstreamcli man identify
scratch=$1
rm -rf "$scratch" && mkdir -p "$scratch"
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
usr=$scratch/root/usr
DESTDIR=$scratch/root cmake --install "$QUENVARY_BUILD_DIR" --prefix /usr >/dev/null

sizes="16 24 32 48 64 128 256"
want="bin/quenvary share/applications/$QUENVARY_APP_ID.desktop share/man/man6/quenvary.6.gz
      share/metainfo/$QUENVARY_APP_ID.metainfo.xml share/icons/hicolor/scalable/apps/$QUENVARY_APP_ID.svg"
for s in $sizes; do want+=" share/icons/hicolor/${s}x$s/apps/$QUENVARY_APP_ID.png"; done
got=$(cd "$usr" && find . -type f -o -type l | sed 's|^\./||' | sort)
[ "$(printf '%s\n' $want | sort)" = "$got" ] || fail "installed files differ from the expected ones: $got"
for s in $sizes; do [ "$(identify -format %wx%h "$usr/share/icons/hicolor/${s}x$s/apps/$QUENVARY_APP_ID.png")" = "${s}x$s" ] \
    || fail "the ${s}x$s icon has another size"; done

desktop=$usr/share/applications/$QUENVARY_APP_ID.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"
exe=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$usr/bin/$exe" ] || fail "the menu entry runs '$exe', which is not installed"
metainfo=$usr/share/metainfo/$QUENVARY_APP_ID.metainfo.xml
appstreamcli validate --no-net "$metainfo" >&2 || fail "appstreamcli rejects the metainfo"
grep -q "<release version=\"$QUENVARY_VERSION\"" "$metainfo" || fail "metainfo has no release $QUENVARY_VERSION"
# Each translation of i18n/ made it into both, and the software centre knows where the game's are.
for po in "$QUENVARY_SOURCE_DIR"/i18n/*/metadata.po; do
    language=$(basename "$(dirname "$po")")
    grep -q "^Comment\[$language\]=." "$desktop" || fail "the menu entry has no $language comment"
    grep -q "<summary xml:lang=\"$language\">" "$metainfo" || fail "the AppStream data has no $language summary"
done
grep -q '<translation type="qt">quenvary</translation>' "$metainfo" || fail "the AppStream data names no translation domain"
man=$usr/share/man/man6/quenvary.6.gz
zcat "$man" | grep -q "^\.TH QUENVARY 6 .* \"Quenvary $QUENVARY_VERSION\"" || fail "the man page is not for $QUENVARY_VERSION"
MANWIDTH=80 man --warnings -l "$man" 2>&1 >/dev/null | grep . >&2 && fail "man warns about the man page"
zcat "$man" | cat - "$metainfo" | grep -o '@[A-Za-z_]*@' >&2 && fail "placeholders left unsubstituted"

# Away from the build tree the program must start and keep running until it is stopped.
status=0
(cd "$scratch" && QT_QPA_PLATFORM=offscreen timeout 3 "$usr/bin/quenvary") >"$scratch/run.log" 2>&1 || status=$?
[ "$status" = 124 ] || fail "the installed game ended with status $status: $(cat "$scratch/run.log")"

# A packager's typo stops the configure step instead of slipping into the package.
for bad in "QUENVARY_HOMEPAGE=https://example.org/a b" "QUENVARY_SCREENSHOT_URL=example.org/docs" \
           "QUENVARY_MAINTAINER=" "QUENVARY_MAINTAINER=Jane Doe"; do
    if cmake -S "$QUENVARY_SOURCE_DIR" -B "$scratch/bad" -DQUENVARY_TESTS=OFF "-D$bad" >"$scratch/bad.log" 2>&1 \
        || ! grep -q "${bad%%=*} must be" "$scratch/bad.log"; then
        fail "configuring with -D$bad did not stop with a clear error"
    fi
    rm -rf "$scratch/bad"
done
exit $failed

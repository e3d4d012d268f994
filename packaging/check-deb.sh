#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the .deb and checks what Debian would: its files, its dependencies and lintian's verdict.
set -euo pipefail
source "$(dirname "$0")/need.sh"
need cpack dpkg-deb dpkg-shlibdeps lintian
scratch=$1
rm -rf "$scratch" && mkdir -p "$scratch"
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
# Without a packager's maintainer cpack refuses; this check builds with a stand-in.
contact=()
grep -q '^set(CPACK_PACKAGE_CONTACT ' "$QUENVARY_BUILD_DIR/CPackConfig.cmake" \
    || contact=(-D "CPACK_PACKAGE_CONTACT=Packaging Check <packaging-check@example.org>")
cpack --config "$QUENVARY_BUILD_DIR/CPackConfig.cmake" -B "$scratch" "${contact[@]}" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log" >&2; exit 1; }
deb=$scratch/quenvary_${QUENVARY_VERSION}_$(dpkg --print-architecture).deb

# The package holds what an install holds, with the program in /usr/games, plus Debian's papers.
DESTDIR=$scratch/root cmake --install "$QUENVARY_BUILD_DIR" --prefix /usr >/dev/null
want=$( (cd "$scratch/root" && find . -type f | sed 's|^\./usr/bin/|./usr/games/|'
         printf './usr/share/doc/quenvary/%s\n' copyright changelog.gz) | sort)
got=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
if [ "$want" != "$got" ]; then
    fail "package files (>) differ from the install (<):"
    diff <(echo "$want") <(echo "$got") >&2 || true
fi
dpkg-deb -x "$deb" "$scratch/pkg"
exe=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$scratch/pkg/usr/share/applications/$QUENVARY_APP_ID.desktop")
[ -x "$scratch/pkg/usr/games/$exe" ] || fail "the menu entry runs '$exe', which is not in /usr/games"

deps=$(dpkg-deb -f "$deb" Depends)
[[ $deps == *libqt${QUENVARY_QT}gui* && $deps != *libqt$((11 - QUENVARY_QT))* ]] || fail "Depends is not on Qt $QUENVARY_QT alone: $deps"
# A misspelt dependency makes the package uninstallable, and lintian does not notice.
for dep in $(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/[(|].*//'); do
    dpkg-query -W "$dep" >/dev/null 2>&1 || fail "Depends names $dep, which is no package known here"
done
lintian --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1 || fail "lintian: $(cat "$scratch/lintian.log")"
exit $failed

#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Compiles the Windows resource script with MinGW's windres and reads back its icon and version.
set -euo pipefail
source "$(dirname "$0")/need.sh"
need x86_64-w64-mingw32-windres cpp
scratch=$1
rm -rf "$scratch" && mkdir -p "$scratch" && cd "$scratch"
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
windres=x86_64-w64-mingw32-windres
# Debian's MinGW binutils come without a MinGW compiler, so the host preprocessor stands in;
# compiling away from app/ shows that the icon path holds relative to the script.
"$windres" --preprocessor=cpp -i "$QUENVARY_SOURCE_DIR/app/quenvary.rc" -O coff -o quenvary-rc.o
"$windres" -J coff -i quenvary-rc.o -O rc -o back.rc
grep -q '^"IDI_ICON1" 14 /\* RT_GROUP_ICON \*/' back.rc || fail "no icon group IDI_ICON1"
grep -q 'Has 1 elements' back.rc || fail "IDI_ICON1 does not hold the one picture of logo.ico"
for key in FileVersion ProductVersion; do
    grep -q "VALUE \"$key\", \"0\.0\.0\.0\"" back.rc || fail "$key is not 0.0.0.0"
done
# windres writes out the numeric versions only when they are not 0,0,0,0.
grep -E '^ *(FILE|PRODUCT)VERSION' back.rc >&2 && fail "the numeric versions are not 0,0,0,0"
exit $failed

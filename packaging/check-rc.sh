#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Quenvary developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Compiles the Windows resource script with the MinGW resource compiler and reads back what it made.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/check-lib.sh"
scratch="$1"
rm -rf "$scratch"
mkdir -p "$scratch"
rc="$QUENVARY_SOURCE_DIR/app/quenvary.rc"
ico="$QUENVARY_SOURCE_DIR/res/logo.ico"
windres=x86_64-w64-mingw32-windres

# Debian's MinGW binutils come without a MinGW compiler, so the host preprocessor stands in.
# Run away from app/, as a build directory would be: the icon path must hold relative to the script.
(cd "$scratch" && "$windres" --preprocessor=cpp -i "$rc" -O coff -o quenvary-rc.o) \
    || { echo "FAIL: $windres cannot compile $rc" >&2; exit 1; }
x86_64-w64-mingw32-objdump -h "$scratch/quenvary-rc.o" >"$scratch/objdump.txt"
grep -q 'file format pe-x86-64' "$scratch/objdump.txt" || fail "the object is no x86-64 PE/COFF object"
grep -q ' \.rsrc ' "$scratch/objdump.txt" || fail "the object has no .rsrc section"

"$windres" -J coff -i "$scratch/quenvary-rc.o" -O rc -o "$scratch/decompiled.rc"
decompiled="$scratch/decompiled.rc"
grep -q '^"IDI_ICON1" 14 /\* RT_GROUP_ICON \*/' "$decompiled" || fail "no icon group IDI_ICON1"
icoImages=$(icotool -l "$ico" | grep -c -- '--icon')
groupImages=$(sed -n '/"IDI_ICON1" 14/,/^END/ s|.*/\* Has \([0-9]*\) elements.*|\1|p' "$decompiled")
[ "$groupImages" = "$icoImages" ] || fail "IDI_ICON1 holds ${groupImages:-no} images, logo.ico has $icoImages"
grep -q 'FILEOS 0x40004$' "$decompiled" || fail "FILEOS is not VOS_NT_WINDOWS32"
grep -q 'FILETYPE 0x1$' "$decompiled" || fail "FILETYPE is not VFT_APP"
for key in FileVersion ProductVersion; do
    grep -q "VALUE \"$key\", \"0\.0\.0\.0\"" "$decompiled" || fail "string $key is not 0.0.0.0"
done

# The numeric versions sit in the fixed-size block after the signature FEEF04BD.
"$windres" -J coff -i "$scratch/quenvary-rc.o" -O res -o "$scratch/quenvary.res"
fixed=$(od -An -v -tx1 "$scratch/quenvary.res" | tr -s ' \n' ' ' | sed -n 's/.* bd 04 ef fe \(\([0-9a-f][0-9a-f] \)\{20\}\).*/\1/p')
if [ -z "$fixed" ]; then
    fail "no fixed version block"
else
    versions=$(echo "$fixed" | cut -d' ' -f5-20 | tr -d ' ')
    [ "$versions" = 00000000000000000000000000000000 ] \
        || fail "FILEVERSION/PRODUCTVERSION are not 0,0,0,0 (bytes $versions)"
fi

finish

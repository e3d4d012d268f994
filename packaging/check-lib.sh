# SPDX-FileCopyrightText: 2026 The Quenvary developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Helpers shared by the packaging checks.

failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "all checks passed"
}

# Width and height from a PNG's IHDR chunk, or nothing when the file is no PNG.
png_size() {
    [ -f "$1" ] || return 0
    local sig
    sig=$(od -An -tx1 -N8 "$1" | tr -d ' \n')
    [ "$sig" = 89504e470d0a1a0a ] || return 0
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

# The files an installation of the game consists of, relative to the prefix.
expected_files() {
    local size
    echo bin/quenvary
    echo share/applications/quenvary.desktop
    echo "share/metainfo/$QUENVARY_APP_ID.metainfo.xml"
    echo share/man/man6/quenvary.6.gz
    for size in 16 32 48 64 128 256; do
        echo "share/icons/hicolor/${size}x${size}/apps/quenvary.png"
    done
    echo share/icons/hicolor/scalable/apps/quenvary.svg
}

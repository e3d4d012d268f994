#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The player's own settings folder of the game, as ctest finds it: `snapshot APP_ID FILE` records
# what is in it (names, kinds, sizes, times, contents), `check APP_ID FILE` fails when that changed.
# ctest runs the first before every test and the second after the last.
set -eu
dir=${XDG_CONFIG_HOME:-$HOME/.config}/$2
state() {
    if [ -e "$dir" ]; then
        find "$dir" -printf '%p %y %s %T@\n' | sort
        find "$dir" -type f -exec sha256sum {} + | sort
    else
        echo "$dir absent"
    fi
}
case $1 in
snapshot) state > "$3" ;;
check) state | diff "$3" - >&2 || { echo "the tests changed $dir" >&2; exit 1; } ;;
*) echo "usage: $0 snapshot|check APP_ID FILE" >&2; exit 2 ;;
esac

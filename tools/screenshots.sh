#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Plays through every scene under a private X server and saves screenshots into docs/.
# Usage: tools/screenshots.sh [path/to/quenvary]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
game=${1:-$root/build/quenvary}
"$root/tools/setup.sh" test
out=$root/docs
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

exec 3> "$work/display"
# 96 dpi, a plain 100 % desktop: without Xft.dpi Qt scales by the server's dpi (Xvfb's own is 100).
Xvfb -displayfd 3 -dpi 96 -screen 0 800x700x24 -nolisten tcp > /dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"

# The design's texts and pictures, whatever language this machine speaks.
LC_ALL=C.UTF-8 LANGUAGE= "$game" > "$work/game.log" 2>&1 &
pids+=($!)
game_pid=$!

wait_for_window() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$1\$" > /dev/null 2>&1 && return 0
        sleep 0.05
    done
    echo "no visible window '$1'" >&2
    exit 1
}
# By the names of the game's windows: xdotool's --name misses some Traditional Chinese titles.
wait_for_title() {   # PID TITLE
    for _ in $(seq 100); do
        for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
            [ "$(xdotool getwindowname "$w")" = "$2" ] && return 0
        done
        sleep 0.05
    done
    echo "no visible window '$2'" >&2
    exit 1
}
click() { xdotool mousemove "$1" "$2" click 1; }
shot() { import -window root -crop 320x588+0+0 +repage "$out/$1"; }

wait_for_window TavroQuenvary
sleep 0.5
shot main-menu.png

click 160 407
wait_for_window 选择关卡
sleep 0.3
shot level-select.png

# Level 1 and its shortest solution, in window pixels of the coins' centres.
click 55 190
wait_for_window Quenvary
sleep 1.2
shot play.png
for cell in 2,2; do
    c=${cell%,*}; r=${cell#*,}
    click $((62 + 50 * c + 23)) $((198 + 50 * r + 22))
    sleep 0.45
done
sleep 1.8
shot victory.png

click 160 319
wait_for_window 选择关卡
click 55 190
wait_for_window Quenvary
sleep 12.8
shot defeat.png

# From here on the keyboard: out of the lost level, into level 1 again, the ring on coin (2, 2).
xdotool key Return
wait_for_window 选择关卡
xdotool key Return
wait_for_window Quenvary
xdotool key Right Right Down Down
sleep 0.5
shot keyboard.png

kill "$game_pid"

# Level 1 in each translation, for the README: LANG and its level select's title.
for each in "en_US en 'Choose a Level'" "zh_TW zh_TW 選擇關卡"; do
    eval "set -- $each"
    LANG=$1.UTF-8 LC_ALL= LANGUAGE= "$game" > "$work/game-$2.log" 2>&1 &
    pids+=($!)
    wait_for_window TavroQuenvary
    sleep 0.5
    click 160 407
    wait_for_title "${pids[-1]}" "$3"
    click 55 190
    wait_for_window Quenvary
    sleep 1.2
    shot "play-$2.png"
    kill "${pids[-1]}"
    wait "${pids[-1]}" 2>/dev/null || true   # its windows gone before the next one looks for its own
done

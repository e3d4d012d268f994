#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Benchmarks the game against an empty Qt window under a private Xvfb, and against the same window
# with Qt's OpenGL integration off (QT_XCB_GL_INTEGRATION=none): the floor for a Qt program.
# Usage: bench/run.sh [ROUNDS]         (default 15; about a minute per round)
#        bench/run.sh start [ROUNDS]   start-up only, the game and the empty window without OpenGL
#                                      alternating (default 10; about 12 s per round)
# Builds into build-bench/, keeps the raw lines there and prints a Markdown table and the ratios.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=full
[ "${1:-}" = start ] && { mode=start; shift; }
rounds="${1:-$([ $mode = start ] && echo 10 || echo 15)}"
source "$root/tools/setup.sh"
source "$root/packaging/xvfb.sh"
qt=$(qt_versions)
install_packages run "qt$qt" bench
out="$root/build-bench"
build "$out" "$qt" -DQUENVARY_BENCH=ON -DQUENVARY_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >&2
trap stop_xvfb EXIT
start_xvfb "$out"
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_AUTO_SCREEN_SCALE_FACTOR QT_XCB_GL_INTEGRATION

game="$out/quenvary"
baseline="$out/bench/quenvary-baseline"
probe="$out/bench/xprobe"
raw="$out/bench-raw.txt"
: > "$raw"

if [ $mode = start ]; then
    for round in $(seq 1 "$rounds"); do
        # Alternate who goes first, so drift over the run hits both alike.
        [ $((round % 2)) = 1 ] && order="game nogl" || order="nogl game"
        for kind in $order; do
            if [ $kind = game ]; then
                line=$("$probe" start "$game" 2>>"$out/bench-probe.log")
            else
                line=$(QT_XCB_GL_INTEGRATION=none "$probe" start "$baseline" 2>>"$out/bench-probe.log")
            fi
            echo "round=$round ${line/kind=start/kind=$kind}" >>"$raw"
            echo "round $round/$rounds $kind done" >&2
        done
    done
    awk -f "$root/bench/summarize.awk" "$raw" | tee "$out/bench-start-table.md"
    exit 0
fi

echo "paint costs (in process):" >&2
"$out/bench/quenvary-paintcost" | tee "$out/bench-paintcost.txt" >&2

for round in $(seq 1 "$rounds"); do
    # Rotate who goes first so drift over the run hits all alike.
    case $((round % 3)) in
        1) order="game baseline nogl" ;; 2) order="baseline nogl game" ;; *) order="nogl game baseline" ;;
    esac
    for kind in $order; do
        if [ "$kind" = game ]; then
            line=$("$probe" game "$game" 2>>"$out/bench-probe.log")
        elif [ "$kind" = nogl ]; then   # the empty window without OpenGL, measured as the empty window
            line=$(QT_XCB_GL_INTEGRATION=none "$probe" baseline "$baseline" 2>>"$out/bench-probe.log")
        else
            line=$("$probe" baseline "$baseline" 2>>"$out/bench-probe.log")
        fi
        line=${line/kind=baseline/kind=$kind}
        echo "round=$round $line" >>"$raw"
        echo "round $round/$rounds $kind done" >&2
    done
done

awk -f "$root/bench/summarize.awk" "$raw" | tee "$out/bench-table.md"

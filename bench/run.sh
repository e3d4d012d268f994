#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Benchmarks the game against an empty Qt window under a private Xvfb.
# Usage: bench/run.sh [ROUNDS]   (default 15; about a minute per round)
# Builds into build-bench/, keeps the raw lines there and prints a Markdown table.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds="${1:-15}"
source "$root/tools/setup.sh"
source "$root/packaging/xvfb.sh"
qt=$(qt_versions)
install_packages run "qt$qt" bench
out="$root/build-bench"
build "$out" "$qt" -DQUENVARY_BENCH=ON -DQUENVARY_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >&2
trap stop_xvfb EXIT
start_xvfb "$out"
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_AUTO_SCREEN_SCALE_FACTOR

game="$out/quenvary"
baseline="$out/bench/quenvary-baseline"
probe="$out/bench/xprobe"
raw="$out/bench-raw.txt"
: > "$raw"

echo "paint costs (in process):" >&2
"$out/bench/quenvary-paintcost" | tee "$out/bench-paintcost.txt" >&2

for round in $(seq 1 "$rounds"); do
    # Alternate who goes first so drift over the run hits both alike.
    if [ $((round % 2)) -eq 1 ]; then order="game baseline"; else order="baseline game"; fi
    for kind in $order; do
        if [ "$kind" = game ]; then program="$game"; else program="$baseline"; fi
        line=$("$probe" "$kind" "$program" 2>>"$out/bench-probe.log")
        echo "round=$round $line" >>"$raw"
        echo "round $round/$rounds $kind done" >&2
    done
done

awk -f "$root/bench/summarize.awk" "$raw" | tee "$out/bench-table.md"

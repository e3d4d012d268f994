# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Private X server for checks and the benchmark: picks a free display itself and
# is stopped, by its own PID, when the sourcing script exits.
# Sourcing scripts call start_xvfb DIR; it exports DISPLAY and sets xvfbPid.

xvfbPid=

stop_xvfb() {
    if [ -n "$xvfbPid" ] && kill -0 "$xvfbPid" 2>/dev/null; then
        kill "$xvfbPid" 2>/dev/null || true
        wait "$xvfbPid" 2>/dev/null || true
    fi
    xvfbPid=
}

start_xvfb() {
    local dir="$1" geometry="${2:-1024x768x24}" i
    : > "$dir/xvfb-display"
    # 96 dpi, a plain 100 % desktop: without Xft.dpi Qt scales by the server's dpi (Xvfb's own is 100).
    Xvfb -displayfd 3 -dpi 96 -screen 0 "$geometry" -nolisten tcp -noreset \
        3>"$dir/xvfb-display" 2>"$dir/xvfb.log" &
    xvfbPid=$!
    # Xvfb writes the display number once it accepts clients.
    for i in $(seq 1 100); do
        if [ -s "$dir/xvfb-display" ]; then
            export DISPLAY=":$(head -n1 "$dir/xvfb-display")"
            return 0
        fi
        kill -0 "$xvfbPid" 2>/dev/null || break
        sleep 0.1
    done
    echo "Xvfb did not start:" >&2
    cat "$dir/xvfb.log" >&2
    return 1
}

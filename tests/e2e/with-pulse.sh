#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a command with its own PulseAudio daemon, a null sink named "rec" and stream restore,
# which keeps each program's volume as a desktop's sound server does.
# Exits 77 (skip) when the daemon cannot start, so nothing passes without sound.
set -u
dir=$(mktemp -d /tmp/quenvary-pulse.XXXXXX)
mkdir -p "$dir/run" "$dir/home"
daemon=
cleanup() {   # the daemon gets 5 s to go, then is killed
    [ -z "$daemon" ] || { kill "$daemon"; timeout 5 tail --pid="$daemon" -f /dev/null || kill -9 "$daemon"; } 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

export HOME="$dir/home" XDG_RUNTIME_DIR="$dir/run" PULSE_RUNTIME_PATH="$dir/run" PULSE_SERVER="unix:$dir/sock"
unset DBUS_SESSION_BUS_ADDRESS
pulseaudio --system=false -n --daemonize=no --exit-idle-time=-1 --use-pid-file=false \
    --disallow-module-loading=false --log-target=file:"$dir/pulse.log" \
    -L "module-null-sink sink_name=rec rate=44100 channels=1" \
    -L "module-stream-restore restore_device=false" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/sock" &
daemon=$!

deadline=$((SECONDS + 15))
until pactl info >/dev/null 2>&1; do
    if ! kill -0 "$daemon" 2>/dev/null || [ $SECONDS -ge $deadline ]; then
        echo "SKIP: private PulseAudio daemon did not start" >&2
        tail -5 "$dir/pulse.log" >&2 2>/dev/null
        exit 77
    fi
    sleep 0.1
done
pactl set-default-sink rec >/dev/null 2>&1
"$@"

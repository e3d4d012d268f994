#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Usage: with-sound.sh pulse|pipewire COMMAND...: runs the command with a sound server of its own
# that keeps each program's volume as a desktop's does, and a null sink named "rec":
#   pulse     a PulseAudio daemon with stream restore;
#   pipewire  PipeWire, WirePlumber and pipewire-pulse on a session bus and runtime folder of their
#             own, no systemd; WirePlumber's memory is $XDG_STATE_HOME/wireplumber/restore-stream.
# Exits 77 (skip) when the server cannot start at all, so nothing passes without sound.
set -u
server=$1
shift
dir=$(mktemp -d "/tmp/quenvary-$server.XXXXXX")
mkdir -p "$dir/run" "$dir/home"
daemons=()
cleanup() {   # asked to go together, then each killed after 5 s
    local pid
    for pid in "${daemons[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${daemons[@]}"; do
        { timeout 5 tail --pid="$pid" -f /dev/null || kill -9 "$pid"; } 2>/dev/null
    done
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
logs() { tail -n 5 "$dir"/*.log >&2 2>/dev/null; }
daemon() {   # NAME ARGS...: started away from any display, its output in NAME.log
    env -u DISPLAY -u WAYLAND_DISPLAY "$@" >"$dir/$1.log" 2>&1 &
    daemons+=($!)
}
alive() { local pid; for pid in "${daemons[@]}"; do kill -0 "$pid" 2>/dev/null || return 1; done; }
deadline=$((SECONDS + 15))
up() {   # COMMAND...: waits until it succeeds, or skips
    until "$@" >/dev/null 2>&1; do
        if ! alive || [ $SECONDS -ge $deadline ]; then
            echo "SKIP: private $server server did not start" >&2
            logs
            exit 77
        fi
        sleep 0.05
    done
}

export HOME="$dir/home" XDG_RUNTIME_DIR="$dir/run"
if [ "$server" = pulse ]; then
    export PULSE_RUNTIME_PATH="$dir/run" PULSE_SERVER="unix:$dir/sock"
    unset DBUS_SESSION_BUS_ADDRESS
    daemon pulseaudio --system=false -n --daemonize=no --exit-idle-time=-1 --use-pid-file=false \
        --disallow-module-loading=false --log-target=stderr \
        -L "module-null-sink sink_name=rec rate=44100 channels=1" \
        -L "module-stream-restore restore_device=false" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/sock"
    up pactl info
    pactl set-default-sink rec >/dev/null 2>&1
    "$@"
    exit
fi

export XDG_CONFIG_HOME="$dir/home/.config" XDG_STATE_HOME="$dir/home/.local/state" \
    XDG_DATA_HOME="$dir/home/.local/share" PULSE_SERVER="unix:$dir/run/pulse/native" \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/bus"
unset PULSE_RUNTIME_PATH PIPEWIRE_REMOTE PIPEWIRE_RUNTIME_DIR PIPEWIRE_CONFIG_DIR
for tool in pipewire pw-cli wireplumber pipewire-pulse dbus-daemon pactl; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
daemon dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile
up test -S "$dir/bus"
daemon pipewire
# Its clients give up at once on a server not listening yet (systemd would start them on demand).
up pw-cli info 0
# Without Bluetooth: its seat monitor needs logind's state (/run/systemd/seats), which a machine
# without systemd lacks, and WirePlumber then quits.
mkdir -p "$XDG_CONFIG_HOME/wireplumber/bluetooth.lua.d"
echo 'bluez_monitor.enabled = false' >"$XDG_CONFIG_HOME/wireplumber/bluetooth.lua.d/80-no-bluetooth.lua"
daemon wireplumber
daemon pipewire-pulse
up pactl info
# The server is up; without its session manager nothing would be kept, and that is a failure.
until pactl list clients 2>/dev/null | grep -q 'application.name = "WirePlumber"'; do
    if ! alive || [ $SECONDS -ge $deadline ]; then
        echo "FAIL: WirePlumber did not join the private PipeWire server" >&2
        logs
        exit 1
    fi
    sleep 0.05
done
pactl load-module module-null-sink sink_name=rec rate=44100 channels=1 >/dev/null &&
    pactl set-default-sink rec || { echo "FAIL: no null sink on the private PipeWire server" >&2; logs; exit 1; }
"$@"

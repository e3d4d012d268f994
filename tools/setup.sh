#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the missing Debian packages of the lists in tools/packages/ a command names, and
# configures and builds. Sourced by run.sh, test.sh and bench/run.sh; run on its own,
# `tools/setup.sh LIST...` installs those lists (e.g. art, packaging).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

missing_packages() {   # LIST...
    local list pkg
    for list in "$@"; do
        [ -f "$root/tools/packages/$list.txt" ] || { echo "setup: no package list '$list'" >&2; exit 2; }
    done
    for list in "$@"; do grep -v -E '^\s*(#|$)' "$root/tools/packages/$list.txt"; done | sort -u | while read -r pkg; do
        dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q '^install ok installed$' || echo "$pkg"
    done
}

install_packages() {   # LIST...
    local missing
    missing=$(missing_packages "$@" | tr '\n' ' ')
    [ -z "${missing// /}" ] && return 0
    local line="apt-get update && apt-get install -y --no-install-recommends $missing"
    if [ "$(id -u)" -eq 0 ]; then
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq && apt-get install -y -qq --no-install-recommends $missing
    elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        sudo -n env DEBIAN_FRONTEND=noninteractive apt-get update -qq
        sudo -n env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
    else
        echo "Missing Debian packages; as root run:" >&2
        echo "  $line" >&2
        exit 1
    fi
}

# The Qt a command builds on: QUENVARY_QT=5 or 6, unset for the default (ALL: both, for test.sh).
qt_versions() {   # ALL
    case "${QUENVARY_QT:-}" in
        5|6) echo "$QUENVARY_QT" ;;
        "") [ "${1:-}" = ALL ] && echo "5 6" || echo 5 ;;
        *) echo "QUENVARY_QT must be 5 or 6, not '$QUENVARY_QT'" >&2; exit 2 ;;
    esac
}

configure() {   # DIR QT [CMAKE ARGS...]
    local dir="$1" qt="$2"; shift 2
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENVARY_QT="$qt" "$@" >/dev/null
}

build() {   # DIR QT [CMAKE ARGS...]
    configure "$@"
    cmake --build "$1" -j "$(nproc)"
}

# The game alone, for run.sh: a new build folder leaves the tests out, so configuring needs
# neither Qt Test nor Python; one that exists is kept as it is (the build itself configures again
# when a CMake file changed).
configure_game() {   # DIR QT
    [ -f "$1/CMakeCache.txt" ] || configure "$1" "$2" -DQUENVARY_TESTS=OFF
}

build_game() {   # DIR QT
    configure_game "$1" "$2"
    cmake --build "$1" -j "$(nproc)" --target quenvary
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    [ $# -gt 0 ] || { echo "usage: tools/setup.sh LIST... (lists in tools/packages/)" >&2; exit 2; }
    install_packages "$@"
fi

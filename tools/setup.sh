#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the missing Debian packages, then configures and builds into build/.
# Sourced by run.sh and test.sh so both read the one package list.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

missing_packages() {
    local pkg
    grep -v -E '^\s*(#|$)' "$root/tools/debian-packages.txt" | while read -r pkg; do
        dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q '^install ok installed$' || echo "$pkg"
    done
}

install_packages() {
    local missing
    missing=$(missing_packages | tr '\n' ' ')
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

build() {
    local dir="$1"; shift
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}

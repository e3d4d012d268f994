#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Sets up what building and running the game needs, builds, and starts the game.
#   QUENVARY_QT=6   on Qt 6 (build-qt6/) instead of Qt 5 (build/)
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
source "$root/tools/setup.sh"
qt=$(qt_versions)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); try: xvfb-run ./run.sh" >&2
    exit 1
fi
install_packages run "qt$qt"
dir=$root/build$([ "$qt" = 5 ] || echo "-qt$qt")
build_game "$dir" "$qt"
exec "$dir/quenvary" "$@"

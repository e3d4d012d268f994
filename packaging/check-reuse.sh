#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Every file names its copyright and licence (REUSE); tools/licence-headers.sh fills most gaps.
set -euo pipefail
source "$(dirname "$0")/need.sh"
need git reuse
cd "$QUENVARY_SOURCE_DIR"
# Outside a git checkout reuse cannot tell the sources from build output lying among them.
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || { echo "not a git checkout"; exit 77; }
reuse lint

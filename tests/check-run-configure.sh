#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# run.sh's first configure, in a scratch folder: nothing of the tests is configured, so neither
# Qt Test nor Python was needed.
set -euo pipefail
scratch=$1 qt=$2
rm -rf "$scratch"
source "$(dirname "$0")/../tools/setup.sh"
configure_game "$scratch" "$qt"
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
cache=$scratch/CMakeCache.txt
grep -q '^QUENVARY_TESTS:BOOL=OFF$' "$cache" || fail "the tests are on"
found=$(grep -E '^(Qt[56]Test_DIR|Python3_EXECUTABLE):' "$cache" | grep -v -- '-NOTFOUND$' || true)
[ -z "$found" ] || fail "configuring looked for test tools: $found"
targets=$(cmake --build "$scratch" --target help | sed -n 's/^\.\.\. //p')
stray=$(grep -E '^tst_|^test$' <<<"$targets" || true)
[ -z "$stray" ] || fail "test targets configured: $stray"
rm -rf "$scratch"
exit $failed

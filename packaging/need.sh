# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the checks: a check whose tools a developer's machine lacks is skipped (CTest's
# code 77), not failed; test.sh installs them all (tools/packages/packaging.txt).
need() {   # COMMAND...
    local missing=() tool
    for tool in "$@"; do command -v "$tool" >/dev/null || missing+=("$tool"); done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "SKIP: ${missing[*]} not installed (tools/setup.sh packaging installs them)"
        exit 77
    fi
}

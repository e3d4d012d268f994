#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Non-blank lines of tracked code, tests against the rest (pictures, sounds, docs and the
# metainfo template left out). Usage: tools/count-lines.sh [-v]
cd "$(dirname "$0")/.."
git ls-files | grep -vE '^(res|docs)/|metainfo\.xml\.in$' \
    | grep -E '\.(c|cc|cpp|h|hpp|py|sh|awk|in|cmake)$|CMakeLists\.txt$|^\.ci/run$' \
    | while read -r f; do
        case "$f" in tests/*|packaging/check-*) kind=tests ;; *) kind=rest ;; esac
        echo "$kind $(grep -cv '^\s*$' "$f") $f"
    done | awk -v verbose="${1:-}" '
        verbose == "-v" { print }
        { lines[$1] += $2 }
        END { printf "tests %d, rest %d, tests / all %.3f\n", lines["tests"], lines["rest"],
                     lines["tests"] / (lines["tests"] + lines["rest"]) }'

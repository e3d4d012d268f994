#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Gives every tracked file that can hold a comment the project's copyright and licence
# header (reuse annotate), choosing the comment style reuse cannot guess itself.
# Files that already name a licence are left alone, so a second run changes nothing.
# Pictures and sounds are covered by .reuse/dep5 instead.
# Usage: tools/licence-headers.sh [path...]    (default: the whole repository)
set -euo pipefail
cd "$(dirname "$0")/.."

unknown=0
declare -A byStyle=()
while IFS= read -r f; do
    case "$f" in
        LICENSE | LICENSES/* | .reuse/* | *.png | *.wav | *.ico) continue ;;
        packaging/copyright | packaging/changelog.in) continue ;; # no comments in these formats
    esac
    [ -f "$f" ] || continue
    grep -q 'SPDX-License-Identifier:' "$f" && continue
    case "$f" in
        *.cpp | *.h | *.c | *.rc) style=c ;;
        *.ui | *.qrc | *.xml | *.xml.in | *.md) style=html ;;
        *.sh | *.py | *.awk | *.supp | *.txt | *.cmake | *.desktop | .gitignore | */.gitignore) style=python ;;
        *)
            if head -c2 "$f" | grep -q '^#!'; then
                style=python
            else
                echo "licence-headers: no comment style known for $f" >&2
                unknown=1
                continue
            fi
            ;;
    esac
    byStyle[$style]+="$f"$'\n'
done < <(git ls-files -- "$@")

for style in "${!byStyle[@]}"; do
    mapfile -t files < <(printf '%s' "${byStyle[$style]}")
    reuse annotate --copyright "The Quenvary developers" --license GPL-3.0-or-later \
        --style "$style" --skip-existing "${files[@]}" >/dev/null
    printf 'annotated %s\n' "${files[@]}"
done
exit "$unknown"

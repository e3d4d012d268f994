#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Brings the translation sources in i18n/ up to date with the code, the menu entry and the
# AppStream data: new texts come in unfinished, texts gone from the code are dropped.
#   tools/update-translations.sh              every language folder in i18n/
#   tools/update-translations.sh LANGUAGE...  those folders, made if new (e.g. fr)
# Game texts: i18n/<language>/quenvary.ts (every language but zh_CN, the game's own);
# menu entry and AppStream: i18n/<language>/metadata.po (every language but en, theirs).
# LUPDATE names Qt's lupdate when it is not Qt 5's or Qt 6's in Debian's place.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/i18n-lib.sh"

cd "$root"
languages=("$@")
[ ${#languages[@]} -gt 0 ] || languages=($(i18n_languages "$root"))
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
i18n_template "$root" "$scratch/metadata.pot"
for language in "${languages[@]}"; do
    [[ $language =~ ^[a-z]{2,3}(_[A-Z]{2}|_[A-Z][a-z]{3})?$ ]] || { echo "not a language name: $language" >&2; exit 2; }
    mkdir -p "i18n/$language"
    [ "$language" = zh_CN ] || i18n_lupdate "$root" "i18n/$language/quenvary.ts" "$language" -no-obsolete
    [ "$language" = en ] || i18n_msgmerge "$root" "i18n/$language/metadata.po" "$scratch/metadata.pot" "$language"
done

#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Every language of i18n/ is complete and up to date: its game texts (lupdate run over the code
# into a scratch copy finds nothing new, nothing gone and nothing unfinished), its four pictures
# with words (drawn, as large as the design's, bundled with its lang), and its menu entry and
# AppStream texts. Usage: check-i18n.sh SCRATCH; LUPDATE names Qt's lupdate.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$1
source "$root/tools/i18n-lib.sh"
rm -rf "$scratch" && mkdir -p "$scratch"
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
pictures="MenuSceneStartButton OtherSceneBg LevelCompletedDialogBg shibai PauseCard PauseCard@2x"

# The sources of the messages of a TS file marked with one of the types.
marked() {   # TS TYPE...
    local ts=$1; shift
    awk -v types="$*" '/<source>/ { s = $0; sub(/.*<source>/, "", s); sub(/<\/source>.*/, "", s) }
        /<translation/ { for (i = split(types, t, " "); i > 0; --i) if (index($0, "type=\"" t[i] "\"")) print "  " s }' "$ts"
}
# The width and height of a PNG, from its header.
pngSize() { od -An -tu4 --endian=big -j16 -N8 "$1" | awk '{ print $1 "x" $2 }'; }

i18n_template "$root" "$scratch/metadata.pot"
for language in $(i18n_languages "$root"); do
    dir=$root/i18n/$language
    # zh_CN is the game's own language, en the one of the menu entry and the AppStream data.
    if [ "$language" != zh_CN ]; then
        if [ ! -f "$dir/quenvary.ts" ]; then
            fail "$language: no quenvary.ts"
        else
            cp "$dir/quenvary.ts" "$scratch/$language.ts"
            i18n_lupdate "$root" "$scratch/$language.ts" "$language"
            grep -q "<TS [^>]*language=\"$language\" sourcelanguage=\"zh_CN\"" "$scratch/$language.ts" \
                || fail "$language: quenvary.ts is not marked as $language from zh_CN"
            new=$(marked "$scratch/$language.ts" unfinished)
            [ -z "$new" ] || fail "$language: texts new in the code or not translated yet:"$'\n'"$new"
            gone=$(marked "$scratch/$language.ts" vanished obsolete)
            [ -z "$gone" ] || fail "$language: texts the code no longer has:"$'\n'"$gone"
        fi
        # Each picture, and its renderings for 2x and 3x screens wherever the design's has them.
        for picture in $pictures; do
            for scale in "" @2x @3x; do
                [ -z "$scale" ] || [ -f "$root/res/$picture$scale.png" ] || continue
                name=$picture$scale.png
                file=$root/res/$language/$name
                if [ ! -f "$file" ]; then
                    fail "$language: no res/$language/$name"
                elif [ "$(pngSize "$file")" != "$(pngSize "$root/res/$name")" ]; then
                    fail "$language: res/$language/$name is not as large as res/$name"
                fi
                awk -v lang="lang=\"$language\"" '/<qresource/ { inside = index($0, lang) > 0 } inside' "$root/app/res.qrc" \
                    | grep -qF "<file alias=\"res/$name\">../res/$language/$name</file>" \
                    || fail "$language: app/res.qrc does not bundle res/$language/$name with lang=\"$language\""
            done
        done
    fi
    if [ "$language" != en ]; then
        if [ ! -f "$dir/metadata.po" ]; then
            fail "$language: no metadata.po"
            continue
        fi
        msgmerge --quiet --no-fuzzy-matching -o "$scratch/$language.po" "$dir/metadata.po" "$scratch/metadata.pot"
        for kind in untranslated only-fuzzy only-obsolete; do
            left=$(msgattrib --$kind --no-wrap "$scratch/$language.po" | grep -E '^(#~ )?msgid "[^"]' || true)
            [ -z "$left" ] || fail "$language: metadata.po has ${kind#only-} texts of the menu entry or AppStream data:"$'\n'"$left"
        done
    fi
done
exit $failed

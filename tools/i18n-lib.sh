# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# What tools/update-translations.sh and the translation check share; sourced, not run.

# Every language folder of i18n/.
i18n_languages() {   # ROOT
    local dir
    for dir in "$1"/i18n/*/; do basename "$dir"; done
}

i18n_lupdate_binary() {
    local each
    for each in "${LUPDATE:-}" /usr/lib/qt5/bin/lupdate /usr/lib/qt6/bin/lupdate; do
        [ -n "$each" ] && [ -x "$each" ] && { echo "$each"; return; }
    done
    echo "lupdate not found: install qttools5-dev-tools (or qt6-l10n-tools), or set LUPDATE" >&2
    return 1
}

# The game's texts into TS: sources are the design's Chinese; no line numbers, so that moving
# code does not touch the translations.
i18n_lupdate() {   # ROOT TS LANGUAGE [LUPDATE OPTIONS...]
    local root=$1 ts=$2 language=$3; shift 3
    "$(i18n_lupdate_binary)" -silent -locations none -source-language zh_CN -target-language "$language" \
        "$@" "$root/scenes" "$root/widgets" "$root/data" "$root/app" -ts "$ts"
}

# The template of the menu entry's and the AppStream data's texts.
i18n_template() {   # ROOT POT
    local root=$1 pot=$2 tmp
    tmp=$(mktemp -d)
    # The AppStream rules are found by the file name; the template's own ends in .in.
    cp "$root/packaging/io.github.quenvary.Quenvary.metainfo.xml.in" "$tmp/quenvary.metainfo.xml"
    cp "$root/packaging/io.github.quenvary.Quenvary.desktop" "$tmp/quenvary.desktop"
    (cd "$tmp" && xgettext --from-code=UTF-8 --omit-header --no-location --sort-output -o "$pot" quenvary.desktop quenvary.metainfo.xml)
    rm -rf "$tmp"
}

# A language's metadata.po merged with the template: made from it when new.
i18n_msgmerge() {   # ROOT PO POT LANGUAGE
    local root=$1 po=$2 pot=$3 language=$4
    if [ ! -f "$po" ]; then
        msginit --no-translator --no-wrap -l "$language.UTF-8" -i "$pot" -o "$po" 2>/dev/null
        sed -i -e 's/^"Project-Id-Version: .*/"Project-Id-Version: Quenvary\\n"/' \
            -e 's/charset=ASCII/charset=UTF-8/' -e '/^"Last-Translator: Automatically/d' "$po"
    fi
    msgmerge --quiet --no-fuzzy-matching --no-location --no-wrap --sort-output --update --backup=none "$po" "$pot"
    msgattrib --no-obsolete --no-wrap --sort-output -o "$po" "$po"
}

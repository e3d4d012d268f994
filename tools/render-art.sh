#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Rebuilds every picture, the icon and every sound of the resource bundle from art/, and
# the pictures with words in every language of i18n/.
# Installs what it needs first (tools/packages/art.txt: the lettering is drawn from the fonts
# at this step, so the game itself never needs them). Safe to run again: outputs are simply
# replaced.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
art=$root/art
res=$root/res
icons=$root/packaging/icons
"$root/tools/setup.sh" art
mkdir -p "$res" "$icons" "$root/docs"

for f in "Lobster Two:style=Bold Italic" "Noto Sans CJK SC:style=Bold"; do
    fc-list "$f" | grep -q . || { echo "render-art: font '$f' missing" >&2; exit 1; }
done

# Always 8-bit RGBA (colour type 6), even for opaque pictures: rsvg-convert drops alpha
# from opaque ones, so ImageMagick's PNG32 puts it back and -nx keeps optipng from
# reducing it again. The ancillary chunks carry nothing the game needs.
rgba() { # png out
    /usr/bin/convert "$1" -strip PNG32:"$tmp/rgba.png"
    rm -f "$2"
    optipng -quiet -nx -o2 -strip all -out "$2" "$tmp/rgba.png"
}
png() { # svg out
    rsvg-convert --format=png "$1" -o "$tmp/svg.png"
    rgba "$tmp/svg.png" "$2"
}
width() { # png
    echo $((0x$(xxd -p -s 16 -l 4 "$1")))
}
# A picture the game shows at its own size comes for every screen scale Qt looks for: Name.png,
# Name@2x.png and Name@3x.png, each rendered from the SVG at that scale. One as wide as twice the
# window (a background) is full size already and needs none.
fullWidth=640
picture() { # svg out [width height]   (the 1x size, where the SVG's own differs)
    svg=$1 out=$2
    shift 2
    for s in 1 2 3; do
        if [ $# = 2 ]; then
            size="-w $(($1 * s)) -h $(($2 * s))"
        elif [ $s = 1 ]; then
            size=
        else
            size="-z $s"
        fi
        # shellcheck disable=SC2086  # the size is two options or none
        rsvg-convert --format=png $size "$svg" -o "$tmp/svg.png"
        if [ $s = 1 ]; then
            rgba "$tmp/svg.png" "$out"
            [ "$(width "$out")" -lt $fullWidth ] || return 0
        else
            rgba "$tmp/svg.png" "${out%.png}@${s}x.png"
        fi
    done
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

python3 "$art/coins.py"

for n in MenuSceneBg MenuSceneStartButton OtherSceneBg LevelIcon BackButton BackButtonSelected \
         PlayLevelSceneBg BoardNode LevelCompletedDialogBg shibai; do
    picture "$art/$n.svg" "$res/$n.png"
done
for i in 1 2 3 4 5 6 7 8; do
    picture "$art/coins/Coin000$i.svg" "$res/Coin000$i.png"
done
# The solved level's badge.
picture "$art/SolvedMark.svg" "$res/SolvedMark.png" 24 24

# The pause card.
picture "$art/PauseCard.svg" "$res/PauseCard.png"

# The pictures with words again in each language of i18n/*/pictures.txt, into res/<lang>/;
# the design's own stay as drawn above.
python3 "$art/words.py" "$tmp/words" "$fullWidth"
for f in "$tmp"/words/*/*.png; do
    [ -e "$f" ] || continue
    lang=$(basename "$(dirname "$f")")
    mkdir -p "$res/$lang"
    rgba "$f" "$res/$lang/$(basename "$f")"
done

# App icon: one source for the ICO (single 200x200 32-bit DIB entry) and the large hicolor
# sizes; the small sizes have their own drawings made for their pixel grid.
rsvg-convert -w 200 -h 200 "$art/logo.svg" -o "$tmp/logo200.png"
icotool -c -o "$res/logo.ico" "$tmp/logo200.png"
for s in 16 24 32; do
    png "$art/icons/quenvary-$s.svg" "$icons/quenvary-$s.png"
done
for s in 48 64 128 256; do
    rsvg-convert -w $s -h $s "$art/logo.svg" -o "$tmp/q$s.png"
    rgba "$tmp/q$s.png" "$icons/quenvary-$s.png"
done
cp "$art/logo.svg" "$icons/quenvary.svg"

sh "$art/sounds.sh" "$res"

sh "$root/tools/contact-sheet.sh"
echo "render-art: done"

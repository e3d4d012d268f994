#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Lays every picture of the bundle and the icon on a grey checkerboard, labelled with
# its file name, into docs/contact-sheet.png (ImageMagick's montage); the pictures with
# words of each language in res/<lang>/ follow, a row per language.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
res=$root/res
"$root/tools/setup.sh" art
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
IM=/usr/bin

# Big pictures are shown at half size, small ones as rendered for 3x screens, so both can be judged. Tiles are
# numbered within their row folder so each row keeps its order.
tile() { # src label scale row [filter]
    mkdir -p "$tmp/$4"
    n=$(ls "$tmp/$4" | wc -l)
    out="$tmp/$4/$(printf %02d "$n").png"
    $IM/convert "$1" -filter "${5:-Lanczos}" -resize "$3" "$tmp/fg.png"
    geom=$($IM/identify -format '%wx%h' "$tmp/fg.png")
    # tiles narrower than their label get a margin of the sheet's grey
    w=${geom%x*}; [ "$w" -ge 190 ] || w=190
    $IM/convert -size "$geom" pattern:checkerboard -fill '#9a9a9a' -opaque white -fill '#7a7a7a' -opaque black \
        "$tmp/fg.png" -composite -background '#5f5f5f' -gravity center -extent "${w}x${geom#*x}" \
        -set label "$2" "$out"
}
# One montage per row so each row is sized by its own tiles, then stacked.
row() { # row
    $IM/montage "$tmp/$1"/*.png -tile "$(ls "$tmp/$1" | wc -l)"x1 -geometry '+14+10' -background '#5f5f5f' \
        -fill white -pointsize 14 -font DejaVu-Sans "$tmp/row-$1.png"
}
for n in MenuSceneBg OtherSceneBg PlayLevelSceneBg LevelCompletedDialogBg shibai; do
    case $n in *Dialog*|shibai) s=100% ;; *) s=50% ;; esac
    tile "$res/$n.png" "$n.png" $s 1
done
for n in MenuSceneStartButton LevelIcon BackButton BackButtonSelected BoardNode SolvedMark; do
    tile "$res/$n@3x.png" "$n@3x.png" 100% 2
done
tile "$res/PauseCard@2x.png" "PauseCard@2x.png" 50% 2
icotool -x -o "$tmp/ico.png" "$res/logo.ico"
tile "$tmp/ico.png" "logo.ico" 100% 2
for n in Coin0001 Coin0002 Coin0003 Coin0004 Coin0005 Coin0006 Coin0007 Coin0008; do
    tile "$res/$n@3x.png" "$n@3x.png" 100% 3
done
# Every size of the desktop icon as a desktop shows it, then the small ones pixel for pixel.
for s in 16 24 32 48 64 128 256; do
    tile "$root/packaging/icons/quenvary-$s.png" "$s px" 100% 4
done
for s in 16 24 32; do
    tile "$root/packaging/icons/quenvary-$s.png" "$s px (x4)" 400% 4 Point
done
# Then a row per language of the pictures with words, at the design's pictures' scales.
rows="1 2 3 4"
r=5
for d in "$res"/*/; do
    [ -d "$d" ] || continue
    l=$(basename "$d")
    tile "$d/OtherSceneBg.png" "$l/OtherSceneBg.png" 50% $r
    tile "$d/LevelCompletedDialogBg.png" "$l/LevelCompletedDialogBg.png" 100% $r
    tile "$d/shibai.png" "$l/shibai.png" 100% $r
    tile "$d/PauseCard.png" "$l/PauseCard.png" 100% $r
    tile "$d/MenuSceneStartButton@3x.png" "$l/MenuSceneStartButton@3x.png" 100% $r
    rows="$rows $r"; r=$((r + 1))
done
set --
for r in $rows; do
    row "$r"
    set -- "$@" "$tmp/row-$r.png"
done
$IM/convert "$@" -background '#5f5f5f' \
    -gravity west -append -depth 8 "$root/docs/contact-sheet.png.tmp.png"
rm -f "$root/docs/contact-sheet.png"
optipng -quiet -nx -o1 -strip all -out "$root/docs/contact-sheet.png" "$root/docs/contact-sheet.png.tmp.png"
rm -f "$root/docs/contact-sheet.png.tmp.png"

#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Quenvary developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Lays every picture of the bundle and the icon on a grey checkerboard, labelled with
# its file name, into docs/contact-sheet.png (ImageMagick's montage).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
res=$root/res
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
IM=/usr/bin

# Big pictures are shown at half size, small ones enlarged, so both can be judged.
tile() { # src label scale
    b=$(basename "$1" .png)
    $IM/convert "$1" -filter Lanczos -resize "$3" "$tmp/$b.fg.png"
    geom=$($IM/identify -format '%wx%h' "$tmp/$b.fg.png")
    $IM/convert -size "$geom" pattern:checkerboard -fill '#9a9a9a' -opaque white -fill '#7a7a7a' -opaque black \
        "$tmp/$b.fg.png" -composite -set label "$2" "$tmp/$(printf %02d "$4")-$b.png"
}
# One montage per row so each row is sized by its own tiles, then stacked.
row() { # name tiles...
    r=$1; shift
    $IM/montage "$@" -tile "$#"x1 -geometry '+14+10' -background '#5f5f5f' \
        -fill white -pointsize 14 -font DejaVu-Sans "$tmp/row-$r.png"
}
i=0
for n in MenuSceneBg OtherSceneBg PlayLevelSceneBg LevelCompletedDialogBg shibai; do
    i=$((i + 1)); case $n in *Dialog*|shibai) s=100% ;; *) s=50% ;; esac
    tile "$res/$n.png" "$n.png" $s $i
done
row 1 "$tmp"/0[1-5]-*.png
for n in MenuSceneStartButton LevelIcon BackButton BackButtonSelected BoardNode; do
    i=$((i + 1)); tile "$res/$n.png" "$n.png (x3)" 300% $i
done
icotool -x -o "$tmp/ico.png" "$res/logo.ico"
i=$((i + 1)); tile "$tmp/ico.png" "logo.ico" 100% $i
i=$((i + 1)); tile "$root/packaging/icons/quenvary-32.png" "32 px" 100% $i
i=$((i + 1)); tile "$root/packaging/icons/quenvary-16.png" "16 px" 100% $i
row 2 "$tmp"/0[6-9]-*.png "$tmp"/1[0-3]-*.png
for n in Coin0001 Coin0002 Coin0003 Coin0004 Coin0005 Coin0006 Coin0007 Coin0008; do
    i=$((i + 1)); tile "$res/$n.png" "$n.png (x3)" 300% $i
done
row 3 "$tmp"/1[4-9]-*.png "$tmp"/2[0-1]-*.png
$IM/convert "$tmp"/row-1.png "$tmp"/row-2.png "$tmp"/row-3.png -background '#5f5f5f' -gravity west -append -depth 8 \
    "$root/docs/contact-sheet.png.tmp.png"
rm -f "$root/docs/contact-sheet.png"
optipng -quiet -nx -o1 -strip all -out "$root/docs/contact-sheet.png" "$root/docs/contact-sheet.png.tmp.png"
rm -f "$root/docs/contact-sheet.png.tmp.png"

#!/bin/sh
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
i=0
for n in MenuSceneBg OtherSceneBg PlayLevelSceneBg LevelCompletedDialogBg shibai; do
    i=$((i + 1)); case $n in *Dialog*|shibai) s=100% ;; *) s=50% ;; esac
    tile "$res/$n.png" "$n.png" $s $i
done
for n in MenuSceneStartButton LevelIcon BackButton BackButtonSelected BoardNode \
         Coin0001 Coin0002 Coin0003 Coin0004 Coin0005 Coin0006 Coin0007 Coin0008; do
    i=$((i + 1)); tile "$res/$n.png" "$n.png" 300% $i
done
i=$((i + 1))
icotool -x -o "$tmp/ico.png" "$res/logo.ico"
tile "$tmp/ico.png" "logo.ico" 100% $i
i=$((i + 1)); tile "$root/packaging/icons/quenvary-16.png" "quenvary-16.png (x4)" 400% $i

$IM/montage "$tmp"/[0-9][0-9]-*.png -tile 6x -geometry '+14+14' -background '#5f5f5f' \
    -fill white -pointsize 14 -font DejaVu-Sans "$root/docs/contact-sheet.png.tmp.png"
rm -f "$root/docs/contact-sheet.png"
optipng -quiet -nx -o1 -strip all -out "$root/docs/contact-sheet.png" "$root/docs/contact-sheet.png.tmp.png"
rm -f "$root/docs/contact-sheet.png.tmp.png"

#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Verifies the bytes of every bundle output the game loads: PNG sizes and 8-bit RGBA
# headers, the 2x and 3x renderings of every picture not full size, WAV format/rate/length,
# the single 32-bit DIB entry of logo.ico, and that each language's pictures with words are
# there and drawn from its i18n/<lang>/pictures.txt.
# Exits non-zero on the first list of mismatches.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh" art
cd "$root"
bad=0
fail() { echo "FAIL: $*" >&2; bad=1; }

png() { # file width height
    f=$1
    [ -f "$f" ] || { fail "$f missing"; return; }
    [ "$(xxd -p -l 8 "$f")" = 89504e470d0a1a0a ] || { fail "$f is not a PNG"; return; }
    # IHDR: width, height (4 bytes each), then bit depth and colour type
    ihdr=$(xxd -p -s 16 -l 10 "$f")
    w=$((0x$(echo "$ihdr" | cut -c1-8))); h=$((0x$(echo "$ihdr" | cut -c9-16)))
    depth=$((0x$(echo "$ihdr" | cut -c17-18))); ctype=$((0x$(echo "$ihdr" | cut -c19-20)))
    [ "$w x $h" = "$2 x $3" ] || fail "$f is ${w}x$h, want $2x$3"
    [ "$depth/$ctype" = "8/6" ] || fail "$f bit depth $depth colour type $ctype, want 8/6"
    id=$(/usr/bin/identify -format '%w %h %[channels]' "$f")
    [ "$id" = "$2 $3 srgba" ] || fail "$f identify says '$id'"
}

wav() { # file rate seconds
    f=$1
    [ -f "$f" ] || { fail "$f missing"; return; }
    [ "$(xxd -p -l 4 "$f")$(xxd -p -s 8 -l 4 "$f")" = 5249464657415645 ] || { fail "$f is not RIFF WAVE"; return; }
    fmt=$(xxd -p -s 12 -l 24 "$f")   # "fmt " chunk
    [ "$(echo "$fmt" | cut -c1-8)" = 666d7420 ] || fail "$f: fmt chunk not first"
    [ "$(echo "$fmt" | cut -c17-20)" = 0100 ] || fail "$f: not PCM (format 1)"
    [ "$(echo "$fmt" | cut -c21-24)" = 0100 ] || fail "$f: not mono"
    [ "$(echo "$fmt" | cut -c45-48)" = 1000 ] || fail "$f: not 16-bit"
    [ "$(xxd -p -s 36 -l 4 "$f")" = 64617461 ] || fail "$f: data chunk does not follow a plain 44-byte header"
    [ "$(soxi -r "$f")" = "$2" ] || fail "$f rate $(soxi -r "$f"), want $2"
    want=$(awk "BEGIN { printf \"%d\", $2 * $3 + 0.5 }")
    got=$(soxi -s "$f")
    awk "BEGIN { exit !(($got - $want) ^ 2 <= (0.01 * $2) ^ 2) }" || fail "$f has $got samples, want $want"
    peak=$(sox "$f" -n stat 2>&1 | awk '/Maximum amplitude/ { a = $3 } /Minimum amplitude/ { b = -$3 } END { print (a > b ? a : b) }')
    mean=$(sox "$f" -n stat 2>&1 | awk '/Mean    amplitude/ { print $3 }')
    awk "BEGIN { exit !($peak < 0.99 && $peak > 0.5) }" || fail "$f peak $peak outside (0.5, 0.99)"
    awk "BEGIN { exit !($mean < 0.002 && $mean > -0.002) }" || fail "$f DC offset $mean"
}

# A picture shown at its own size comes rendered for 2x and 3x screens too; one at least twice the
# window's width (a background) is full size already.
fullWidth=640
scaled() { # file width height
    png "$1" "$2" "$3"
    [ "$2" -lt $fullWidth ] || return 0
    for s in 2 3; do png "${1%.png}@${s}x.png" $(($2 * s)) $(($3 * s)); done
}

scaled res/MenuSceneBg.png 640 1176
scaled res/MenuSceneStartButton.png 110 110
scaled res/OtherSceneBg.png 640 1140
scaled res/LevelIcon.png 60 60
scaled res/BackButton.png 50 50
scaled res/BackButtonSelected.png 50 50
scaled res/PlayLevelSceneBg.png 640 1140
scaled res/BoardNode.png 50 50
scaled res/Coin0001.png 46 44
scaled res/Coin0002.png 46 45
scaled res/Coin0003.png 46 45
scaled res/Coin0004.png 46 47
scaled res/Coin0005.png 46 46
scaled res/Coin0006.png 46 45
scaled res/Coin0007.png 46 45
scaled res/Coin0008.png 46 45
scaled res/LevelCompletedDialogBg.png 320 630
scaled res/shibai.png 320 630
scaled res/SolvedMark.png 24 24
scaled res/PauseCard.png 240 240

# Every language of i18n/ has its own picture of each word, drawn from its pictures.txt as it
# stands now; a folder of pictures whose language is gone would still be bundled.
worded="MenuSceneStartButton:110:110 OtherSceneBg:640:1140 LevelCompletedDialogBg:320:630 shibai:320:630 PauseCard:240:240"
langs=
for p in i18n/*/pictures.txt; do
    [ -f "$p" ] && langs="$langs $(basename "$(dirname "$p")")"
done
for d in res/*/; do
    [ -d "$d" ] || continue
    d=${d%/}; l=${d#res/}
    [ -f "i18n/$l/pictures.txt" ] || fail "$d has no i18n/$l/pictures.txt"
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
[ -z "$langs" ] || python3 art/words.py "$tmp" $fullWidth || fail "art/words.py could not draw the words"
for l in $langs; do
    for w in $worded; do
        n=${w%%:*}; wh=${w#*:}
        scaled "res/$l/$n.png" "${wh%:*}" "${wh#*:}"
        for f in "$tmp/$l/$n.png" "$tmp/$l/$n"@*x.png; do
            [ -f "$f" ] && [ -f "res/$l/${f##*/}" ] || continue
            p=res/$l/${f##*/}
            cmp -s "$p" "res/${f##*/}" && fail "$p is the design's picture, without its words"
            diff=$(/usr/bin/compare -metric AE -fuzz 3% "$p" "$f" null: 2>&1)
            [ "$diff" = 0 ] || fail "$p differs from i18n/$l/pictures.txt in $diff pixels: run tools/render-art.sh"
        done
    done
done
# Any other picture of the bundle, such as one added later, needs its renderings for 2x and 3x too.
for f in res/*.png res/*/*.png; do
    case $f in *@[0-9]x.png) continue ;; esac
    wh=$(/usr/bin/identify -format '%w %h' "$f")
    scaled "$f" $wh
done
for s in 16 24 32 48 64 128 256; do png packaging/icons/quenvary-$s.png $s $s; done
[ -s packaging/icons/quenvary.svg ] || fail "packaging/icons/quenvary.svg missing"

wav res/TapButtonSound.wav 44100 0.30
wav res/BackButtonSound.wav 44100 0.23
wav res/ConFlipSound.wav 22050 1.39
wav res/LevelWinSound.wav 22050 4.60

# Pixel facts the game relies on: the board cell's body alpha and the dialogs' dim field.
alpha_at() { /usr/bin/convert "$1" -format "%[fx:int(255*p{$2,$3}.a+0.5)]" info:; }
[ "$(alpha_at res/BoardNode.png 25 25)" = 77 ] || fail "BoardNode alpha $(alpha_at res/BoardNode.png 25 25), want 77"
[ "$(alpha_at res/BoardNode.png 0 0)" = 0 ] || fail "BoardNode corner not transparent"
for dir in res $(for l in $langs; do echo "res/$l"; done); do
    for d in LevelCompletedDialogBg shibai; do
        [ -f "$dir/$d.png" ] || continue
        for xy in "5 5" "160 400" "310 620"; do
            a=$(alpha_at "$dir/$d.png" $xy)
            [ "$a" -ge 64 ] && [ "$a" -le 68 ] || fail "$dir/$d alpha $a at $xy, want about 66"
        done
    done
    [ -f "$dir/MenuSceneStartButton.png" ] || continue
    for xy in "0 0" "109 0" "0 109" "109 109"; do
        [ "$(alpha_at "$dir/MenuSceneStartButton.png" $xy)" = 0 ] || fail "$dir start button corner $xy not transparent"
    done
done
[ "$(alpha_at res/LevelIcon.png 30 30)" = 255 ] || fail "LevelIcon centre not opaque"
# The badge is round: its corners stay clear of the tile and the sky behind it.
for m in "SolvedMark 23" "SolvedMark@2x 47"; do
    set -- $m
    [ "$(alpha_at res/$1.png 0 0)" = 0 ] && [ "$(alpha_at res/$1.png $2 0)" = 0 ] || fail "$1 corners not transparent"
done
# The start button bounces down to window y 472; under it (x 105..215) the orange sky must stay
# clear of sea and shadow, whose red channel drops below the sky's 255.
r=$(/usr/bin/convert res/MenuSceneBg.png -crop 220x240+210+704 +repage -channel R -separate \
    -format '%[fx:int(255*minima)]' info:)
[ "$r" -ge 250 ] || fail "MenuSceneBg: sea or shadow reaches under the start button (red $r)"

f=res/logo.ico
if [ -f "$f" ]; then
    l=$(icotool -l "$f")
    [ "$(echo "$l" | wc -l)" = 1 ] || fail "$f has $(echo "$l" | wc -l) entries, want 1"
    echo "$l" | grep -q -- '--width=200 --height=200 --bit-depth=32' || fail "$f entry: $l"
    echo "$l" | grep -q -- '--png' && fail "$f entry is PNG-compressed, want a DIB"
    # ICONDIR says one image; the entry data must start with a BITMAPINFOHEADER (size 40).
    [ "$(xxd -p -s 4 -l 2 "$f")" = 0100 ] || fail "$f ICONDIR count is not 1"
    off=$((0x$(xxd -p -s 18 -l 4 "$f" | sed 's/\(..\)\(..\)\(..\)\(..\)/\4\3\2\1/')))
    [ "$(xxd -p -s "$off" -l 4 "$f")" = 28000000 ] || fail "$f image is not a DIB"
else
    fail "$f missing"
fi

[ $bad = 0 ] && echo "check-res: all outputs match"
exit $bad

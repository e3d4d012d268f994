#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Sound recipes: every game sound is synthesised here with sox, so a note or a decay
# can be changed by editing one line. Usage: art/sounds.sh OUTDIR
set -eu
out=${1:?usage: sounds.sh OUTDIR}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
W="-t wav -e signed-integer -b 16 -c 1"

# Finish a mix: remove DC and rumble, peak at -3 dBFS, cut to the exact sample count
# and fade the last few ms so nothing clicks.
finish() { # in out rate samples fadeout_s
    sox -R -V1 "$1" $W -r "$3" "$2" highpass 30 gain -n -3 trim 0 "${4}s" pad 0 "${4}s" trim 0 "${4}s" fade q 0.002 "${4}s" "$5"
}

# One decaying partial: freq, level, decay seconds, total seconds, rate, fade shape. The
# fade starts at once, so it dies away like a struck body instead of stopping; "l" drops
# fast (wood), "t" lets a long partial ring (metal).
partial() { # out freq vol decay total rate [shape]
    sox -R -V1 -n -r "$6" -c 1 "$1" synth "$4" sine "$2" vol "$3" fade "${7:-l}" 0.001 "$4" "$(calc "$4 - 0.001")" pad 0 "$(calc "$5 - $4")"
}
calc() { awk "BEGIN { print $1 }"; }

# Tap: a small wooden block. Its modes are inharmonic (about 1 : 2.7 : 4.5) and die fast,
# the top ones fastest; a 4 ms filtered click gives the attack without a sharp edge.
partial "$tmp/t1.wav" 950 1.0 0.09 0.3 44100
partial "$tmp/t2.wav" 2560 0.35 0.04 0.3 44100
partial "$tmp/t3.wav" 4300 0.12 0.018 0.3 44100
sox -R -V1 -n -r 44100 -c 1 "$tmp/t4.wav" synth 0.004 pinknoise bandpass 2200 1.2 fade 0.0005 0.004 0.003 vol 0.5 pad 0 0.296
sox -R -V1 -m "$tmp"/t[1-4].wav "$tmp/tap.wav" lowpass 6000 lowpass 6000
finish "$tmp/tap.wav" "$out/TapButtonSound.wav" 44100 13230 0.02

# Back: softer and lower than the tap, a round blip that slides down about a fourth,
# with a gentler attack.
sox -R -V1 -n -r 44100 -c 1 "$tmp/b1.wav" synth 0.23 sine 560:420 fade h 0.008 0.23 0.17
sox -R -V1 -n -r 44100 -c 1 "$tmp/b2.wav" synth 0.23 sine 1120:840 vol 0.12 fade h 0.008 0.23 0.2
sox -R -V1 -m "$tmp/b1.wav" "$tmp/b2.wav" "$tmp/back.wav" lowpass 2500
finish "$tmp/back.wav" "$out/BackButtonSound.wav" 44100 10143 0.02

# Coin: inharmonic partials of a small struck disc, each decaying on its own; the higher
# ones die first, which is what makes it sound like metal. Two close pairs beat slowly
# for the shimmer of a spinning coin.
n=0
for p in "2093 1.0 1.39 t" "2099 0.5 1.3 t" "3150 0.6 1.0 t" "3158 0.3 0.9 t" "4420 0.45 0.6 l" "5870 0.3 0.4 l" "7320 0.2 0.25 l" "9010 0.12 0.15 l"; do
    set -- $p
    n=$((n + 1))
    partial "$tmp/c$n.wav" "$1" "$2" "$3" 1.39 22050 "$4"
done
sox -R -V1 -n -r 22050 -c 1 "$tmp/c0.wav" synth 0.006 whitenoise highpass 3000 fade 0.0005 0.006 0.005 vol 0.5 pad 0 1.384
sox -R -V1 -m "$tmp"/c[0-8].wav "$tmp/coin.wav"
finish "$tmp/coin.wav" "$out/ConFlipSound.wav" 22050 30650 0.05

# Win jingle in C major: C5 E5 G5 C6, G5 C6 E6 rising, then a held C-major chord (with
# C4 below) that fades out slowly.
note() { # file freq start dur vol [shape]; rings out over its length like a soft mallet
    sox -R -V1 -n -r 22050 -c 1 "$tmp/$1-a.wav" synth "$4" sine "$2" vol "$5" fade "${6:-q}" 0.005 "$4" "$(calc "$4 * 0.7")"
    sox -R -V1 -n -r 22050 -c 1 "$tmp/$1-b.wav" synth "$4" sine "$(calc "$2 * 2")" vol "$(calc "$5 * 0.3")" fade q 0.005 "$4" "$(calc "$4 * 0.8")"
    sox -R -V1 -n -r 22050 -c 1 "$tmp/$1-c.wav" synth "$4" sine "$(calc "$2 * 3")" vol "$(calc "$5 * 0.12")" fade q 0.005 "$4" "$(calc "$4 * 0.9")"
    sox -R -V1 -m "$tmp/$1-a.wav" "$tmp/$1-b.wav" "$tmp/$1-c.wav" "$tmp/$1.wav" pad "$3" 0 pad 0 4.6 trim 0 4.6
}
note n1 523.25 0.00 0.32 1
note n2 659.25 0.16 0.32 1
note n3 783.99 0.32 0.32 1
note n4 1046.50 0.48 0.40 1
note n5 783.99 0.72 0.20 0.8
note n6 1046.50 0.88 0.30 0.9
note n7 1318.51 1.04 0.50 1
note h1 523.25 1.30 3.30 0.8 t
note h2 659.25 1.30 3.30 0.7 t
note h3 783.99 1.30 3.30 0.7 t
note h4 1046.50 1.30 3.30 0.6 t
note h5 261.63 1.30 3.30 0.6 t
sox -R -V1 -m "$tmp"/n[1-7].wav "$tmp"/h[1-5].wav "$tmp/win.wav"
finish "$tmp/win.wav" "$out/LevelWinSound.wav" 22050 101430 0.3

#!/bin/sh
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

# Tap: a short wooden knock, a damped pluck around 1.3 kHz over a hollow 420 Hz body,
# with a tiny filtered click for the attack; low-passed so it stays soft.
sox -R -V1 -n -r 44100 -c 1 "$tmp/t1.wav" synth 0.3 pluck 1320 fade l 0 0.3 0.27
sox -R -V1 -n -r 44100 -c 1 "$tmp/t2.wav" synth 0.3 sine 420 fade l 0.002 0.3 0.29 vol 0.4 fade p 0 0.08 0.078 pad 0 0.22
sox -R -V1 -n -r 44100 -c 1 "$tmp/t3.wav" synth 0.012 pinknoise bandpass 2500 1.5 fade 0.001 0.012 0.01 pad 0 0.288
sox -R -V1 -m "$tmp/t1.wav" "$tmp/t2.wav" -v 0.6 "$tmp/t3.wav" "$tmp/tap.wav" lowpass 5200 fade p 0 0.3 0.22
finish "$tmp/tap.wav" "$out/TapButtonSound.wav" 44100 13230 0.05

# Back: softer and lower than the tap, a round blip that slides down a fourth.
sox -R -V1 -n -r 44100 -c 1 "$tmp/b1.wav" synth 0.23 sine 660:480 fade q 0.004 0.23 0.2
sox -R -V1 -n -r 44100 -c 1 "$tmp/b2.wav" synth 0.23 sine 1320:960 vol 0.15 fade q 0.004 0.23 0.2
sox -R -V1 -m "$tmp/b1.wav" "$tmp/b2.wav" "$tmp/back.wav" fade p 0 0.23 0.19 lowpass 3000
finish "$tmp/back.wav" "$out/BackButtonSound.wav" 44100 10143 0.03

# Coin: inharmonic partials of a small struck disc, each decaying on its own; the
# higher ones die first, which is what makes it sound like metal.
n=0
for p in "2093 1.0 1.39" "2960 0.55 1.0" "4186 0.5 0.8" "5470 0.35 0.55" "6830 0.25 0.35" "8220 0.15 0.25"; do
    set -- $p
    n=$((n + 1))
    sox -R -V1 -n -r 22050 -c 1 "$tmp/c$n.wav" synth 1.39 sine "$1" vol "$2" fade l 0.001 1.39 "$3" pad 0 0 trim 0 1.39
done
sox -R -V1 -n -r 22050 -c 1 "$tmp/c0.wav" synth 0.01 whitenoise highpass 3000 fade 0.001 0.01 0.008 vol 0.4 pad 0 1.38
sox -R -V1 -m "$tmp"/c[0-6].wav "$tmp/coin.wav" tremolo 7 8
finish "$tmp/coin.wav" "$out/ConFlipSound.wav" 22050 30650 0.2

# Win jingle in C major: C5 E5 G5 C6 E6 rising, then a held C-major chord that fades.
calc() { awk "BEGIN { print $1 }"; }
note() { # file freq start dur vol
    sox -R -V1 -n -r 22050 -c 1 "$tmp/$1-a.wav" synth "$4" sine "$2" vol "$5" fade q 0.005 "$4" "$(calc "$4 * 0.7")"
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
note h1 523.25 1.30 3.30 0.8
note h2 659.25 1.30 3.30 0.7
note h3 783.99 1.30 3.30 0.7
note h4 1046.50 1.30 3.30 0.6
note h5 261.63 1.30 3.30 0.6
sox -R -V1 -m "$tmp"/n[1-7].wav "$tmp"/h[1-5].wav "$tmp/win.wav" fade l 0 4.6 3.0
finish "$tmp/win.wav" "$out/LevelWinSound.wav" 22050 101430 0.3

#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Renders the pictures with words once per language: usage words.py OUTDIR [FULL_WIDTH].

For every i18n/<lang>/pictures.txt, each picture's SVG gets that language's word and
face in its <g id="word"> and is rendered to OUTDIR/<lang>/<picture>.png. The word is
sized and placed by its ink, measured with rsvg-convert itself: a wide script (Chinese,
Japanese, Korean) keeps the design's size, any other is sized so its capitals stand as
tall as the design's characters; either shrinks to the group's data-fit-width, and its
ink is centred where the design's was (or starts where it started, for a left-aligned
word). The design's own pictures are rendered from the SVGs untouched. With FULL_WIDTH, a
picture narrower than that comes at 2x and 3x as well (Name@2x.png, Name@3x.png).
"""
import glob
import html
import os
import re
import struct
import subprocess
import sys
import tempfile
import unicodedata

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# key in pictures.txt -> the picture that shows it
PICTURES = {
    "start": "MenuSceneStartButton",
    "levels": "OtherSceneBg",
    "cleared": "LevelCompletedDialogBg",
    "failed": "shibai",
    "paused": "PauseCard",
}
KEYS = ["font"] + list(PICTURES)
ZOOM = 4            # probes are measured at four times the picture's scale
SMALLEST = 0.6      # a word may shrink to 60 % of its natural size, no further


def fail(msg):
    sys.exit("words.py: " + msg)


def read_words(path):
    words = {}
    with open(path, encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            key, sep, value = line.partition("=")
            key, value = key.strip(), value.strip()
            if not sep or key not in KEYS:
                fail(f"{path}:{n}: want one of {', '.join(KEYS)} as key=value")
            if not value:
                fail(f"{path}:{n}: {key} is empty")
            words[key] = value
    missing = [k for k in KEYS if k not in words]
    if missing:
        fail(f"{path}: missing {', '.join(missing)}")
    return words


def face(pattern):
    """A fontconfig pattern such as 'Lobster Two:style=Bold Italic' -> SVG font attributes."""
    found = subprocess.run(["fc-list", pattern, "family"], capture_output=True, text=True).stdout
    if not found.strip():
        fail(f"font '{pattern}' is not installed (add its Debian package to tools/packages/art.txt)")
    family, _, style = pattern.partition(":")
    italic = "italic" in style.lower() or "oblique" in style.lower()
    return {"font-family": family.strip(), "font-style": "italic" if italic else "normal"}


def is_wide(word):
    return any(unicodedata.east_asian_width(c) in "WF" for c in word)


def ink(word, attrs):
    """Ink box (left, top, right, bottom) of one line of text drawn at (0, 0), in SVG units."""
    size = float(attrs["font-size"])
    w, h = int(size * (len(word) + 4) * 1.3), int(size * 3)
    x0, y0 = w // 2, h * 2 // 3
    font = " ".join(f'{k}="{html.escape(v)}"' for k, v in attrs.items())
    svg = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}">'
           f'<text x="{x0}" y="{y0}" {font}>{html.escape(word)}</text></svg>')
    with tempfile.TemporaryDirectory() as tmp:
        src, png = os.path.join(tmp, "probe.svg"), os.path.join(tmp, "probe.png")
        with open(src, "w", encoding="utf-8") as f:
            f.write(svg)
        subprocess.run(["rsvg-convert", "-z", str(ZOOM), src, "-o", png], check=True)
        box = subprocess.run(["/usr/bin/convert", png, "-alpha", "extract", "-format", "%@", "info:"],
                             capture_output=True, text=True, check=True).stdout
    bw, bh, bx, by = map(int, re.fullmatch(r"(\d+)x(\d+)\+(\d+)\+(\d+)", box.strip()).groups())
    if bw == 0 or bx + bw > w * ZOOM - ZOOM or by + bh > h * ZOOM - ZOOM:
        fail(f"cannot measure '{word}' in {attrs['font-family']}")
    return (bx / ZOOM - x0, by / ZOOM - y0, (bx + bw) / ZOOM - x0, (by + bh) / ZOOM - y0)


def substitute(svg, name, word, font):
    m = re.search(r'<g id="word"([^>]*)>(.*?)</g>', svg, re.S)
    if not m:
        fail(f"{name}.svg has no <g id=\"word\">")
    attrs = dict(re.findall(r'([\w:-]+)="([^"]*)"', m.group(1)))
    design = set(re.findall(r"<text[^>]*>([^<]*)</text>", m.group(2)))
    if len(design) != 1:
        fail(f"{name}.svg: the texts in its word group differ")
    design = design.pop()
    text = {k: attrs[k] for k in ("font-family", "font-weight", "font-size", "text-anchor", "letter-spacing")
            if k in attrs}
    size = float(text["font-size"])
    d = ink(design, text)

    new = dict(text, **font)
    wide = is_wide(word)
    if not wide:
        # tracking would break a script face's joins and looks loose on Latin letters
        new.pop("letter-spacing", None)
    t = ink(word, new)
    if not wide:
        # ascenders to the baseline, as tall as the design's characters
        size *= (d[3] - d[1]) / -t[1]
    natural = size
    # ink grows with the font size; t was measured at the design's size
    size = min(size, float(attrs["data-fit-width"]) * float(text["font-size"]) / (t[2] - t[0]))
    if size < natural * SMALLEST:
        fail(f"'{word}' is too long for {name} even at {SMALLEST:.0%} of its size; choose a shorter word")
    new["font-size"] = f"{size:.2f}"
    t = ink(word, new)

    # align the ink: centred like the design's, or starting where it started
    if text.get("text-anchor") == "middle":
        dx = (d[0] + d[2]) / 2 - (t[0] + t[2]) / 2
    else:
        dx = d[0] - t[0]
    bottom = t[3] if wide else 0   # descenders hang below the optical centre
    dy = (d[1] + d[3]) / 2 - (t[1] + bottom) / 2

    group = {k: v for k, v in attrs.items() if k not in text and k != "data-fit-width"}
    group.update(new)
    group["transform"] = (attrs.get("transform", "") + f" translate({dx:.2f} {dy:.2f})").strip()
    opening = "<g " + " ".join(f'{k}="{html.escape(v)}"' for k, v in group.items()) + ">"
    inner = m.group(2).replace(f">{design}</text>", f">{html.escape(word, quote=False)}</text>")
    return svg[:m.start()] + opening + inner + "</g>" + svg[m.end():]


def png_width(path):
    with open(path, "rb") as f:
        return struct.unpack(">I", f.read(24)[16:20])[0]


def main():
    if len(sys.argv) not in (2, 3):
        fail("usage: words.py OUTDIR [FULL_WIDTH]")
    out = sys.argv[1]
    full_width = int(sys.argv[2]) if len(sys.argv) == 3 else 0
    for path in sorted(glob.glob(os.path.join(ROOT, "i18n", "*", "pictures.txt"))):
        lang = os.path.basename(os.path.dirname(path))
        words = read_words(path)
        font = face(words["font"])
        os.makedirs(os.path.join(out, lang), exist_ok=True)
        for key, name in PICTURES.items():
            with open(os.path.join(HERE, name + ".svg"), encoding="utf-8") as f:
                svg = substitute(f.read(), name, words[key], font)
            # beside its source, since rsvg only follows links into the SVG's own folder
            fd, src = tempfile.mkstemp(prefix=f".{lang}-", suffix=".svg", dir=HERE)
            try:
                with os.fdopen(fd, "w", encoding="utf-8") as f:
                    f.write(svg)
                plain = os.path.join(out, lang, name + ".png")
                subprocess.run(["rsvg-convert", "--format=png", src, "-o", plain], check=True)
                # as the design's own: every scale Qt looks for, unless full size already
                if full_width and png_width(plain) < full_width:
                    for scale in (2, 3):
                        subprocess.run(["rsvg-convert", "--format=png", "-z", str(scale), src, "-o",
                                        os.path.join(out, lang, f"{name}@{scale}x.png")], check=True)
            finally:
                os.remove(src)


if __name__ == "__main__":
    main()

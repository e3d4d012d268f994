#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the eight coin-flip frames, the app icon and its small sizes as SVG.

The coin turns about its vertical axis: the face ellipse narrows by cos(angle)
and the milled edge shows between front and back face, so the frames stay
consistent with each other. Edit the angles or colours here, then run
tools/render-art.sh.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# The files written here are sources too, so they carry the project's licence.
HEADER = ("<!-- SPDX-FileCopyrightText: 2026 The Quenvary developers -->\n"
          "<!-- SPDX-License-" "Identifier: GPL-3.0-or-later -->\n")

# (file, canvas height, turn angle in degrees). 0 = gold face-on, 180 = silver.
# Steps shrink near edge-on a little so frame 4 is nearly a thin edge.
FRAMES = [
    ("Coin0001", 44, 0),
    ("Coin0002", 45, 28),
    ("Coin0003", 45, 55),
    ("Coin0004", 47, 82),
    ("Coin0005", 46, 106),
    ("Coin0006", 45, 131),
    ("Coin0007", 45, 156),
    ("Coin0008", 45, 180),
]

RX, RY = 22.6, 21.6   # face-on radii: full 46 px width, fits the 44 px frame
THICK = 3.4           # edge depth seen when the coin is turned

METALS = {
    "gold": dict(hi="#FFE27A", body="#F2B826", rim="#B7791F", dark="#7A4E10",
                 glow="#FFF6C8", emb="#E0A21E", edge_top="#D99A2B", edge_bot="#8A5A14"),
    "silver": dict(hi="#FFFFFF", body="#C9D1D9", rim="#7D8793", dark="#4E5661",
                   glow="#FFFFFF", emb="#A9B3BE", edge_top="#A7B0BA", edge_bot="#5C6570"),
}


def f(v):
    return f"{v:.3f}".rstrip("0").rstrip(".")


def star_path(r_out, r_in, points=5, rot=-90):
    pts = []
    for i in range(points * 2):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(rot + i * 180 / points)
        pts.append((r * math.cos(a), r * math.sin(a)))
    return "M" + " L".join(f"{f(x)} {f(y)}" for x, y in pts) + " Z"


def crescent_path(a=10.0, b=8.2, d=5.2, phi_deg=-45):
    # Outer disc minus an offset disc; the arcs meet at the circles' crossings.
    phi = math.radians(phi_deg)
    alpha = math.acos((a * a + d * d - b * b) / (2 * a * d))
    p1 = (a * math.cos(phi + alpha), a * math.sin(phi + alpha))
    p2 = (a * math.cos(phi - alpha), a * math.sin(phi - alpha))
    return (f"M{f(p1[0])} {f(p1[1])} A{f(a)} {f(a)} 0 1 1 {f(p2[0])} {f(p2[1])} "
            f"A{f(b)} {f(b)} 0 0 0 {f(p1[0])} {f(p1[1])} Z")


def emblem(metal, m):
    """Embossed emblem in face coordinates (centre 0,0): shadow, highlight, body."""
    if metal == "gold":
        shape = f'<path d="{star_path(9.6, 4.3)}" stroke-linejoin="round" stroke-width="1.2"/>'
    else:
        shape = (f'<path d="{crescent_path()}"/>'
                 f'<path d="{star_path(3.4, 1.1, 4, -90)}" transform="translate(3.4 -3.2)"/>')
    return (f'<g fill="{m["dark"]}" stroke="{m["dark"]}" opacity="0.55" transform="translate(0.8 0.9)">{shape}</g>'
            f'<g fill="{m["glow"]}" stroke="{m["glow"]}" transform="translate(-0.5 -0.5)">{shape}</g>'
            f'<g fill="url(#{metal}-emb)" stroke="url(#{metal}-emb)">{shape}</g>')


def defs(metal, m):
    return f'''
  <radialGradient id="{metal}-face" cx="0.38" cy="0.32" r="0.8">
    <stop offset="0" stop-color="{m["hi"]}"/>
    <stop offset="0.55" stop-color="{m["body"]}"/>
    <stop offset="1" stop-color="{m["rim"]}"/>
  </radialGradient>
  <linearGradient id="{metal}-rim" x1="0" y1="0" x2="0.6" y2="1">
    <stop offset="0" stop-color="{m["hi"]}"/>
    <stop offset="0.45" stop-color="{m["body"]}"/>
    <stop offset="1" stop-color="{m["rim"]}"/>
  </linearGradient>
  <linearGradient id="{metal}-emb" x1="0" y1="0" x2="0.7" y2="1">
    <stop offset="0" stop-color="{m["body"]}"/>
    <stop offset="1" stop-color="{m["emb"]}"/>
  </linearGradient>
  <linearGradient id="{metal}-edge" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="{m["edge_top"]}"/>
    <stop offset="1" stop-color="{m["edge_bot"]}"/>
  </linearGradient>'''


def coin_group(angle_deg, cx, cy, outline=0.9, glint=False):
    th = math.radians(angle_deg)
    c, s = math.cos(th), math.sin(th)
    front = "gold" if c >= 0 else "silver"
    back = "silver" if front == "gold" else "gold"
    m = METALS[front]
    rx = RX * abs(c)
    off = THICK / 2 * s          # gold face sits at +off, silver at -off
    xf = cx + (off if front == "gold" else -off)
    xb = cx - (off if front == "gold" else -off)
    xl, xr = min(xf, xb), max(xf, xb)
    out = []
    # Edge: hull of both face ellipses, shaded as a cylinder, with milling.
    if s > 1e-6:
        hull = (f"M{f(xl)} {f(cy - RY)} L{f(xr)} {f(cy - RY)} "
                f"A{f(max(rx, 0.01))} {f(RY)} 0 0 1 {f(xr)} {f(cy + RY)} "
                f"L{f(xl)} {f(cy + RY)} "
                f"A{f(max(rx, 0.01))} {f(RY)} 0 0 1 {f(xl)} {f(cy - RY)} Z")
        em = METALS[front]
        out.append(f'<clipPath id="hull"><path d="{hull}"/></clipPath>')
        out.append(f'<path d="{hull}" fill="url(#{front}-edge)"/>')
        lines = []
        for i in range(1, 18):
            y = cy - RY + i * (2 * RY) / 18
            lines.append(f"M{f(xl - rx - 1)} {f(y)} H{f(xr + rx + 1)}")
        out.append(f'<path clip-path="url(#hull)" d="{" ".join(lines)}" stroke="{em["dark"]}" '
                   f'stroke-width="0.45" opacity="0.45"/>')
        out.append(f'<path d="{hull}" fill="none" stroke="{em["dark"]}" stroke-width="{f(outline)}"/>')
    # Front face, drawn round and squeezed by cos(angle).
    k = abs(c)
    if k > 0.02:
        shade = 0.42 * (1 - k) ** 1.2   # turning away from the light darkens it
        face = [
            f'<ellipse rx="{f(RX)}" ry="{f(RY)}" fill="url(#{front}-rim)"/>',
            f'<ellipse rx="{f(RX - 3.4)}" ry="{f(RY - 3.4)}" fill="url(#{front}-face)" '
            f'stroke="{m["rim"]}" stroke-width="0.9"/>',
            f'<path d="M{f(-(RX - 4.6))} 0 A{f(RX - 4.6)} {f(RY - 4.6)} 0 0 1 0 {f(-(RY - 4.6))}" '
            f'fill="none" stroke="{m["glow"]}" stroke-width="0.9" stroke-linecap="round" opacity="0.8"/>',
            emblem(front, m),
            # soft sheen across the upper left
            f'<ellipse cx="-6" cy="-8" rx="11" ry="6" transform="rotate(-35 -6 -8)" '
            f'fill="#FFFFFF" opacity="0.22"/>',
        ]
        if shade > 0.005:
            face.append(f'<ellipse rx="{f(RX)}" ry="{f(RY)}" fill="#2A1A05" opacity="{f(shade)}"/>')
        face.append(f'<ellipse rx="{f(RX)}" ry="{f(RY)}" fill="none" stroke="{m["dark"]}" '
                    f'stroke-width="{f(outline / max(k, 0.35))}"/>')
        out.append(f'<g transform="translate({f(xf)} {f(cy)}) scale({f(k)} 1)">' + "".join(face) + "</g>")
    if glint:
        gx, gy = xf + rx * 0.55, cy - RY * 0.62
        out.append(
            f'<g transform="translate({f(gx)} {f(gy)})">'
            f'<circle r="4.2" fill="url(#glint-glow)"/>'
            f'<path d="{star_path(5.2, 0.9, 4, -90)}" fill="#FFFFFF"/></g>')
    return "\n  ".join(out)


def coin_svg(height, angle):
    body = coin_group(angle, 23, height / 2)
    return HEADER + f'''<svg xmlns="http://www.w3.org/2000/svg" width="46" height="{height}" viewBox="0 0 46 {height}">
<defs>{defs("gold", METALS["gold"])}{defs("silver", METALS["silver"])}
</defs>
  {body}
</svg>
'''


def logo_svg():
    # Mid-turn gold coin with a glint; thicker outline so it still reads at 16 px.
    body = coin_group(38, 23.6, 23.4, outline=1.5, glint=True)
    return HEADER + f'''<svg xmlns="http://www.w3.org/2000/svg" width="200" height="200" viewBox="0 0 46 46">
<defs>{defs("gold", METALS["gold"])}{defs("silver", METALS["silver"])}
  <radialGradient id="glint-glow">
    <stop offset="0" stop-color="#FFFFFF" stop-opacity="0.95"/>
    <stop offset="1" stop-color="#FFF6C8" stop-opacity="0"/>
  </radialGradient>
</defs>
  {body}
</svg>
'''


# Desktop sizes below 48 px are drawn for their pixel grid, not scaled down: a face-on coin,
# a one-pixel dark outline, a flat bright face and a bold stamped star, since the embossed
# gold-on-gold star of the big icon melts into the face at these sizes.
# size: (rim width, star radius, inner/outer star ratio, glint)
SMALL_ICONS = {16: (1.6, 4.9, 0.5, False), 24: (2.3, 7.2, 0.48, False), 32: (3.0, 9.4, 0.46, True)}


def small_icon_svg(size):
    rim, star_r, inner, glint = SMALL_ICONS[size]
    c = size / 2
    r = c - 0.5
    g = METALS["gold"]
    star = f'<path d="{star_path(star_r, star_r * inner)}" transform="translate({f(c)} {f(c + size / 40)})"'
    body = [
        f'<circle cx="{f(c)}" cy="{f(c)}" r="{f(r)}" fill="{g["dark"]}"/>',
        f'<circle cx="{f(c)}" cy="{f(c)}" r="{f(r - 1)}" fill="url(#rim)"/>',
        f'<circle cx="{f(c)}" cy="{f(c)}" r="{f(r - rim)}" fill="url(#face)"/>',
    ]
    if size > 16:
        # a light lower edge makes the star look pressed into the face
        body.append(f'<g transform="translate({f(size / 48)} {f(size / 40)})">{star} fill="{g["glow"]}"/></g>')
    body.append(f'{star} fill="{g["edge_bot"]}"/>')
    if glint:
        body.append(f'<path d="{star_path(3.6, 0.8, 4, -90)}" transform="translate({f(size - 7)} 6.5)" fill="#FFFFFF"/>')
    return HEADER + f'''<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 {size} {size}">
<defs>
  <linearGradient id="rim" x1="0" y1="0" x2="0.7" y2="1">
    <stop offset="0" stop-color="{g["hi"]}"/>
    <stop offset="0.5" stop-color="{g["body"]}"/>
    <stop offset="1" stop-color="{g["rim"]}"/>
  </linearGradient>
  <radialGradient id="face" cx="0.35" cy="0.3" r="0.85">
    <stop offset="0" stop-color="#FFE98F"/>
    <stop offset="0.7" stop-color="#F7C531"/>
    <stop offset="1" stop-color="#E9AC22"/>
  </radialGradient>
</defs>
  {"""
  """.join(body)}
</svg>
'''


def main():
    os.makedirs(os.path.join(HERE, "coins"), exist_ok=True)
    for name, h, ang in FRAMES:
        with open(os.path.join(HERE, "coins", name + ".svg"), "w") as fh:
            fh.write(coin_svg(h, ang))
    with open(os.path.join(HERE, "logo.svg"), "w") as fh:
        fh.write(logo_svg())
    os.makedirs(os.path.join(HERE, "icons"), exist_ok=True)
    for size in SMALL_ICONS:
        with open(os.path.join(HERE, "icons", f"quenvary-{size}.svg"), "w") as fh:
            fh.write(small_icon_svg(size))


if __name__ == "__main__":
    main()

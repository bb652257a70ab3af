#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the SVG sources of all of Tobrin's pictures into assets/images/.

    python3 assets/images/draw.py            write every *.svg next to this file
    python3 assets/images/draw.py --check D  check the PNGs in folder D

The shapes live here rather than in hand-written SVG so the pieces that must
line up (the big fish layers, the sub and its propeller) share one set of
numbers and one palette.  Lettering is fitted to its box by rendering it once
with rsvg-convert and measuring the ink, so only python3's standard library
and rsvg-convert are needed.  tools/make_images.sh runs this and then turns
every SVG into its PNG.
"""

import math
import os
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------- palette
INK = "#1c1530"          # every outline
INK_SOFT = "#3a2d5c"
WHITE = "#ffffff"

SUB_LIGHT = "#fff07a"
SUB_MID = "#ffcc2e"
SUB_DARK = "#f0961c"
SUB_STRIPE = "#ff5a36"
SUB_STRIPE_DARK = "#d63a22"
BRASS_LIGHT = "#ffe0a8"
BRASS = "#f2a25c"
GLASS_LIGHT = "#c9fbff"
GLASS = "#48c8f0"
GLASS_DARK = "#1f6fb8"

PROP_LIGHT = "#ffd08a"
PROP = "#ff8f3a"
PROP_DARK = "#c85a1e"

FISHIE_LIGHT = "#ffb09a"
FISHIE = "#ff3d3d"
FISHIE_DARK = "#c81e3a"

BIG_TOP = "#4b2a8f"
BIG_MID = "#7a4fd0"
BIG_BELLY = "#e6d2ff"
BIG_STRIPE = "#3a1f73"
BIG_FIN_LIGHT = "#ff8fc0"
BIG_FIN = "#e83f86"
BIG_FIN_DARK = "#a81e5c"
MOUTH_DARK = "#3d0a1e"
MOUTH = "#8c1538"
TONGUE = "#ff6f8f"
TOOTH = "#fffbea"

# ----------------------------------------------------------- small helpers


def f(v):
    """Short number formatting for path data."""
    s = "%.2f" % v
    s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def pts(points):
    return " ".join("%s,%s" % (f(x), f(y)) for x, y in points)


def smooth(points, closed=False, tension=1.0):
    """Catmull-Rom spline through the points, as cubic bezier path data."""
    n = len(points)
    if closed:
        get = lambda i: points[i % n]
        segs = range(n)
    else:
        get = lambda i: points[max(0, min(n - 1, i))]
        segs = range(n - 1)
    d = "M%s,%s" % (f(points[0][0]), f(points[0][1]))
    k = tension / 6.0
    for i in segs:
        p0, p1, p2, p3 = get(i - 1), get(i), get(i + 1), get(i + 2)
        c1 = (p1[0] + (p2[0] - p0[0]) * k, p1[1] + (p2[1] - p0[1]) * k)
        c2 = (p2[0] - (p3[0] - p1[0]) * k, p2[1] - (p3[1] - p1[1]) * k)
        d += " C%s,%s %s,%s %s,%s" % (f(c1[0]), f(c1[1]), f(c2[0]),
                                      f(c2[1]), f(p2[0]), f(p2[1]))
    if closed:
        d += " Z"
    return d


def lin(id_, x1, y1, x2, y2, stops):
    s = "".join('<stop offset="%s" stop-color="%s"%s/>' % (
        f(o), c, (' stop-opacity="%s"' % f(a)) if a != 1 else "")
        for o, c, a in [(st + (1,))[:3] for st in stops])
    return ('<linearGradient id="%s" gradientUnits="userSpaceOnUse" '
            'x1="%s" y1="%s" x2="%s" y2="%s">%s</linearGradient>'
            % (id_, f(x1), f(y1), f(x2), f(y2), s))


def rad(id_, cx, cy, r, stops, fx=None, fy=None):
    s = "".join('<stop offset="%s" stop-color="%s"%s/>' % (
        f(o), c, (' stop-opacity="%s"' % f(a)) if a != 1 else "")
        for o, c, a in [(st + (1,))[:3] for st in stops])
    fxy = ""
    if fx is not None:
        fxy = ' fx="%s" fy="%s"' % (f(fx), f(fy))
    return ('<radialGradient id="%s" gradientUnits="userSpaceOnUse" '
            'cx="%s" cy="%s" r="%s"%s>%s</radialGradient>'
            % (id_, f(cx), f(cy), f(r), fxy, s))


def svg(w, h, body, defs="", comment="", vw=None, vh=None):
    vw = w if vw is None else vw
    vh = h if vh is None else vh
    head = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            "<!-- Tobrin and the Fish: %s\n"
            "     Written by assets/images/draw.py; edit that and run "
            "tools/make_images.sh. -->\n" % comment)
    return (head + '<svg xmlns="http://www.w3.org/2000/svg" '
            'width="%d" height="%d" viewBox="0 0 %s %s">\n'
            '<defs>%s</defs>\n%s\n</svg>\n' % (w, h, f(vw), f(vh), defs, body))


def outlined(d, fill, sw, extra=""):
    return ('<path d="%s" fill="%s" stroke="%s" stroke-width="%s" '
            'stroke-linejoin="round" stroke-linecap="round"%s/>'
            % (d, fill, INK, f(sw), extra))


def line(d, sw, color=INK, extra=""):
    return ('<path d="%s" fill="none" stroke="%s" stroke-width="%s" '
            'stroke-linejoin="round" stroke-linecap="round"%s/>'
            % (d, color, f(sw), extra))


def circle(cx, cy, r, fill, sw=0, extra=""):
    s = (' stroke="%s" stroke-width="%s"' % (INK, f(sw))) if sw else ""
    return '<circle cx="%s" cy="%s" r="%s" fill="%s"%s%s/>' % (
        f(cx), f(cy), f(r), fill, s, extra)


def ellipse(cx, cy, rx, ry, fill, sw=0, extra=""):
    s = (' stroke="%s" stroke-width="%s"' % (INK, f(sw))) if sw else ""
    return '<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"%s%s/>' % (
        f(cx), f(cy), f(rx), f(ry), fill, s, extra)


def rot(p, a, c=(0, 0)):
    s, co = math.sin(math.radians(a)), math.cos(math.radians(a))
    x, y = p[0] - c[0], p[1] - c[1]
    return (c[0] + x * co - y * s, c[1] + x * s + y * co)


# ================================================================ the sub
# 256 x 128, nose to the right.  The propeller frame (128 x 128, same pixel
# scale) is centred on SUB_PROP_AT, where the shaft meets the stern cap.
SUB_PROP_AT = (12.8, 70.4)
SUB_SW = 6.5

SUB_HULL = ("M27,62 C42,50 64,42 100,41 L184,41 C226,41 250,58 250,80 "
            "C250,103 226,119 184,119 L100,119 C64,118 42,95 27,80 Z")


def porthole(cx, cy, r, eye=False, idp="p"):
    """A brass ring with glass; the big front one doubles as Tobrin's eye."""
    out = []
    out.append(circle(cx, cy, r + 6.5, "url(#brass)", SUB_SW * 0.75))
    out.append(circle(cx, cy, r, "url(#%s)" % idp, SUB_SW * 0.45))
    if eye:
        out.append(ellipse(cx + r * 0.22, cy + r * 0.05, r * 0.42, r * 0.55,
                           INK))
        out.append(circle(cx + r * 0.05, cy - r * 0.22, r * 0.2, WHITE))
    out.append('<path d="M%s,%s A%s,%s 0 0 1 %s,%s" fill="none" stroke="%s" '
               'stroke-width="%s" stroke-linecap="round" opacity="0.9"/>'
               % (f(cx - r * 0.62), f(cy - r * 0.05), f(r * 0.62),
                  f(r * 0.62), f(cx - r * 0.05), f(cy - r * 0.62),
                  WHITE, f(max(2.0, r * 0.22))))
    return "\n".join(out)


def sub_parts(with_defs=True):
    defs = [
        lin("hull", 0, 40, 0, 120, [(0, SUB_LIGHT), (0.45, SUB_MID),
                                    (1, SUB_DARK)]),
        lin("tower", 0, 18, 0, 46, [(0, SUB_LIGHT), (1, SUB_MID)]),
        lin("brass", 0, 0, 0, 1, [(0, BRASS_LIGHT), (1, BRASS)]),
        lin("fin", 0, 30, 0, 112, [(0, SUB_STRIPE), (1, SUB_STRIPE_DARK)]),
        rad("glass", 0, 0, 1, [(0, GLASS_LIGHT), (0.6, GLASS),
                               (1, GLASS_DARK)]),
        '<clipPath id="hullclip"><path d="%s"/></clipPath>' % SUB_HULL,
    ]
    return defs


def draw_sub():
    defs = sub_parts()
    # glass gradients per porthole (userSpaceOnUse needs its own centre)
    ports = [(212, 76, 15), (165, 80, 10), (127, 80, 10), (89, 80, 10)]
    for i, (cx, cy, r) in enumerate(ports):
        defs.append(rad("g%d" % i, cx - r * 0.3, cy - r * 0.35, r * 1.3,
                        [(0, GLASS_LIGHT), (0.55, GLASS), (1, GLASS_DARK)]))
    defs[2] = lin("brass", 0, 30, 0, 130, [(0, BRASS_LIGHT), (1, BRASS)])
    b = []
    sw = SUB_SW
    # tail fins behind the hull
    b.append(outlined("M44,56 L33,36 C31,31 34,28 39,29 L52,31 C58,33 62,38 "
                      "66,48 Z", "url(#fin)", sw))
    b.append(outlined("M44,90 L33,110 C31,115 34,118 39,117 L52,114 "
                      "C58,112 62,106 66,98 Z", "url(#fin)", sw))
    # conning tower and periscope behind the hull
    b.append(line("M150,24 L150,12 C150,9 152,8 155,8 L166,8", sw + 4))
    b.append(line("M150,24 L150,12 C150,9 152,8 155,8 L166,8", 5,
                  "#b9c7d8"))
    b.append(outlined("M163,4.6 L170,4.6 L170,11.6 L163,11.6 Z", "#7fd6f2",
                      sw * 0.6))
    b.append(outlined("M104,46 L110,22 C111,18 114,16 119,16 L157,16 "
                      "C162,16 165,18 166,22 L174,46 Z", "url(#tower)", sw))
    b.append(line("M116,22 L160,22", 3, WHITE, ' opacity="0.7"'))
    b.append(circle(139, 31, 6.5, "#7fd6f2", sw * 0.6))
    b.append(circle(137.5, 29.5, 2, WHITE))
    # hull
    b.append('<path d="%s" fill="url(#hull)"/>' % SUB_HULL)
    inner = []
    # stripe, belly shade and a soft top sheen, all kept inside the hull
    inner.append('<path d="M20,97 C80,101 150,101 190,99 L190,118 '
                 'L20,118 Z" fill="%s"/>' % SUB_STRIPE)
    inner.append('<path d="M20,108 C80,112 150,112 190,110 L190,120 '
                 'L20,120 Z" fill="%s"/>' % SUB_STRIPE_DARK)
    inner.append('<path d="M56,60 C70,50 90,47 110,47 L190,47 '
                 'C210,47 226,52 236,60 C220,56 205,55 190,55 L110,55 '
                 'C90,55 72,57 56,60 Z" fill="%s" opacity="0.75"/>' % WHITE)
    # panel seams and rivets
    inner.append(line("M190,42 C184,62 184,98 190,118", 2.6, INK,
                      ' opacity="0.55"'))
    inner.append(line("M62,50 C56,66 56,94 62,112", 2.6, INK,
                      ' opacity="0.55"'))
    for y in (56, 68, 92, 104):
        x = 186.2 if y in (56, 104) else 184.8
        inner.append(circle(x - 5, y, 1.6, INK_SOFT, 0, ' opacity="0.7"'))
    # stern cap where the shaft comes out
    inner.append('<path d="M20,56 L36,56 L36,90 L20,90 Z" fill="%s"/>'
                 % SUB_DARK)
    b.append('<g clip-path="url(#hullclip)">%s</g>' % "\n".join(inner))
    b.append(line("M35,54 C33,64 33,80 35,90", 2.6, INK, ' opacity="0.6"'))
    b.append('<path d="%s" fill="none" stroke="%s" stroke-width="%s" '
             'stroke-linejoin="round"/>' % (SUB_HULL, INK, f(sw)))
    # portholes, the front one is the eye
    for i, (cx, cy, r) in enumerate(ports):
        b.append(porthole(cx, cy, r, eye=(i == 0), idp="g%d" % i))
    # a happy little mouth and a blush under the eye
    b.append(ellipse(222, 101, 7.5, 4, "#ff7a8a", 0, ' opacity="0.7"'))
    b.append(line("M228,104 C233,110 241,109 246,100", 3.8))
    return svg(256, 128, "\n".join(b), "".join(defs),
               "Tobrin the little submarine, nose to the right")


def draw_prop(frame):
    """Side view of a two-bladed screw; frames 1,2,3 then 2 flipped."""
    cx, cy = 64, 64
    defs = [
        lin("bl", 0, 20, 0, 108, [(0, PROP_LIGHT), (1, PROP)]),
        lin("bd", 0, 20, 0, 108, [(0, PROP), (1, PROP_DARK)]),
        lin("hub", 0, 54, 0, 74, [(0, "#e6eef7"), (1, "#8da2ba")]),
    ]
    sw = 5.5

    def blade(length, width, lean, up, fill):
        s = -1 if up else 1
        tip = (cx + lean, cy + s * length)
        d = ("M%s,%s C%s,%s %s,%s %s,%s C%s,%s %s,%s %s,%s Z" % (
            f(cx - 3), f(cy),
            f(cx - width * 0.95), f(cy + s * length * 0.35),
            f(tip[0] - width * 0.7), f(tip[1]),
            f(tip[0]), f(tip[1]),
            f(tip[0] + width * 0.75), f(tip[1]),
            f(cx + width * 0.9), f(cy + s * length * 0.4),
            f(cx + 3), f(cy)))
        return outlined(d, fill, sw)

    b = []
    whoosh = '<path d="%s" fill="none" stroke="%s" stroke-width="4" ' \
             'stroke-linecap="round" opacity="0.55"/>'
    if frame == 1:
        b.append(whoosh % ("M44,22 C38,34 38,48 41,56", WHITE))
        b.append(whoosh % ("M84,106 C90,94 90,80 87,72", WHITE))
        b.append(blade(44, 15, 5, True, "url(#bl)"))
        b.append(blade(44, 15, -5, False, "url(#bd)"))
    elif frame == 2:
        b.append(whoosh % ("M36,40 C32,52 34,66 40,76", WHITE))
        b.append(whoosh % ("M92,88 C96,76 95,62 89,52", WHITE))
        b.append(blade(32, 24, 8, True, "url(#bl)"))
        b.append(blade(30, 20, -6, False, "url(#bd)"))
    else:
        b.append(whoosh % ("M40,30 C30,46 30,82 40,98", WHITE))
        b.append(whoosh % ("M88,98 C98,82 98,46 88,30", WHITE))
        # blades pointing at and away from us: one wide flat paddle
        b.append(outlined("M64,46 C82,46 84,58 82,64 C80,72 74,82 64,82 "
                          "C54,82 46,72 46,64 C46,54 48,46 64,46 Z",
                          "url(#bl)", sw))
        b.append(line("M56,54 C52,60 53,68 56,72", 3.5, WHITE,
                      ' opacity="0.8"'))
    # shaft to the right into the stern, then the hub cap
    b.append(outlined("M64,58 L80,58 L80,70 L64,70 Z", "url(#hub)", sw))
    b.append(outlined("M66,55 C60,55 54,58 54,64 C54,70 60,73 66,73 Z",
                      "url(#hub)", sw))
    b.append(circle(59.5, 60.5, 2, WHITE))
    return svg(128, 128, "\n".join(b), "".join(defs),
               "propeller frame %d (the game also shows frame 2 flipped)"
               % frame)


# ============================================================== the fishie
def draw_fishie():
    defs = [
        lin("fb", 0, 30, 0, 104, [(0, "#ff6a5a"), (0.5, FISHIE),
                                  (1, FISHIE_DARK)]),
        lin("ft", 4, 0, 44, 0, [(0, "#ff8a6a"), (1, FISHIE_DARK)]),
        '<clipPath id="fc"><ellipse cx="72" cy="66" rx="46" ry="35"/>'
        '</clipPath>',
    ]
    sw = 7
    b = []
    b.append(outlined("M40,64 C31,56 22,42 14,36 C9,33 6,37 7,42 C10,51 "
                      "13,58 16,64 C13,70 10,77 7,86 C6,91 9,95 14,92 "
                      "C22,86 31,72 40,64 Z", "url(#ft)", sw))
    b.append(outlined("M50,40 C54,22 74,16 90,30 C78,33 64,37 50,40 Z",
                      FISHIE_DARK, sw))
    b.append(ellipse(72, 66, 46, 35, "url(#fb)"))
    b.append('<g clip-path="url(#fc)">%s%s</g>' % (
        ellipse(80, 104, 44, 22, FISHIE_LIGHT),
        ellipse(66, 42, 22, 7, WHITE, 0, ' opacity="0.55"')))
    b.append(ellipse(72, 66, 46, 35, "none", sw))
    # little side fin sweeping back
    b.append(outlined("M70,70 C62,64 50,64 44,70 C50,74 52,80 50,86 "
                      "C60,84 68,78 70,70 Z", FISHIE_LIGHT, 5))
    b.append(circle(94, 55, 15, WHITE, 5))
    b.append(circle(98.5, 56, 8, INK))
    b.append(circle(95.5, 52.5, 3, WHITE))
    b.append(line("M104,80 C109,86 115,85 118,79", 4.5))
    return svg(128, 128, "\n".join(b), "".join(defs),
               "a small red fishie, facing right")


# ============================================================ seed weed
def draw_seed():
    defs = [
        rad("pod", 52, 58, 58, [(0, "#ffe27a"), (0.55, "#e0a43a"),
                                (1, "#9a5c1c")]),
        lin("cap", 0, 22, 0, 44, [(0, "#8fe05a"), (1, "#2f8f3e")]),
        '<clipPath id="pc"><path id="podshape" d="M64,28 C92,28 104,56 '
        '104,76 C104,102 86,120 64,120 C42,120 24,102 24,76 C24,56 36,28 '
        '64,28 Z"/></clipPath>',
    ]
    sw = 6
    pod = ("M64,28 C92,28 104,56 104,76 C104,102 86,120 64,120 C42,120 "
           "24,102 24,76 C24,56 36,28 64,28 Z")
    # a warm glow behind the pod sets it apart from the blue sea and the
    # green strands that grow out of it: it is the part that stops the sub
    defs.append(rad("glow", 64, 65, 61, [(0, "#fff6b0", 0.95), (0.62, "#ffd84a", 0.8),
                                          (1, "#ffb020", 0)]))
    b = [circle(64, 65, 61, "url(#glow)"),
         '<g transform="translate(64 70) scale(1.06) translate(-64 -70) rotate(14 64 74)">']
    b.append(line("M66,30 C66,18 74,10 84,10 C92,10 95,17 90,21 "
                  "C86,24 81,20 84,16", sw + 4))
    b.append(line("M66,30 C66,18 74,10 84,10 C92,10 95,17 90,21 "
                  "C86,24 81,20 84,16", 4, "#6fd25a"))
    b.append('<path d="%s" fill="url(#pod)"/>' % pod)
    inner = []
    for dx in (-22, 0, 22):
        inner.append(line("M64,30 C%d,60 %d,96 64,120" % (
            64 + dx * 1.6, 64 + dx * 1.6), 3.2, "#8a4e16", ' opacity="0.8"'))
    for x, y, r in ((44, 64, 4), (82, 84, 3.4), (52, 98, 3), (78, 56, 2.6)):
        inner.append(circle(x, y, r, "#fff3b0", 0, ' opacity="0.85"'))
    inner.append(ellipse(46, 52, 8, 14, WHITE, 0,
                         ' opacity="0.5" transform="rotate(20 46 52)"'))
    b.append('<g clip-path="url(#pc)">%s</g>' % "".join(inner))
    b.append('<path d="%s" fill="none" stroke="%s" stroke-width="%s"/>'
             % (pod, INK, f(sw)))
    # leafy cap
    b.append(outlined("M40,40 C44,26 56,22 64,30 C72,22 86,26 88,40 "
                      "C80,36 72,40 64,44 C56,40 48,36 40,40 Z",
                      "url(#cap)", sw * 0.9))
    b.append('</g>')
    return svg(128, 128, "\n".join(b), "".join(defs),
               "a floating seed pod of the seed weed")


def strand_points(x0, y0, height, amp, waves, phase, lean=0.0, n=48):
    """Centre line of a strand rising from (x0, y0)."""
    out = []
    for i in range(n + 1):
        t = i / n
        ease = min(1.0, t / 0.3)
        ease = ease * ease * (3 - 2 * ease)
        x = x0 + lean * t * t + amp * ease * math.sin(
            2 * math.pi * waves * t + phase)
        out.append((x, y0 - height * t))
    return out


def ribbon(centre, w_of_t, ruffle=0.0, ruffle_n=0):
    """Closed outline around a centre line; width given by w_of_t(t)."""
    n = len(centre) - 1
    left, right = [], []
    for i, (x, y) in enumerate(centre):
        a = centre[max(0, i - 1)]
        c = centre[min(n, i + 1)]
        dx, dy = c[0] - a[0], c[1] - a[1]
        ln = math.hypot(dx, dy) or 1
        nx, ny = -dy / ln, dx / ln
        t = i / n
        w = w_of_t(t) / 2
        r = ruffle * math.sin(t * ruffle_n * math.pi) if ruffle else 0
        left.append((x + nx * (w + r), y + ny * (w + r)))
        right.append((x - nx * (w - r * 0.6), y - ny * (w - r * 0.6)))
    tipx, tipy = centre[-1]
    pa = centre[-2]
    ln = math.hypot(tipx - pa[0], tipy - pa[1])
    tip = (tipx + (tipx - pa[0]) / ln * w_of_t(1.0) * 0.8,
           tipy + (tipy - pa[1]) / ln * w_of_t(1.0) * 0.8)
    # the foot narrows to a rounded root, so a strand ends in a tip of its
    # own where it grows out of the seed, not in a cut
    x0, y0 = centre[0]
    b = centre[1]
    ln = math.hypot(x0 - b[0], y0 - b[1]) or 1
    w0 = w_of_t(0.0) / 2
    root = (x0 + (x0 - b[0]) / ln * w0 * 0.9, y0 + (y0 - b[1]) / ln * w0 * 0.9)
    ring = [root] + left + [tip] + right[::-1]
    return smooth(ring, closed=True)


def at(centre, t):
    n = len(centre) - 1
    i = max(1, min(n - 1, int(round(t * n))))
    x, y = centre[i]
    a, c = centre[i - 1], centre[i + 1]
    ang = math.degrees(math.atan2(c[1] - a[1], c[0] - a[0]))
    return x, y, ang


def leaf(x, y, ang, length, width, fill, sw, vein=True):
    d = ("M0,0 C%s,%s %s,%s %s,0 C%s,%s %s,%s 0,0 Z" % (
        f(length * 0.3), f(-width), f(length * 0.75), f(-width * 0.9),
        f(length), f(length * 0.75), f(width * 0.9), f(length * 0.3),
        f(width)))
    g = ('<g transform="translate(%s %s) rotate(%s)">' % (f(x), f(y), f(ang))
         + outlined(d, fill, sw))
    if vein:
        g += line("M%s,0 L%s,0" % (f(length * 0.12), f(length * 0.7)),
                  sw * 0.5, INK, ' opacity="0.45"')
    return g + "</g>"


def bubble(x, y, r, sw):
    return (circle(x, y, r, "#d8f6ff", sw * 0.7, ' fill-opacity="0.55"')
            + circle(x - r * 0.35, y - r * 0.35, r * 0.28, WHITE))


def weed_grad(id_, bottom, top):
    return lin(id_, 0, 512, 0, 0, [(0, bottom), (1, top)])


# A strand's quad starts at the bottom of its seed, which is drawn first and
# fills the lowest eighth of the strand's height: so every strand grows out
# of the seed's top (64 px over the bottom edge) and leaves the seed in view.
WEED_FOOT = 452
WEED_SCALE = WEED_FOOT / 512.0


def draw_weed(k):
    sw = 4.5 / WEED_SCALE
    defs = []
    b = []
    X0, Y0 = 64, 512
    if k == 1:     # plain green kelp with leaves
        defs.append(weed_grad("w", "#1f6a30", "#8ee25e"))
        defs.append(weed_grad("l", "#2f8f3e", "#b4f27a"))
        c = strand_points(X0, Y0, 476, 16, 1.25, 0.3)
        for i, t in enumerate((0.18, 0.3, 0.42, 0.54, 0.66, 0.77, 0.87)):
            x, y, a = at(c, t)
            side = 1 if i % 2 else -1
            b.append(leaf(x, y, -90 + side * 42, 58 - 26 * t, 16 - 5 * t,
                          "url(#l)", sw))
        b.append(outlined(ribbon(c, lambda t: 30 - 18 * t), "url(#w)", sw))
        b.append(line(smooth([(p[0] - 4, p[1]) for p in c[4:-3]]), 3, WHITE,
                      ' opacity="0.35"'))
    elif k == 2:   # teal strand with bubbles
        defs.append(weed_grad("w", "#0f6f6a", "#62e6cc"))
        c = strand_points(X0, Y0, 440, 24, 1.6, 1.9)
        for t, side in ((0.3, 1), (0.5, -1), (0.7, 1)):
            x, y, a = at(c, t)
            b.append(leaf(x, y, -90 + side * 35, 52, 14, "url(#w)", sw))
        b.append(outlined(ribbon(c, lambda t: 24 - 14 * t), "url(#w)", sw))
        b.append(line(smooth([(p[0] - 3, p[1]) for p in c[5:-4]]), 3, WHITE,
                      ' opacity="0.35"'))
        for x, y, r in ((96, 54, 13), (84, 98, 8), (104, 130, 10),
                        (26, 34, 9), (34, 74, 6), (22, 112, 7.5)):
            b.append(bubble(x, y, r, sw))
    elif k == 3:   # olive kelp with float bladders
        defs.append(weed_grad("w", "#56621a", "#c8d54e"))
        defs.append(lin("bl", 0, 0, 0, 512, [(0, "#ffe26a"),
                                             (1, "#c9a12a")]))
        c = strand_points(X0, Y0, 470, 12, 0.9, 2.6)
        b.append(outlined(ribbon(c, lambda t: 22 - 10 * t), "url(#w)", sw))
        for i, t in enumerate((0.2, 0.34, 0.48, 0.62, 0.76, 0.9)):
            x, y, a = at(c, t)
            side = 1 if i % 2 else -1
            ex, ey = x + side * 22, y - 14
            stem = "M%s,%s Q%s,%s %s,%s" % (f(x), f(y), f(x + side * 10),
                                            f(y - 2), f(ex), f(ey))
            b.append(line(stem, sw + 5))
            b.append(line(stem, 5, "#a6b43a"))
            b.append(leaf(ex, ey - 8, -90 + side * 12, 64 - 20 * t, 15,
                          "url(#w)", sw))
            b.append(ellipse(ex, ey, 11, 12, "url(#bl)", sw))
            b.append(circle(ex - 3.5, ey - 4, 3.2, WHITE))
    elif k == 4:   # two blades of sea grass
        defs.append(weed_grad("a", "#2a7a34", "#5fbf4a"))
        defs.append(weed_grad("c", "#4aa83c", "#c2f47e"))
        c1 = strand_points(X0 - 8, Y0, 392, 26, 1.1, 3.6, lean=-6)
        c2 = strand_points(X0 + 8, Y0, 490, 22, 1.4, 0.6, lean=4)
        c3 = strand_points(X0, Y0, 300, 20, 0.9, 5.2, lean=20)
        b.append(outlined(ribbon(c3, lambda t: 20 - 15 * t), "url(#a)", sw))
        b.append(outlined(ribbon(c1, lambda t: 28 - 22 * t), "url(#a)", sw))
        b.append(outlined(ribbon(c2, lambda t: 32 - 24 * t), "url(#c)", sw))
        b.append(line(smooth([(p[0] - 4, p[1]) for p in c2[6:-6]]), 3,
                      WHITE, ' opacity="0.4"'))
    elif k == 5:   # branching weed with buds
        defs.append(weed_grad("w", "#3e6e22", "#a8da5c"))
        defs.append(rad("bud", 0, 0, 1, [(0, "#fff6a0"), (1, "#c9d94a")]))
        c = strand_points(X0, Y0, 440, 10, 0.8, 1.0)
        branches = []
        for t, side, h in ((0.26, 1, 200), (0.42, -1, 190), (0.58, 1, 150),
                           (0.72, -1, 110), (0.84, 1, 60)):
            x, y, a = at(c, t)
            bc = strand_points(x, y, h, 8, 0.8, 0.0, lean=side * 30)
            branches.append((bc, 17 - 8 * t))
        for bc, w in branches:
            b.append(outlined(ribbon(bc, lambda t, w=w: w - (w - 6) * t),
                              "url(#w)", sw))
        b.append(outlined(ribbon(c, lambda t: 26 - 16 * t), "url(#w)", sw))
        for bc, w in branches + [(c, 10)]:
            x, y = bc[-1]
            b.append(circle(x, y - 6, 9, "#e4f276", sw))
            b.append(circle(x - 3, y - 9, 2.6, WHITE))
    elif k == 6:   # stem with round coin leaves
        defs.append(weed_grad("w", "#15795a", "#58d89a"))
        defs.append(weed_grad("l", "#1f9e6a", "#a6f4c0"))
        c = strand_points(X0, Y0, 450, 14, 1.3, 4.2)
        coins = []
        for i, t in enumerate((0.14, 0.25, 0.36, 0.47, 0.58, 0.68, 0.78,
                               0.88)):
            x, y, a = at(c, t)
            side = 1 if i % 2 else -1
            r = 22 - 10 * t
            coins.append((x + side * (r + 2), y - 6, r))
        b.append(outlined(ribbon(c, lambda t: 16 - 8 * t), "url(#w)", sw))
        x, y = c[-1]
        coins.append((x, y - 8, 12))
        for x, y, r in coins:
            b.append(circle(x, y, r, "url(#l)", sw))
            b.append(line("M%s,%s A%s,%s 0 0 1 %s,%s" % (
                f(x - r * 0.6), f(y), f(r * 0.6), f(r * 0.6), f(x),
                f(y - r * 0.6)), 3, WHITE, ' opacity="0.7"'))
    elif k == 7:   # broad ruffled ribbon kelp
        defs.append(weed_grad("w", "#6f9a14", "#dcef62"))
        c = strand_points(X0, Y0, 476, 14, 0.7, 5.0)
        b.append(outlined(ribbon(c, lambda t: 62 - 34 * t, ruffle=5,
                                 ruffle_n=13), "url(#w)", sw))
        b.append(line(smooth(c[3:-2]), 4, "#557a10"))
        b.append(line(smooth([(p[0] - 13 + 6 * i / len(c), p[1])
                              for i, p in enumerate(c[8:-6])]), 3.5,
                      WHITE, ' opacity="0.4"'))
    else:          # seed weed: a stem carrying seed pods
        defs.append(weed_grad("w", "#2d7a3a", "#7ed65a"))
        c = strand_points(X0, Y0, 420, 18, 1.0, 5.6)
        for i, t in enumerate((0.2, 0.36, 0.52, 0.68)):
            x, y, a = at(c, t)
            side = -1 if i % 2 else 1
            b.append(leaf(x, y, -90 + side * 40, 48, 14, "url(#w)", sw))
        b.append(outlined(ribbon(c, lambda t: 20 - 10 * t), "url(#w)", sw))
        for t, side in ((0.6, -1), (0.8, 1), (1.0, 0)):
            x, y, a = at(c, t) if t < 1 else (c[-1][0], c[-1][1], 0)
            px, py = x + side * 20, y - 18
            gid = "pd%d" % int(t * 100)
            defs.append(rad(gid, px - 4, py - 6, 20,
                            [(0, "#ffe27a"), (0.6, "#e0a43a"),
                             (1, "#9a5c1c")]))
            stem = "M%s,%s L%s,%s" % (f(x), f(y), f(px), f(py))
            b.append(line(stem, sw + 5))
            b.append(line(stem, 5, "#5fbf4a"))
            b.append(ellipse(px, py, 14, 17, "url(#%s)" % gid, sw))
            b.append(line("M%s,%s C%s,%s %s,%s %s,%s" % (
                f(px - 5), f(py - 18), f(px - 5), f(py + 6), f(px + 5),
                f(py + 6), f(px + 5), f(py - 18)), 2.5, "#8a4e16",
                ' opacity="0.7"'))
            b.append(outlined("M%s,%s C%s,%s %s,%s %s,%s C%s,%s %s,%s %s,%s "
                              "Z" % (f(px - 12), f(py - 12), f(px - 10),
                                     f(py - 24), f(px), f(py - 22), f(px),
                                     f(py - 16), f(px), f(py - 22),
                                     f(px + 10), f(py - 24), f(px + 12),
                                     f(py - 12)), "#5fbf4a", sw * 0.8))
    body = '<g transform="translate(64 0) scale(%s) translate(-64 0)">%s</g>' % (
        "%.4f" % WEED_SCALE, "\n".join(b))
    return svg(128, 512, body, "".join(defs),
               "sea weed strand %d, rooted on its seed" % k)


# ============================================================ the big fish
# All layers share one 256 x 256 frame.  The mouth is at (239, 158): 0.9 of
# the half size out from the centre, 15 degrees below the heading, where the
# game checks for a bite.
FISH_SW = 6
FISH_BODY = ("M48,108 C76,98 104,52 160,44 C205,38 238,70 246,110 "
             "C249,126 250,142 250,154 L250,162 C249,186 232,210 196,216 "
             "C150,222 92,176 48,138 Z")
FISH_MOUTH = (239, 158)


def fish_defs():
    return "".join([
        lin("bd", 0, 40, 0, 222, [(0, BIG_TOP), (0.45, BIG_MID),
                                  (0.78, "#b89af0"), (1, BIG_BELLY)]),
        lin("fin", 0, 0, 0, 256, [(0, BIG_FIN_LIGHT), (1, BIG_FIN_DARK)]),
        lin("tl", 0, 0, 66, 0, [(0, BIG_FIN_LIGHT), (0.6, BIG_FIN),
                                (1, BIG_FIN_DARK)]),
        lin("mo", 0, 110, 0, 210, [(0, MOUTH_DARK), (1, MOUTH)]),
        '<clipPath id="bodyclip"><path d="%s"/></clipPath>' % FISH_BODY,
    ])


def draw_fish_body():
    sw = FISH_SW
    b = []
    # dorsal fin: spines with webbing, behind the body
    spines = [(92, 84), (98, 44), (116, 62), (126, 24), (142, 50),
              (156, 12), (170, 44), (186, 18), (196, 48), (214, 40),
              (214, 64)]
    d = "M%s,%s" % spines[0]
    for i in range(1, len(spines) - 1):
        x, y = spines[i]
        if i % 2:   # a spine tip
            d += " L%s,%s" % (x, y)
        else:       # a dip in the webbing
            px, py = spines[i - 1]
            d += " Q%s,%s %s,%s" % (f((px + x) / 2 + 2), f(y + 4), x, y)
    d += " L%s,%s Z" % spines[-1]
    b.append(outlined(d, "url(#fin)", sw))
    # belly fins
    b.append(outlined("M104,178 C100,204 90,222 76,232 C100,232 122,222 "
                      "136,200 Z", "url(#fin)", sw))
    b.append(outlined("M156,206 C156,224 150,236 140,244 C162,244 178,232 "
                      "186,214 Z", "url(#fin)", sw))
    b.append('<path d="%s" fill="url(#bd)"/>' % FISH_BODY)
    inner = []
    # tiger stripes across the back
    for x0 in (96, 128, 160):
        inner.append('<path d="M%d,30 C%d,70 %d,110 %d,140 L%d,140 '
                     'C%d,108 %d,70 %d,30 Z" fill="%s" opacity="0.75"/>' % (
                         x0, x0 - 6, x0 - 2, x0 + 4, x0 + 14, x0 + 10,
                         x0 + 12, x0 + 20, BIG_STRIPE))
    # scales
    for row, y in enumerate((120, 142, 164)):
        for x in range(80 + row * 10, 182 - row * 4, 22):
            inner.append(line("M%d,%d C%d,%d %d,%d %d,%d" % (
                x, y, x + 6, y + 8, x + 14, y + 8, x + 20, y),
                2.5, BIG_STRIPE, ' opacity="0.4"'))
    # a sheen along the back
    inner.append('<path d="M86,98 C112,70 140,56 172,54 C196,52 214,60 '
                 '226,72 C206,64 186,62 168,64 C136,68 112,82 86,98 Z" '
                 'fill="%s" opacity="0.35"/>' % WHITE)
    b.append('<g clip-path="url(#bodyclip)">%s</g>' % "\n".join(inner))
    # gill line
    b.append(line("M186,90 C202,118 204,160 188,196", 4.5))
    b.append('<path d="%s" fill="none" stroke="%s" stroke-width="%s" '
             'stroke-linejoin="round"/>' % (FISH_BODY, INK, f(sw)))
    return svg(256, 256, "\n".join(b), fish_defs(),
               "the big fish, body layer (no tail, fin or face)")


def draw_fish_tail(k):
    sw = FISH_SW
    ang = {1: -10, 2: 0, 3: 10}[k]
    sx = {1: 0.86, 2: 1.0, 3: 0.86}[k]
    shape = ("M66,110 C50,98 32,70 14,40 C10,33 2,35 3,43 C6,68 14,94 "
             "22,110 C28,118 34,120 38,122 C34,124 28,126 22,134 "
             "C14,150 6,176 3,201 C2,209 10,211 14,204 C32,174 50,146 "
             "66,134 C71,128 71,116 66,110 Z")
    rays = "".join(line(d, 2.5, BIG_FIN_DARK, ' opacity="0.7"') for d in (
        "M60,116 C46,96 32,74 16,50", "M58,119 C46,110 34,104 20,98",
        "M58,125 C46,134 34,140 20,146", "M60,128 C46,148 32,170 16,194"))
    t = ('translate(62 122) rotate(%s) scale(%s 0.88) translate(-58 -122)'
         % (f(ang), f(sx * 0.9)))
    b = '<g transform="%s">%s%s</g>' % (t, outlined(shape, "url(#tl)", sw),
                                        rays)
    return svg(256, 256, b, fish_defs(),
               "the big fish, tail fin swish %d" % k)


def draw_fish_flipper(k):
    sw = FISH_SW
    ang = {1: -22, 2: 0, 3: 20}[k]
    sy = {1: 0.8, 2: 1.0, 3: 1.12}[k]
    shape = ("M4,-6 C-10,-18 -40,-26 -70,-22 C-66,-16 -62,-12 -60,-9 "
             "C-68,-6 -74,-2 -76,2 C-70,4 -64,7 -61,10 C-66,14 -68,20 "
             "-68,24 C-44,26 -16,20 4,8 C8,4 8,-2 4,-6 Z")
    rays = "".join(line(d, 2.4, BIG_FIN_DARK, ' opacity="0.75"') for d in (
        "M-2,-2 C-22,-12 -44,-18 -62,-19", "M-2,1 C-24,-2 -48,-1 -70,1",
        "M-2,4 C-22,10 -44,16 -62,21"))
    t = 'translate(176 146) rotate(%s) scale(1 %s)' % (f(ang), f(sy))
    b = '<g transform="%s">%s%s</g>' % (t, outlined(shape, "url(#fin)", sw),
                                        rays)
    return svg(256, 256, b, fish_defs(),
               "the big fish, side fin flap %d" % k)


def tooth(base_a, base_b, towards, length):
    """A white fang standing on the edge base_a-base_b."""
    mx, my = (base_a[0] + base_b[0]) / 2, (base_a[1] + base_b[1]) / 2
    tx, ty = mx + towards[0] * length, my + towards[1] * length
    return outlined("M%s,%s L%s,%s L%s,%s Z" % (
        f(base_a[0]), f(base_a[1]), f(tx), f(ty), f(base_b[0]),
        f(base_b[1])), TOOTH, 3)


def draw_fish_face(k):
    sw = FISH_SW
    ex, ey = 206, 98
    b = []
    if k in (1, 2):
        # shut mouth, with fangs over the lip
        if k == 1:
            mouth = ("M249,156 C238,158 218,162 198,160 "
                     "C192,159 189,154 191,149")
            fangs = [((236, 157.6), (243, 157), 13, 1),
                     ((219, 160), (225, 159.7), 10, 1)]
        else:
            mouth = ("M249,156.5 C236,160 214,168 196,176 "
                     "C191,178 188,174 189,169")
            fangs = [((236, 158.8), (243, 157.6), 14, 1),
                     ((220, 163.8), (227, 161.6), 12, 1),
                     ((207, 169.5), (213, 167), 9, -1)]
        for a, c, ln, s in fangs:
            b.append(tooth(a, c, (0.08 * s, s), ln))
        b.append(line(mouth, 6.5))
        b.append(line("M200,190 C214,194 230,192 242,184", 3.5, INK,
                      ' opacity="0.45"'))
    else:
        C, U, L = (196, 162), (250, 112), (244, 200)
        cav = ("M196,162 C212,146 232,126 250,112 C252,136 252,176 244,200 "
               "C228,188 212,176 196,162 Z")
        b.append('<path d="%s" fill="url(#mo)"/>' % cav)
        b.append(ellipse(226, 184, 18, 8, TONGUE, 0,
                         ' transform="rotate(32 226 184)"'))
        b.append(line("M222,180 C226,184 230,186 234,188", 2.5, MOUTH,
                      ' opacity="0.8"'))
        # upper jaw: the head pushed up a touch past the body line
        b.append('<path d="M250,112 C232,126 212,146 196,162 L186,128 '
                 'C204,104 230,92 242,98 C247,102 250,107 250,112 Z" '
                 'fill="url(#bd)"/>')
        # lower jaw dropped
        b.append('<path d="M196,162 C212,176 228,188 244,200 C244,210 '
                 '240,218 226,221 C206,224 186,222 168,216 L178,178 Z" '
                 'fill="url(#bd)"/>')
        b.append(line("M196,162 C212,176 228,188 244,200 C244,210 240,218 "
                      "226,221 C206,224 186,222 170,218", sw))
        b.append(line("M240,97 C246,101 250,107 250,112 C232,126 212,146 "
                      "196,162", sw))
        b.append('<path d="%s" fill="none" stroke="%s" stroke-width="%s" '
                 'stroke-linejoin="round"/>' % (cav, INK, f(sw)))
        # teeth along both jaws, pointing into the mouth
        def along(p, q, t):
            return (p[0] + (q[0] - p[0]) * t, p[1] + (q[1] - p[1]) * t)
        for t0, ln in ((0.3, 10), (0.52, 13), (0.74, 14), (0.9, 11)):
            a, c = along(C, U, t0 - 0.07), along(C, U, t0 + 0.07)
            b.append(tooth(a, c, (0.55, 0.84), ln))
        for t0, ln in ((0.34, 9), (0.56, 12), (0.8, 13)):
            a, c = along(C, L, t0 - 0.07), along(C, L, t0 + 0.07)
            b.append(tooth(a, c, (0.6, -0.8), ln))
    # the eye
    r = 19 if k == 3 else 18
    b.append(circle(ex, ey, r, WHITE, 5))
    if k == 1:
        b.append(circle(ex + 9, ey - 1, 8.5, INK))
        b.append(circle(ex + 6, ey - 4, 3, WHITE))
        # a lazy, pleased lid
        b.append('<path d="M%s,%s A%s,%s 0 0 1 %s,%s C%s,%s %s,%s %s,%s Z" '
                 'fill="url(#bd)" stroke="%s" stroke-width="5" '
                 'stroke-linejoin="round"/>' % (
                     f(ex - r), f(ey), f(r), f(r), f(ex + r), f(ey),
                     f(ex + 8), f(ey - 6), f(ex - 8), f(ey - 6), f(ex - r),
                     f(ey), INK))
        b.append(line("M188,72 C198,66 214,66 224,72", 5))
    elif k == 2:
        b.append(circle(ex + 8, ey + 4, 8, INK))
        b.append(circle(ex + 5, ey + 1, 2.8, WHITE))
        # a hard, narrowed lid slanting down to the front
        b.append('<path d="M%s,%s L%s,%s L%s,%s L%s,%s Z" fill="url(#bd)" '
                 'stroke="%s" stroke-width="5" stroke-linejoin="round"/>' % (
                     f(ex - r - 3), f(ey - r - 4), f(ex + r + 3),
                     f(ey - r - 4), f(ex + r + 3), f(ey + 2),
                     f(ex - r - 3), f(ey - 10), INK))
        b.append('<path d="M%s,%s A%s,%s 0 0 0 %s,%s" fill="none" '
                 'stroke="%s" stroke-width="5"/>' % (
                     f(ex - r), f(ey), f(r), f(r), f(ex + r), f(ey), INK))
        b.append(line("M184,72 L230,90", 8))
    else:
        b.append(circle(ex + 7, ey + 1, 6, INK))
        b.append(circle(ex + 5, ey - 1, 2, WHITE))
        b.append(line("M184,70 L230,88", 8))
    names = {1: "face, pleased: mouth shut, eye ahead",
             2: "face, chasing: mouth shut, eye narrowed on the prey",
             3: "face, biting: mouth wide open"}
    return svg(256, 256, "\n".join(b), fish_defs(),
               "the big fish, " + names[k])


# ======================================================= frame and wave
def draw_circle_frame():
    d = ("M0,0 H512 V512 H0 Z M256,0 A256,256 0 1 0 256,512 "
         "A256,256 0 1 0 256,0 Z")
    return svg(512, 512, '<path d="%s" fill="#000000" fill-rule="evenodd"/>'
               % d, "", "black outside the circle, clear inside")


def draw_wave():
    # Crests every 128 px with one on each edge; the picture is mirror
    # symmetric about x=0 and x=128 so the first and last columns agree
    # and the strip tiles without a seam.  White only: the game tints it.
    def crest_row(y_top, y_trough, x_from, x_to):
        d = ""
        for x in range(x_from, x_to, 128):
            if not d:
                d = "M%d,%s" % (x - 64, f(y_trough))
            d += (" C%s,%s %s,%s %d,%s C%s,%s %s,%s %d,%s" % (
                f(x - 40), f(y_trough - 2), f(x - 30), f(y_top), x, f(y_top),
                f(x + 30), f(y_top), f(x + 40), f(y_trough - 2), x + 64,
                f(y_trough)))
        return d
    defs = [
        lin("wb", 0, 0, 0, 64, [(0, WHITE, 1), (0.5, "#dcdcdc", 0.85),
                                (1, "#c8c8c8", 0)]),
    ]
    top = crest_row(3, 22, 0, 384) + " L320,64 L-64,64 Z"
    foam = crest_row(13, 30, 0, 384)
    b = ['<path d="%s" fill="url(#wb)"/>' % top,
         '<path d="%s" fill="none" stroke="%s" stroke-width="3" '
         'opacity="0.9"/>' % (foam, WHITE),
         '<path d="%s" fill="none" stroke="%s" stroke-width="2" '
         'opacity="0.5"/>' % (crest_row(24, 38, 0, 384), "#e8e8e8")]
    return svg(256, 64, "\n".join(b), "".join(defs),
               "wave crests, white on clear, tiles left to right")


# ================================================================ icon
def draw_icon():
    """32 x 32 window icon: Tobrin simplified to a few fat shapes."""
    b = [
        outlined("M2.4,11 L5.2,11 L5.2,27 L2.4,27 Z", PROP, 1.4),
        outlined("M12,13 L13,6.8 C13.2,6 13.8,5.6 14.6,5.6 L19.4,5.6 "
                 "C20.2,5.6 20.8,6 21,6.8 L22,13 Z", SUB_MID, 1.6),
        '<path d="M5,19 C5,14 9,11.5 14,11.5 L22,11.5 C27.2,11.5 29.8,14.8 '
        '29.8,19.2 C29.8,23.6 27.2,27 22,27 L14,27 C9,27 5,24 5,19 Z" '
        'fill="url(#ih)" stroke="%s" stroke-width="1.8" '
        'stroke-linejoin="round"/>' % INK,
        '<path d="M6.4,22.4 C10,23.4 16,23.6 20,23.2 L20,26 L14,26 '
        'C10,26 7.6,24.6 6.4,22.4 Z" fill="%s"/>' % SUB_STRIPE,
        line("M9,14.4 C12,13.2 16,13 20,13", 1.2, WHITE, ' opacity="0.8"'),
        circle(23.6, 18.6, 4.6, BRASS, 1.4),
        circle(23.6, 18.6, 3, GLASS, 0.9),
        circle(24.4, 18.8, 1.35, INK),
        circle(23.9, 17.6, 0.6, WHITE),
        circle(14.4, 18.6, 2.2, GLASS, 1.2),
    ]
    defs = lin("ih", 0, 11, 0, 27, [(0, SUB_LIGHT), (0.5, SUB_MID),
                                    (1, SUB_DARK)])
    return svg(32, 32, "\n".join(b), defs, "the window icon")


# ============================================================ lettering
TITLE_FONT = "Leckerli One"     # Debian: fonts-leckerli-one
TEXT_FONT = "Reggae One"        # Debian: fonts-reggae


def read_png(path):
    """Decode an 8-bit RGBA PNG with zlib alone: (width, height, rows)."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("%s: not a PNG" % path)
    pos, idat, w, h = 8, b"", 0, 0
    while pos < len(data):
        ln, typ = struct.unpack(">I4s", data[pos:pos + 8])
        chunk = data[pos + 8:pos + 8 + ln]
        if typ == b"IHDR":
            w, h, depth, ctype = struct.unpack(">IIBB", chunk[:10])
            if depth != 8 or ctype != 6 or chunk[12] != 0:
                raise ValueError("%s: not 8-bit RGBA (depth %d, colour "
                                 "type %d)" % (path, depth, ctype))
        elif typ == b"IDAT":
            idat += chunk
        pos += 12 + ln
    raw = zlib.decompress(idat)
    stride = w * 4
    prev = bytearray(stride)
    rows = []
    i = 0
    for _ in range(h):
        ft = raw[i]
        cur = bytearray(raw[i + 1:i + 1 + stride])
        i += 1 + stride
        if ft == 1:
            for k in range(4, stride):
                cur[k] = (cur[k] + cur[k - 4]) & 255
        elif ft == 2:
            for k in range(stride):
                cur[k] = (cur[k] + prev[k]) & 255
        elif ft == 3:
            for k in range(stride):
                left = cur[k - 4] if k >= 4 else 0
                cur[k] = (cur[k] + ((left + prev[k]) >> 1)) & 255
        elif ft == 4:
            for k in range(stride):
                a = cur[k - 4] if k >= 4 else 0
                b = prev[k]
                c = prev[k - 4] if k >= 4 else 0
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                pr = a if (pa <= pb and pa <= pc) else (b if pb <= pc else c)
                cur[k] = (cur[k] + pr) & 255
        rows.append(cur)
        prev = cur
    return w, h, rows


def read_png_alpha_box(path, threshold=24):
    """Bounding box (x0, y0, x1, y1) of pixels with alpha > threshold."""
    w, h, rows = read_png(path)
    x0, y0, x1, y1 = w, h, -1, -1
    for y, cur in enumerate(rows):
        alpha = cur[3::4]
        if max(alpha) > threshold:
            xs = [x for x, v in enumerate(alpha) if v > threshold]
            x0, x1 = min(x0, xs[0]), max(x1, xs[-1] + 1)
            y0, y1 = min(y0, y), y + 1
    return x0, y0, x1, y1


_ink_cache = {}


def ink(text, font):
    """Ink box of text at font-size 100, relative to its baseline start."""
    key = (text, font)
    if key in _ink_cache:
        return _ink_cache[key]
    w, h = 140 + 110 * len(text), 300
    doc = ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d">'
           '<text x="100" y="200" font-family="%s" font-size="100" '
           'xml:space="preserve">%s</text></svg>' % (w, h, font, esc(text)))
    with tempfile.TemporaryDirectory() as tmp:
        sp, pp = os.path.join(tmp, "m.svg"), os.path.join(tmp, "m.png")
        with open(sp, "w") as fh:
            fh.write(doc)
        subprocess.run(["rsvg-convert", sp, "-o", pp], check=True)
        x0, y0, x1, y1 = read_png_alpha_box(pp)
    if x1 < 0:
        raise SystemExit("no ink for %r in font %s" % (text, font))
    box = (x0 - 100, y0 - 200, x1 - 100, y1 - 200)
    _ink_cache[key] = box
    return box


def esc(t):
    return t.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def text_el(spans, font, fill, extra=""):
    """spans: list of (text, fill or None).  Drawn at the origin, size 100."""
    inner = "".join(
        ('<tspan fill="%s">%s</tspan>' % (c, esc(t))) if c else esc(t)
        for t, c in spans)
    return ('<text x="0" y="0" font-family="%s" font-size="100" fill="%s" '
            'xml:space="preserve"%s>%s</text>' % (font, fill, extra, inner))


def lettering(lines, box, font, style, align="center", stretch=1.0,
              pitch=1.18, max_scale=None, ids="t"):
    """Fit lines of text into box = (x, y, w, h) in pixels.

    lines: list of lists of (text, colour or None) spans.
    style: dict with fill (gradient id or colour), outline (px), shadow
           (dx, dy) in px or None, gloss (bool).
    stretch: extra vertical scale of the letters (title words).
    Returns (defs, body) svg strings.
    """
    bx, by, bw, bh = box
    ol = style.get("outline", 12)
    # room for the outline, the white halo and the drop shadow
    pad = ol + style.get("halo_w", 0)
    sdx, sdy = style.get("shadow") or (0, 0)
    bx, by = bx + pad / 2, by + pad / 2
    bw, bh = bw - pad - sdx, bh - pad - sdy
    full = ["".join(t for t, _ in spans) for spans in lines]
    boxes = [ink(t, font) for t in full]
    maxw = max(b[2] - b[0] for b in boxes)
    n = len(lines)
    top, bottom = boxes[0][1], (n - 1) * 100 * pitch + boxes[-1][3]
    span_h = (bottom - top) * stretch
    s = min(bw / maxw, bh / span_h)
    if max_scale:
        s = min(s, max_scale)
    sy = s * stretch
    y_off = by + (bh - (bottom - top) * sy) / 2 - top * sy
    defs, body = [], []
    shadow, glow = [], []
    for i, (spans, b) in enumerate(zip(lines, boxes)):
        if align == "center":
            x = bx + (bw - (b[2] - b[0]) * s) / 2 - b[0] * s
        elif align == "right":
            x = bx + bw - b[2] * s
        else:
            x = bx - b[0] * s
        y = y_off + i * 100 * pitch * sy
        tr = ' transform="translate(%s %s) scale(%s %s)"' % (
            f(x), f(y), f(s), f(sy))
        sw_local = ol / math.sqrt(s * sy)
        gid = "%s%d" % (ids, i)
        defs.append(lin(gid, 0, b[1], 0, b[3], style["stops"]))
        if style.get("shadow"):
            dx, dy = style["shadow"]
            shadow.append('<g transform="translate(%s %s)">%s</g>' % (
                f(dx), f(dy), text_el(
                    [(t, None) for t, _ in spans], font, INK,
                    tr + ' stroke="%s" stroke-width="%s" '
                    'stroke-linejoin="round" opacity="0.55"'
                    % (INK, f(sw_local)))))
        if style.get("halo"):
            glow.append(text_el(
                [(t, None) for t, _ in spans], font, style["halo"],
                tr + ' stroke="%s" stroke-width="%s" stroke-linejoin="round"'
                % (style["halo"], f(sw_local + style["halo_w"] / math.sqrt(s * sy)))))
        body.append(text_el(
            spans, font, "url(#%s)" % gid,
            tr + ' stroke="%s" stroke-width="%s" stroke-linejoin="round" '
            'paint-order="stroke"' % (INK, f(sw_local))))
        if style.get("gloss"):
            defs.append(lin(gid + "g", 0, b[1], 0, b[3],
                            [(0, WHITE, 0.75), (0.42, WHITE, 0.25),
                             (0.43, WHITE, 0), (1, WHITE, 0)]))
            body.append(text_el([(t, None) for t, _ in spans], font,
                                "url(#%sg)" % gid, tr))
    return "".join(defs), "\n".join(shadow + glow + body)


CAPTION_STYLE = {"outline": 16, "shadow": (4, 7), "gloss": False,
                 "stops": [(0, WHITE), (0.55, "#fffbe6"), (1, "#ffeaa0")]}
KEY = "#ffd23a"     # key names
SUBC = "#ffe07a"    # Tobrin's own yellow
FISHIEC = "#ffb4a4"
BIGC = "#e2c8ff"


def caption(lines, comment):
    defs, body = lettering(lines, (14, 14, 484, 484), TEXT_FONT,
                           CAPTION_STYLE, pitch=1.22, max_scale=1.3)
    return svg(512, 512, body, defs, comment)


def draw_captions():
    out = {}
    out["text_name"] = caption([[("This is", None)],
                                [("Tobrin", SUBC), (", the", None)],
                                [("little sub", None)]],
                               "menu caption: who Tobrin is")
    out["text_fishies"] = caption([[("Eat the", None)],
                                   [("fishies!", FISHIEC)]],
                                  "menu caption: eat the fishies")
    out["text_thefish"] = caption([[("Flee the", None)],
                                   [("big fish!", BIGC)]],
                                  "menu caption: flee the big fish")
    out["text_press_space"] = caption([[("Hold", None)], [("SPACE", KEY)],
                                       [("to climb", None)]],
                                      "menu caption: hold space to climb")
    out["text_mash_space"] = caption([[("Mash", None)], [("SPACE", KEY)],
                                      [("to speed up", None)]],
                                     "menu caption: mash space to go fast")
    out["text_press_enter"] = caption([[("Press", None)],
                                       [("ENTER", KEY)],
                                       [("to start", None)]],
                                      "menu caption: enter starts a game")
    out["text_press_escape"] = caption([[("Press", None)],
                                        [("ESCAPE", KEY)],
                                        [("to quit", None)]],
                                       "menu caption: escape quits")
    out["text_press_r"] = caption([[("Press ", None), ("R", KEY)],
                                   [("to watch your", None)],
                                   [("best game", None)]],
                                  "menu caption: R watches the best game")
    out["text_tap_start"] = caption([[("Tap", KEY)],
                                     [("to start", None)]],
                                    "menu caption: a tap starts a game")
    out["text_pad_start"] = caption([[("Press", None)],
                                     [("START", KEY)],
                                     [("to play", None)]],
                                    "menu caption: a pad's Start starts a game")
    out["text_tap_watch"] = caption([[("Tap here", KEY)],
                                     [("to watch your", None)],
                                     [("best game", None)]],
                                    "menu caption: a tap on it watches the "
                                    "best game")
    out["text_pad_watch"] = caption([[("Press ", None), ("BACK", KEY)],
                                     [("to watch your", None)],
                                     [("best game", None)]],
                                    "menu caption: a pad's Back watches the "
                                    "best game")
    out["text_click_start"] = caption([[("Click", KEY)],
                                       [("to start", None)]],
                                      "menu caption: a click starts a game")
    out["text_click_watch"] = caption([[("Click here", KEY)],
                                       [("to watch your", None)],
                                       [("best game", None)]],
                                      "menu caption: a click on it watches "
                                      "the best game")
    return out


def draw_score():
    """Labels of the two menu scores, right aligned; the game draws the
    numbers to the right of this picture, centred on each row."""
    style = dict(CAPTION_STYLE, outline=12, shadow=(3, 5))
    h_ink = ink("H", TEXT_FONT)
    cap = h_ink[3] - h_ink[1]
    defs, body = [], []
    for i, (label, row) in enumerate((("High score", 0.406),
                                      ("Last score", 0.594))):
        b = ink(label, TEXT_FONT)
        # letters 60 px high at the caps, centred on the row
        s = 60.0 / cap
        s = min(s, (496 - 8) / (b[2] - b[0]))
        y = row * 512 + cap * s / 2
        x = 506 - 6 - b[2] * s
        d, t = lettering_at(label, TEXT_FONT, style, x, y, s, "s%d" % i)
        defs.append(d)
        body.append(t)
    return svg(512, 512, "\n".join(body), "".join(defs),
               "menu score labels, right aligned on their rows")


def lettering_at(text, font, style, x, y, s, gid, sy=None):
    sy = s if sy is None else sy
    b = ink(text, font)
    tr = ' transform="translate(%s %s) scale(%s %s)"' % (f(x), f(y), f(s),
                                                        f(sy))
    ol = style["outline"] / math.sqrt(s * sy)
    out = []
    if style.get("shadow"):
        dx, dy = style["shadow"]
        out.append('<g transform="translate(%s %s)">%s</g>' % (
            f(dx), f(dy), text_el([(text, None)], font, INK, tr +
                                  ' stroke="%s" stroke-width="%s" '
                                  'stroke-linejoin="round" opacity="0.55"'
                                  % (INK, f(ol)))))
    out.append(text_el([(text, None)], font, "url(#%s)" % gid, tr +
                       ' stroke="%s" stroke-width="%s" '
                       'stroke-linejoin="round" paint-order="stroke"'
                       % (INK, f(ol))))
    return lin(gid, 0, b[1], 0, b[3], style["stops"]), "\n".join(out)


def draw_paused():
    style = {"outline": 18, "shadow": (5, 8), "gloss": True,
             "stops": [(0, "#fff7b0"), (0.5, "#ffd23a"), (1, "#ff9a1a")]}
    defs, body = lettering([[("Paused", None)]], (16, 16, 480, 224),
                           TEXT_FONT, style)
    return svg(512, 256, body, defs, "the pause sign")


def draw_replay():
    # the same sign as the pause one, in a sea green, while a best game
    # plays back
    style = {"outline": 18, "shadow": (5, 8), "gloss": True,
             "stops": [(0, "#eaffc8"), (0.5, "#8ff05a"), (1, "#2fc45a")]}
    defs, body = lettering([[("Replay", None)]], (16, 16, 480, 224),
                           TEXT_FONT, style)
    return svg(512, 256, body, defs, "the replay sign")


def draw_digits():
    # every digit sits centred in the same square cell, a little widened
    # so a row of them reads as one even number
    style = {"outline": 7.5, "shadow": (1.5, 2.5),
             "stops": [(0, WHITE), (0.6, "#fffbe0"), (1, "#ffe58a")]}
    zero = ink("0", TEXT_FONT)
    sy = 52.0 / (zero[3] - zero[1])
    sx = sy * 1.3
    out = {}
    for d in "0123456789":
        b = ink(d, TEXT_FONT)
        sx = min(sy * 1.3, (56 - style["outline"]) / (b[2] - b[0]))
        x = 31 - (b[0] + b[2]) / 2 * sx
        y = 31 - (zero[1] + zero[3]) / 2 * sy
        df, body = lettering_at(d, TEXT_FONT, style, x, y, sx, "d", sy=sy)
        out["num_" + d] = svg(64, 64, body, df, "score digit %s" % d)
    return out


# The three title words hang on billboards whose quads the game fixes: each
# is (position, corners lower left, upper left, lower right, upper right) in
# view units, y up; the view spans x -2..2 and y -1.5..1.5 at every window
# size.  Where the letters sit inside the pictures is ours.  So each word is
# laid out where it will be seen and warped into its picture through the two
# triangles the quad is drawn as (split along the lower-left to upper-right
# diagonal), and shows undistorted.
TITLE_QUADS = {
    "text_tobrin": ((-0.45, 1.05), ((-1.0, -0.9), (-1.0, 0.7), (0.9, -0.2), (1.0, 0.6))),
    "text_andthe": ((0.975, 1.05), ((-0.7, -0.5), (-0.3, 0.5), (0.5, -0.5), (0.4, 0.5))),
    "text_fish": ((0.6, 0.3), ((-1.2, -0.6), (-1.0, 0.6), (1.2, -0.6), (1.0, 0.6))),
}
# The colours the game paints behind the title: the sky and the sea at its
# surface (the sea darkens only slowly below).  While the menu's sub drones,
# the surface stays between about 0.25 and 0.9 on the screen, so "Tobrin and
# the" sits wholly in the sky above it and "Fish" wholly in the sea below.
SKY = "#00bfff"
SEA = "#0033ff"
TITLE_SKY_BAND = (0.97, 1.47)
TITLE_SEA_BAND = (-0.29, 0.23)
MIN_TITLE_CONTRAST = 3.0
UNIT = 100.0          # design pixels a view unit, for the lettering


def luminance(colour):
    """Relative luminance of an sRGB colour '#rrggbb' (WCAG 2)."""
    def lin_(c):
        c /= 255.0
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (int(colour[k:k + 2], 16) for k in (1, 3, 5))
    return 0.2126 * lin_(r) + 0.7152 * lin_(g) + 0.0722 * lin_(b)


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def quad_on_screen(name):
    (px, py), corners = TITLE_QUADS[name]
    ll, ul, lr, ur = [(px + cx, py + cy) for cx, cy in corners]
    return ll, ul, lr, ur


def affine(src, dst):
    """The 2D affine map taking three points src onto dst, as an SVG
    matrix(a b c d e f)."""
    (x0, y0), (x1, y1), (x2, y2) = src
    det = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0)
    out = []
    for k in (0, 1):
        u0, u1, u2 = dst[0][k], dst[1][k], dst[2][k]
        a = ((u1 - u0) * (y2 - y0) - (u2 - u0) * (y1 - y0)) / det
        b = ((x1 - x0) * (u2 - u0) - (x2 - x0) * (u1 - u0)) / det
        out.append((a, b, u0 - a * x0 - b * y0))
    (a, c, e), (b, d, g) = out
    return "matrix(%.6f %.6f %.6f %.6f %.4f %.4f)" % (a, b, c, d, e, g)


def warp_into_quad(name, w, h, body):
    """body is drawn in design space (x right, y down, UNIT a view unit);
    returns it warped into a w x h picture for the billboard 'name'."""
    ll, ul, lr, ur = [(x * UNIT, -y * UNIT) for x, y in quad_on_screen(name)]
    tex = {"ll": (0, h), "ul": (0, 0), "lr": (w, h), "ur": (w, 0)}
    scr = {"ll": ll, "ul": ul, "lr": lr, "ur": ur}
    out, defs = [], []
    # each triangle's copy is masked to its own half of the picture, the
    # second reaching two pixels over the diagonal so it covers the first's
    # soft edge; a mask (unlike a clip) lays the word's layers down as one,
    # so no white halo shows through along the join
    d = math.hypot(w, h)
    nx, ny = 2 * h / d, 2 * w / d
    for k, (tri, poly) in enumerate((
            (("ul", "ll", "ur"), [(0, 0), (0, h), (w, 0)]),
            (("ll", "lr", "ur"), [(-nx, h - ny), (w, h), (w - nx, -ny)]))):
        mid = "%s_half%d" % (name, k)
        defs.append('<mask id="%s" maskUnits="userSpaceOnUse" x="0" y="0" width="%d" '
                    'height="%d"><polygon fill="#ffffff" points="%s"/></mask>'
                    % (mid, w, h, pts(poly)))
        m = affine([scr[v] for v in tri], [tex[v] for v in tri])
        out.append('<g mask="url(#%s)"><g transform="%s">%s</g></g>' % (mid, m, body))
    return "".join(defs), "\n".join(out)


def title_word(text, style, box, gid, stretch=1.0):
    """text fitted into box = (x0, y0, x1, y1) in view units (y up), outline,
    halo and shadow included, centred; stretch widens the letters.  Every
    layer is opaque, so the two warped halves join without a seam.  Returns
    (defs, body, ink box in view units)."""
    x0, y0, x1, y1 = box
    b = ink(text, TITLE_FONT)
    ol, halo = style["outline"], style["halo_w"]
    sdx, sdy = style["shadow"]
    pad = ol / 2 + halo
    bw = (x1 - x0) * UNIT - 2 * pad - sdx
    bh = (y1 - y0) * UNIT - 2 * pad - sdy
    sy = min(bh / (b[3] - b[1]), bw / ((b[2] - b[0]) * stretch))
    sx = sy * stretch
    left = x0 * UNIT + pad + (bw - (b[2] - b[0]) * sx) / 2 - b[0] * sx
    base = -y1 * UNIT + pad + (bh - (b[3] - b[1]) * sy) / 2 - b[1] * sy
    tr = ' transform="translate(%s %s) scale(%s %s)"' % (f(left), f(base),
                                                        f(sx), f(sy))
    k = math.sqrt(sx * sy)
    plain = [(text, None)]
    shadow = '<g transform="translate(%s %s)">%s</g>' % (
        f(sdx), f(sdy), text_el(plain, TITLE_FONT, style["shadow_colour"], tr +
                                ' stroke="%s" stroke-width="%s" stroke-linejoin="round"'
                                % (style["shadow_colour"], f((ol + 2 * halo) / k))))
    glow = text_el(plain, TITLE_FONT, style["halo"], tr +
                   ' stroke="%s" stroke-width="%s" stroke-linejoin="round"'
                   % (style["halo"], f((ol + 2 * halo) / k)))
    letters = text_el(plain, TITLE_FONT, "url(#%s)" % gid, tr +
                      ' stroke="%s" stroke-width="%s" stroke-linejoin="round" '
                      'paint-order="stroke"' % (INK, f(ol / k)))
    defs = lin(gid, 0, b[1], 0, b[3], style["stops"])
    seen = ((left + b[0] * sx) / UNIT - pad / UNIT, -(base + b[3] * sy) / UNIT - pad / UNIT,
            (left + b[2] * sx) / UNIT + pad / UNIT, -(base + b[1] * sy) / UNIT + pad / UNIT)
    return defs, "\n".join((shadow, glow, letters)), seen


# "Tobrin and the" reads as one line in the sky, in deep colours that stand
# out from its bright blue; "Fish" lies below the surface in light colours
# that stand out from the deep blue of the sea.  White halos and ink outlines
# keep them apart from whatever swims behind.
TITLE_WORDS = [
    # picture, words, box on the screen (view units), stretch, background, fill stops
    ("text_tobrin", "Tobrin", (-1.42, 0.97, 0.36, 1.47), 1.2, SKY,
     [(0, "#a63405"), (0.55, "#962a04"), (1, "#6e1a02")]),
    ("text_andthe", "and the", (0.57, 0.97, 1.39, 1.26), 1.0, SKY,
     [(0, "#115c9e"), (0.55, "#0c4f8c"), (1, "#083866")]),
    ("text_fish", "Fish", (-0.22, TITLE_SEA_BAND[0], 1.42, TITLE_SEA_BAND[1]), 1.45, SEA,
     [(0, "#fff0f8"), (0.45, "#ffc2e0"), (1, "#f0a8ff")]),
]
TITLE_STYLE = {"outline": 2.4, "halo": WHITE, "halo_w": 1.5, "shadow": (0.8, 1.4),
               "shadow_colour": INK_SOFT}


def title_layout():
    """Each title word's picture size and its box on the screen, outline,
    halo and shadow included."""
    return [(name, text, box, bg, stops) for name, text, box, _, bg, stops in TITLE_WORDS]


def draw_titles():
    out = {}
    want = {n: (w, h) for n, w, h in SIZES}
    for name, text, box, stretch, _, stops in TITLE_WORDS:
        w, h = want[name]
        d, body, _ = title_word(text, dict(TITLE_STYLE, stops=stops), box,
                                name + "_fill", stretch)
        clip, warped = warp_into_quad(name, w, h, body)
        out[name] = svg(w, h, warped, d + clip,
                        'title word%s "%s"' % ("s" if " " in text else "", text))
    return out


def check_titles():
    """The title words are whole, apart, on the screen, inside their quads,
    and their fills stand out from the sky or sea behind them."""
    bad = []
    boxes = []
    for name, text, box, stretch, bg, stops in TITLE_WORDS:
        _, _, seen = title_word(text, dict(TITLE_STYLE, stops=stops), box, "x", stretch)
        x0, y0, x1, y1 = seen
        if x0 < -2 or x1 > 2 or y0 < -1.5 or y1 > 1.5:
            bad.append("%s: off the screen" % name)
        ll, ul, lr, ur = quad_on_screen(name)
        for px, py in ((x0, y0), (x0, y1), (x1, y0), (x1, y1)):
            for (ax, ay), (bx, by) in ((ll, lr), (lr, ur), (ur, ul), (ul, ll)):
                # the quad runs anticlockwise: inside is to the left of each edge
                if (bx - ax) * (py - ay) - (by - ay) * (px - ax) < 0:
                    bad.append("%s: a corner of the lettering lies outside its quad" % name)
                    break
        band = TITLE_SKY_BAND if bg == SKY else TITLE_SEA_BAND
        if y0 < band[0] - 1e-9 or y1 > band[1] + 1e-9:
            bad.append("%s: leaves the %s" % (name, "sky" if bg == SKY else "sea"))
        for _, colour in stops:
            if contrast(colour, bg) < MIN_TITLE_CONTRAST:
                bad.append("%s: fill %s against %s is only %.2f to 1"
                           % (name, colour, bg, contrast(colour, bg)))
        for other, obox in boxes:
            if x0 < obox[2] and obox[0] < x1 and y0 < obox[3] and obox[1] < y1:
                bad.append("%s overlaps %s" % (name, other))
        boxes.append((name, seen))
    return bad


# ================================================================ writing
# Every picture the game loads, with its size in pixels.
SIZES = [("sub", 256, 128)]
SIZES += [("prop%d" % i, 128, 128) for i in (1, 2, 3)]
SIZES += [("fishie_red", 128, 128), ("seedweed_seed", 128, 128)]
SIZES += [("seedweed_%d" % i, 128, 512) for i in range(1, 9)]
SIZES += [("fish_body", 256, 256)]
SIZES += [("fish_%s%d" % (p, i), 256, 256)
          for p in ("tail", "flipper", "face") for i in (1, 2, 3)]
SIZES += [("circle_frame", 512, 512), ("wave", 256, 64)]
SIZES += [("num_%d" % i, 64, 64) for i in range(10)]
SIZES += [("text_tobrin", 1024, 1024), ("text_andthe", 1024, 1024),
          ("text_fish", 1024, 512)]
SIZES += [("text_%s" % n, 512, 512) for n in (
    "press_enter", "press_space", "mash_space", "press_escape", "name",
    "fishies", "thefish", "score", "press_r", "tap_start", "pad_start",
    "tap_watch", "pad_watch", "click_start", "click_watch")]
SIZES += [("text_paused", 512, 256), ("text_replay", 512, 256),
          ("tobrin_icon", 32, 32)]


def build():
    out = {}
    out["sub"] = draw_sub()
    for i in (1, 2, 3):
        out["prop%d" % i] = draw_prop(i)
        out["fish_tail%d" % i] = draw_fish_tail(i)
        out["fish_flipper%d" % i] = draw_fish_flipper(i)
        out["fish_face%d" % i] = draw_fish_face(i)
    out["fish_body"] = draw_fish_body()
    out["fishie_red"] = draw_fishie()
    out["seedweed_seed"] = draw_seed()
    for i in range(1, 9):
        out["seedweed_%d" % i] = draw_weed(i)
    out["circle_frame"] = draw_circle_frame()
    out["wave"] = draw_wave()
    out["tobrin_icon"] = draw_icon()
    out.update(draw_captions())
    out.update(draw_titles())
    out.update(draw_digits())
    out["text_score"] = draw_score()
    out["text_paused"] = draw_paused()
    out["text_replay"] = draw_replay()
    return out


def check(folder):
    """Looks over the finished PNGs; returns a list of problems."""
    bad = check_titles()
    want = {n: (w, h) for n, w, h in SIZES}
    have = sorted(x[:-4] for x in os.listdir(folder) if x.endswith(".png"))
    for extra in sorted(set(have) - set(want)):
        bad.append("%s.png: not one of the game's pictures" % extra)
    pics = {}
    for name, (w, h) in sorted(want.items()):
        path = os.path.join(folder, name + ".png")
        if not os.path.exists(path):
            bad.append("%s.png: missing" % name)
            continue
        try:
            pw, ph, rows = read_png(path)
        except (ValueError, zlib.error, struct.error) as e:
            bad.append(str(e))
            continue
        if (pw, ph) != (w, h):
            bad.append("%s.png: %dx%d, want %dx%d" % (name, pw, ph, w, h))
        if pw & (pw - 1) or ph & (ph - 1):
            bad.append("%s.png: sides not powers of two" % name)
        pics[name] = rows
    if "wave" in pics:
        rows = pics["wave"]
        if [r[3] for r in rows] != [r[-1] for r in rows]:
            bad.append("wave.png: first and last columns differ, it would "
                       "show a seam")
    if "circle_frame" in pics:
        rows = pics["circle_frame"]
        for x, y in ((0, 0), (511, 0), (0, 511), (511, 511)):
            if tuple(rows[y][x * 4:x * 4 + 4]) != (0, 0, 0, 255):
                bad.append("circle_frame.png: corner %d,%d not opaque black"
                           % (x, y))
        if rows[256][256 * 4 + 3] != 0:
            bad.append("circle_frame.png: centre not clear")
    # sprites drawn over the sea keep a clear border, so nothing is cut
    # off and no texture edge shows; the wave runs off both sides
    for name, rows in sorted(pics.items()):
        if name in ("circle_frame", "wave"):
            continue
        edges = [rows[0][3::4], [r[3] for r in rows], [r[-1] for r in rows],
                 rows[-1][3::4]]
        if max(max(e) for e in edges) > 8:
            bad.append("%s.png: drawing touches the edge of the picture"
                       % name)
    return bad


def main(argv):
    if argv[1:2] == ["--list"]:
        for n, w, h in SIZES:
            print(n, w, h)
        return 0
    if argv[1:2] == ["--check"]:
        folder = argv[2] if len(argv) > 2 else os.path.join(
            HERE, "..", "..", "resources", "images")
        bad = check(folder)
        for b in bad:
            print("check: " + b, file=sys.stderr)
        if not bad:
            print("checked %d pictures: sizes, 8-bit RGBA, wave seam, "
                  "circle frame all fine" % len(SIZES))
        return 1 if bad else 0
    out = build()
    names = {n for n, _, _ in SIZES}
    if set(out) != names:
        raise SystemExit("drawn and listed pictures differ: %s"
                         % sorted(set(out) ^ names))
    for name, text in sorted(out.items()):
        path = os.path.join(HERE, name + ".svg")
        old = open(path).read() if os.path.exists(path) else None
        if old != text:
            with open(path, "w") as fh:
                fh.write(text)
            print("wrote assets/images/%s.svg" % name)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""Draws the program's pictures and writes them into main/art/.

Standard library only: a small rasteriser (signed-distance shapes, supersampled at their
edges, linear gradients, "over" compositing) and byte-level writers for ICO, BMP and PNG.
The output is deterministic: the same bytes on every run.

  replimar.ico     MAINICON: 16, 24, 32, 48, 64 px at 8 bpp (shared 256-colour palette,
                   AND mask for transparency) and 16, 24, 32, 48, 64, 128, 256 px at 32 bpp
                   (BGRA + AND mask; the 256 px image is stored as PNG).
  form.ico         the window's icon: one 256 px image of 32 bpp, uncompressed (same picture).
  openfolder.bmp, currentfolder.bmp, closedfolder.bmp
                   directory-list glyphs, 16 x 14 at 96 dpi, and *_2x.bmp at 32 x 28 for
                   192 dpi. 32-bit BI_RGB bottom-up DIBs with a BITMAPINFOHEADER whose pixels
                   are PREMULTIPLIED BGRA, ready for AlphaBlend with AC_SRC_ALPHA.
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------------------------
# Shapes: signed distance in pixels (negative inside) plus a bounding box. Every distance is
# exact or an underestimate, which is all the edge test below needs.


class Shape:
    def __init__(self, sd, box):
        self.sd = sd
        self.box = box  # x0, y0, x1, y1 (may be loose)

    def inset(self, w):
        sd = self.sd
        return Shape(lambda x, y: sd(x, y) + w, self.box)

    def offset(self, dx, dy):
        sd = self.sd
        x0, y0, x1, y1 = self.box
        return Shape(lambda x, y: sd(x - dx, y - dy), (x0 + dx, y0 + dy, x1 + dx, y1 + dy))

    def __or__(self, other):
        # The smaller part is skipped wherever its box alone is farther than the larger part.
        big, little = (self, other) if _area(self.box) >= _area(other.box) else (other, self)
        a, b = little.sd, big.sd
        x0, y0, x1, y1 = little.box

        def sd(x, y):
            d = b(x, y)
            dx = max(x0 - x, x - x1, 0.0)
            dy = max(y0 - y, y - y1, 0.0)
            if (dx > 0 or dy > 0) and math.hypot(dx, dy) >= d:
                return d
            return min(d, a(x, y))

        return Shape(sd, _box_union(self.box, other.box))

    def __and__(self, other):
        a, b = self.sd, other.sd
        return Shape(lambda x, y: max(a(x, y), b(x, y)), _box_meet(self.box, other.box))

    def __sub__(self, other):
        a, b = self.sd, other.sd
        return Shape(lambda x, y: max(a(x, y), -b(x, y)), self.box)


def _area(box):
    return max(0.0, box[2] - box[0]) * max(0.0, box[3] - box[1])


def _box_union(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def _box_meet(a, b):
    return (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))


def rrect(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sd(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        if qx > 0 and qy > 0:
            return math.sqrt(qx * qx + qy * qy) - r
        return max(qx, qy) - r

    return Shape(sd, (x0, y0, x1, y1))


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def polygon(points):
    pts = [(float(px), float(py)) for px, py in points]
    n = len(pts)
    edges = []
    for i in range(n):
        vx, vy = pts[i]
        wx, wy = pts[i - 1]
        ex, ey = wx - vx, wy - vy
        edges.append((vx, vy, ex, ey, ex * ex + ey * ey, wy))

    def sd(x, y):
        best = 1e30
        inside = False
        for vx, vy, ex, ey, ee, wy in edges:
            wx_, wy_ = x - vx, y - vy
            t = (wx_ * ex + wy_ * ey) / ee
            t = 0.0 if t < 0 else 1.0 if t > 1 else t
            bx, by = wx_ - ex * t, wy_ - ey * t
            d = bx * bx + by * by
            if d < best:
                best = d
            c1 = y >= vy
            c2 = y < wy
            c3 = ex * wy_ > ey * wx_
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                inside = not inside
        d = math.sqrt(best)
        return -d if inside else d

    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape(sd, (min(xs), min(ys), max(xs), max(ys)))


def rounded_convex(points, r):
    """Convex polygon (clockwise on screen) with every corner rounded by radius r."""
    n = len(points)
    lines = []
    for i in range(n):
        (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
        ex, ey = bx - ax, by - ay
        ln = math.hypot(ex, ey)
        nx, ny = -ey / ln, ex / ln  # inward for clockwise order with y pointing down
        lines.append((ax + nx * r, ay + ny * r, ex, ey))
    inner = []
    for i in range(n):
        ax, ay, aex, aey = lines[i - 1]
        bx, by, bex, bey = lines[i]
        den = aex * bey - aey * bex
        t = ((bx - ax) * bey - (by - ay) * bex) / den
        inner.append((ax + aex * t, ay + aey * t))
    core = polygon(inner)
    sd = core.sd
    x0, y0, x1, y1 = core.box
    return Shape(lambda x, y: sd(x, y) - r, (x0 - r, y0 - r, x1 + r, y1 + r))


def arc_band(cx, cy, radius, width, a0, a1):
    """Part of a ring between angles a0 and a1 (degrees, clockwise on screen, span < 180)."""
    d0x, d0y = math.cos(math.radians(a0)), math.sin(math.radians(a0))
    d1x, d1y = math.cos(math.radians(a1)), math.sin(math.radians(a1))
    hw = width / 2

    def sd(x, y):
        px, py = x - cx, y - cy
        ring = abs(math.hypot(px, py) - radius) - hw
        h0 = -(d0x * py - d0y * px)
        h1 = d1x * py - d1y * px
        return max(ring, h0, h1)

    r = radius + hw
    return Shape(sd, (cx - r, cy - r, cx + r, cy + r))


def polar(cx, cy, radius, angle):
    a = math.radians(angle)
    return (cx + radius * math.cos(a), cy + radius * math.sin(a))


# ---------------------------------------------------------------------------------------------
# Paints: (x, y) -> straight (not premultiplied) r, g, b, a in 0..1.


def hexcolour(text, alpha=1.0):
    text = text.lstrip("#")
    return (int(text[0:2], 16) / 255, int(text[2:4], 16) / 255, int(text[4:6], 16) / 255, alpha)


def solid(colour, alpha=None):
    c = hexcolour(colour) if isinstance(colour, str) else colour
    if alpha is not None:
        c = (c[0], c[1], c[2], alpha)
    return lambda x, y: c


def linear(x0, y0, x1, y1, stops):
    """Linear gradient from (x0, y0) to (x1, y1); stops are (t, '#rrggbb', alpha)."""
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy
    cs = [(t, hexcolour(c, a)) for t, c, a in stops]

    def paint(x, y):
        t = ((x - x0) * dx + (y - y0) * dy) / ll
        if t <= cs[0][0]:
            return cs[0][1]
        for i in range(1, len(cs)):
            if t <= cs[i][0]:
                ta, ca = cs[i - 1]
                tb, cb = cs[i]
                f = (t - ta) / (tb - ta)
                return tuple(ca[k] + (cb[k] - ca[k]) * f for k in range(4))
        return cs[-1][1]

    return paint


# ---------------------------------------------------------------------------------------------
# Canvas of premultiplied float RGBA.


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]
        n = 8 if max(w, h) <= 64 else 4
        step = 1.0 / n
        self.samples = [(step * (i + 0.5), step * (j + 0.5)) for j in range(n) for i in range(n)]

    def coverage(self, sd, x, y):
        d = sd(x + 0.5, y + 0.5)
        if d <= -0.75:
            return 1.0
        if d >= 0.75:
            return 0.0
        hits = 0
        for sx, sy in self.samples:
            if sd(x + sx, y + sy) < 0:
                hits += 1
        return hits / len(self.samples)

    def _span(self, box):
        x0 = max(0, int(math.floor(box[0])) - 1)
        y0 = max(0, int(math.floor(box[1])) - 1)
        x1 = min(self.w, int(math.ceil(box[2])) + 1)
        y1 = min(self.h, int(math.ceil(box[3])) + 1)
        return x0, y0, x1, y1

    def _blend(self, x, y, colour, cov):
        r, g, b, a = colour
        a *= cov
        if a <= 0:
            return
        p = self.px[y * self.w + x]
        k = 1 - a
        p[0] = r * a + p[0] * k
        p[1] = g * a + p[1] * k
        p[2] = b * a + p[2] * k
        p[3] = a + p[3] * k

    def fill(self, shape, paint, opacity=1.0):
        sd = shape.sd
        x0, y0, x1, y1 = self._span(shape.box)
        for y in range(y0, y1):
            for x in range(x0, x1):
                c = self.coverage(sd, x, y)
                if c > 0:
                    self._blend(x, y, paint(x + 0.5, y + 0.5), c * opacity)

    def soft(self, shape, paint, blur, opacity=1.0, clip=None):
        """Fills with an edge faded over `blur` pixels (shadows and glows), optionally kept
        inside a sharp-edged clip shape."""
        sd = shape.sd
        box = (shape.box[0] - blur, shape.box[1] - blur, shape.box[2] + blur, shape.box[3] + blur)
        if clip is not None:
            box = _box_meet(box, clip.box)
        x0, y0, x1, y1 = self._span(box)
        for y in range(y0, y1):
            for x in range(x0, x1):
                d = sd(x + 0.5, y + 0.5)
                t = 0.5 - d / blur
                if t <= 0:
                    continue
                if t > 1:
                    t = 1.0
                t = t * t * (3 - 2 * t)
                if clip is not None:
                    t *= self.coverage(clip.sd, x, y)
                    if t <= 0:
                        continue
                self._blend(x, y, paint(x + 0.5, y + 0.5), t * opacity)

    def bytes_rgba(self, premultiplied=False):
        """Rows top-down, 8-bit R, G, B, A."""
        out = bytearray()
        for r, g, b, a in self.px:
            a8 = _to8(a)
            if a8 == 0:
                out += b"\0\0\0\0"
                continue
            if premultiplied:
                # Colour channels never exceed alpha, as AlphaBlend requires.
                out += bytes((min(_to8(r), a8), min(_to8(g), a8), min(_to8(b), a8), a8))
            else:
                out += bytes((_to8(r / a), _to8(g / a), _to8(b / a), a8))
        return bytes(out)


def _to8(v):
    v = int(v * 255 + 0.5)
    return 0 if v < 0 else 255 if v > 255 else v


# ---------------------------------------------------------------------------------------------
# Palette.

FOLDER_EDGE = "#9a6a12"
FOLDER_BACK_TOP = "#e9b23c"
FOLDER_BACK_BOTTOM = "#c98d1c"
FOLDER_FRONT_TOP = "#ffe69a"
FOLDER_FRONT_BOTTOM = "#f6bf45"
ACCENT_EDGE = "#0a3a6b"
ACCENT_DEEP = "#0d4f96"
ACCENT_MID = "#1479b8"
ACCENT_TEAL = "#17a6b0"
ACCENT_LIGHT = "#5fd3d6"


# ---------------------------------------------------------------------------------------------
# The main icon: a folder with its mirror behind it and a glossy sync badge.


def icon_layout(size):
    """Geometry in pixels for one icon size. Folders are (x0, y0, x1, y1, corner radius, tab
    width, tab height), the badge is (centre x, centre y, radius) and its arrows are (ring
    radius, stroke width, half width of a head). The small sizes are hinted by hand so that
    edges fall on whole pixels and the arrows keep their shape."""
    small = {
        16: dict(back=(3, 0, 16, 9, 1, 5, 2), front=(0, 2, 14, 14, 1, 5, 2),
                 badge=(10.5, 10.5, 5.5), ring=(3.1, 1.5, 2.2), angles=(200, 290, 345)),
        24: dict(back=(5, 1, 24, 15, 1.5, 8, 2), front=(0, 5, 19, 21, 1.5, 8, 2),
                 badge=(15.5, 15.5, 8.5), ring=(5, 2, 3.2), angles=(200, 295, 345)),
        32: dict(back=(6, 2, 31, 21, 2, 10, 3), front=(1, 7, 26, 28, 2, 10, 3),
                 badge=(21, 21, 11), ring=(6.4, 2.6, 3.8), angles=(200, 295, 345)),
        48: dict(back=(10, 3, 47, 31, 2.5, 16, 4), front=(2, 10, 40, 42, 2.5, 16, 4),
                 badge=(32, 32, 16), ring=(9.2, 3.6, 5.2), angles=(200, 295, 345)),
    }
    if size in small:
        g = small[size]
        g.update(edge=1.0, shadow=size >= 48)
        return g
    s = size / 256.0

    def q(v):
        return round(v * s) if size <= 64 else v * s

    r = 76 * s
    return dict(
        edge=max(1.0, 2.5 * s),
        back=(q(52), q(14), q(244), q(166), 14 * s, q(104), q(26)),
        front=(q(8), q(54), q(208), q(222), 14 * s, q(100), q(26)),
        badge=(178 * s, 178 * s, r),
        ring=(0.57 * r, 0.23 * r, 0.3 * r),
        angles=(202, 298, 345),
        shadow=True,
    )


def folder_shapes(x0, y0, x1, y1, r, tab_w, tab_h, hint):
    """Back panel with its tab, the front panel, and the front panel's top, of a closed
    folder. Hinted, the front's top edge falls on a whole pixel."""
    tab_r = min(r, tab_h / 2)
    deep = tab_h * 2  # the tab runs down into the panel, hiding its lower corners
    tab = rounded_convex([(x0, y0), (x0 + tab_w, y0), (x0 + tab_w + deep * 0.9, y0 + deep),
                          (x0, y0 + deep)], tab_r)
    back = tab | rrect(x0, y0 + tab_h, x1, y1, r)
    front_top = y0 + (round(tab_h * 1.7) if hint else tab_h * 1.7)
    front = rrect(x0, front_top, x1, y1, r)
    return back, front, front_top


def draw_folder(cv, geom, edge, size, pale=False, shadow=False):
    x0, y0, x1, y1, r, tab_w, tab_h = geom
    back, front, fy0 = folder_shapes(x0, y0, x1, y1, r, tab_w, tab_h, size <= 64)
    if shadow:
        cv.soft((back | front).offset(0, size * 0.02), solid("#000000", 1.0), size * 0.05, 0.28)
    if pale:
        backs = linear(0, y0, 0, y1, [(0, "#d3dce8", 1), (1, "#a7b6c8", 1)])
        fronts = linear(0, fy0, 0, y1, [(0, "#f4f8fc", 1), (1, "#c3d0df", 1)])
        edge_col = solid("#5d6f87")
    else:
        backs = linear(0, y0, 0, y1, [(0, FOLDER_BACK_TOP, 1), (1, FOLDER_BACK_BOTTOM, 1)])
        fronts = linear(0, fy0, 0, y1, [(0, FOLDER_FRONT_TOP, 1), (0.55, "#fcd46e", 1),
                                        (1, FOLDER_FRONT_BOTTOM, 1)])
        edge_col = solid(FOLDER_EDGE)
    cv.fill(back, edge_col)
    cv.fill(back.inset(edge), backs)
    cv.fill(front, edge_col)
    cv.fill(front.inset(edge), fronts)
    # Gloss: a bright line under the front's top edge and a soft sheen over its upper half.
    inner = front.inset(edge)
    if size >= 32:
        gloss = inner & rrect(x0, fy0, x1, fy0 + (y1 - fy0) * 0.45)
        cv.fill(gloss, linear(0, fy0, 0, fy0 + (y1 - fy0) * 0.45,
                              [(0, "#ffffff", 0.55), (1, "#ffffff", 0.08)]))
    line = inner & rrect(x0, fy0 + edge, x1, fy0 + edge * 2)
    cv.fill(line, solid("#ffffff", 0.7))


def draw_badge(cv, cx, cy, r, ring, angles, edge, size, shadow):
    radius, width, head = ring
    disc = circle(cx, cy, r)
    if shadow:
        cv.soft(disc.offset(0, size * 0.015), solid("#000000"), size * 0.04, 0.35)
    cv.fill(disc, solid(ACCENT_EDGE))
    body = disc.inset(edge)
    cv.fill(body, linear(0, cy - r, 0, cy + r, [(0, ACCENT_DEEP, 1), (0.5, ACCENT_MID, 1),
                                                (1, ACCENT_TEAL, 1)]))
    if size >= 32:
        # Glow from below and a curved gloss cap above, the look of the "Glossy" style.
        cv.soft(circle(cx, cy + r * 0.9, r * 0.75), solid(ACCENT_LIGHT), r * 0.5, 0.55, clip=body)
        cap = body & circle(cx, cy - r * 1.35, r * 1.75)
        cv.fill(cap, linear(0, cy - r, 0, cy - r * 0.05,
                            [(0, "#ffffff", 0.6), (1, "#ffffff", 0.1)]))
    elif size >= 24:
        cap = body & circle(cx, cy - r * 1.35, r * 1.75)
        cv.fill(cap, solid("#ffffff", 0.22))
    # Two arrows chasing each other clockwise.
    white = solid("#ffffff")
    arrows = None
    for turn in (0, 180):
        a_tail, a_head, a_tip = (a + turn for a in angles)
        band = arc_band(cx, cy, radius, width, a_tail, a_head + 2)
        p_out = polar(cx, cy, radius + head, a_head)
        p_in = polar(cx, cy, radius - head, a_head)
        tip = polar(cx, cy, radius, a_tip)
        shape = band | polygon([p_out, tip, p_in])
        arrows = shape if arrows is None else arrows | shape
    if size >= 48:
        cv.soft(arrows.offset(0, size * 0.008), solid(ACCENT_EDGE), size * 0.02, 0.6)
    cv.fill(arrows, white)


def draw_icon(size):
    cv = Canvas(size, size)
    g = icon_layout(size)
    draw_folder(cv, g["back"], g["edge"], size, pale=True, shadow=g["shadow"])
    draw_folder(cv, g["front"], g["edge"], size, shadow=g["shadow"])
    cx, cy, r = g["badge"]
    draw_badge(cv, cx, cy, r, g["ring"], g["angles"], g["edge"], size, g["shadow"])
    return cv


# ---------------------------------------------------------------------------------------------
# Directory-list glyphs, designed on the 16 x 14 grid and drawn at scale 1 or 2.


def draw_glyph(kind, scale):
    w, h = 16 * scale, 14 * scale
    cv = Canvas(w, h)
    s = scale
    e = 1.0  # outline stays one device pixel: crisp at every scale

    def P(points):
        return polygon([(x * s, y * s) for x, y in points])

    def R(x0, y0, x1, y1, r):
        return rrect(x0 * s, y0 * s, x1 * s, y1 * s, r * s)

    accent = kind == "current"
    if accent:
        edge = solid("#0c4a82")
        back_paint = linear(0, 1 * s, 0, 13 * s, [(0, "#4a9ad6", 1), (1, "#2067ad", 1)])
        front_paint = linear(0, 6 * s, 0, 13 * s, [(0, "#9ae6e8", 1), (0.5, "#3cbcc6", 1),
                                                   (1, "#1a93aa", 1)])
    else:
        edge = solid(FOLDER_EDGE)
        back_paint = linear(0, 1 * s, 0, 13 * s,
                            [(0, FOLDER_BACK_TOP, 1), (1, FOLDER_BACK_BOTTOM, 1)])
        front_paint = linear(0, 5 * s, 0, 13 * s, [(0, FOLDER_FRONT_TOP, 1), (0.5, "#fcd46e", 1),
                                                   (1, FOLDER_FRONT_BOTTOM, 1)])

    if kind == "closed":
        back = P([(0, 2), (1, 1), (5, 1), (7, 3), (15, 3), (15, 13), (0, 13)])
        front = R(0, 5, 15, 13, 0.75)
        cv.fill(back, edge)
        cv.fill(back.inset(e), back_paint)
        cv.fill(front, edge)
        cv.fill(front.inset(e), front_paint)
        cv.fill(front.inset(e) & rrect(0, 5 * s + e, w, 5 * s + 2 * e), solid("#ffffff", 0.75))
        return cv

    # Open: the back panel, a sheet inside, and the front flap tilted towards the viewer.
    back = P([(0, 2), (1, 1), (5, 1), (7, 3), (13, 3), (13, 13), (0, 13)])
    cv.fill(back, edge)
    cv.fill(back.inset(e), back_paint)
    sheet = R(2, 4, 12, 10, 0)
    cv.fill(sheet, solid("#6f9cc2" if accent else "#b29a6c"))
    cv.fill(sheet.inset(e), solid("#ffffff"))
    flap = P([(3, 7), (16, 7), (13, 13), (0, 13)])
    cv.fill(flap, edge)
    cv.fill(flap.inset(e), front_paint)
    cv.fill(flap.inset(e) & rrect(0, 7 * s + e, w, 7 * s + 2 * e), solid("#ffffff", 0.7))
    return cv


# ---------------------------------------------------------------------------------------------
# 8-bit quantisation: one shared palette for every 8-bpp icon image, made by median cut over
# the colours of their opaque pixels. Index 0 is black, the colour behind transparent pixels.


def median_cut(colours, count):
    """colours: dict (r, g, b) -> weight. Returns up to `count` (r, g, b) entries."""
    boxes = [sorted(colours.items())]
    while len(boxes) < count:
        best, best_i, best_ch = -1, -1, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for ch in range(3):
                vals = [c[ch] for c, _ in box]
                spread = (max(vals) - min(vals)) * (1, 1.3, 0.9)[ch]
                score = spread * math.sqrt(sum(w for _, w in box))
                if score > best:
                    best, best_i, best_ch = score, i, ch
        if best <= 0:
            break
        box = sorted(boxes[best_i], key=lambda cw: (cw[0][best_ch], cw[0]))
        total = sum(w for _, w in box)
        acc, cut = 0, 1
        for k, (_, wgt) in enumerate(box):
            acc += wgt
            if acc * 2 >= total:
                cut = min(max(k + 1, 1), len(box) - 1)
                break
        boxes[best_i:best_i + 1] = [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(w for _, w in box)
        palette.append(tuple(int(sum(c[ch] * w for c, w in box) / total + 0.5) for ch in range(3)))
    return palette


def nearest(palette, cache, rgb):
    hit = cache.get(rgb)
    if hit is not None:
        return hit
    r, g, b = rgb
    best, best_i = 1 << 30, 0
    for i, (pr, pg, pb) in enumerate(palette):
        d = 2 * (pr - r) ** 2 + 4 * (pg - g) ** 2 + 3 * (pb - b) ** 2
        if d < best:
            best, best_i = d, i
    cache[rgb] = best_i
    return best_i


def shared_palette(images):
    colours = {}
    for data in images:
        for i in range(0, len(data), 4):
            if data[i + 3] >= 128:
                key = (data[i], data[i + 1], data[i + 2])
                colours[key] = colours.get(key, 0) + 1
    palette = [(0, 0, 0)] + [c for c in median_cut(colours, 255) if c != (0, 0, 0)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    return palette


# ---------------------------------------------------------------------------------------------
# File writers.


def and_mask(rgba, w, h, threshold):
    """1-bpp mask, bottom-up, rows padded to 32 bits; set bits are transparent."""
    stride = ((w + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if rgba[(y * w + x) * 4 + 3] < threshold:
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def ico_entry_32(rgba, size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            i = (y * size + x) * 4
            pixels += bytes((rgba[i + 2], rgba[i + 1], rgba[i], rgba[i + 3]))
    return header + bytes(pixels) + and_mask(rgba, size, size, 1)


def ico_entry_8(rgba, size, palette, cache):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    stride = (size + 3) & ~3
    pixels = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(stride)
        for x in range(size):
            i = (y * size + x) * 4
            if rgba[i + 3] >= 128:
                row[x] = nearest(palette, cache, (rgba[i], rgba[i + 1], rgba[i + 2]))
        pixels += row
    return header + pal + bytes(pixels) + and_mask(rgba, size, size, 128)


def png(rgba, w, h):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    stride = w * 4
    raw = bytearray()
    prev = bytes(stride)
    for y in range(h):
        row = rgba[y * stride:(y + 1) * stride]
        # Filter chosen per row by the usual minimum-sum-of-absolute-values rule.
        candidates = [bytes([0]) + row, bytes([2]) + bytes((row[i] - prev[i]) & 0xFF
                                                           for i in range(stride))]
        sub = bytearray(stride)
        paeth = bytearray(stride)
        for i in range(stride):
            a = row[i - 4] if i >= 4 else 0
            b = prev[i]
            c = prev[i - 4] if i >= 4 else 0
            sub[i] = (row[i] - a) & 0xFF
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            pred = a if pa <= pb and pa <= pc else b if pb <= pc else c
            paeth[i] = (row[i] - pred) & 0xFF
        candidates += [bytes([1]) + bytes(sub), bytes([4]) + bytes(paeth)]
        raw += min(candidates, key=lambda cand: (sum(v if v < 128 else 256 - v for v in cand[1:]),
                                                 cand[0]))
        prev = row
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def ico_file(entries):
    """entries: (size, bpp, data). Directory first, images after it in the same order."""
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    blobs = []
    for size, bpp, data in entries:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, bpp, len(data), offset)
        offset += len(data)
        blobs.append(data)
    return out + b"".join(blobs)


def bmp_premultiplied(rgba_premul, w, h, dpi):
    ppm = int(dpi / 0.0254 + 0.5)
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            i = (y * w + x) * 4
            pixels += bytes((rgba_premul[i + 2], rgba_premul[i + 1], rgba_premul[i],
                             rgba_premul[i + 3]))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 32, 0, len(pixels), ppm, ppm, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + bytes(pixels)


# ---------------------------------------------------------------------------------------------


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    art = os.path.join(root, "main", "art")
    os.makedirs(art, exist_ok=True)

    drawings = {size: draw_icon(size).bytes_rgba() for size in (16, 24, 32, 48, 64, 128, 256)}
    small = (16, 24, 32, 48, 64)
    palette = shared_palette([drawings[s] for s in small])
    cache = {}
    entries = [(s, 8, ico_entry_8(drawings[s], s, palette, cache)) for s in small]
    for s in (16, 24, 32, 48, 64, 128):
        entries.append((s, 32, ico_entry_32(drawings[s], s)))
    big = png(drawings[256], 256, 256)
    entries.append((256, 32, big))

    def write(name, data):
        with open(os.path.join(art, name), "wb") as f:
            f.write(data)

    write("replimar.ico", ico_file(entries))
    # The window's own icon is stored uncompressed: every system can scale it to the title bar's
    # size (Wine cannot load a PNG-compressed entry at another size).
    write("form.ico", ico_file([(256, 32, ico_entry_32(drawings[256], 256))]))
    for kind in ("open", "current", "closed"):
        for scale, suffix, dpi in ((1, "", 96), (2, "_2x", 192)):
            cv = draw_glyph(kind, scale)
            data = cv.bytes_rgba(premultiplied=True)
            write(kind + "folder" + suffix + ".bmp", bmp_premultiplied(data, cv.w, cv.h, dpi))
    return 0


if __name__ == "__main__":
    sys.exit(main())

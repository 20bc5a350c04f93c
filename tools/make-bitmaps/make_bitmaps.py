#!/usr/bin/env python3
"""Draws the program's pictures and writes them as Windows resource files.

    make_bitmaps.py OUTDIR

writes into OUTDIR:

  toolbar.bmp   208 x 16, 13 toolbar buttons of 16 x 16
  people.bmp    176 x 16, 11 user-list marks of 16 x 16
  logo.bmp      48 x 48, the globe of the "about" box
  zumbara.ico   the program icon, 32 x 32 and 16 x 16

and the same three bitmaps drawn again for displays at 150 % and 200 %, each
picture 1.5 and 2 times as large (toolbar-150.bmp: 312 x 24, 13 of 24 x 24;
people-200.bmp: 352 x 32; logo-150.bmp: 72 x 72; and so on).  The larger
sets are drawn from the same shapes at their own size, not scaled from the
small pictures, so that every edge is as sharp as at 100 %.

The bitmaps are 24-bit uncompressed BMP (bottom-up rows) on a magenta
background, #FF00FF, which the program uses as the transparent colour of its
image lists.  Since that mask is one bit deep, every pixel is either exactly
magenta or an opaque colour that is never exactly magenta: edges are smoothed
by blending toward the shape's own colours, never toward the background.

The icon holds 24-bit images with a 1-bit AND mask, a format Windows 98 loads.

Only the standard library is used, and the output is the same bytes on every
run: all drawing is plain arithmetic on a fixed sample grid.
"""

import math
import os
import struct
import sys

MAGENTA = (255, 0, 255)
# Stand-in for a drawn pixel that would come out exactly magenta.
NEAR_MAGENTA = (254, 0, 254)

# Each pixel is sampled on an SS x SS grid.
SS = 4
# A background pixel turns opaque when a shape covers more than this share of
# its samples.
OPAQUE_SHARE = 0.5


# --------------------------------------------------------------------------
# Colours

def rgb(hexstr):
    v = int(hexstr.lstrip("#"), 16)
    return ((v >> 16) & 255, (v >> 8) & 255, v & 255)


def mix(a, b, t):
    """a at t = 0, b at t = 1."""
    t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def lighter(c, t):
    return mix(c, WHITE, t)


def darker(c, t):
    return mix(c, BLACK, t)


def outline_of(c):
    """The dark outline that goes round a shape filled with c."""
    return darker(c, 0.55)


# --------------------------------------------------------------------------
# Shapes: signed distance functions, negative inside, in pixel units.  Pixel
# (i, j) covers the square [i, i + 1] x [j, j + 1]; y grows downwards.

class Shape:
    bbox = (-1e9, -1e9, 1e9, 1e9)

    def d(self, x, y):
        raise NotImplementedError

    def __or__(self, other):
        return Union(self, other)

    def __and__(self, other):
        return Intersect(self, other)

    def __sub__(self, other):
        return Subtract(self, other)


class Circle(Shape):
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r
        self.bbox = (cx - r, cy - r, cx + r, cy + r)

    def d(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        return math.sqrt(dx * dx + dy * dy) - self.r


class Ellipse(Shape):
    """Axis radii a, b, turned by deg degrees (clockwise on screen)."""

    def __init__(self, cx, cy, a, b, deg=0.0):
        self.cx, self.cy, self.a, self.b = cx, cy, a, b
        rad = math.radians(deg)
        self.c, self.s = round(math.cos(rad), 9), round(math.sin(rad), 9)
        m = max(a, b)
        self.bbox = (cx - m, cy - m, cx + m, cy + m)

    def d(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        u = dx * self.c + dy * self.s
        v = -dx * self.s + dy * self.c
        k0 = math.sqrt((u / self.a) ** 2 + (v / self.b) ** 2)
        k1 = math.sqrt((u / (self.a * self.a)) ** 2 + (v / (self.b * self.b)) ** 2)
        if k1 == 0.0:
            return -min(self.a, self.b)
        return k0 * (k0 - 1.0) / k1


class Box(Shape):
    """Rectangle [x0, x1] x [y0, y1] with corners rounded by r."""

    def __init__(self, x0, y0, x1, y1, r=0.0):
        self.cx, self.cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
        self.hx, self.hy = (x1 - x0) / 2.0, (y1 - y0) / 2.0
        self.r = r
        self.bbox = (x0, y0, x1, y1)

    def d(self, x, y):
        qx = abs(x - self.cx) - self.hx + self.r
        qy = abs(y - self.cy) - self.hy + self.r
        ox, oy = max(qx, 0.0), max(qy, 0.0)
        return math.sqrt(ox * ox + oy * oy) + min(max(qx, qy), 0.0) - self.r


class Segment(Shape):
    """A stroke of the given width from (x0, y0) to (x1, y1), round ends."""

    def __init__(self, x0, y0, x1, y1, width):
        self.p = (x0, y0, x1, y1)
        self.h = width / 2.0
        self.bbox = (min(x0, x1) - self.h, min(y0, y1) - self.h,
                     max(x0, x1) + self.h, max(y0, y1) + self.h)

    def d(self, x, y):
        x0, y0, x1, y1 = self.p
        vx, vy = x1 - x0, y1 - y0
        wx, wy = x - x0, y - y0
        ll = vx * vx + vy * vy
        t = 0.0 if ll == 0.0 else max(0.0, min(1.0, (wx * vx + wy * vy) / ll))
        ex, ey = wx - vx * t, wy - vy * t
        return math.sqrt(ex * ex + ey * ey) - self.h


class Polygon(Shape):
    """A simple polygon given by its corner points, in either winding."""

    def __init__(self, pts):
        self.pts = [(float(px), float(py)) for px, py in pts]
        xs = [p[0] for p in self.pts]
        ys = [p[1] for p in self.pts]
        self.bbox = (min(xs), min(ys), max(xs), max(ys))

    def d(self, x, y):
        pts = self.pts
        n = len(pts)
        best = 1e18
        inside = False
        jx, jy = pts[n - 1]
        for ix, iy in pts:
            ex, ey = jx - ix, jy - iy
            wx, wy = x - ix, y - iy
            ll = ex * ex + ey * ey
            t = 0.0 if ll == 0.0 else max(0.0, min(1.0, (wx * ex + wy * ey) / ll))
            bx, by = wx - ex * t, wy - ey * t
            dd = bx * bx + by * by
            if dd < best:
                best = dd
            if (iy > y) != (jy > y):
                if x < ix + (y - iy) * (jx - ix) / (jy - iy):
                    inside = not inside
            jx, jy = ix, iy
        dist = math.sqrt(best)
        return -dist if inside else dist


class Union(Shape):
    def __init__(self, *parts):
        self.parts = parts
        bb = [p.bbox for p in parts]
        self.bbox = (min(b[0] for b in bb), min(b[1] for b in bb),
                     max(b[2] for b in bb), max(b[3] for b in bb))

    def d(self, x, y):
        return min(p.d(x, y) for p in self.parts)


class Intersect(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.bbox = (max(a.bbox[0], b.bbox[0]), max(a.bbox[1], b.bbox[1]),
                     min(a.bbox[2], b.bbox[2]), min(a.bbox[3], b.bbox[3]))

    def d(self, x, y):
        return max(self.a.d(x, y), self.b.d(x, y))


class Subtract(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.bbox = a.bbox

    def d(self, x, y):
        return max(self.a.d(x, y), -self.b.d(x, y))


class Ring(Shape):
    """The band of the given width along the edge of another shape."""

    def __init__(self, shape, width):
        self.shape, self.h = shape, width / 2.0
        b = shape.bbox
        self.bbox = (b[0] - self.h, b[1] - self.h, b[2] + self.h, b[3] + self.h)

    def d(self, x, y):
        return abs(self.shape.d(x, y)) - self.h



def turned(pts, cx, cy, deg):
    """The points turned by deg degrees (clockwise on screen) about (cx, cy)."""
    rad = math.radians(deg)
    c, s = math.cos(rad), math.sin(rad)
    out = []
    for x, y in pts:
        dx, dy = x - cx, y - cy
        out.append((round(cx + dx * c - dy * s, 6), round(cy + dx * s + dy * c, 6)))
    return out


def arc_points(cx, cy, r, a0, a1, steps):
    """Points along a circle from angle a0 to a1 (degrees, 0 = right, 90 = down)."""
    pts = []
    for i in range(steps + 1):
        a = math.radians(a0 + (a1 - a0) * i / steps)
        pts.append((round(cx + r * math.cos(a), 6), round(cy + r * math.sin(a), 6)))
    return pts


def arc_band(cx, cy, r_in, r_out, a0, a1, steps=24):
    """The part of an annulus between two angles, as a polygon."""
    return arc_points(cx, cy, r_out, a0, a1, steps) + \
        list(reversed(arc_points(cx, cy, r_in, a0, a1, steps)))


def star_points(cx, cy, r_out, r_in, n=5, start=-90.0):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(start + 180.0 * i / n)
        pts.append((round(cx + r * math.cos(a), 6), round(cy + r * math.sin(a), 6)))
    return pts


# --------------------------------------------------------------------------
# Fills: a colour, or a function of the sample point that gives one.

def ball_light(base, cx, cy, r):
    """Shading of a sphere lit from the top left: a bright spot, a dark rim."""
    hi = lighter(base, 0.7)
    mid = base
    lo = darker(base, 0.28)
    hx, hy = cx - 0.38 * r, cy - 0.42 * r
    span = 1.45 * r

    def f(x, y):
        dx, dy = x - hx, y - hy
        t = math.sqrt(dx * dx + dy * dy) / span
        if t < 0.45:
            return mix(hi, mid, t / 0.45)
        return mix(mid, lo, (t - 0.45) / 0.55)
    return f


def linear(c0, c1, x0, y0, x1, y1):
    """c0 at (x0, y0) turning into c1 at (x1, y1)."""
    vx, vy = x1 - x0, y1 - y0
    ll = vx * vx + vy * vy

    def f(x, y):
        return mix(c0, c1, ((x - x0) * vx + (y - y0) * vy) / ll)
    return f


def lit(base, x0, y0, x1, y1, amount=0.45):
    """Flat surface lit from (x0, y0): lighter there, darker at (x1, y1)."""
    return linear(lighter(base, amount * 0.75), darker(base, amount * 0.3), x0, y0, x1, y1)


# --------------------------------------------------------------------------
# Canvas

class Canvas:
    """Pixels as RGB tuples; None is the transparent (magenta) background.

    Shapes are given in the units of a 16 x 16 picture; a canvas of scale
    1.5 or 2 draws them that many times as large, sampling each of its own
    pixels as finely as at scale 1."""

    def __init__(self, w, h, scale=1.0):
        self.w, self.h = w, h
        self.scale = scale
        self.px = [None] * (w * h)

    def get(self, x, y):
        return self.px[y * self.w + x]

    def put(self, x, y, c):
        self.px[y * self.w + x] = c

    def paint(self, shape, fill, outline=None, width=1.0, clip=None):
        """Draws shape filled with fill; with outline, a band of that colour
        and width runs round the inside of its edge.  With clip, only the
        part inside clip is drawn."""
        fill_fn = fill if callable(fill) else None
        k = self.scale
        x0, y0, x1, y1 = shape.bbox
        if clip is not None:
            cb = clip.bbox
            x0, y0, x1, y1 = max(x0, cb[0]), max(y0, cb[1]), min(x1, cb[2]), min(y1, cb[3])
        x0, y0, x1, y1 = x0 * k, y0 * k, x1 * k, y1 * k
        ix0 = max(0, int(math.floor(x0)) - 1)
        iy0 = max(0, int(math.floor(y0)) - 1)
        ix1 = min(self.w, int(math.ceil(x1)) + 1)
        iy1 = min(self.h, int(math.ceil(y1)) + 1)
        total = SS * SS
        offs = [(k + 0.5) / SS for k in range(SS)]
        for py in range(iy0, iy1):
            for px in range(ix0, ix1):
                n = 0
                r = g = b = 0.0
                for oy in offs:
                    y = (py + oy) / k
                    for ox in offs:
                        x = (px + ox) / k
                        if clip is not None and clip.d(x, y) > 0.0:
                            continue
                        dist = shape.d(x, y)
                        if dist > 0.0:
                            continue
                        if outline is not None and dist > -width:
                            c = outline
                        elif fill_fn is not None:
                            c = fill_fn(x, y)
                        else:
                            c = fill
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        n += 1
                if n == 0:
                    continue
                avg = (r / n, g / n, b / n)
                under = self.get(px, py)
                if under is None:
                    if n > OPAQUE_SHARE * total:
                        self.put(px, py, avg)
                else:
                    self.put(px, py, mix(under, avg, n / total))

    def pixels(self, rows, colours, x0=0, y0=0):
        """Sets pixels from a picture given as rows of letters, one letter a
        pixel, looked up in colours; any other letter leaves the pixel as it
        is."""
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch in colours:
                    self.put(x0 + i, y0 + j, colours[ch])

    def paste(self, other, x0, y0):
        for y in range(other.h):
            for x in range(other.w):
                self.put(x0 + x, y0 + y, other.get(x, y))

    def rows_rgb(self):
        """Final pixels, top row first, as (r, g, b) integer tuples."""
        out = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                c = self.get(x, y)
                if c is None:
                    row.append(MAGENTA)
                else:
                    q = tuple(int(math.floor(v + 0.5)) for v in c)
                    q = tuple(0 if v < 0 else 255 if v > 255 else v for v in q)
                    row.append(NEAR_MAGENTA if q == MAGENTA else q)
            out.append(row)
        return out

    def mask_rows(self):
        """True where the pixel is transparent, top row first."""
        return [[self.get(x, y) is None for x in range(self.w)] for y in range(self.h)]


# --------------------------------------------------------------------------
# Palette

GREEN = rgb("#2FB52F")
RED = rgb("#E0281E")
BLUE = rgb("#2F6FE0")
ORANGE = rgb("#F58A14")
GOLD = rgb("#F0B818")
SKIN = rgb("#F2C49A")
METAL = rgb("#B8BCC4")
SEA = rgb("#2A74D6")
LAND = rgb("#3FA83A")


# --------------------------------------------------------------------------
# Badges: small signs in the bottom-right corner of a 16 x 16 picture.

def badge_plus(cv, ox=0, oy=0):
    shape = Union(Box(10 + ox, 8 + oy, 14 + ox, 16 + oy), Box(8 + ox, 10 + oy, 16 + ox, 14 + oy))
    cv.paint(shape, lit(GREEN, 8 + ox, 8 + oy, 16 + ox, 16 + oy, 0.5), outline_of(GREEN))


def badge_cross(cv):
    shape = Union(Segment(9.2, 9.2, 14.8, 14.8, 3.6), Segment(14.8, 9.2, 9.2, 14.8, 3.6))
    cv.paint(shape, lit(RED, 9, 9, 15, 15, 0.5), outline_of(RED))


def badge_arrow(cv, colour=GREEN):
    shape = Polygon([(6.5, 10), (10.5, 10), (10.5, 7.6), (15.8, 12), (10.5, 16),
                     (10.5, 14), (6.5, 14)])
    cv.paint(shape, lit(colour, 7, 8, 15, 16, 0.55), outline_of(colour))


# --------------------------------------------------------------------------
# Toolbar pictures

def draw_plug(cv):
    prong = lit(METAL, 0, 0, 2, 6, 0.6)
    cv.paint(Box(3, 0, 5.5, 6), prong, outline_of(METAL))
    cv.paint(Box(7.5, 0, 10, 6), prong, outline_of(METAL))
    body_col = rgb("#4B5563")
    cable = rgb("#3A3F47")
    cv.paint(Segment(6.5, 11, 3.5, 16.5, 2.6), lighter(cable, 0.25), outline_of(cable))
    body = Union(Box(1.5, 4.5, 11.5, 10.5, 1.5), Polygon([(3, 9), (10, 9), (8.5, 13), (4.5, 13)]))
    cv.paint(body, lit(body_col, 1.5, 4.5, 11.5, 13, 0.55), darker(body_col, 0.55))
    # a light edge along the top of the body
    cv.paint(Box(3, 5.5, 10, 6.5), lighter(body_col, 0.55))


def pic_connect(cv):
    draw_plug(cv)
    badge_arrow(cv)


def pic_disconnect(cv):
    draw_plug(cv)
    badge_cross(cv)


def draw_person(cv, shirt=BLUE, skin=SKIN):
    body = Intersect(Ellipse(6.5, 15.5, 6.0, 6.5), Box(0, 8, 13, 16))
    cv.paint(body, lit(shirt, 1, 9, 12, 16, 0.5), outline_of(shirt))
    cv.paint(Circle(6.5, 5.0, 4.0), ball_light(skin, 6.5, 5.0, 4.0), darker(skin, 0.6))


def pic_register(cv):
    draw_person(cv)
    badge_plus(cv)


def pic_new_room(cv):
    folder = rgb("#F2C230")
    back = Union(Box(0.5, 2, 6.5, 5, 1), Box(0.5, 3.5, 14.5, 13.5, 0.8))
    cv.paint(back, lit(darker(folder, 0.15), 0, 2, 14, 13, 0.3), outline_of(folder))
    front = Polygon([(0.5, 13.5), (2.2, 6), (15.8, 6), (14, 13.5)])
    cv.paint(front, lit(folder, 2, 6, 14, 13.5, 0.55), outline_of(folder))
    badge_plus(cv)


# One of the two arrows of the refresh button, pixel by pixel: o outline,
# L lit, G green, D shaded side.  The other arrow is this one turned half
# round.
REFRESH_ARROW = [
    "................",
    ".....oooooo.....",
    "...ooLLLLGGoo...",
    "..oLLGGGGGGGDo..",
    ".oLGGooooooGDDo.",
    ".oooo...ooGGDDoo",
    ".........oGGDDo.",
    "..........oGDo..",
    "...........oo...",
]


def refresh_arrow(deg):
    """One arrow of the refresh picture as a shape: a band round the centre
    over the top, its head at the right pointing down; turned by deg."""
    c = 8.0
    band = arc_band(c, c, 3.4, 6.0, 192.0, 318.0, 24)
    # the head: across the band's end, reaching ahead along the circle
    a = math.radians(318.0)
    tx, ty = -math.sin(a), math.cos(a)  # the way the band runs at its end
    ux, uy = math.cos(a), math.sin(a)   # outward
    bx, by = c + 4.7 * ux, c + 4.7 * uy
    head = [(round(bx - 3.4 * ux, 6), round(by - 3.4 * uy, 6)),
            (round(bx + 3.4 * ux, 6), round(by + 3.4 * uy, 6)),
            (round(bx + 3.6 * tx, 6), round(by + 3.6 * ty, 6))]
    return Union(Polygon(turned(band, c, c, deg)), Polygon(turned(head, c, c, deg)))


def pic_refresh(cv):
    if cv.scale != 1.0:
        # the pixel picture below is for 16 x 16 only; larger ones are drawn
        # as shapes, each arrow lit from the top left
        cv.paint(refresh_arrow(0.0), lit(GREEN, 2, 2, 14, 9, 0.5), outline_of(GREEN))
        cv.paint(refresh_arrow(180.0), lit(GREEN, 2, 7, 14, 14, 0.5), outline_of(GREEN))
        return
    colours = {"o": outline_of(GREEN), "L": lighter(GREEN, 0.5), "G": GREEN,
               "D": darker(GREEN, 0.25)}
    cv.pixels(REFRESH_ARROW, colours)
    # turned half round, the lit and the shaded sides swap so that the light
    # still falls from the top left
    turned_rows = ["".join(reversed(r)) for r in reversed(REFRESH_ARROW)]
    swapped = dict(colours, L=colours["D"], D=colours["L"])
    cv.pixels([""] * (16 - len(turned_rows)) + turned_rows, swapped)


def pic_private(cv):
    edge = rgb("#5A6270")
    env = Box(0.5, 3, 15.5, 13)
    cv.paint(env, linear(WHITE, rgb("#DCDDE2"), 0, 3, 15, 13), edge)
    # the flap and the folds
    line = rgb("#7A8290")
    cv.paint(Segment(1.3, 3.8, 8, 9.0, 1.1), line)
    cv.paint(Segment(14.7, 3.8, 8, 9.0, 1.1), line)
    cv.paint(Segment(1.3, 12.2, 5.8, 7.9, 0.9), mix(line, WHITE, 0.35))
    cv.paint(Segment(14.7, 12.2, 10.2, 7.9, 0.9), mix(line, WHITE, 0.35))


def pic_ignore(cv):
    c = 8.0
    cv.paint(Circle(c, c, 7.5), lit(RED, 2, 2, 14, 14, 0.4), outline_of(RED))
    bar = Polygon(turned([(1.0, 6.6), (15.0, 6.6), (15.0, 9.4), (1.0, 9.4)], c, c, 45))
    field = Subtract(Circle(c, c, 5.0), bar)
    cv.paint(field, linear(WHITE, rgb("#E6E2E2"), 3, 3, 13, 13))


def pic_clear(cv):
    # drawn upright about the centre, then turned so that the handle points
    # to the top right corner and the bristles to the bottom left
    c = 8.0
    deg = 45.0

    def part(pts):
        return Polygon(turned(pts, c, c, deg))

    handle = rgb("#B8742F")
    cv.paint(part([(6.8, 0.2), (9.2, 0.2), (9.2, 8.0), (6.8, 8.0)]),
             lit(handle, 13, 2, 9, 7, 0.5), outline_of(handle))
    straw = rgb("#F2C94C")
    tuft = part([(5.2, 9.0), (10.8, 9.0), (12.6, 14.0), (11.0, 16.0), (8.0, 16.7),
                 (5.0, 16.0), (3.4, 14.0)])
    cv.paint(tuft, lit(straw, 3, 8, 6, 15, 0.5), outline_of(straw))
    stroke = darker(straw, 0.42)
    for x0, x1 in ((6.6, 4.9), (8.0, 8.0), (9.4, 11.1)):
        a = turned([(x0, 10.5), (x1, 15.4)], c, c, deg)
        cv.paint(Segment(a[0][0], a[0][1], a[1][0], a[1][1], 0.8), stroke, clip=tuft)
    band = rgb("#D04030")
    cv.paint(part([(5.0, 7.4), (11.0, 7.4), (11.0, 10.0), (5.0, 10.0)]),
             lit(band, 5, 6, 9, 10, 0.45), outline_of(band))


def pic_admin(cv):
    key = rgb("#F2BE1E")
    edge = rgb("#7A5208")
    cx, cy = 4.5, 7.5
    body = Union(Circle(cx, cy, 4.2), Box(7.5, 6.0, 15.5, 9.0),
                 Box(10.5, 8.0, 12.5, 11.5), Box(13.0, 8.0, 15.5, 12.5))
    shape = Subtract(body, Circle(cx - 0.3, cy - 0.3, 1.3))
    cv.paint(shape, lit(key, 1, 3, 14, 12, 0.6), edge)


# Land on a unit disc, y down: a continent reaching from the north-west to the
# south, and one in the east.
LANDS = [
    [(-0.75, -0.45), (-0.55, -0.70), (-0.25, -0.82), (-0.05, -0.72), (-0.12, -0.55),
     (-0.30, -0.45), (-0.28, -0.30), (-0.45, -0.18), (-0.38, -0.05), (-0.22, 0.05),
     (-0.12, 0.25), (-0.20, 0.50), (-0.35, 0.76), (-0.47, 0.62), (-0.50, 0.35),
     (-0.62, 0.15), (-0.72, -0.05), (-0.84, -0.20)],
    [(0.15, -0.55), (0.35, -0.74), (0.62, -0.60), (0.82, -0.35), (0.70, -0.20),
     (0.50, -0.25), (0.55, -0.05), (0.74, 0.10), (0.70, 0.36), (0.52, 0.62),
     (0.34, 0.70), (0.28, 0.45), (0.16, 0.22), (0.06, 0.05), (0.12, -0.20),
     (0.04, -0.38)],
]


def draw_globe(cv, cx, cy, r, ring=None, outline_w=1.0):
    """A blue sphere with green land.  ring = (a, b, deg, width, edge) adds
    an orange ring round it, tilted by deg, passing behind the top of the
    globe and in front of its bottom."""
    if ring is not None:
        a, b, deg, w, ring_edge = ring
        band = Ring(Ellipse(cx, cy, a, b, deg), w)
        ring_fill = ball_light(ORANGE, cx - 0.3 * a, cy - b, a)
        cv.paint(band, ring_fill, outline_of(ORANGE), ring_edge)
    ball = Circle(cx, cy, r)
    cv.paint(ball, ball_light(SEA, cx, cy, r), outline_of(SEA), outline_w)
    inner = Circle(cx, cy, r - outline_w)
    for pts in LANDS:
        poly = Polygon([(round(cx + px * r, 6), round(cy + py * r, 6)) for px, py in pts])
        cv.paint(poly, ball_light(LAND, cx, cy, r), clip=inner)
    if ring is not None:
        # the near half of the ring: below the line through the centre
        # along the ring's long axis
        big = 2.0 * (a + w)
        near = Polygon(turned([(cx - big, cy), (cx + big, cy), (cx + big, cy + big),
                               (cx - big, cy + big)], cx, cy, deg))
        cv.paint(Intersect(band, near), ring_fill, outline_of(ORANGE), ring_edge)


def pic_web(cv):
    draw_globe(cv, 7.0, 7.0, 6.5)
    badge_arrow(cv)


def pic_about(cv):
    blue = rgb("#3B82F0")
    cx, cy = 8.0, 5.3
    hook = Polygon(arc_band(cx, cy, 1.6, 4.8, 180, 450, 28))
    stem = Box(6.4, 7.5, 9.6, 11.2)
    mark = Union(hook, stem, Box(3.2, 4.6, 6.4, 6.0))
    cv.paint(mark, lit(blue, 4, 1, 12, 11, 0.6), outline_of(blue))
    cv.paint(Circle(8.0, 13.9, 2.0), ball_light(blue, 8.0, 13.9, 2.0), outline_of(blue))


def pic_exit(cv):
    wood = rgb("#A0602C")
    frame = rgb("#6B4A32")
    cv.paint(Box(1, 0.5, 11, 15.5), darker(frame, 0.1), darker(frame, 0.5))
    cv.paint(Box(2, 1.5, 10, 15.5), lit(wood, 2, 1, 10, 15, 0.45), darker(wood, 0.55))
    cv.paint(Box(3.5, 3, 8.5, 7), lighter(wood, 0.15), darker(wood, 0.35))
    cv.paint(Box(3.5, 9, 8.5, 13.5), lighter(wood, 0.15), darker(wood, 0.35))
    cv.paint(Circle(8.5, 8.2, 0.9), rgb("#F5D04A"))
    arrow = Polygon([(6.5, 8), (10.5, 8), (10.5, 5.2), (15.8, 10), (10.5, 14.8), (10.5, 12),
                     (6.5, 12)])
    cv.paint(arrow, lit(RED, 7, 6, 15, 14, 0.55), outline_of(RED))


def pic_send(cv):
    face = rgb("#F7C81E")
    c = 8.0
    cv.paint(Circle(c, c, 7.5), ball_light(face, c, c, 7.5), darker(face, 0.62))
    eye = rgb("#3A2A10")
    cv.paint(Ellipse(5.6, 6.0, 1.0, 1.5), eye)
    cv.paint(Ellipse(10.4, 6.0, 1.0, 1.5), eye)
    smile = Polygon(arc_band(c, 7.6, 3.4, 4.6, 25, 155, 16))
    cv.paint(smile, eye)


TOOLBAR = [pic_connect, pic_disconnect, pic_register, pic_new_room, pic_refresh,
           pic_private, pic_ignore, pic_clear, pic_admin, pic_web, pic_about, pic_exit,
           pic_send]


# --------------------------------------------------------------------------
# User-list marks

def status_ball(base):
    def draw(cv):
        c, r = 8.0, 6.0
        cv.paint(Circle(c, c, r), ball_light(base, c, c, r), outline_of(base))
        cv.paint(Ellipse(c - 2.2, c - 2.4, 1.7, 1.1, -35), lighter(base, 0.9),
                 clip=Circle(c, c, r - 1))
    return draw


def mark_do_not_disturb(cv):
    c, r = 8.0, 6.0
    cv.paint(Circle(c, c, r), ball_light(RED, c, c, r), outline_of(RED))
    cv.paint(Box(4, 6.5, 12, 9.5), WHITE, rgb("#F2D6D4"), 0.5)


def mark_ignored(cv):
    c, r = 8.0, 6.0
    grey = rgb("#808080")
    cv.paint(Circle(c, c, r), lit(grey, 3, 3, 13, 13, 0.5), outline_of(grey))
    cross = Union(Segment(5.3, 5.3, 10.7, 10.7, 1.8), Segment(10.7, 5.3, 5.3, 10.7, 1.8))
    cv.paint(cross, WHITE)


def mark_admin(cv):
    gold = GOLD
    edge = rgb("#7A5208")
    crown = Polygon([(1.0, 14.0), (1.0, 4.5), (5.0, 8.6), (8.0, 3.2), (11.0, 8.6),
                     (15.0, 4.5), (15.0, 14.0)])
    cv.paint(crown, lit(gold, 2, 4, 14, 14, 0.55), edge)
    cv.paint(Box(1.0, 11.0, 15.0, 14.0), lit(darker(gold, 0.1), 1, 11, 15, 14, 0.35), edge)
    for x, y in ((2.0, 4.4), (8.0, 3.2), (14.0, 4.4)):
        cv.paint(Circle(x, y, 1.7), ball_light(gold, x, y, 1.7), edge, 0.8)
    ruby = rgb("#E8303C")
    cv.paint(Circle(8.0, 9.0, 1.5), ball_light(ruby, 8.0, 9.0, 1.5), darker(ruby, 0.5), 0.7)


def mark_moderator(cv):
    star = Polygon(star_points(8.0, 8.8, 8.2, 3.9))
    cv.paint(star, ball_light(rgb("#3C7CF0"), 8.0, 8.8, 7.5), outline_of(BLUE))


def mark_empty(cv):
    pass


def mark_guest(cv):
    grey = rgb("#8C8C8C")
    pale = rgb("#ECECEC")
    cv.paint(Box(0.5, 10.0, 15.5, 19.0, 4.5), linear(WHITE, pale, 4, 9, 12, 16), grey, 1.1)
    cv.paint(Circle(8.0, 5.6, 3.7), linear(WHITE, pale, 5, 2, 11, 9), grey, 1.1)


PEOPLE = [status_ball(rgb("#2FB52F")), status_ball(rgb("#F2D21A")), status_ball(rgb("#E0281E")),
          status_ball(rgb("#2F6FE0")), status_ball(rgb("#F58A14")), mark_do_not_disturb,
          mark_ignored, mark_admin, mark_moderator, mark_empty, mark_guest]


# --------------------------------------------------------------------------
# Logo and icon

def draw_logo(size):
    """The globe in its ring on a size x size canvas (96, 72, 48, 32 or
    16); above 48 its outlines grow with it."""
    cv = Canvas(size, size)
    c = size / 2.0
    if size >= 32:
        s = size / 48.0
        edge = max(1.0, s)
        draw_globe(cv, c, c, 15.0 * s, (21.6 * s, 7.0 * s, -20.0, 3.8 * s, edge), edge)
    else:
        draw_globe(cv, c, c, 5.6, (7.8, 2.7, -20.0, 2.2, 0.6), 1.0)
    return cv


# --------------------------------------------------------------------------
# Files

# The scales of the picture sets: the file name's suffix and the factor.
SETS = [("", 1.0), ("-150", 1.5), ("-200", 2.0)]


def strip(pictures, scale=1.0):
    size = int(round(16 * scale))
    cv = Canvas(size * len(pictures), size)
    for i, draw in enumerate(pictures):
        tile = Canvas(size, size, scale)
        draw(tile)
        cv.paste(tile, size * i, 0)
    return cv


def bmp_bytes(cv):
    rows = cv.rows_rgb()
    stride = (cv.w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return head + info + bytes(data)


def icon_image(cv):
    """One icon image: BITMAPINFOHEADER (double height), 24-bit XOR rows,
    1-bit AND rows, both bottom-up."""
    rows = cv.rows_rgb()
    mask = cv.mask_rows()
    stride = (cv.w * 3 + 3) & ~3
    mstride = ((cv.w + 31) // 32) * 4
    xor = bytearray()
    andm = bytearray()
    for y in reversed(range(cv.h)):
        line = bytearray()
        bits = bytearray(mstride)
        for x in range(cv.w):
            if mask[y][x]:
                line += b"\0\0\0"
                bits[x >> 3] |= 0x80 >> (x & 7)
            else:
                r, g, b = rows[y][x]
                line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        xor += line
        andm += bits
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h * 2, 1, 24, 0, len(xor) + len(andm),
                       0, 0, 0, 0)
    return info + bytes(xor) + bytes(andm)


def ico_bytes(canvases):
    images = [icon_image(cv) for cv in canvases]
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for cv, img in zip(canvases, images):
        entries += struct.pack("<BBBBHHII", cv.w % 256, cv.h % 256, 0, 0, 1, 24, len(img), offset)
        offset += len(img)
    return head + entries + b"".join(images)


def build():
    """The output files by name, as bytes."""
    files = {}
    for suffix, scale in SETS:
        files["toolbar%s.bmp" % suffix] = bmp_bytes(strip(TOOLBAR, scale))
        files["people%s.bmp" % suffix] = bmp_bytes(strip(PEOPLE, scale))
        files["logo%s.bmp" % suffix] = bmp_bytes(draw_logo(int(round(48 * scale))))
    files["zumbara.ico"] = ico_bytes([draw_logo(32), draw_logo(16)])
    return files


def write_file(path, data):
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_bitmaps.py OUTDIR\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    for name, data in build().items():
        write_file(os.path.join(out, name), data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

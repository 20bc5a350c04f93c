#!/usr/bin/env python3
"""Checks the pictures make_bitmaps.py writes.

    check_bitmaps.py DIR [--generator make_bitmaps.py]

DIR holds toolbar.bmp, people.bmp, logo.bmp and zumbara.ico, and the three
bitmaps again for 150 % and 200 % (toolbar-150.bmp, ..., logo-200.bmp).  Each
bitmap must be a 24-bit uncompressed bottom-up BMP with a 40-byte
BITMAPINFOHEADER of the expected size; every picture of a strip (16 x 16,
24 x 24 or 32 x 32) must hold enough drawn pixels for its size (picture 9 of
the people strips none at all) and some background; no drawn pixel may be a
mix with the magenta background.  The icon must hold a 32 x 32 and a 16 x 16
BMP-format image with a matching AND mask.

With --generator the script is also run twice into fresh directories: both
runs must give the same bytes as each other and as the files in DIR.

Prints one line per problem and exits 1 if there is any, else 0.
"""

import argparse
import colorsys
import os
import struct
import subprocess
import sys
import tempfile

MAGENTA = (255, 0, 255)
# Fewest drawn pixels a 16 x 16 picture may have, and a 48 x 48 logo; a
# picture of a larger set needs as many more as its area is larger.
MIN_TILE_PIXELS = 40
MIN_LOGO_PIXELS = 600

# The picture sets: the file name's suffix and the scale.
SETS = [("", 1.0), ("-150", 1.5), ("-200", 2.0)]

# name: (width, height, pictures, indices that must be empty, scale)
BITMAPS = {}
for _suffix, _scale in SETS:
    _tile = int(round(16 * _scale))
    BITMAPS["toolbar%s.bmp" % _suffix] = (13 * _tile, _tile, 13, (), _scale)
    BITMAPS["people%s.bmp" % _suffix] = (11 * _tile, _tile, 11, (9,), _scale)
    BITMAPS["logo%s.bmp" % _suffix] = (3 * _tile, 3 * _tile, 1, (), _scale)
ICON = "zumbara.ico"
ICON_SIZES = [32, 16]
FILES = list(BITMAPS) + [ICON]


class Problems:
    def __init__(self):
        self.lines = []

    def add(self, text):
        self.lines.append(text)


def u16(b, o):
    return struct.unpack_from("<H", b, o)[0]


def u32(b, o):
    return struct.unpack_from("<I", b, o)[0]


def i32(b, o):
    return struct.unpack_from("<i", b, o)[0]


def magenta_fringe(c):
    """True for a colour that looks like a drawn colour blended with the
    magenta background: a violet, purple or pink of some strength (half of
    blue, green, red or orange with half of magenta all land here).  The
    pictures use no such colour, so one means an edge was smoothed toward
    the mask colour."""
    h, s, v = colorsys.rgb_to_hsv(c[0] / 255.0, c[1] / 255.0, c[2] / 255.0)
    return 0.70 <= h <= 0.965 and s >= 0.3 and v >= 0.3


def read_file(path, problems):
    """The file's bytes; None, with the problem noted, when it cannot be read."""
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError as e:
        problems.add("%s: cannot read: %s" % (os.path.basename(path), e))
        return None


def read_bmp(path, problems):
    """Pixels of a 24-bit BMP as rows of (r, g, b), top row first; None when
    the file is not one."""
    name = os.path.basename(path)
    data = read_file(path, problems)
    if data is None:
        return None
    if len(data) < 54 or data[:2] != b"BM":
        problems.add("%s: no BMP signature" % name)
        return None
    if u32(data, 2) != len(data):
        problems.add("%s: file header gives size %d, file is %d bytes" % (name, u32(data, 2), len(data)))
    off = u32(data, 10)
    if u32(data, 14) != 40:
        problems.add("%s: info header is %d bytes, not a 40-byte BITMAPINFOHEADER" % (name, u32(data, 14)))
        return None
    w, h = i32(data, 18), i32(data, 22)
    planes, bpp, comp = u16(data, 26), u16(data, 28), u32(data, 30)
    if planes != 1:
        problems.add("%s: %d planes" % (name, planes))
    if bpp != 24:
        problems.add("%s: %d bits per pixel, not 24" % (name, bpp))
        return None
    if comp != 0:
        problems.add("%s: compression %d, not BI_RGB" % (name, comp))
        return None
    if h <= 0:
        problems.add("%s: height %d: rows are not stored bottom-up" % (name, h))
        return None
    if w <= 0:
        problems.add("%s: width %d" % (name, w))
        return None
    if off != 54:
        problems.add("%s: pixels at offset %d, expected 54 (no palette, no gap)" % (name, off))
    stride = (w * 3 + 3) & ~3
    if off + stride * h > len(data):
        problems.add("%s: pixel rows run past the end of the file" % name)
        return None
    size_image = u32(data, 34)
    if size_image not in (0, stride * h):
        problems.add("%s: biSizeImage %d, rows take %d" % (name, size_image, stride * h))
    rows = []
    for y in range(h):
        base = off + (h - 1 - y) * stride
        row = []
        for x in range(w):
            b, g, r = data[base + 3 * x: base + 3 * x + 3]
            row.append((r, g, b))
        rows.append(row)
    return rows


def check_pictures(name, rows, pictures, empty, scale, problems):
    h = len(rows)
    w = len(rows[0])
    tile_w = w // pictures
    for i in range(pictures):
        drawn = 0
        fringe = []
        for y in range(h):
            for x in range(i * tile_w, (i + 1) * tile_w):
                c = rows[y][x]
                if c == MAGENTA:
                    continue
                drawn += 1
                if magenta_fringe(c):
                    fringe.append((x - i * tile_w, y, c))
        where = "%s picture %d" % (name, i) if pictures > 1 else name
        if i in empty:
            if drawn:
                problems.add("%s: must be empty, has %d drawn pixels" % (where, drawn))
            continue
        least = int((MIN_TILE_PIXELS if pictures > 1 else MIN_LOGO_PIXELS) * scale * scale)
        if drawn < least:
            problems.add("%s: %d drawn pixels, fewer than %d" % (where, drawn, least))
        if drawn == tile_w * h:
            problems.add("%s: no background pixel at all" % where)
        for x, y, c in fringe[:3]:
            problems.add("%s: pixel (%d, %d) #%02X%02X%02X is blended with the magenta background"
                         % (where, x, y, c[0], c[1], c[2]))


def check_bitmap(path, problems):
    name = os.path.basename(path)
    want_w, want_h, pictures, empty, scale = BITMAPS[name]
    rows = read_bmp(path, problems)
    if rows is None:
        return
    w, h = len(rows[0]), len(rows)
    if (w, h) != (want_w, want_h):
        problems.add("%s: %d x %d, expected %d x %d" % (name, w, h, want_w, want_h))
        return
    if pictures > 1 and (w % h or w // h != pictures):
        problems.add("%s: a strip of %d x %d does not hold %d square pictures"
                     % (name, w, h, pictures))
        return
    check_pictures(name, rows, pictures, empty, scale, problems)


def check_icon(path, problems):
    name = os.path.basename(path)
    data = read_file(path, problems)
    if data is None:
        return
    if len(data) < 6 or u16(data, 0) != 0 or u16(data, 2) != 1:
        problems.add("%s: no icon directory" % name)
        return
    count = u16(data, 4)
    if 6 + 16 * count > len(data):
        problems.add("%s: directory runs past the end of the file" % name)
        return
    sizes = []
    for k in range(count):
        e = 6 + 16 * k
        bw, bh, colours, _res, planes, bpp, nbytes, off = struct.unpack_from("<BBBBHHII", data, e)
        bw, bh = bw or 256, bh or 256
        where = "%s image %d (%d x %d)" % (name, k, bw, bh)
        sizes.append(bw)
        if off + nbytes > len(data) or nbytes < 40:
            problems.add("%s: data runs past the end of the file" % where)
            continue
        img = data[off:off + nbytes]
        if img[:8] == b"\x89PNG\r\n\x1a\n":
            problems.add("%s: PNG-compressed, which Windows 98 cannot load" % where)
            continue
        if u32(img, 0) != 40:
            problems.add("%s: info header is %d bytes, not 40" % (where, u32(img, 0)))
            continue
        w, h2, iplanes, ibpp, comp = i32(img, 4), i32(img, 8), u16(img, 12), u16(img, 14), u32(img, 16)
        if w != bw or h2 != 2 * bh:
            problems.add("%s: header gives %d x %d, expected %d x %d (double height)"
                         % (where, w, h2, bw, 2 * bh))
            continue
        if ibpp not in (4, 8, 24, 32) or ibpp != bpp:
            problems.add("%s: %d bits per pixel (directory says %d)" % (where, ibpp, bpp))
            continue
        if comp != 0 or iplanes != 1:
            problems.add("%s: compression %d, planes %d" % (where, comp, iplanes))
            continue
        if ibpp in (4, 8):
            # palette images: sizes only
            palette = 4 * (1 << ibpp)
        else:
            palette = 0
        stride = ((w * ibpp + 31) // 32) * 4
        mstride = ((w + 31) // 32) * 4
        need = 40 + palette + stride * bh + mstride * bh
        if need != nbytes:
            problems.add("%s: %d bytes, colour rows and AND mask take %d" % (where, nbytes, need))
            continue
        if ibpp < 24:
            continue
        xor_at = 40
        and_at = 40 + stride * bh
        clear = 0
        step = ibpp // 8
        for y in range(bh):
            for x in range(w):
                masked = img[and_at + y * mstride + (x >> 3)] & (0x80 >> (x & 7))
                p = img[xor_at + y * stride + step * x: xor_at + y * stride + step * x + 3]
                if masked:
                    clear += 1
                    if p != b"\0\0\0":
                        problems.add("%s: transparent pixel (%d, %d) is not black in the colour "
                                     "bitmap, so it would show through" % (where, x, bh - 1 - y))
                        break
        if clear == 0:
            problems.add("%s: AND mask hides nothing" % where)
        if clear == w * bh:
            problems.add("%s: AND mask hides everything" % where)
        for cx, cy in ((0, 0), (w - 1, 0), (0, bh - 1), (w - 1, bh - 1)):
            if not img[and_at + cy * mstride + (cx >> 3)] & (0x80 >> (cx & 7)):
                problems.add("%s: corner pixel is drawn; the globe must leave the corners clear"
                             % where)
                break
    if sorted(sizes) != sorted(ICON_SIZES):
        problems.add("%s: image sizes %s, expected %s" % (name, sizes, ICON_SIZES))


def check_generator(generator, dirpath, problems):
    runs = []
    with tempfile.TemporaryDirectory() as tmp:
        for k in range(2):
            out = os.path.join(tmp, "run%d" % k)
            r = subprocess.run([sys.executable, generator, out], capture_output=True, text=True)
            if r.returncode != 0:
                problems.add("generator run %d failed (%d): %s" % (k, r.returncode, r.stderr.strip()))
                return
            files = {}
            for name in FILES:
                with open(os.path.join(out, name), "rb") as f:
                    files[name] = f.read()
            runs.append(files)
    for name in FILES:
        if runs[0][name] != runs[1][name]:
            problems.add("%s: two runs of the generator give different bytes" % name)
        try:
            with open(os.path.join(dirpath, name), "rb") as f:
                if f.read() != runs[0][name]:
                    problems.add("%s: differs from what the generator writes now" % name)
        except OSError:
            pass


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("dir")
    ap.add_argument("--generator")
    args = ap.parse_args(argv[1:])
    problems = Problems()
    for name in BITMAPS:
        check_bitmap(os.path.join(args.dir, name), problems)
    check_icon(os.path.join(args.dir, ICON), problems)
    if args.generator:
        check_generator(args.generator, args.dir, problems)
    for line in problems.lines:
        print("FAIL " + line)
    if problems.lines:
        return 1
    print("OK %s: %s" % (args.dir, ", ".join(FILES)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

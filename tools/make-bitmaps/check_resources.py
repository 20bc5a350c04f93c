#!/usr/bin/env python3
"""Checks the resources linked into Zumbara.exe.

    check_resources.py EXE --version X.Y.Z [--bitmaps DIR]

Reads the exe's resource section and checks, all in Russian (0x0419):

  * MENU 2: the whole main menu, item by item - texts, command numbers,
    separators, pop-ups.  Menu texts are stored as UTF-16; each must be the
    expected Cyrillic text (a UTF-8 source read in the wrong code page gives
    other characters) and must convert to code page 1251, the form in which
    the ANSI menu functions hand it to the program;
  * BITMAP 10, 11, 12: 24-bit, 208 x 16, 176 x 16, 48 x 48, and the same
    pictures for 150 % (20, 21, 22: 312 x 24, 264 x 24, 72 x 72) and 200 %
    (30, 31, 32: 416 x 32, 352 x 32, 96 x 96); with --bitmaps, byte for byte
    the bitmaps in DIR (the BMP files without their 14-byte file header);
  * ICON group 1: a 32 x 32 and a 16 x 16 image, each present as an ICON
    resource in BMP format with a 40-byte header;
  * VERSIONINFO 1: file and product version X.Y.Z.0 (the project version),
    FileDescription and ProductName "Zumbara", translation 0x0419 / 1251.

Works on PE32 and PE32+ images.  Prints one line per problem; exit status 0
when there is none, 1 when there are problems, 2 when the file is no PE image.
"""

import argparse
import os
import struct
import sys

RT_BITMAP, RT_ICON, RT_MENU, RT_GROUP_ICON, RT_VERSION = 2, 3, 4, 14, 16
LANG_RU = 0x0419

MF_POPUP = 0x10
MF_END = 0x80

SEP = None  # a separator in the expected menu

MENU = [
    ("&Чат", [
        ("&Подключиться...\tF2", 2001),
        ("&Отключиться", 2002),
        SEP,
        ("&Регистрация на портале...", 2003),
        ("Забыл &пароль...", 2043),
        SEP,
        ("В&ыход", 2004),
    ]),
    ("&Комната", [
        ("&Создать комнату...", 2010),
        ("&Обновить список\tF5", 2011),
        ("В &Главную", 2012),
    ]),
    ("&Сервис", [
        ("&Очистить лог", 2020),
        ("&Найти в логе...\tCtrl+F", 2044),
        ("Найти &далее\tF3", 2045),
        ("&Звук при привате", 2021),
        ("&Время сообщений", 2022),
        ("&Переподключаться при обрыве", 2046),
        ("&Журналы разговоров", 2047),
        ("Открыть пап&ку журналов", 2048),
        ("Снять &игнор со всех", 2023),
        SEP,
        ("&Лог протокола (для отладки)...", 2042),
    ]),
    ("&Админ", [
        ("&Панель администратора...", 2030),
    ]),
    ("&Справка", [
        ("Сайт &chat.zumbara.example", 2041),
        ("&О программе...", 2040),
    ]),
]

BITMAPS = {}
for _step, _suffix, _tile in ((0, "", 16), (10, "-150", 24), (20, "-200", 32)):
    BITMAPS[10 + _step] = ("toolbar%s.bmp" % _suffix, 13 * _tile, _tile)
    BITMAPS[11 + _step] = ("people%s.bmp" % _suffix, 11 * _tile, _tile)
    BITMAPS[12 + _step] = ("logo%s.bmp" % _suffix, 3 * _tile, 3 * _tile)
ICON_SIZES = [32, 16]


class BadImage(Exception):
    pass


def u16(b, o):
    return struct.unpack_from("<H", b, o)[0]


def u32(b, o):
    return struct.unpack_from("<I", b, o)[0]


def need(data, off, n, what):
    if off < 0 or off + n > len(data):
        raise BadImage("%s runs past the end of the file" % what)


def read_resources(data):
    """{(type, name, lang): bytes} of the resource section."""
    need(data, 0, 64, "DOS header")
    if data[:2] != b"MZ":
        raise BadImage("no MZ signature")
    pe = u32(data, 0x3C)
    need(data, pe, 24, "PE header")
    if data[pe:pe + 4] != b"PE\0\0":
        raise BadImage("no PE signature")
    nsect = u16(data, pe + 6)
    opt_size = u16(data, pe + 20)
    opt = pe + 24
    need(data, opt, opt_size, "optional header")
    magic = u16(data, opt)
    if magic == 0x10B:
        dirs = opt + 96
    elif magic == 0x20B:
        dirs = opt + 112
    else:
        raise BadImage("optional header magic 0x%x" % magic)
    need(data, dirs + 8 * 2, 8, "data directories")
    rsrc_rva, rsrc_size = struct.unpack_from("<II", data, dirs + 8 * 2)
    if rsrc_rva == 0:
        raise BadImage("no resource directory")
    sections = []
    st = opt + opt_size
    for k in range(nsect):
        need(data, st + 40 * k, 40, "section table")
        vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", data, st + 40 * k + 8)
        sections.append((va, max(vsize, rawsize), rawptr, rawsize))

    def file_off(rva, n):
        for va, size, rawptr, rawsize in sections:
            if va <= rva and rva + n <= va + size:
                if rva - va + n > rawsize:
                    raise BadImage("resource data beyond the section's file data")
                return rawptr + rva - va
        raise BadImage("RVA 0x%x is in no section" % rva)

    base = file_off(rsrc_rva, 16)
    out = {}

    def walk(off, path, depth):
        if depth > 3:
            raise BadImage("resource tree deeper than three levels")
        need(data, base + off, 16, "resource directory")
        n = u16(data, base + off + 12) + u16(data, base + off + 14)
        for k in range(n):
            e = base + off + 16 + 8 * k
            need(data, e, 8, "resource directory entry")
            name, target = struct.unpack_from("<II", data, e)
            if name & 0x80000000:
                s = base + (name & 0x7FFFFFFF)
                need(data, s, 2, "resource name")
                ln = u16(data, s)
                need(data, s + 2, 2 * ln, "resource name")
                key = data[s + 2:s + 2 + 2 * ln].decode("utf-16-le")
            else:
                key = name & 0xFFFF
            if target & 0x80000000:
                walk(target & 0x7FFFFFFF, path + [key], depth + 1)
            else:
                need(data, base + target, 16, "resource data entry")
                rva, size = struct.unpack_from("<II", data, base + target)
                fo = file_off(rva, size)
                need(data, fo, size, "resource data")
                out[tuple(path + [key])] = data[fo:fo + size]

    walk(0, [], 1)
    return out


def utf16z(b, o):
    end = o
    while True:
        if end + 2 > len(b):
            raise ValueError("unterminated string")
        if b[end:end + 2] == b"\0\0":
            return b[o:end].decode("utf-16-le"), end + 2
        end += 2


def parse_menu(b):
    """The menu as [(text, id) | None | (text, [items])]."""
    if len(b) < 4 or u16(b, 0) != 0:
        raise ValueError("not a MENU template (version %d)" % (u16(b, 0) if len(b) >= 2 else -1))
    pos = 4 + u16(b, 2)

    def items(pos):
        out = []
        while True:
            if pos + 2 > len(b):
                raise ValueError("menu ends inside a pop-up")
            flags = u16(b, pos)
            pos += 2
            if flags & MF_POPUP:
                text, pos = utf16z(b, pos)
                sub, pos = items(pos)
                out.append((text, sub))
            else:
                cmd = u16(b, pos)
                pos += 2
                text, pos = utf16z(b, pos)
                if text == "" and cmd == 0 and not flags & ~MF_END:
                    out.append(SEP)
                else:
                    out.append((text, cmd))
            if flags & MF_END:
                return out, pos

    menu, _ = items(pos)
    return menu


def shown(item):
    return "a separator" if item is SEP else repr(item)


def check_menu(res, problems):
    key = (RT_MENU, 2, LANG_RU)
    if key not in res:
        problems.append("MENU 2 (Russian) missing; menus present: %s"
                        % sorted(k for k in res if k[0] == RT_MENU))
        return
    try:
        got = parse_menu(res[key])
    except ValueError as e:
        problems.append("MENU 2: %s" % e)
        return

    def cp1251(text, where):
        try:
            enc = text.encode("cp1251")
        except UnicodeEncodeError:
            problems.append("%s: %r does not convert to code page 1251" % (where, text))
            return
        if enc.decode("cp1251") != text:
            problems.append("%s: %r changes on the way through code page 1251" % (where, text))

    if len(got) != len(MENU):
        problems.append("MENU 2: %d pop-ups, expected %d" % (len(got), len(MENU)))
    for i, (want, have) in enumerate(zip(MENU, got)):
        where = "MENU 2 pop-up %d" % i
        if have is SEP or not isinstance(have[1], list):
            problems.append("%s: %r is not a pop-up" % (where, have))
            continue
        if have[0] != want[0]:
            problems.append("%s: text %r, expected %r" % (where, have[0], want[0]))
        cp1251(have[0], where)
        if len(have[1]) != len(want[1]):
            problems.append("%s %r: %d items, expected %d" % (where, want[0], len(have[1]), len(want[1])))
        for j, (wi, hi) in enumerate(zip(want[1], have[1])):
            iw = "%s item %d" % (where, j)
            if wi is SEP or hi is SEP:
                if wi is not hi:
                    problems.append("%s: %s, expected %s" % (iw, shown(hi), shown(wi)))
                continue
            if isinstance(hi[1], list):
                problems.append("%s: unexpected pop-up %r" % (iw, hi[0]))
                continue
            if hi != wi:
                problems.append("%s: %r, expected %r" % (iw, hi, wi))
            cp1251(hi[0], iw)


def check_bitmaps(res, bmpdir, problems):
    for num, (fname, w, h) in BITMAPS.items():
        key = (RT_BITMAP, num, LANG_RU)
        if key not in res:
            problems.append("BITMAP %d (Russian) missing" % num)
            continue
        dib = res[key]
        if len(dib) < 40 or u32(dib, 0) != 40:
            problems.append("BITMAP %d: no BITMAPINFOHEADER" % num)
            continue
        bw, bh = struct.unpack_from("<ii", dib, 4)
        bpp = u16(dib, 14)
        if (bw, bh, bpp) != (w, h, 24):
            problems.append("BITMAP %d: %d x %d, %d bits; expected %d x %d, 24 bits"
                            % (num, bw, bh, bpp, w, h))
        stride = (w * 3 + 3) & ~3
        if len(dib) != 40 + stride * h:
            problems.append("BITMAP %d: %d bytes, expected %d" % (num, len(dib), 40 + stride * h))
        if bmpdir:
            try:
                with open(os.path.join(bmpdir, fname), "rb") as f:
                    src = f.read()
            except OSError as e:
                problems.append("BITMAP %d: cannot read %s: %s" % (num, fname, e))
                continue
            if src[14:] != dib:
                problems.append("BITMAP %d: not the same bytes as %s" % (num, fname))


def check_icon(res, problems):
    key = (RT_GROUP_ICON, 1, LANG_RU)
    if key not in res:
        problems.append("ICON group 1 (Russian) missing")
        return
    g = res[key]
    if len(g) < 6 or u16(g, 2) != 1:
        problems.append("ICON group 1: not an icon directory")
        return
    n = u16(g, 4)
    if len(g) < 6 + 14 * n:
        problems.append("ICON group 1: directory cut short")
        return
    sizes = []
    for k in range(n):
        w, h, _c, _r, _planes, bpp, nbytes, rid = struct.unpack_from("<BBBBHHIH", g, 6 + 14 * k)
        sizes.append(w or 256)
        img = res.get((RT_ICON, rid, LANG_RU))
        where = "ICON group 1 image %d x %d (ICON %d)" % (w, h, rid)
        if img is None:
            problems.append("%s: missing" % where)
            continue
        if len(img) != nbytes:
            problems.append("%s: %d bytes, directory says %d" % (where, len(img), nbytes))
        if img[:4] == b"\x89PNG":
            problems.append("%s: PNG-compressed" % where)
        elif len(img) < 40 or u32(img, 0) != 40 or struct.unpack_from("<ii", img, 4) != (w, 2 * h):
            problems.append("%s: no BITMAPINFOHEADER for %d x %d" % (where, w, h))
        elif u16(img, 14) not in (4, 8, 24, 32):
            problems.append("%s: %d bits per pixel" % (where, u16(img, 14)))
    if sorted(sizes) != sorted(ICON_SIZES):
        problems.append("ICON group 1: sizes %s, expected %s" % (sizes, ICON_SIZES))


def parse_version_node(b, o):
    """(key, value bytes, type, children, end) of one VS_VERSIONINFO node."""
    length, vlen, vtype = struct.unpack_from("<HHH", b, o)
    end = o + length
    if length < 6 or end > len(b):
        raise ValueError("version node of length %d at %d" % (length, o))
    key, p = utf16z(b, o + 6)
    p = (p + 3) & ~3
    vbytes = vlen * 2 if vtype == 1 else vlen
    value = b[p:p + vbytes]
    p = (p + vbytes + 3) & ~3
    children = []
    while p + 6 <= end:
        child = parse_version_node(b, p)
        children.append(child)
        p = (child[4] + 3) & ~3
    return key, value, vtype, children, end


def check_version(res, version, problems):
    found = [k for k in res if k[0] == RT_VERSION]
    key = (RT_VERSION, 1, LANG_RU)
    if key not in res:
        problems.append("VERSIONINFO 1 (Russian) missing; present: %s" % found)
        return
    try:
        root = parse_version_node(res[key], 0)
    except (ValueError, struct.error) as e:
        problems.append("VERSIONINFO: %s" % e)
        return
    name, fixed, _t, children, _e = root
    if name != "VS_VERSION_INFO" or len(fixed) < 52 or u32(fixed, 0) != 0xFEEF04BD:
        problems.append("VERSIONINFO: no VS_FIXEDFILEINFO")
        return
    fv = struct.unpack_from("<IIII", fixed, 8)
    major, minor, patch = (int(n) for n in version.split("."))
    words = ((major << 16) | minor, patch << 16)
    if fv != words * 2:
        problems.append("VERSIONINFO: file/product version words %s, expected %s.0"
                        % (["0x%08x" % v for v in fv], version))
    strings = {}
    translations = []
    for ck, _cv, _ct, cchildren, _ce in children:
        if ck == "StringFileInfo":
            for table in cchildren:
                for sk, sv, _st, _sc, _se in table[3]:
                    strings[(table[0], sk)] = sv.decode("utf-16-le").rstrip("\0")
        elif ck == "VarFileInfo":
            for vk, vv, _vt, _vc, _ve in cchildren:
                if vk == "Translation":
                    translations += [struct.unpack_from("<HH", vv, i) for i in range(0, len(vv) - 3, 4)]
    for field in ("FileDescription", "ProductName"):
        if strings.get(("041904E3", field)) != "Zumbara":
            problems.append("VERSIONINFO: %s in table 041904E3 is %r, expected 'Zumbara'"
                            % (field, strings.get(("041904E3", field))))
    for field in ("FileVersion", "ProductVersion"):
        if strings.get(("041904E3", field)) != version + ".0":
            problems.append("VERSIONINFO: %s is %r" % (field, strings.get(("041904E3", field))))
    if translations != [(0x0419, 1251)]:
        problems.append("VERSIONINFO: translations %s, expected [(0x0419, 1251)]"
                        % [("0x%04x" % a, b) for a, b in translations])


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("exe")
    ap.add_argument("--version", required=True, help="the project version, X.Y.Z")
    ap.add_argument("--bitmaps", help="directory of the BMP files the exe was built from")
    args = ap.parse_args(argv[1:])
    try:
        with open(args.exe, "rb") as f:
            data = f.read()
        res = read_resources(data)
    except (OSError, BadImage, struct.error) as e:
        print("FAIL %s: %s" % (args.exe, e))
        return 2
    problems = []
    check_menu(res, problems)
    check_bitmaps(res, args.bitmaps, problems)
    check_icon(res, problems)
    check_version(res, args.version, problems)
    for p in problems:
        print("FAIL " + p)
    if problems:
        return 1
    print("OK %s: menu 2, bitmaps %s, icon 1, version info"
          % (args.exe, " ".join(str(n) for n in sorted(BITMAPS))))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

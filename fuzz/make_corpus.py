#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets and their dictionary.

corpus/receive/      seeds of fuzz_receive
corpus/dispatch/     seeds of fuzz_dispatch
corpus/zbp.dict      the libFuzzer dictionary of those two runs
corpus/banner_http/  seeds of fuzz_banner_http: picture addresses and responses
corpus/http.dict     its dictionary
corpus/picture/      seeds of fuzz_picture: small PNG, GIF, BMP and JPEG files,
                     and PNGs whose data or header would pass the decode budget
corpus/picture.dict  its dictionary

A seed of either target is: one byte (the number k of control bytes in
bits 0-4; fuzz_dispatch reads flags from bits 5-7), k control bytes, then the
body. fuzz_receive takes the body as the byte stream the server sends;
fuzz_dispatch takes lines of it that start with '>' or '/' as typed lines.

Big listings and long lines are written as repeat chunks (rep below, read by
expandRepeats in fuzz_support.h; fuzz_receive reads them when bit 5 of byte 0
is set), so every seed stays small and the fuzzers' inputs with it."""
import os
import shutil
import struct
import subprocess
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def seed(stream, control=b"", flags=0):
    return bytes([flags | len(control)]) + control + stream


def u(text):
    return text.encode("utf-8")


EXPAND = 0x20  # fuzz_receive: the stream holds repeat chunks


def rep(template, copies, joined=False, numbered=False):
    """A repeat chunk: template (str as UTF-8, bytes as they are; an LF only at
    its end) copies times; joined into one line; '%' as the copy's number."""
    t = u(template) if isinstance(template, str) else template
    assert 1 <= copies <= 2048 and b"\n" not in t[:-1]
    n = copies - 1
    return b"*" + bytes([n & 0xFF, (n >> 8) | (8 if joined else 0) | (16 if numbered else 0)]) + t


MSG = b"MSG 12:34:56\tnick\t#FF0000\t"

receive_seeds = {
    "normal_lines": seed(b"WELCOME Zumbara server\t1\n" + MSG + b"hello there\n"
                         + b"USERS nick\t#00FF00\tonline\tguest\nPING 42\n"),
    "crlf_lines": seed(b"WELCOME srv\r\n" + MSG + b"text\r\n\r\nTOPIC \t a topic \r\n"),
    "cyrillic_utf8": seed(MSG + u("Привет, как дела? Ёжик в тумане.") + b"\n"
                          + u("JOIN Вася\t#123456\tотошёл\tmod") + b"\n"),
    "four_byte_sequences": seed(MSG + u("smile \U0001F600 and \U0001F4A9 end") + b"\n"
                                + b"MSG \xf0\x9f\x98\n"),
    "cut_sequences": seed(MSG + b"cut \xd0\n" + MSG + b"cut \xe2\x82\n" + MSG + b"\xe2\n" + b"MSG \xd0"),
    "nul_bytes": seed(MSG + b"a\x00b\x00\n\x00\nMSG \xc0\x80overlong\n" + b"\x00\x00\x00\n"),
    "long_line_without_lf": seed(b"PING 0\n" + rep(b"MSG " + b"x" * 96, 700, joined=True), flags=EXPAND),
    "long_line_then_lines": seed(rep(b"MSG " + b"y" * 60 + b"\n", 1032, joined=True) + b"PING 1\n",
                                 bytes([0xF8]), flags=EXPAND),
    "nine_fields": seed(b"CMD f1\tf2\tf3\tf4\tf5\tf6\tf7\tf8\tf9\tf10\n"
                        + b"CMD \t\t\t\t\t\t\t\t\n"),
    "nested_events": seed(MSG + b"one\n" + MSG + b"two\n" + MSG + b"three\n" * 20,
                          bytes([0x08, 0x0A, 0x0E | 0x30, 0x0B, 0x05, 0x0C, 0x0D, 0x06, 0x0F])),
    "table_lines": seed(b"JOIN alice\t#FF00FF\taway\tadmin\nJOIN Bob\t00ff00\tbusy\tguest\n"
                        b"PART ALICE\nCFG color.bg\t#EEEEEE\nCFG color.bg\t#DDDDDD\n"
                        b"ROOM main\t-17\tthird\tfourth\nIGNORE spammer\nUNIGNORE SPAMMER\n"
                        b"BANNER 7\thttp://x.example/a.gif\thttp://x.example/\t99999999999\t1\nX\n"),
    "blanks": seed(b"   \n \t \n    LEADING blanks\t\t\n" + MSG + b"trailing   \n"),
    "high_bytes": seed(b"MSG " + bytes(range(0x80, 0x100)) + b"\n"
                       + MSG + u("\u20ac \u2116 \u2122 \uffff \u0098 \u00a0") + b"\n"),
    "long_cyrillic_line": seed(rep(MSG + u("Ж" * 50) + b"\n", 100, joined=True) + b"PING 2\n", flags=EXPAND),
    "listings_numbered": seed(rep("JOIN nick%\t#%%\tотошёл\tguest\n", 600, numbered=True)
                              + rep("ROOM room%\t%\tthird\tfourth\n", 130, numbered=True)
                              + rep("IGNORE spam%\n", 70, numbered=True) + b"X\n", flags=EXPAND),
    "tiny_reads": seed(MSG + u("по байту") + b"\n" + MSG + b"x\n", bytes([0x08, 0x10, 0x18])),
}

# ---------------------------------------------------------------------------
# fuzz_dispatch

PANEL_OPEN = 0x20
SOUND_OFF = 0x40
REGISTRATION = 0x80


def lines(*items):
    """Joins lines (str as UTF-8, bytes as they are), each ended by LF."""
    out = b""
    for item in items:
        out += (u(item) if isinstance(item, str) else item) + b"\n"
    return out


HELLO = "HELLO ZBP/1\tzbchatd 0.9"
WELCOME_ADMIN = "WELCOME Вася_2\tadmin\tБолталка\tЗдравствуйте"
WELCOME_USER = "WELCOME tester\tuser\tЧат\tПривет"

LISTINGS = [
    "CFG chat_title\tНовый чат",
    "CFG color_bg\t#FFFFEE",
    "CFG color_text\t#000000",
    "CFG color_sys\t#008000",
    "CFG color_pm\t800080",
    "CFG color_panel\tnonsense",
    "CFGEND",
    "USERLIST Главная",
    "USER Вася_2\t#000080\tON-LINE\tadmin",
    "USER Аня\t#00FF00\tотошла\tmod",
    "USER Боб\t#FF0000\tзанят\tguest",
    "USER guest17\t\t\t",
    "USEREND",
    "ROOMLIST",
    "ROOM Главная\t12\tx\ty",
    "ROOM Флудилка\t3\t\t",
    "ROOM Пустая\tмного",
    "ROOMEND",
    "TOPIC Новости\tАдмин",
    "BANNER 7\thttp://banners.example/a.gif\thttp://example.com/",
]

TRAFFIC = [
    "MSG 12:00\tАня\t#FF0000\tпривет",
    "SYS 12:01\tсервер перезапустится",
    "PM 12:02\tБоб\t-\tпсст",
    "PMSENT 12:03\tБоб\tчто?",
    "NOTICE Рестарт в 23:00",
    "JOIN Петя\t#112233\tguest",
    "JOIN петя\t#445566\tmod",
    "STATUS Петя\tсплю",
    "PART ПЕТЯ",
    "PART Никто",
    "PONG 1\t2\t3",
    "OK SETCFG",
    "OK TOPIC\tТопик сохранён",
    "OK JOIN",
    "FOO a b\tc\td",
    "KICKED флуд",
    "BANNED 2027-01-01\tспам",
]

TYPED = [
    ">привет всем",
    "/pm Аня как дела",
    "/msg Боб b",
    "/w Аня",
    "/pm",
    "/me машет рукой",
    "/join Флудилка",
    "/j Главная",
    "/create Новая",
    "/status отошёл",
    "/s",
    "/topic Тема\tс табом",
    "/kick Боб флуд",
    "/kick Боб",
    "/ban Боб 10",
    "/ban Боб",
    "/unban Боб",
    "/ignore Боб",
    "/ignore Вася_2",
    "/ignore Боб",
    "/clear",
    "/rooms",
    "/help",
    "/HELP",
    "/nosuch thing",
    ">   ",
    ">/pm Аня   ",
]

dispatch_seeds = {
    "session_listings": seed(lines(HELLO, WELCOME_ADMIN, *LISTINGS, *TRAFFIC)),
    "session_with_typing": seed(lines(HELLO, WELCOME_USER, *LISTINGS[7:13], *TYPED, *TRAFFIC)),
    "session_crlf": seed(b"".join(u(l) + b"\r\n" for l in [HELLO, WELCOME_ADMIN] + LISTINGS + TRAFFIC)
                         + b">hello\r\n" + u("/pm Аня x") + b"\r\n"),
    "typing_before_welcome": seed(lines(">hello", "/pm a b", HELLO, WELCOME_USER, ">hello again")),
    "typing_forced_online": seed(lines(">hello", "/me x", "/rooms", "/ignore x"), bytes([0xC0, 0xC0, 0x40, 0xC0])),
    "users_600": seed(lines(HELLO, WELCOME_USER, "USERLIST Большая")
                      + b"".join(rep("USER %s%%\t#%%%%%%\t%s\t%s\n" % (letter, status, role), 100, numbered=True)
                                 for letter, status, role in zip("abcdef",
                                                                 ["ON-LINE", "отошёл", "занят", "сплю", "кушаю", "dnd"],
                                                                 ["guest", "user", "mod", "admin", "user", "guest"]))
                      + lines("USEREND", "JOIN latecomer\t#123456\tguest", "STATUS f11\tbusy",
                              "PART a0", "JOIN latecomer2\t#123456\tguest",
                              "/ignore b0", "MSG 1\tb0\t#000000\tignored",
                              "PM 1\tB0\t-\tignored too", "/ignore b0")),
    "banner_items_70": seed(lines(HELLO, WELCOME_ADMIN, "BANNERLIST")
                            + rep("BANNERITEM 1%\thttp://banners.example/%.gif\thttps://example.com/%\t%\t%\n",
                                  70, numbered=True)
                            + lines("BANNEREND", "OK BANNERADD", "OK BANNERDEL", "OK BANNERTOGGLE",
                                    "BANNER 3\thttp://banners.example/3.gif\thttp://l/",
                                    "BANNER 4\thttps://banners.example/4.png\t",
                                    "BANNER 5\t\thttp://link/", "BANNER 0", "BANNER abc\thttp://x/b.gif"),
                            flags=PANEL_OPEN),
    "cfg_keys_60": seed(lines(HELLO, WELCOME_ADMIN)
                        + rep("CFG key_%\tvalue %\n", 54, numbered=True)
                        + lines("CFG chat_title\tЧат с очень длинным названием " + "x" * 200,
                              "CFG color_bg\t#000000", "CFG color_text\t#FFFFFF",
                              "CFG color_sys\t#0000FF", "CFG color_pm\t#FF00FF",
                              "CFG " + "k" * 60 + "\t" + "v" * 300,
                              "CFG key_0\treplaced", "CFGEND", "OK SETCFG"),
                        flags=PANEL_OPEN),
    "rooms_130": seed(lines(HELLO, WELCOME_USER, "ROOMLIST")
                      + rep("ROOM room%\t-%\tthird\tfourth\n", 130, numbered=True)
                      + lines("ROOMEND", "ROOMLIST", "ROOM only\t1", "ROOMEND")),
    "ignore_70": seed(lines(HELLO, WELCOME_USER) + rep("/ignore spammer%\n", 70, numbered=True)
                      + lines("MSG 1\tspammer5\t#000000\thidden", "/ignore spammer5", "/ignore tester")),
    # An ERR while the registration is pending: the box's loop closes the
    # connection before the handler's own disconnect.
    "registration_err": seed(lines(HELLO, "ERR 409\tНик занят", "WELCOME newbie\tuser\tt\tg"),
                             bytes([0x00, 0x40, 0x05]), flags=REGISTRATION),
    "registration_ok": seed(lines(HELLO, "OK REG", "WELCOME newbie\tuser\tt\tg", "USERLIST R", "USEREND"),
                            bytes([0x60, 0x83]), flags=REGISTRATION),
    "login_refused": seed(lines(HELLO, "ERR 401\tНеверный пароль", "ERR 423\tзаблокирован",
                                "ERR 503\tперегружен", "ERR 500\tчто-то", "KICKED флуд",
                                "BANNED 2027-01-01\tспам"),
                          bytes([0x00, 0x00, 0x06, 0x00, 0x03])),
    "events_mixed": seed(lines(HELLO, WELCOME_ADMIN, *LISTINGS, "/pm Аня hi", *TRAFFIC, "/rooms", "PONG"),
                         bytes([0x08, 0x1B, 0x3D, 0x03, 0x2B, 0x4E, 0x0E, 0x3B, 0x0A, 0x1A, 0x09, 0x0C,
                                0x1D, 0x2D, 0x05, 0x18]), flags=SOUND_OFF),
}

COMMAND_WORDS = ("MSG SYS PM PMSENT NOTICE USERLIST USER USEREND JOIN PART STATUS ROOMLIST ROOM "
                 "ROOMEND TOPIC HELLO WELCOME PONG OK ERR KICKED BANNED CFG CFGEND BANNER "
                 "BANNERLIST BANNERITEM BANNEREND").split()
FIELD_WORDS = ("REG SETCFG BANNERADD BANNERDEL BANNERTOGGLE 401 409 423 503 admin mod guest "
               "color_bg color_text chat_title http:// https://").split()
SLASH_COMMANDS = ("/pm /msg /w /me /join /j /create /status /s /topic /kick /ban /unban /ignore "
                  "/clear /rooms /help").split()


def dict_entry(data):
    text = "".join(chr(b) if 0x20 <= b < 0x7F and b not in b'"\\' else "\\x%02X" % b for b in data)
    return '"%s"' % text


def dictionary():
    entries = []
    for w in COMMAND_WORDS:
        entries += [w.encode(), b"\n" + w.encode() + b" "]
    for w in FIELD_WORDS:
        entries += [w.encode(), b"\t" + w.encode()]
    entries += [b"\t", b"\n", b"\r\n", b">", b"\n*", b"%"]
    for w in SLASH_COMMANDS:
        entries += [w.encode(), b"\n" + w.encode() + b" "]
    seen = set()
    out = ["# Command words, field words, separators and slash commands of the chat",
           "# protocol and the input line. Written by make_corpus.py."]
    for e in entries:
        if e not in seen:
            seen.add(e)
            out.append(dict_entry(e))
    return "\n".join(out) + "\n"


def write_dir(name, seeds):
    out = os.path.join(HERE, "corpus", name)
    os.makedirs(out, exist_ok=True)
    for old in os.listdir(out):
        os.remove(os.path.join(out, old))
    for seed_name, data in seeds.items():
        with open(os.path.join(out, seed_name), "wb") as f:
            f.write(data)


banner_http_seeds = {
    "url_port_path": b"http://pics.example:81/b/x.gif?v=2#top",
    "url_no_path": b"http://pics.example",
    "url_query_no_slash": b"http://pics.example?x=1:80",
    "url_trailing_colon": b"http://pics.example:/a.png",
    "url_long_host": b"http://" + b"h" * 200 + b":8080/" + b"p" * 700,
    "url_empty_host": b"http:///a.png",
    "response_200": b"HTTP/1.0 200 OK\r\nContent-Type: image/gif\r\n\r\nGIF89a\x01\x00\x01\x00\x00\x00;",
    "response_200_empty": b"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n",
    "response_200_no_blank": b"HTTP/1.0 200 OK\r\nServer: x\r\n",
    "response_302": b"HTTP/1.0 302 Found\r\nLocation: http://elsewhere/\r\n\r\n",
    "response_404": b"HTTP/1.0 404 Not Found\r\n\r\nnope",
    "response_short": b"HTTP/1.0 200 OK",
    "response_nul_header": b"HTTP/1.0 200 OK\r\nX: \x00\r\n\r\n\x89PNG\x00\x00",
}

HTTP_WORDS = [b"http://", b"HTTP/1.0 ", b"HTTP/1.1 ", b"200", b"301", b"302", b"404", b"\r\n",
              b"\r\n\r\n", b":", b"/", b"?", b"#", b":80", b":0", b"Location: ", b"GIF89a", b"\x89PNG"]


def http_dictionary():
    return "\n".join(["# Address and response pieces of the banner download. Written by make_corpus.py."]
                     + [dict_entry(w) for w in HTTP_WORDS]) + "\n"


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, depth, colour, raw, extra=b""):
    header = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def bmp24(width, height):
    stride = (width * 3 + 3) & ~3
    pixels = b"".join(bytes((x * 40 % 256, y * 90 % 256, 200)) for y in range(height) for x in range(width))
    rows = b"".join(pixels[y * width * 3:(y + 1) * width * 3].ljust(stride, b"\0") for y in range(height))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return header + info + rows


def magick(name, *args):
    """A small file drawn by ImageMagick, without its metadata."""
    convert = shutil.which("convert")
    if not convert:
        raise SystemExit("make_corpus.py: ImageMagick's convert is needed for the picture seeds")
    with tempfile.TemporaryDirectory() as d:
        path = os.path.join(d, name)
        subprocess.run([convert, *args, "-strip", path], check=True)
        with open(path, "rb") as f:
            return f.read()


picture_seeds = {
    "png_grey_8x8": png(8, 8, 8, 0, b"".join(bytes([y % 5]) + bytes(range(y * 8, y * 8 + 8)) for y in range(8))),
    "png_palette_4x4_trns": png(4, 4, 2, 3, b"\0\x1b\0\xe4\0\x1b\0\xe4",
                                chunk(b"PLTE", b"\xff\0\0\0\xff\0\0\0\xff\xff\xff\xff") + chunk(b"tRNS", b"\x80\xff")),
    "png_rgba16_2x2": png(2, 2, 16, 6, b"".join(b"\0" + bytes(range(16)) for _ in range(2))),
    # One pixel whose data inflates to 2 MiB: the inflate buffer doubles.
    "png_1x1_inflates_2mib": png(1, 1, 8, 0, bytes(2 << 20)),
    # 4096 x 4096 at 16 bits and 4 channels: the first buffer alone passes
    # the budget.
    "png_4096_rgba16_header": png(4096, 4096, 16, 6, bytes(64)),
    "bmp_5x3": bmp24(5, 3),
    "gif_anim_6x4": magick("a.gif", "-size", "6x4", "xc:red", "xc:lime", "-delay", "10"),
    "jpg_16x8": magick("a.jpg", "-size", "16x8", "gradient:red-blue", "-quality", "80"),
    "jpg_progressive_16x8": magick("p.jpg", "-size", "16x8", "gradient:lime-navy", "-interlace", "Plane"),
}

PICTURE_WORDS = [b"\x89PNG\r\n\x1a\n", b"IHDR", b"IDAT", b"IEND", b"PLTE", b"tRNS", b"CgBI", b"GIF89a", b"GIF87a",
                 b"NETSCAPE2.0", b"BM", b"\xff\xd8\xff", b"\xff\xc0", b"\xff\xc2", b"\xff\xc4", b"\xff\xda",
                 b"\xff\xdb", b"\xff\xdd", b"\xff\xd9", b"\x00\x10\x00\x00", b"\xff\xff"]


def picture_dictionary():
    return "\n".join(["# Markers of the picture formats. Written by make_corpus.py."]
                     + [dict_entry(w) for w in PICTURE_WORDS]) + "\n"


write_dir("receive", receive_seeds)
write_dir("dispatch", dispatch_seeds)
write_dir("banner_http", banner_http_seeds)
with open(os.path.join(HERE, "corpus", "http.dict"), "w") as f:
    f.write(http_dictionary())
with open(os.path.join(HERE, "corpus", "zbp.dict"), "w") as f:
    f.write(dictionary())
write_dir("picture", picture_seeds)
with open(os.path.join(HERE, "corpus", "picture.dict"), "w") as f:
    f.write(picture_dictionary())

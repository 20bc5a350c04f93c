"""Sample banner pictures, 472 x 61, drawn with the standard library only:
a gradient, a frame and two lines of text in a 5 x 7 pixel font, written as
PNG or as 24-bit BMP."""

import os
import struct
import zlib

WIDTH, HEIGHT = 472, 61
PICTURE_TYPES = {".png": "image/png", ".gif": "image/gif", ".jpg": "image/jpeg",
                 ".jpeg": "image/jpeg", ".bmp": "image/bmp"}

# Each glyph: seven rows of five pixels, one hex byte per row, top row first.
FONT = {
    "A": "0E11111F111111", "B": "1E11111E11111E", "C": "0E11101010110E", "D": "1E11111111111E",
    "E": "1F10101E10101F", "F": "1F10101E101010", "G": "0E11101711110F", "H": "1111111F111111",
    "I": "0E04040404040E", "J": "0702020202120C", "K": "11121418141211", "L": "1010101010101F",
    "M": "111B1515111111", "N": "11111915131111", "O": "0E11111111110E", "P": "1E11111E101010",
    "Q": "0E11111115120D", "R": "1E11111E141211", "S": "0F10100E01011E", "T": "1F040404040404",
    "U": "1111111111110E", "V": "11111111110A04", "W": "1111111515150A",
    "X": "11110A040A1111", "Y": "1111110A040404", "Z": "1F01020408101F",
    "0": "0E11131519110E", "1": "040C040404040E", "2": "0E11010204081F",
    "3": "1F02040201110E", "4": "02060A121F0202", "5": "1F101E0101110E", "6": "0608101E11110E",
    "7": "1F010204080808", "8": "0E11110E11110E", "9": "0E11110F01020C",
    " ": "00000000000000", ".": "00000000000C0C", ":": "000C0C000C0C00", "/": "00010204081000",
    "-": "0000001F000000", "!": "04040404040004",
}

# File name, the two lines of text, the gradient's left and right colours.
SAMPLES = [
    ("banner1.png", "ZUMBARA", "CHAT ON PORT 4225", (22, 82, 173), (64, 170, 230)),
    ("banner2.png", "YOUR AD HERE", "472 X 61 PNG OVER HTTP/1.0", (200, 70, 20), (250, 170, 40)),
    ("banner3.bmp", "DEV SERVER", "BANNERS ROTATE BY WEIGHT", (20, 120, 60), (60, 190, 150)),
]


class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = bytearray(width * height * 3)

    def put(self, x, y, rgb):
        if 0 <= x < self.width and 0 <= y < self.height:
            i = (y * self.width + x) * 3
            self.pixels[i:i + 3] = bytes(rgb)

    def fill(self, x0, y0, w, h, rgb):
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                self.put(x, y, rgb)

    def gradient(self, left, right):
        for x in range(self.width):
            t = x / (self.width - 1)
            c = tuple(int(a + (b - a) * t) for a, b in zip(left, right))
            for y in range(self.height):
                self.put(x, y, c)

    def text(self, s, y, scale, rgb, shadow):
        advance = 6 * scale
        x0 = (self.width - len(s) * advance + scale) // 2
        for n, ch in enumerate(s):
            rows = bytes.fromhex(FONT.get(ch, FONT[" "]))
            for r, bits in enumerate(rows):
                for col in range(5):
                    if bits & (0x10 >> col):
                        x, yy = x0 + n * advance + col * scale, y + r * scale
                        self.fill(x + 1, yy + 1, scale, scale, shadow)
                        self.fill(x, yy, scale, scale, rgb)

    def rows(self):
        """Top-down rows of RGB bytes."""
        step = self.width * 3
        return [bytes(self.pixels[i:i + step]) for i in range(0, len(self.pixels), step)]


def png_bytes(canvas):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + row for row in canvas.rows())
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def bmp_bytes(canvas):
    """24-bit BMP: bottom-up rows of BGR pixels, each row padded to 4 bytes."""
    pad = b"\0" * ((-canvas.width * 3) % 4)
    body = bytearray()
    for row in reversed(canvas.rows()):
        bgr = bytearray(row)
        bgr[0::3], bgr[2::3] = row[2::3], row[0::3]
        body += bgr + pad
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(body),
                       2835, 2835, 0, 0)
    return header + info + bytes(body)


def draw_banner(title, subtitle, left, right):
    c = Canvas(WIDTH, HEIGHT)
    c.gradient(left, right)
    frame = tuple(v // 2 for v in left)
    c.fill(0, 0, WIDTH, 1, frame)
    c.fill(0, HEIGHT - 1, WIDTH, 1, frame)
    c.fill(0, 0, 1, HEIGHT, frame)
    c.fill(WIDTH - 1, 0, 1, HEIGHT, frame)
    c.text(title, 9, 3, (255, 255, 255), frame)
    c.text(subtitle, 37, 2, (255, 255, 224), frame)
    return c


def write_samples(folder):
    """Draws the sample banners into folder, keeping any already there."""
    os.makedirs(folder, exist_ok=True)
    for name, title, subtitle, left, right in SAMPLES:
        path = os.path.join(folder, name)
        if os.path.exists(path):
            continue
        canvas = draw_banner(title, subtitle, left, right)
        data = png_bytes(canvas) if name.endswith(".png") else bmp_bytes(canvas)
        with open(path + ".tmp", "wb") as f:
            f.write(data)
        os.replace(path + ".tmp", path)


def list_pictures(folder):
    return sorted(n for n in os.listdir(folder)
                  if os.path.splitext(n)[1].lower() in PICTURE_TYPES
                  and os.path.isfile(os.path.join(folder, n)))

"""End to end: after WELCOME the scripted server sends a BANNER whose
picture a real HTTP server serves; the real client under wine64 downloads
it and shows it in the banner strip, unscaled in its framed box.
Usage: test_banner_strip.py BUILD_DIR CLIENT_EXE PROBE_EXE"""

import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "win"))
from e2e_support import Run, bounding_box, fresh_dir, pixels  # noqa: E402
import picture_server  # noqa: E402

BANNER_MAGENTA = (0xC0, 0x18, 0x7A)
WHITE = (0xFF, 0xFF, 0xFF)

t = Run("banner_strip")
check, peer = t.check, t.peer
pictures = fresh_dir(os.path.join(t.work, "pictures"))
picture_server.draw(pictures, ["banner.png"])
http = picture_server.serve(pictures)
t.settings(Nick="Вася")
prober = t.start("/auto", "/nosplash")
peer.wait_line("LOGIN")
url = "http://127.0.0.1:%d/banner.png" % http.server_address[1]
peer.send("WELCOME Вася\tuser\tТестовый чат\tДобро пожаловать",
          "USERLIST Главная", "USER Вася\t#000080\t\tuser", "USEREND",
          "BANNER 7\t%s\thttp://shop.example/" % url)

# The picture arrives and is painted: look for its colour on the screen.
box = None
deadline = time.monotonic() + 30
while box is None and time.monotonic() < deadline:
    time.sleep(1)
    shot = t.screenshot("banner_strip.png")
    if os.path.exists(shot):
        width, height, rgb = pixels(shot)
        box = bounding_box(width, height, rgb, BANNER_MAGENTA)
check(box is not None, "the banner picture is on the screen")
if box:
    left, top, right, bottom = box
    check((right - left, bottom - top) == (472, 61),
          "it fills the 472 x 61 box unscaled: %r" % (box,))

    def at(x, y):
        return tuple(rgb[(y * width + x) * 3:(y * width + x) * 3 + 3])
    check(at(left - 1, top + 30) == WHITE and at(right, top + 30) == WHITE
          and at(left + 100, top - 1) == WHITE, "inside the white frame")
    strip = [c for c in prober.controls() if c["id"] == 3007][0]["rect"]
    client_left = left - ((strip[2] - strip[0]) - 472) // 2
    check(at(client_left + 9, top + 55) == (0xD5, 0xD5, 0xFF),
          "the promotional panel left of the box in the panel colour + 60")
rc, log = prober.call("richtext", "3001")[:2]
check("Баннер #" not in log, "no banner error line: %r" % log[-300:])
print("screenshot: " + shot)

prober.call("close")
check(peer.wait_closed(30), "the client closes the connection")
http.shutdown()
t.finish()

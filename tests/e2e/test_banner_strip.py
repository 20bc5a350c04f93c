"""End to end: after WELCOME the scripted server sends a BANNER whose
picture a real HTTP server serves; the real client under wine64 downloads
it and shows it in the banner strip, unscaled in its framed box.
Usage: test_banner_strip.py BUILD_DIR CLIENT_EXE PROBE_EXE"""

import os
import shutil
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "probe"))
sys.path.insert(0, os.path.join(HERE, "..", "win"))
from probe_driver import Probe, WineSession  # noqa: E402
from zbpeer import Peer  # noqa: E402
from e2e_support import Checks, bounding_box, fresh_dir, pixels, screenshot  # noqa: E402
import picture_server  # noqa: E402

BANNER_MAGENTA = (0xC0, 0x18, 0x7A)
WHITE = (0xFF, 0xFF, 0xFF)

build_dir, client_exe, probe_exe = sys.argv[1:4]
work = fresh_dir(os.path.join(build_dir, "e2e", "banner_strip"))
app_dir = fresh_dir(os.path.join(work, "app"))
pictures = fresh_dir(os.path.join(work, "pictures"))
shot = os.path.join(build_dir, "e2e", "banner_strip.png")
exe = os.path.join(app_dir, "Zumbara.exe")
shutil.copy(client_exe, exe)
open(os.path.join(app_dir, "portable.txt"), "w").close()
check = Checks()

picture_server.draw(pictures, ["banner.png"])
http = picture_server.serve(pictures)
peer = Peer()
with open(os.path.join(app_dir, "Zumbara.ini"), "wb") as ini:
    ini.write(("[Chat]\r\nServer=127.0.0.1\r\nPort=%d\r\nNick=Вася\r\n" % peer.port).encode("cp1251"))
wine = WineSession(os.path.join(build_dir, "e2e-prefix")).__enter__()
try:
    wine.start(exe, "/auto", "/nosplash", cwd=app_dir)
    prober = Probe(wine, probe_exe)
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
        screenshot(wine.display, shot)
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
finally:
    peer.close()
    http.shutdown()
    wine.close()

sys.exit(check.finish())

"""End to end: the real client, logged in with "/auto" to a scripted server,
shows people with roles and statuses, rooms, a topic and the banner that a
real HTTP server serves, unscaled in its framed box; real mouse clicks
(xdotool on the Xvfb display) on a nick in the log address it, a
double-click starts a private message, a click on the own nick does nothing.
Leaves build/e2e/people_and_nicks.png for a person to look at.
Usage: test_people_and_nicks.py BUILD_DIR CLIENT_EXE PROBE_EXE"""

import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "win"))
from e2e_support import Run, bounding_box, first_window, fresh_dir, pixels  # noqa: E402
import picture_server  # noqa: E402

BANNER_MAGENTA = (0xC0, 0x18, 0x7A)
WHITE = (0xFF, 0xFF, 0xFF)

t = Run("people_and_nicks")
check, peer = t.check, t.peer
pictures = fresh_dir(os.path.join(t.work, "pictures"))
picture_server.draw(pictures, ["banner.png"])
http = picture_server.serve(pictures)
t.settings({("Ignore", "N0"): "Борис"}, Nick="Вася", Color="#008000")
probe = t.start("/auto", "/nosplash")


def input_line():
    return probe.call("text", "3004")[1]


def click_nick(nick, *click):
    """Moves the pointer into the nick's second letter in the log and clicks."""
    x, y = (int(v) for v in probe.out("charpos", "3001", str(log.index("<%s>" % nick) + 2)).split())
    for args in (("mousemove", x + 3, y + 7), ("click",) + click + (1,)):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=dict(os.environ, DISPLAY=t.wine.display),
                       check=True, timeout=30)


check(first_window(probe), "the main window appears")
peer.wait_line("LOGIN")
peer.send("WELCOME Вася\tuser\tТестовый чат\tДобро пожаловать",
          "ROOMLIST", "ROOM Главная\t6", "ROOM Флудилка\t12", "ROOMEND", "USERLIST Главная",
          "USER Вася\t#008000\t\tuser", "USER Иван\t#FF0000\tотошёл на обед\tadmin",
          "USER Петя\t#0000FF\tзанят\tmod", "USER Борис\t#800080\t\tguest",
          "USER Маша\t#C00060\tкушаю\tuser", "USER Катя\t#008080\tсплю\tuser", "USEREND",
          "TOPIC Обсуждаем новую версию клиента\tИван",
          "BANNER 7\thttp://127.0.0.1:%d/banner.png\thttp://shop.example/" % http.server_address[1],
          "MSG 12:00\tИван\t#FF0000\tВсем привет!", "MSG 12:01\tВася\t#008000\tПривет, Иван")
log = probe.poll(lambda: probe.call("richtext", "3001")[1], lambda t: "<Вася> Привет" in t, timeout=15)
people = probe.list(3002)["items"]
check(people[1:4] == ["@Иван  — отошёл на обед", "+Петя  — занят", "(x) Борис"],
      "the people with their marks: %r" % people)
check(probe.combo(3003)["sel"] == 0, "the current room is selected")

# The picture arrives and is painted (after a tick of the clock): look for
# its colour on the screen.
box = None
deadline = time.monotonic() + 30
while box is None and time.monotonic() < deadline:
    time.sleep(1.5)
    shot = t.screenshot("people_and_nicks.png")
    if os.path.exists(shot):
        width, height, rgb = pixels(shot)
        box = bounding_box(width, height, rgb, BANNER_MAGENTA)
check(box is not None, "the banner picture is on the screen")
if box:
    left, top, right, bottom = box
    check((right - left, bottom - top) == (472, 61), "it fills the 472 x 61 box unscaled: %r" % (box,))

    def at(x, y):
        return tuple(rgb[(y * width + x) * 3:(y * width + x) * 3 + 3])
    check(at(left - 1, top + 30) == WHITE and at(right, top + 30) == WHITE
          and at(left + 100, top - 1) == WHITE, "inside the white frame")
    strip = [c for c in probe.controls() if c["id"] == 3007][0]["rect"]
    client_left = left - ((strip[2] - strip[0]) - 472) // 2
    check(at(client_left + 9, top + 55) == (0xD5, 0xD5, 0xFF),
          "the promotional panel left of the box in the panel colour + 60")
log = probe.call("richtext", "3001")[1]
check("Баннер #" not in log, "no banner error line: %r" % log[-300:])

click_nick("Иван")
text = probe.poll(input_line, lambda t: t == "Иван, ")
check(text == "Иван, ", "a click on the nick addresses it: %r" % text)
click_nick("Иван", "--repeat", 2, "--delay", 60)
text = probe.poll(input_line, lambda t: t.startswith("/pm"))
check(text == "/pm Иван ", "a double-click starts a private message: %r" % text)
probe.out("set", "3004", "")
click_nick("Вася")
# Clicks are handled in order: once a click on another nick shows, the one
# on the own nick has been handled too.
click_nick("Иван")
text = probe.poll(input_line, lambda t: "Иван" in t)
check(text == "Иван, ", "a click on the own nick leaves the input line alone: %r" % text)
probe.out("close")
check(peer.wait_closed(30), "the client closes the connection")
http.shutdown()
t.finish()

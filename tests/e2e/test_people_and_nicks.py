"""End to end: the real client under wine64, logged in with "/auto" to a
scripted server, shows the people with their roles and statuses, the rooms
and the topic; real mouse clicks (xdotool on the Xvfb display) on a nick in
the log address it and a double-click starts a private message. A
screenshot of the populated window is left for a person to look at.
Usage: test_people_and_nicks.py BUILD_DIR CLIENT_EXE PROBE_EXE"""

import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "probe"))
from probe_driver import Probe, WineSession  # noqa: E402
from zbpeer import Peer  # noqa: E402


def fresh_dir(path):
    if os.path.exists(path):
        shutil.rmtree(path)
    os.makedirs(path)
    return path


build_dir, client_exe, probe_exe = sys.argv[1:4]
work = fresh_dir(os.path.join(build_dir, "e2e", "people_and_nicks"))
app_dir = fresh_dir(os.path.join(work, "app"))
exe = os.path.join(app_dir, "Zumbara.exe")
shutil.copy(client_exe, exe)
open(os.path.join(app_dir, "portable.txt"), "w").close()

failures = []


def check(cond, what):
    print(("ok    " if cond else "FAIL  ") + what)
    if not cond:
        failures.append(what)


peer = Peer()
with open(os.path.join(app_dir, "Zumbara.ini"), "wb") as ini:
    ini.write(("[Chat]\r\nServer=127.0.0.1\r\nPort=%d\r\nNick=Вася\r\nColor=#008000\r\n"
               "[Ignore]\r\nN0=Борис\r\n" % peer.port).encode("cp1251"))

wine = WineSession(os.path.join(build_dir, "e2e-prefix")).__enter__()
try:
    wine.start(exe, "/auto", cwd=app_dir)
    prober = Probe(wine, probe_exe)

    def probe(*args):
        rc, out, _ = prober.call(*args)
        return rc, out

    def input_text():
        return probe("text", "3004")[1]

    def mouse(*args):
        env = dict(os.environ, DISPLAY=wine.display)
        subprocess.run(["xdotool"] + [str(a) for a in args], env=env, check=True, timeout=30)

    check(probe("wait-window", "--timeout", "30000")[0] == 0, "the main window appears")
    peer.wait_line("LOGIN")
    peer.send("WELCOME Вася\tuser\tТестовый чат\tДобро пожаловать",
              "ROOMLIST", "ROOM Главная\t6", "ROOM Флудилка\t12", "ROOMEND",
              "USERLIST Главная",
              "USER Вася\t#008000\t\tuser",
              "USER Иван\t#FF0000\tотошёл на обед\tadmin",
              "USER Петя\t#0000FF\tзанят\tmod",
              "USER Борис\t#800080\t\tguest",
              "USER Маша\t#C00060\tкушаю\tuser",
              "USER Катя\t#008080\tсплю\tuser",
              "USEREND",
              "TOPIC Обсуждаем новую версию клиента\tИван",
              "MSG 12:00\tИван\t#FF0000\tВсем привет!",
              "MSG 12:01\tВася\t#008000\tПривет, Иван")
    log = prober.poll(lambda: probe("richtext", "3001")[1], lambda t: "<Вася> Привет" in t, timeout=15)
    people = prober.list(3002)
    check(people["items"] == ["Вася", "@Иван  — отошёл на обед", "+Петя  — занят", "(x) Борис",
                              "Маша  — кушаю", "Катя  — сплю"], "the people with marks: %r" % people["items"])
    rooms = prober.combo(3003)
    check(rooms["items"] == ["Главная (6)", "Флудилка (12)"] and rooms["sel"] == 0,
          "the rooms with head counts, the current one selected: %r" % rooms)
    check(probe("text", "3013")[1] == "Обсуждаем новую версию клиента", "the topic line holds the topic")
    time.sleep(1.5)  # a tick of the clock
    subprocess.run(["import", "-display", wine.display, "-window", "root",
                    os.path.join(build_dir, "e2e", "people_and_nicks.png")],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def nick_point(nick):
        """Screen point inside the nick's second letter in the log."""
        at = log.index("<%s>" % nick) + 2
        x, y = (int(v) for v in probe("charpos", "3001", str(at))[1].split())
        return x + 3, y + 7

    x, y = nick_point("Иван")
    mouse("mousemove", x, y)
    mouse("click", 1)
    text = prober.poll(input_text, lambda t: t == "Иван, ")
    check(text == "Иван, ", "a click on the nick addresses it: %r" % text)

    mouse("click", "--repeat", 2, "--delay", 60, 1)
    text = prober.poll(input_text, lambda t: t.startswith("/pm"))
    check(text == "/pm Иван ", "a double-click starts a private message: %r" % text)

    probe("set", "3004", "")
    x, y = nick_point("Вася")
    mouse("mousemove", x, y)
    mouse("click", 1)
    time.sleep(1)
    check(input_text() == "", "a click on the own nick leaves the input line alone")

    probe("close")
    peer.wait_closed(30)
finally:
    peer.close()
    wine.close()

print("%d failed" % len(failures))
sys.exit(1 if failures else 0)

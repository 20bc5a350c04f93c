"""End to end: the real client, logged in with "/auto" to a scripted server,
shows people with roles and statuses, rooms and a topic; real mouse clicks
(xdotool on the Xvfb display) on a nick in the log address it, a
double-click starts a private message, a click on the own nick does nothing.
Leaves build/e2e/people_and_nicks.png for a person to look at.
Usage: test_people_and_nicks.py BUILD_DIR CLIENT_EXE PROBE_EXE"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import Run  # noqa: E402

t = Run("people_and_nicks")
check, peer = t.check, t.peer
t.settings({("Ignore", "N0"): "Борис"}, Nick="Вася", Color="#008000")
probe = t.start("/auto")


def input_line():
    return probe.call("text", "3004")[1]


def click_nick(nick, *click):
    """Moves the pointer into the nick's second letter in the log and clicks."""
    x, y = (int(v) for v in probe.out("charpos", "3001", str(log.index("<%s>" % nick) + 2)).split())
    for args in (("mousemove", x + 3, y + 7), ("click",) + click + (1,)):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=dict(os.environ, DISPLAY=t.wine.display),
                       check=True, timeout=30)


probe.out("wait-window", "--timeout", "30000")
peer.wait_line("LOGIN")
peer.send("WELCOME Вася\tuser\tТестовый чат\tДобро пожаловать",
          "ROOMLIST", "ROOM Главная\t6", "ROOM Флудилка\t12", "ROOMEND", "USERLIST Главная",
          "USER Вася\t#008000\t\tuser", "USER Иван\t#FF0000\tотошёл на обед\tadmin",
          "USER Петя\t#0000FF\tзанят\tmod", "USER Борис\t#800080\t\tguest",
          "USER Маша\t#C00060\tкушаю\tuser", "USER Катя\t#008080\tсплю\tuser", "USEREND",
          "TOPIC Обсуждаем новую версию клиента\tИван",
          "MSG 12:00\tИван\t#FF0000\tВсем привет!", "MSG 12:01\tВася\t#008000\tПривет, Иван")
log = probe.poll(lambda: probe.call("richtext", "3001")[1], lambda t: "<Вася> Привет" in t, timeout=15)
people = probe.list(3002)["items"]
check(people[1:4] == ["@Иван  — отошёл на обед", "+Петя  — занят", "(x) Борис"],
      "the people with their marks: %r" % people)
check(probe.combo(3003)["sel"] == 0, "the current room is selected")
time.sleep(1.5)  # a tick of the clock
t.screenshot("people_and_nicks.png")

click_nick("Иван")
text = probe.poll(input_line, lambda t: t == "Иван, ")
check(text == "Иван, ", "a click on the nick addresses it: %r" % text)
click_nick("Иван", "--repeat", 2, "--delay", 60)
text = probe.poll(input_line, lambda t: t.startswith("/pm"))
check(text == "/pm Иван ", "a double-click starts a private message: %r" % text)
probe.out("set", "3004", "")
click_nick("Вася")
time.sleep(1)
check(input_line() == "", "a click on the own nick leaves the input line alone")
probe.out("close")
peer.wait_closed(30)
t.finish()

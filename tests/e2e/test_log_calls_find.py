"""End to end: the real client, logged in with "/auto" to a scripted server,
shows links and a mention in its log; a private message and a mention that
arrive while another program (Wine's notepad) is in front put "(2) " before
the title, and coming back to the client clears it; the find window
(Ctrl+F's command 2044) finds a Cyrillic word whatever its letter case, the
newest first. Leaves build/e2e/log_links_mention.png and log_find.png for a
person to look at.
Usage: test_log_calls_find.py BUILD_DIR CLIENT_EXE PROBE_EXE"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import Run, first_window  # noqa: E402

TITLE = "Тестовый чат — Zumbara"

t = Run("log_calls_find")
check, peer = t.check, t.peer
t.settings(Nick="Вася", Sound="1")
probe = t.start("/auto", "/nosplash")
check(first_window(probe), "the main window appears")
peer.wait_line("LOGIN")
peer.send("WELCOME Вася\tuser\tТестовый чат\tДобро пожаловать, всё на www.zumbara.example",
          "USERLIST Главная", "USER Вася\t#008000\t\tuser", "USER Петя\t#FF0000\t\tuser", "USEREND",
          "MSG 12:00\tПетя\t#FF0000\tПРИВЕТ всем, новости на https://news.example/today.",
          "MSG 12:01\tПетя\t#FF0000\tВася, глянь (www.shop.example/скидки) — там привет от меня",
          "SYS 12:02\tСервер перезапустится в 13:00, подробности: http://status.example")


def log():
    return probe.call("richtext", "3001")[1]


probe.poll(log, lambda text: "http://status.example" in text, timeout=20)
check(probe.out("title") == TITLE, "the title before any call: %r" % probe.out("title"))
t.screenshot("log_links_mention.png")

# Another program in front: a private message and a mention are counted.
notepad = t.wine.start("notepad")


def notepad_up():
    """Notepad's window is shown, under its Russian or its English title."""
    return any(probe.call("wait-window", "--title", title, "--contains", "--timeout", "300")[0] == 0
               for title in ("Блокнот", "Notepad"))


check(probe.poll(notepad_up, bool, timeout=30), "notepad opened")
peer.send("PM 12:05\tПетя\t\tты тут?", "MSG 12:06\tПетя\t#FF0000\tвася, ответь", "MSG 12:07\tПетя\t#FF0000\tВасилий?")
rc = probe.call("wait-title", "(2) " + TITLE, "--timeout", "20000")[0]
check(rc == 0, "a private message and a mention in the background: %r" % probe.out("title"))

# Back in front: the count goes.
check(probe.call("activate")[0] == 0, "the client comes back to the foreground")
rc = probe.call("wait-title", TITLE, "--timeout", "10000")[0]
check(rc == 0, "coming back clears the count: %r" % probe.out("title"))
notepad.terminate()

# The find window: a lower-case search finds "ПРИВЕТ" and "привет", newest first.
probe.out("command", "2044")
check(probe.call("wait-window", "--class", "#32770", "--title", "Поиск в логе", "--timeout", "10000")[0] == 0,
      "Ctrl+F's command opens the find window")
title, controls = probe.dialog("--dialog")
choices = {c["text"]: c["check"] for c in controls if c["check"] is not None}
check(title == "Поиск в логе" and choices == {"Учитывать регистр": 0, "Вверх": 1, "Вниз": 0},
      "the find window's choices: %r %r" % (title, choices))
probe.out("--dialog", "set", "1001", "привет")
text = log()
found = []
for _ in range(2):
    probe.out("--dialog", "click", "1", "--sync")
    start, end = (int(v) for v in probe.out("selection", "3001").split())
    found.append((start, text[start:end]))
t.screenshot("log_find.png")
check([word for _, word in found] == ["привет", "ПРИВЕТ"], "found upwards, either case: %r" % found)
check(found[0][0] == text.rindex("привет") and found[1][0] == text.index("ПРИВЕТ"),
      "the newest match first, then the one before: %r" % found)
probe.out("--dialog", "click", "1003", "--sync")  # "Вниз"
probe.out("--dialog", "set", "1001", "всем")
probe.out("--dialog", "click", "1", "--sync")
start, end = (int(v) for v in probe.out("selection", "3001").split())
check((start, text[start:end]) == (text.index("всем"), "всем"), "downwards: %r" % text[start:end])
probe.out("--dialog", "click", "2", "--sync")
check(probe.call("wait-gone", "--class", "#32770", "--title", "Поиск в логе", "--timeout", "10000")[0] == 0,
      "Закрыть closes the find window")
t.finish()

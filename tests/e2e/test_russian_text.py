"""End to end: Russian text in every kind of window of the real client, in a
given Unix locale: ru_RU.UTF-8 (ANSI code page 1251) or en_US.UTF-8 (1252,
a Western Windows, where the ANSI window functions would turn it into "?").
The login dialog, the toolbar, the log, the people list, the status bar and
the title read back (as UTF-16) equal to their Russian texts; Russian typed
into the input line (characters through the message loop) and a click on a
Russian nick in the log reach the server whole; the settings file and the protocol log keep code page 1251. Leaves
build/e2e/russian_text_CP-login.png and -main.png to look at.
Usage: test_russian_text.py BUILD_DIR CLIENT_EXE PROBE_EXE LOCALE"""

import glob
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import Run, first_window, log_in_from_dialog  # noqa: E402

locale = sys.argv[4]
name = "russian_text_" + ("1251" if locale.startswith("ru_") else "1252")
# On the Western system the copy lives in a folder whose name that system's
# code page cannot spell, as under a Cyrillic user name there.
t = Run(name, "app" if locale.startswith("ru_") else "Программа ❤")
check, peer = t.check, t.peer
probe = t.start(locale=locale)


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], env=dict(os.environ, DISPLAY=t.wine.display),
                   check=True, timeout=30)


check(first_window(probe, "--class", "#32770"), "the login dialog appears")
title, controls = probe.dialog("--dialog")
texts = [c["text"] for c in controls]
check(title.startswith("Вход в чат — аккаунт портала "), "the login dialog's title: %r" % title)
check({"Сервер:", "Ваш ник:", "Пароль:", "Запомнить пароль", "Войти в чат »", "Тёмно-синий"} <= set(texts),
      "the login dialog's labels, buttons and colour: %r" % texts)
t.screenshot(name + "-login.png")
log_in_from_dialog(probe, peer.port, "Вася")

check(peer.wait_line("LOGIN").startswith("LOGIN Вася\t"), "the nick typed in the dialog goes out whole")
peer.send("WELCOME Вася\tuser\tТестовый чат\tДобро пожаловать",
          "USERLIST Главная", "USER Вася\t#000080\t\tuser", "USER Петя\t#FF0000\tзанят\tmod", "USEREND",
          "TOPIC Тема дня\tПетя", "MSG 12:00\tПетя\t#FF0000\tПривет, Вася!")
log = probe.poll(lambda: probe.call("richtext", "3001")[1], lambda text: "<Петя>" in text, timeout=15)
check("[12:00] <Петя> Привет, Вася!" in log, "the Russian chat line in the log: %r" % log[-60:])
labels = [b["text"] for b in probe.toolbar() if "separator" not in b["flags"]]
check(labels == ["Войти", "Выйти", "Регистрация", "Комната+", "Обновить", "Приват", "Игнор", "Очистить",
                 "Админка", "Сайт", "Справка"], "the toolbar labels: %r" % labels)
check("+Петя  — занят" in probe.list(3002)["items"], "the people list shows Петя")
parts = probe.status()
check(parts[1:3] == [" Комната: Главная", " Людей: 2"], "the status bar: %r" % parts)
check(probe.out("title") == "Тестовый чат — Zumbara", "the window title")
check(probe.out("text", "3021").startswith("Enter — послать."), "the hint line")

# Typed: the characters come through the message loop as WM_CHAR, posted by
# the probe (xdotool maps each Cyrillic letter to a spare key code as it
# types, and Wine loses some of them under load), then Enter.
probe.out("keys", "3004", "Всем привет, ёж", "--post")
probe.poll(lambda: probe.out("text", "3004"), lambda text: text == "Всем привет, ёж")
probe.out("enter", "3004")
sent = peer.wait_line("MSG ")
check(sent == "MSG Всем привет, ёж", "typed Russian goes out as UTF-8: %r" % sent)

x, y = (int(v) for v in probe.out("charpos", "3001", str(log.index("<Петя>") + 2)).split())
xdotool("mousemove", x + 3, y + 7, "click", 1)
typed = probe.poll(lambda: probe.out("text", "3004"), lambda text: text == "Петя, ")
check(typed == "Петя, ", "a click on the Russian nick in the log addresses it: %r" % typed)
t.screenshot(name + "-main.png")

probe.out("close")
check(peer.wait_closed(30), "the client closes the connection")
ini = open(t.ini, "rb").read()
check(b"Nick=" + "Вася".encode("cp1251") + b"\r\n" in ini, "Zumbara.ini keeps the nick in code page 1251")
plog = open(os.path.join(t.app_dir, "Zumbara-protocol.log"), "rb").read()
check(" S> MSG 12:00|Петя|#FF0000|Привет, Вася!\r\n".encode("cp1251") in plog
      and " C> MSG Всем привет, ёж\r\n".encode("cp1251") in plog, "the protocol log keeps code page 1251")
journals = glob.glob(os.path.join(t.app_dir, "Журналы", "Комнаты", "Главная", "*.txt"))
check(len(journals) == 1 and "Привет, Вася!" in open(journals[0], encoding="utf-8-sig").read(),
      "the room's journal beside the program: %r" % journals)
t.finish()

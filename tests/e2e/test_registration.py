"""End to end: the real client under wine64 registers a new portal account
against a scripted server, from the login dialog's "Регистрация" in a first
run and from the menu command in a second, and opens the about and
create-room dialogs. Screenshots of the splash and of every dialog go to
BUILD_DIR/e2e/registration/. Usage: test_registration.py BUILD_DIR CLIENT_EXE PROBE_EXE"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import Peer, Run, first_window  # noqa: E402

t = Run("registration")
check = t.check

TITLE_REG = "Регистрация на портале zumbara.example"
TITLE_WELCOME = "Добро пожаловать на портал zumbara.example!"
BOX_TEXT = "65535"  # the text control of a message box


def shot(name):
    t.screenshot(os.path.join("registration", name))


def ini_values():
    text = open(t.ini, "rb").read().decode("cp1251") if os.path.exists(t.ini) else ""
    return dict(re.findall(r"^(\w+)=(.*?)\r?$", text, re.M))


def fill_registration(p, login, password, repeated, question_index, answer):
    target = ["--window-title", TITLE_REG]
    p.out(*target, "set", "1003", login)
    p.out(*target, "set", "1004", password)
    p.out(*target, "set", "1009", repeated)
    p.out(*target, "select", "3025", str(question_index))
    p.out(*target, "set", "3026", answer)


def handshake_checks(peer, login, reg_line, what):
    login_line = peer.wait_line("LOGIN")
    lines = peer.lines()
    words = [l.split(" ", 1)[0] for l in lines]
    check(words[:3] == ["HELLO", "REG", "LOGIN"], what + ": HELLO, REG, LOGIN in that order: %r" % words)
    check(len(lines) >= 2 and lines[1] == reg_line, what + ": the REG line: %r" % (lines[1:2],))
    check(login_line.startswith("LOGIN %s\tsecret1\t#" % login), what + ": LOGIN with the new account: %r"
          % login_line)
    raw = peer.raw
    check(b"\r" not in raw and raw.endswith(b"\n") and b"\n\n" not in raw, what + ": single LF line ends")
    check(reg_line.encode("utf-8") + b"\n" in raw, what + ": the Cyrillic of REG as UTF-8")


# ---------------------------------------------------------------- first run
# "Регистрация" leaves the login dialog without reading its fields: the
# registration connects to the server already in the settings.
peer = t.peer
t.settings()
p = t.start()
# The splash lasts about a second: photographed when the probe sees it in
# time. Its frames are checked pixel by pixel in-process.
if p.call("wait-window", "--class", "ZumbaraSplash", "--timeout", "60000", timeout=90)[0] == 0:
    shot("splash.png")
check(first_window(p, "--class", "#32770"), "the login dialog appears")

p.out("--dialog", "click", "1008")
rc, _, _ = p.call("wait-window", "--title", TITLE_REG, "--timeout", "20000")
check(rc == 0, "Регистрация opens the registration dialog")
fill_registration(p, "novichok", "secret1", "secret1", 2, "Барсик")
shot("registration-filled.png")
p.out("--window-title", TITLE_REG, "click", "1")
handshake_checks(peer, "novichok", "REG novichok\tsecret1\tКличка первого питомца\tБарсик",
                 "from the login dialog")
ini = ini_values()
check(ini.get("Nick") == "novichok" and ini.get("Remember") == "1" and ini.get("Pass") == "secret1",
      "the settings file holds the new login, Remember=1: %r" % ini)

peer.send("OK REG\t")
rc, _, _ = p.call("wait-window", "--title", TITLE_WELCOME, "--timeout", "20000")
check(rc == 0, "OK REG shows the success box")
text = p.out("--window-title", TITLE_WELCOME, "text", BOX_TEXT)
check("Вы получили единый логин на zumbara.example: novichok" in text and
      "почтовый ящик novichok@zumbara.example" in text, "the success text names the login: %r" % text)
shot("registration-success.png")
p.out("--window-title", TITLE_WELCOME, "click", "1")
p.call("wait-gone", "--title", TITLE_WELCOME, "--timeout", "20000")
peer.send("WELCOME novichok\tuser\tТестовый чат\tПривет")
log = p.poll(lambda: p.out("richtext", "3001"), lambda text: "Вы вошли как novichok" in text, timeout=30)
check("Вы зарегистрированы на портале zumbara.example. Сейчас войдём в чат с новым логином..." in log,
      "the log announces the login that follows")

# About and create-room, from the menu.
p.out("command", "2040")
rc, _, _ = p.call("wait-window", "--title", "О программе", "--timeout", "20000")
check(rc == 0, "О программе... opens the about dialog")
shot("about.png")
p.out("--window-title", "О программе", "click", "1")
check(p.call("wait-gone", "--title", "О программе", "--timeout", "20000")[0] == 0, "OK closes it")

p.out("command", "2010")
rc, _, _ = p.call("wait-window", "--title", "Создать комнату", "--timeout", "20000")
check(rc == 0, "Создать комнату... opens the create-room dialog")
p.out("--window-title", "Создать комнату", "set", "1010", "  Новая комната  ")
p.out("--window-title", "Создать комнату", "set", "1011", "  для\tвсех")
shot("create-room.png")
p.out("--window-title", "Создать комнату", "click", "1")
create = peer.wait_line("CREATE")
check(create == "CREATE Новая комната\t  для всех", "the cleaned CREATE line: %r" % create)

p.out("close")
check(peer.wait_closed(30), "the client closes the connection")

# ---------------------------------------------------------------- second run
t.close()
peer = t.peer = Peer()
t.settings()
p = t.start("/nosplash")
check(first_window(p, "--class", "#32770"), "second run: the login dialog appears")
p.out("--dialog", "click", "2")
p.call("wait-gone", "--class", "#32770", "--timeout", "20000")

p.out("command", "2003")
rc, _, _ = p.call("wait-window", "--title", TITLE_REG, "--timeout", "20000")
check(rc == 0, "Регистрация на портале... opens the registration dialog")
fill_registration(p, "zanyat", "secret1", "secret1", 0, "Мастер")
p.out("--window-title", TITLE_REG, "click", "1")
handshake_checks(peer, "zanyat", "REG zanyat\tsecret1\tЛюбимая книга\tМастер", "from the menu command")

peer.send("ERR 409\tЛогин уже занят")
rc, _, _ = p.call("wait-window", "--title", "Регистрация не удалась", "--timeout", "20000")
check(rc == 0, "ERR while registering shows Регистрация не удалась")
text = p.out("--window-title", "Регистрация не удалась", "text", BOX_TEXT)
check(text == "Логин уже занят", "the box holds the server's text: %r" % text)
shot("registration-failed.png")
p.out("--window-title", "Регистрация не удалась", "click", "1")
check(peer.wait_closed(30), "the client disconnects after the failed registration")
status = p.poll(lambda: p.status(), lambda s: s[:1] == [" Не подключено.  F2 - подключиться"])
check(status[:1] == [" Не подключено.  F2 - подключиться"], "the status bar says disconnected: %r" % status)
p.out("close")
t.finish()

"""End to end: the real client under wine64 logs in from its dialog to a
scripted server, shows what the server says, sends what the user types and
leaves with one QUIT. Usage: test_login_chat.py BUILD_DIR CLIENT_EXE PROBE_EXE"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import Run, log_in_from_dialog  # noqa: E402


t = Run("login_chat")
check, peer, app_dir = t.check, t.peer, t.app_dir
try:
    prober = t.start()

    def probe(*args):
        rc, out, _ = prober.call(*args)
        return rc, out

    check(log_in_from_dialog(prober, peer.port, "Вася"), "the login dialog appears")

    hello = peer.wait_line("HELLO")
    login = peer.wait_line("LOGIN")
    check(hello == "HELLO Zumbara\t1.0", "HELLO first: %r" % hello)
    check(login.startswith("LOGIN Вася\t\t#"), "LOGIN with the Cyrillic nick as UTF-8: %r" % login)
    check(b"\r" not in peer.raw and peer.raw.endswith(b"\n"), "single LF line ends, no CR")
    check(peer.lines()[0].startswith("HELLO") and peer.lines()[1].startswith("LOGIN"), "HELLO then LOGIN")

    peer.send("WELCOME Вася\tuser\tТестовый чат\tДобро пожаловать",
              "USERLIST Главная",
              "USER Вася\t#000080\t\tuser",
              "USER Петя\t#FF0000\tзанят\tmod",
              "USEREND",
              "MSG 12:00\tПетя\t#FF0000\tПривет, Вася!")
    log = prober.poll(lambda: probe("richtext", "3001")[1], lambda text: "<Петя> Привет" in text, timeout=30)
    check("* * * Добро пожаловать * * *" in log, "the greeting line is in the log")
    check("Вы в комнате «Главная». Людей: 2" in log, "the room line is in the log")
    check("[12:00] <Петя> Привет, Вася!" in log, "the Cyrillic chat line is in the log")
    check("+Петя  — занят" in prober.list(3002)["items"], "the user list shows the people with marks")
    rc, title = probe("title")
    check("Тестовый чат — Zumbara" in title, "the title names the chat: %r" % title.strip())

    probe("set", "3004", "Всем привет")
    probe("enter", "3004")
    sent = peer.wait_line("MSG ")
    check(sent == "MSG Всем привет", "typed text goes out as MSG: %r" % sent)

    t.screenshot("login_chat.png")

    probe("close")
    check(peer.wait_closed(30), "the client closes the connection")
    quits = [l for l in peer.lines() if l.startswith("QUIT")]
    check(quits == ["QUIT"], "exactly one QUIT: %r" % quits)

    ini_path = os.path.join(app_dir, "Zumbara.ini")
    ini = open(ini_path, "rb").read().decode("cp1251") if os.path.exists(ini_path) else ""
    check("Nick=Вася" in ini and "Server=127.0.0.1" in ini and ("Port=%d" % peer.port) in ini,
          "Zumbara.ini beside the exe holds the login")
    log_path = os.path.join(app_dir, "Zumbara-protocol.log")
    plog = open(log_path, "rb").read().decode("cp1251") if os.path.exists(log_path) else ""
    check(" C> HELLO Zumbara|1.0\r\n" in plog and " S> MSG 12:00|Петя|#FF0000|Привет, Вася!\r\n" in plog
          and " C> QUIT\r\n" in plog, "the protocol log holds the lines of the run")
finally:
    t.close()

check.finish()

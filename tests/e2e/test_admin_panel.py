"""End to end: a global administrator opens the administration panel of the
real client from the menu command, changes the chat title and saves; the
scripted server receives exactly that one setting and confirms it, and the
panel's status line says so. Usage: test_admin_panel.py BUILD_DIR CLIENT_EXE PROBE_EXE"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import CFG_LINES, Run, log_in_from_dialog  # noqa: E402

BANNER_LINES = ["BANNERLIST", "BANNERITEM 1\thttp://127.0.0.1/a.gif\thttp://example.net/\t10\t1",
                "BANNERITEM 2\thttp://127.0.0.1/b.gif\t\t5\t0", "BANNEREND"]

t = Run("admin_panel")
check, peer = t.check, t.peer
HOUSEKEEPING = ("PING", "ROOMS", "USERS")


def sent_since(before):
    """What the client sent after the first `before` lines, keep-alive and
    list refresh left out."""
    return [l for l in peer.lines()[before:] if not l.startswith(HOUSEKEEPING)]


probe = t.start()
log_in_from_dialog(probe, peer.port, "Админ")
peer.wait_line("LOGIN")
peer.send("WELCOME Админ\tadmin\tТестовый чат\tпривет", "USERLIST Главная",
          "USER Админ\t#000080\t\tadmin", "USER Петя\t#FF0000\t\tuser", "USEREND",
          "TOPIC Тема дня\t", *CFG_LINES)
probe.out("wait-title", "Тестовый чат — Zumbara", "--timeout", "20000")

# Menu item 2030, as a click on it posts it.
before_panel = len(peer.lines())
probe.out("command", "2030")
probe.out("wait-window", "--class", "#32770", "--title", "Панель администратора", "--timeout", "20000")
peer.wait_line("BANNERS")
opened = len(peer.lines())

peer.send(*(CFG_LINES + BANNER_LINES))
probe.poll(lambda: probe.list(1114, "--dialog")["items"], lambda r: len(r) == 2)
check(probe.out("--dialog", "text", "1100") == "Тестовый чат", "the title field holds chat_title")

probe.out("--dialog", "set", "1100", "Новое название")
probe.out("--dialog", "click", "1113")
probe.out("--dialog", "wait-text", "1132", "Отправлено на сервер...")
peer.wait_line("SETCFG")
# Nothing else went out meanwhile: the panel asked for CFG and BANNERS once
# on opening, and saving sent the one setting that changed.
check(sent_since(before_panel) == ["CFG", "BANNERS"] + sent_since(opened),
      "the panel asks for CFG and BANNERS: %r" % sent_since(before_panel))
check(sent_since(opened) == ["SETCFG chat_title\tНовое название"],
      "exactly the changed setting is sent: %r" % sent_since(opened))

peer.send("OK SETCFG")
rc, _, _ = probe.call("--dialog", "wait-text", "1132", "Сохранено.")
check(rc == 0, "the status line reads Сохранено.")
t.screenshot("admin_panel.png")

probe.out("--dialog", "click", "2")
probe.out("wait-gone", "--class", "#32770", "--title", "Панель администратора")
probe.out("close")
check(peer.wait_closed(30), "the client closes the connection")
t.finish()

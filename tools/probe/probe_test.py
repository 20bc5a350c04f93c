#!/usr/bin/env python3
"""Runs every probe command against probe_target.exe under wine64.

    probe_test.py --probe probe.exe --target probe_target.exe [--prefix DIR]

The prefix defaults to $ZB_WINEPREFIX, else $ZB_BUILD_DIR/wineprefix; it is
made with tests/harness/wine-run --init-only when it is not ready.  The display
is $ZB_DISPLAY, else a private Xvfb.  The checks run in order against one
target process (each leaves it as it found it where it can); the last line is
"N passed, N failed"; the exit code is 1 when any check failed.
"""

import argparse
import os
import sys
import time
import traceback

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from probe_driver import Probe, WineSession  # noqa: E402

DIALOG = "#32770"


class Checks:
    def __init__(self, wine, probe, target_exe):
        self.wine = wine
        self.p = probe
        self.target_exe = target_exe
        self.target = None

    # ----------------------------------------------------------- helpers
    def event(self):
        """The target's last event line, "N: text"."""
        return self.p.out("text", 3013)

    def wait_event(self, text, timeout=10):
        """Waits until the last event's text is `text`; returns the whole line."""
        line = self.p.poll(self.event, lambda v: v.split(": ", 1)[-1] == text, timeout)
        assert line.split(": ", 1)[-1] == text, "event %r, expected %r" % (line, text)
        return line

    def rc(self, *args):
        return self.p.call(*args)[0]

    def open_login_dialog(self):
        self.p.out("click", 3005)
        lines = self.p.lines("wait-window", "--class", DIALOG, "--title", "Вход", "--timeout", 10000)
        assert lines[1] == "Вход", lines

    def no_dialog(self):
        self.p.out("wait-gone", "--class", DIALOG, "--timeout", 10000)

    # ----------------------------------------------------------- checks
    def check_wait_window(self):
        self.target = self.wine.start(self.target_exe)
        lines = self.p.lines("wait-window", "--timeout", 30000)
        assert len(lines) == 2, lines
        assert lines[0].startswith("0x") and int(lines[0], 16) != 0, lines
        assert lines[1] == "Zumbara", lines
        # Found by title, and by both.
        assert self.p.lines("wait-window", "--title", "Zumbara")[1] == "Zumbara"
        assert self.p.lines("wait-window", "--class", "ZumbaraMain", "--title", "Zum",
                            "--contains")[0] == lines[0]
        # The session's top-level windows name it with its process.
        mine = [w for w in self.p.windows() if w["hwnd"] == lines[0]]
        assert len(mine) == 1 and mine[0]["class"] == "ZumbaraMain" and mine[0]["visible"], mine
        assert mine[0]["title"] == "Zumbara" and mine[0]["pid"] > 0, mine

    def check_wait_window_timeout(self):
        t0 = time.monotonic()
        rc = self.rc("wait-window", "--class", "NoSuchClass", "--timeout", 500)
        elapsed = time.monotonic() - t0
        assert rc == 2, rc
        assert elapsed >= 0.5, elapsed
        # wait-gone on a window that stays: not gone, exit 3.
        assert self.rc("wait-gone", "--class", "ZumbaraMain", "--timeout", 300) == 3

    def check_title(self):
        assert self.p.out("title") == "Zumbara"
        assert self.p.out("--window-title", "Zumbara", "title") == "Zumbara"
        assert self.rc("--window-title", "Нет такого окна", "title") == 2
        hwnd = self.p.lines("wait-window")[0]
        assert self.p.out("--hwnd", hwnd, "title") == "Zumbara"
        assert self.p.out("wait-title", "Zumb", "--contains") == "Zumbara"

    def check_usage_errors(self):
        assert self.rc() == 1
        assert self.rc("no-such-command") == 1
        assert self.rc("text") == 1
        assert self.rc("text", "abc") == 1
        assert self.rc("text", 3004, "extra") == 1
        assert self.rc("title", "--no-such-option") == 1
        assert self.rc("check", 3006, 5) == 1
        assert self.rc("--help") == 0

    def check_not_found(self):
        assert self.rc("text", 9999) == 2
        assert self.rc("list", 9999) == 2
        assert self.rc("--dialog", "dialog") == 2
        assert self.rc("--dialog", "title") == 2

    def check_richtext(self):
        want = "Первая строка\nВторая строка"
        assert self.p.out("richtext", 3001) == want
        assert self.p.out("richtext", 3001, "--range") == want
        assert self.p.out("text", 3001) == want

    def check_list(self):
        r = self.p.list(3002)
        assert r == {"count": 3, "sel": 1, "items": ["Алиса", "Борис", "Вера"]}, r

    def check_combo(self):
        r = self.p.combo(3003)
        assert r == {"count": 3, "sel": 0, "edit": "#общий",
                     "items": ["#общий", "#флуд", "#помощь"]}, r

    def check_status(self):
        parts = self.p.status()
        assert parts == ["Подключено", "Комната: #общий", "3 польз."], parts
        assert self.p.status() == self.p._keyed(["status", "3008"])["items"]

    def check_toolbar(self):
        t = self.p.toolbar()
        assert [(b["id"], b["flags"], b["text"]) for b in t] == [
            (101, set(), "Войти"), (0, {"separator"}, ""), (102, {"disabled"}, "Выйти")], t

    def check_menu(self):
        got = [(m["path"], m["id"], m["flags"], m["text"]) for m in self.p.menu()]
        want = [
            ("0", None, {"popup"}, "&Файл"),
            ("0/0", 101, set(), "&Подключиться\tCtrl+O"),
            ("0/1", 102, {"grayed"}, "&Отключиться"),
            ("0/2", 103, set(), "Много строк"),
            ("0/3", 105, set(), "Длинное имя"),
            ("0/4", 0, {"separator"}, ""),
            ("0/5", 104, set(), "В&ыход"),
            ("1", None, {"popup"}, "&Вид"),
            ("1/0", 201, {"checked"}, "Список пользователей"),
            ("1/1", None, {"popup"}, "Тема"),
            ("1/1/0", 211, {"radio", "checked"}, "Светлая"),
            ("1/1/1", 212, set(), "Тёмная"),
            ("2", 301, set(), "&Справка"),
        ]
        assert got == want, "\n".join(map(repr, got))
        # The raw line keeps the tab escaped: one record stays one line of 4 fields.
        raw = self.p.lines("menu")[1]
        assert raw == "0/0\t101\t-\t&Подключиться\\tCtrl+O", repr(raw)

    def check_controls(self):
        recs = {r["id"]: r for r in self.p.controls()}
        classes = {i: recs[i]["class"] for i in recs}
        assert classes == {3015: "ToolbarWindow32", 3001: "RichEdit20A", 3002: "ListBox",
                           3003: "ComboBox", 3004: "Edit", 3005: "Button", 3006: "Button",
                           3007: "Button", 3009: "Static", 3010: "Button", 3013: "Static",
                           3008: "msctls_statusbar32"}, classes
        assert recs[3004]["rect"] == (10, 250, 310, 272), recs[3004]
        assert recs[3002]["rect"][:3] == (420, 40, 580), recs[3002]  # height: whole items
        assert recs[3009]["visible"] is False and recs[3009]["text"] == "скрыто"
        assert recs[3007]["enabled"] is False and recs[3005]["enabled"] is True
        assert recs[3006]["check"] == 0 and recs[3005]["check"] is None
        assert recs[3005]["text"] == "Вход..."
        assert recs[3002]["text"] == "Борис"  # the selected item
        assert recs[3003]["text"] == "#общий"
        assert recs[3001]["text"].replace("\r", "") == "Первая строка\nВторая строка"
        bar = recs[3008]["rect"]
        assert bar[0] == 0 and bar[3] > bar[1], bar

    def check_set_text(self):
        for text in ["Привет, мир — ёЁ №", "", "plain ASCII", "Щ" * 300]:
            self.p.out("set", 3004, text)
            assert self.p.out("text", 3004) == text, text
        # The text goes as UTF-16; an edit made by an ANSI call (as the target
        # makes it) gets it in the ANSI code page, with '?' for what 1251 lacks.
        self.p.out("set", 3004, "日本")
        assert self.p.out("text", 3004) == "??"
        self.p.out("set", 3004, "")

    def check_keys(self):
        self.p.out("set", 3004, "abc")
        self.p.out("keys", 3004, "деф")
        assert self.p.out("text", 3004) == "abcдеф"
        # After WM_SETTEXT the edit's caret is at the start; --at-caret types there.
        self.p.out("set", 3004, "abc")
        self.p.out("keys", 3004, "Я", "--at-caret")
        assert self.p.out("text", 3004) == "Яabc"
        self.p.out("keys", 3004, "ё", "--post")
        assert self.p.poll(lambda: self.p.out("text", 3004), lambda v: v == "Яabcё") == "Яabcё"
        self.p.out("set", 3004, "")

    def check_enter(self):
        self.p.out("set", 3004, "строка ввода")
        self.p.out("enter", 3004)
        assert self.p.out("wait-title", "entered: строка ввода") == "entered: строка ввода"
        # The edit had the focus when the key arrived.
        self.wait_event("enter focus=1")
        assert self.p.out("--window-title", "entered: строка ввода", "text", 3004) == "строка ввода"
        assert self.rc("wait-title", "Zumbara", "--timeout", 200) == 2
        self.p.out("set", 3004, "")

    def check_select_list(self):
        self.p.out("select", 3002, 2)
        r = self.p.list(3002)
        assert r["sel"] == 2, r
        # The parent got LBN_SELCHANGE, with the new selection already made.
        self.wait_event("list 2 Вера")
        self.p.out("select", 3002, 0)
        self.wait_event("list 0 Алиса")
        assert self.rc("select", 3002, 3) == 2
        assert self.p.list(3002)["sel"] == 0
        assert self.rc("select", 3004, 0) == 3  # an edit: not a list
        self.p.out("select", 3002, 1)

    def check_select_combo(self):
        self.p.out("select", 3003, 1)
        r = self.p.combo(3003)
        assert r["sel"] == 1 and r["edit"] == "#флуд", r
        self.wait_event("combo 1 #флуд")
        self.p.out("select", 3003, 0)
        self.wait_event("combo 0 #общий")

    def check_check(self):
        assert self.p.out("check", 3006, 1) == "1"
        line = self.wait_event("check 1")
        # Already checked: no click, no notification.
        assert self.p.out("check", 3006, 1) == "1"
        assert self.event() == line
        assert self.p.out("check", 3006, 0) == "0"
        self.wait_event("check 0")
        assert self.rc("check", 3005, 1) == 3  # a push button has no check state

    def check_click_refused(self):
        before = self.event()
        assert self.rc("click", 3007) == 3  # disabled
        assert self.rc("click", 3009) == 3  # hidden
        assert self.rc("click", 3007, "--sync") == 3
        # Refused before anything was sent: nothing can have happened.
        assert self.event() == before

    def check_command(self):
        self.p.out("command", 101)
        self.wait_event("command 101")
        self.p.out("command", 301, "--sync")
        assert self.event().endswith(": command 301")

    def check_long_list_item(self):
        self.p.out("command", 105)
        r = self.p.poll(lambda: self.p.list(3002), lambda v: v["count"] == 4)
        assert r["count"] == 4 and r["items"][3] == "Ж" * 700, (r["count"], len(r["items"][-1]))

    def check_large_log(self):
        self.p.out("command", 103)
        self.wait_event("command 103")
        text = self.p.out("richtext", 3001)
        lines = text.split("\n")
        assert len(lines) == 4002, len(lines)
        assert lines[:3] == ["Первая строка", "Вторая строка", "строка 0001"], lines[:3]
        assert lines[-1] == "строка 4000", lines[-1]
        assert self.p.out("richtext", 3001, "--range") == text

    def check_dialog(self):
        main_title = self.p.out("title")
        self.open_login_dialog()
        title, recs = self.p.dialog()
        assert title == "Вход", title
        by_id = {r["id"]: r for r in recs}
        assert by_id[1001]["class"] == "Edit" and by_id[1001]["text"] == "гость", by_id[1001]
        assert by_id[1002]["check"] == 0 and by_id[1002]["text"] == "Запомнить"
        assert by_id[1003]["class"] == "ComboBox" and by_id[1003]["text"] == "Сервер два"
        assert by_id[1]["text"] == "ОК" and by_id[2]["text"] == "Отмена"
        assert any(r["text"] == "Имя:" and r["class"] == "Static" for r in recs)
        # The main window answers while its modal loop runs.
        assert self.p.out("title") == main_title
        assert self.p.list(3002)["count"] == 4
        assert self.p.out("--dialog", "title") == "Вход"
        assert self.p.out("--dialog", "text", 1001) == "гость"

        self.p.out("--dialog", "set", 1001, "Пётр Ильич")
        assert self.p.out("--dialog", "check", 1002, 1) == "1"
        self.p.out("--dialog", "select", 1003, 0)
        r = self.p.combo(1003, "--dialog")
        assert r["sel"] == 0 and r["items"] == ["Сервер один", "Сервер два"], r
        title, recs = self.p.dialog()
        by_id = {r["id"]: r for r in recs}
        assert by_id[1001]["text"] == "Пётр Ильич" and by_id[1002]["check"] == 1
        assert by_id[1003]["text"] == "Сервер один"
        self.p.out("--dialog", "click", 1)
        self.no_dialog()
        self.wait_event("dialog ok Пётр Ильич 1 Сервер один")

    def check_dialog_over_dialog(self):
        # A message box owned by the dialog: --dialog takes the enabled one on top.
        self.open_login_dialog()
        self.p.out("--dialog", "click", 1004)
        self.p.out("wait-window", "--class", DIALOG, "--title", "Справка")
        assert self.p.poll(lambda: self.p.out("--dialog", "title"), lambda v: v == "Справка") == "Справка"
        title, recs = self.p.dialog()
        assert title == "Справка" and any(r["text"] == "Справка по входу" for r in recs), recs
        assert self.rc("--dialog", "click", 1001) == 2  # the login dialog's edit is not in it
        self.p.out("--dialog", "click", 1)
        self.p.out("wait-gone", "--class", DIALOG, "--title", "Справка")
        assert self.p.out("--dialog", "title") == "Вход"
        # WM_CLOSE on a dialog: IDCANCEL.
        self.p.out("--dialog", "close")
        self.no_dialog()
        self.wait_event("dialog cancel")

    def check_click_sync(self):
        # BM_CLICK that opens a modal dialog: --sync waits until it closes,
        # so it runs into the time limit (exit 3) while the dialog is up.
        t0 = time.monotonic()
        assert self.rc("click", 3005, "--sync", "--timeout", 1000) == 3
        assert time.monotonic() - t0 >= 1.0
        self.p.out("wait-window", "--class", DIALOG, "--title", "Вход")
        self.p.out("--dialog", "click", 2)
        self.no_dialog()
        self.wait_event("dialog cancel")

    def check_message_box(self):
        self.p.out("click", 3010)
        lines = self.p.lines("wait-window", "--class", DIALOG, "--title", "Внимание")
        assert lines[1] == "Внимание"
        title, recs = self.p.dialog()
        assert title == "Внимание"
        assert any(r["text"] == "Текст сообщения" for r in recs), recs
        assert {1, 2} <= {r["id"] for r in recs if r["class"] == "Button"}
        self.p.out("--dialog", "click", 2)
        self.no_dialog()
        self.wait_event("msgbox 2")
        # The same through WM_COMMAND to the box, as its default button would.
        self.p.out("click", 3010, "--command")
        self.p.out("wait-window", "--class", DIALOG, "--title", "Внимание")
        self.p.out("--dialog", "click", 1, "--command")
        self.no_dialog()
        self.wait_event("msgbox 1")

    def check_close(self):
        self.p.out("close")
        self.target.wait(timeout=20)
        assert self.target.returncode == 0, self.target.returncode
        self.p.out("wait-gone", "--timeout", 5000)
        assert self.rc("title") == 2
        assert self.rc("text", 3004) == 2
        assert self.rc("close") == 2
        assert self.rc("dialog") == 2

    ORDER = [
        "wait_window", "wait_window_timeout", "title", "usage_errors", "not_found", "richtext",
        "list", "combo", "status", "toolbar", "menu", "controls", "set_text", "keys", "enter",
        "select_list", "select_combo", "check", "click_refused", "command", "long_list_item",
        "large_log", "dialog", "dialog_over_dialog", "click_sync", "message_box", "close",
    ]


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--probe", required=True)
    ap.add_argument("--target", required=True)
    ap.add_argument("--prefix")
    args = ap.parse_args()
    prefix = args.prefix or os.environ.get("ZB_WINEPREFIX")
    if not prefix:
        build = os.environ.get("ZB_BUILD_DIR")
        if not build:
            ap.error("no prefix: give --prefix, ZB_WINEPREFIX or ZB_BUILD_DIR")
        prefix = os.path.join(build, "wineprefix")

    passed = failed = 0
    with WineSession(prefix) as wine:
        checks = Checks(wine, Probe(wine, os.path.abspath(args.probe)), os.path.abspath(args.target))
        for name in Checks.ORDER:
            t0 = time.monotonic()
            try:
                getattr(checks, "check_" + name)()
            except Exception:
                failed += 1
                print("FAIL %s (%.1f s)" % (name, time.monotonic() - t0))
                traceback.print_exc(file=sys.stdout)
                # A dialog left open would make later checks fail too.
                for _ in range(3):
                    if checks.rc("--dialog", "close") != 0:
                        break
                    checks.rc("wait-gone", "--class", DIALOG, "--timeout", 3000)
            else:
                passed += 1
                print("ok   %s (%.1f s)" % (name, time.monotonic() - t0))
            sys.stdout.flush()
            if name == "wait_window" and failed:
                break  # no target window: nothing else can pass
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

"""End to end: conversation journals. The real client, logged in with "/auto"
to a scripted server, writes a room's messages, system lines and a private
message each way into daily UTF-8 files under "Журналы" beside its portable
settings; a second run appends (one byte-order mark, a second header); a
file named "Журналы" where the folder should be gives one error line and the
chat goes on. Usage: test_journals.py BUILD_DIR CLIENT_EXE PROBE_EXE"""

import glob
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import Peer, Run, first_window  # noqa: E402

BOM = b"\xef\xbb\xbf"
TIME = r"\[\d\d:\d\d:\d\d\] "

t = Run("journals")
check = t.check
journals = os.path.join(t.app_dir, "Журналы")


def run_client(*lines):
    """A fresh peer and client; logs in, sends lines, returns the probe once
    the last one is in the log."""
    t.peer = Peer()
    t.settings(Nick="Вася")
    probe = t.start("/auto", "/nosplash")
    check(first_window(probe), "the main window appears")
    t.peer.wait_line("LOGIN")
    t.peer.send("WELCOME Вася\tuser\tТестовый чат\tДобро пожаловать", "USERLIST Главная",
                "USER Вася\t#008000\t\tuser", "USER Петя\t#FF0000\t\tuser", "USEREND", *lines)
    probe.poll(lambda: probe.call("richtext", "3001")[1], lambda text: "конец" in text, timeout=30)
    return probe


def stop_client(probe):
    probe.call("close")
    check(t.peer.wait_closed(30), "the client closes")
    t.close()


def one_file(*parts):
    files = glob.glob(os.path.join(journals, *parts, "*.txt"))
    check(len(files) == 1 and re.fullmatch(r"\d{4}-\d\d-\d\d\.txt", os.path.basename(files[0])),
          "one day file in %s: %r" % ("/".join(parts), files))
    return open(files[0], "rb").read() if files else b""


def lines_of(data):
    body = data[len(BOM):] if data.startswith(BOM) else data
    return body.decode("utf-8").split("\r\n")


try:
    # ---- First run: the lines of a room and of a private conversation --
    probe = run_client("MSG 12:00\tПетя\t#FF0000\tПривет, Вася!",
                       "SYS 12:01\tСервер перезапустится в полночь",
                       "TOPIC Новый топик\tПетя",
                       "NOTICE Важное объявление",
                       "PM 12:02\tПетя\t#FF0000\tЕсть минутка?",
                       "PMSENT 12:03\tПетя\tДа, конечно",
                       "MSG 12:04\tПетя\t#FF0000\tконец")
    menu = [m["text"] for m in probe.menu() if m["path"].startswith("2/")]  # "&Сервис"
    at = menu.index("Снять &игнор со всех") if "Снять &игнор со всех" in menu else -1
    check(menu[at - 2:at] == ["&Журналы разговоров", "Открыть пап&ку журналов"],
          "the two items right before the unignore item: %r" % menu)
    check("checked" in [m for m in probe.menu() if m["id"] == 2047][0]["flags"], "the journal item is checked")

    # Written at the end of the receive pass, while the client runs.
    room = one_file("Комнаты", "Главная")
    check(room.startswith(BOM) and room.count(BOM) == 1, "the room file begins with one byte-order mark")
    want = [r"—— \d{4}-\d\d-\d\d \d\d:\d\d:\d\d, Главная, сервер 127\.0\.0\.1:%d, ник Вася ——" % t.peer.port,
            TIME + r"\* Вы в комнате «Главная»\. Людей: 2",
            TIME + r"<Петя> Привет, Вася!",
            TIME + r"\* Сервер перезапустится в полночь",
            TIME + r"\* Топик изменил Петя: Новый топик",
            TIME + r"ОБЪЯВЛЕНИЕ: Важное объявление",
            TIME + r"<Петя> конец",
            r""]
    got = lines_of(room)
    check(len(got) == len(want) and all(re.fullmatch(w, g) for w, g in zip(want, got)),
          "the room's lines, CR LF ended: %r" % got)
    private = one_file("Приват", "Петя")
    got = lines_of(private)
    check(private.startswith(BOM) and len(got) == 4 and "приват с Петя, сервер" in got[0]
          and re.fullmatch(TIME + r"\[приват от Петя\] Есть минутка\?", got[1])
          and re.fullmatch(TIME + r"\[приват для Петя\] Да, конечно", got[2]) and got[3] == "",
          "the private conversation's lines: %r" % got)
    stop_client(probe)

    # ---- Second run: the same files grow, with a header of their own ----
    probe = run_client("MSG 13:00\tПетя\t#FF0000\tснова конец")
    stop_client(probe)
    room = one_file("Комнаты", "Главная")
    got = lines_of(room)
    check(room.count(BOM) == 1 and sum(l.startswith("—— ") for l in got) == 2
          and re.fullmatch(TIME + "<Петя> снова конец", got[-2]),
          "the second run appends: one mark, two headers: %r" % got[-4:])

    # ---- A file where the folder should be -------------------------------
    os.rename(journals, journals + ".old")
    open(journals, "wb").close()
    probe = run_client("MSG 14:00\tПетя\t#FF0000\tпервое", "MSG 14:01\tПетя\t#FF0000\tвторое",
                       "PM 14:02\tПетя\t#FF0000\tконец")
    text = probe.call("richtext", "3001")[1]
    errors = [l for l in text.split("\n") if "Журнал не записывается" in l]
    check(len(errors) == 1 and re.search(r"!! Журнал не записывается: .*\\Журналы\\Комнаты\\Главная\\"
                                         r"\d{4}-\d\d-\d\d\.txt\. Журналы выключены до перезапуска\.",
                                         errors[0]), "one error line naming the file: %r" % errors)
    check("<Петя> второе" in text and "[приват от Петя] конец" in text, "the chat goes on in the log")
    probe.out("set", "3004", "всё ещё здесь")
    probe.out("enter", "3004")
    check(t.peer.wait_line("MSG ") == "MSG всё ещё здесь", "and the client still sends")
    check(os.path.getsize(journals) == 0, "the file in the way is left as it was")
    stop_client(probe)
finally:
    t.close()

check.finish()

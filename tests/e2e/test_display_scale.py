"""End to end: the real client on a display set to DPI (144 by default, 150 %)
in a Wine prefix of its own, on a large virtual screen. The main window, its
log, user list and input line come out DPI / 96 times their size at 96 DPI,
and so do the log's line pitch and the login dialog; the logged-in main
window is photographed to BUILD_DIR/e2e/display_scale_DPI/main_window.png.
Usage: test_display_scale.py BUILD_DIR CLIENT_EXE PROBE_EXE [DPI]

Wine 8 reads the display's DPI from the registry (LogPixels) when its server
starts, and a server stopped with "wineserver -k" keeps no registry write:
the value is written, the server is left to end by itself ("wineserver -w"),
and only then is the client started."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import Probe, Run, WineSession, first_window, log_in_from_dialog  # noqa: E402

DPI = int(sys.argv[4]) if len(sys.argv) > 4 else 144
SCALE = DPI / 96.0

# Sizes at 96 DPI under Wine 8 with the harness's prefix, from a run of this
# script with DPI 96: the main window's outer size is the program's own
# 880 x 620; the log, user list and input line follow from its layout; the
# log's lines are 14 pixels apart; the login dialog's owner-drawn header is
# its 240 x 40 dialog units in Tahoma 8.
AT_96 = {
    "main window": (880, 620),
    "log": (652, 310),
    "user list": (211, 182),
    "input line": (540, 22),
    "login header": (420, 65),
}
LINE_PITCH_96 = 14


def set_display_dpi(wine, dpi):
    """LogPixels for the next wine server of the prefix."""
    for key in (r"HKCU\Control Panel\Desktop", r"HKCU\Software\Wine\Fonts"):
        rc, _, err = wine.run("reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
        if rc != 0:
            raise RuntimeError("reg add %s: %s" % (key, err))
    # The server writes the registry out when it ends, a few seconds after
    # its last program.
    subprocess.run([wine.wineserver, "-w"], env=wine.env(), timeout=120)


def size_of(rect):
    return rect[2] - rect[0], rect[3] - rect[1]


t = Run("display_scale_%d" % DPI)
check = t.check
try:
    t.settings()
    t.wine = WineSession(os.path.join(t.build_dir, "e2e-dpi-prefix"), screen="2560x1920x24").__enter__()
    set_display_dpi(t.wine, DPI)
    t.wine.start(t.exe, cwd=t.app_dir)
    p = t.probe = Probe(t.wine, t.probe_exe)

    def ratio_check(name, size):
        want = AT_96[name]
        ratios = (size[0] / want[0], size[1] / want[1])
        check(all(abs(r - SCALE) <= 0.1 for r in ratios),
              "%s: %d x %d, %.2f and %.2f times its size at 96 DPI (want %.2f)"
              % (name, size[0], size[1], ratios[0], ratios[1], SCALE))

    appeared = first_window(p, "--class", "#32770")
    check(appeared, "the login dialog appears")
    time.sleep(0.5)
    _, dialog = p.dialog("--dialog")
    header = [c for c in dialog if c["id"] == 3023]
    check(len(header) == 1, "the login dialog has its header")
    if header:
        ratio_check("login header", size_of(header[0]["rect"]))

    # The log's line pitch: the first character of the first two lines,
    # which are short enough not to wrap. A paragraph ends in one character.
    log = p.out("richtext", "3001")
    first = log.split("\n")[0]
    y0 = int(p.out("charpos", "3001", "0").split()[1])
    y1 = int(p.out("charpos", "3001", str(len(first) + 1)).split()[1])
    check(abs((y1 - y0) / LINE_PITCH_96 - SCALE) <= 0.1,
          "the log's lines are %d pixels apart, %.2f times 14" % (y1 - y0, (y1 - y0) / LINE_PITCH_96))

    check(log_in_from_dialog(p, t.peer.port, "Вася"), "logged in from the dialog")
    t.peer.wait_line("LOGIN")
    t.peer.send("WELCOME Вася\tuser\tТестовый чат\tДобро пожаловать",
                "USERLIST Главная",
                "USER Вася\t#000080\t\tuser",
                "USER Петя\t#FF0000\tзанят\tmod",
                "USER Маша\t#800080\tотошла\tadmin",
                "USER Гость1\t#008080\t\tguest",
                "USEREND",
                "MSG 12:00\tПетя\t#FF0000\tПривет, Вася! Как видно на 150 %?",
                "MSG 12:01\tМаша\t#800080\tВсё чётко.")
    p.poll(lambda: p.list(3002)["count"], lambda n: n == 4, timeout=30)

    lines = p.lines("rect")
    outer = tuple(int(v) for v in lines[0].split()[1].split(","))
    ratio_check("main window", size_of(outer))
    controls = {c["id"]: c for c in p.controls()}
    for name, ident in (("log", 3001), ("user list", 3002), ("input line", 3004)):
        ratio_check(name, size_of(controls[ident]["rect"]))

    shot = t.screenshot(os.path.join("display_scale_%d" % DPI, "screen.png"))
    window = os.path.join(os.path.dirname(shot), "main_window.png")
    width, height = size_of(outer)
    subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (width, height, outer[0], outer[1]), "+repage",
                    window], check=True, timeout=60)
    check(os.path.exists(window), "the main window photographed: %s" % window)
    print("sizes: window %s, %s" % (size_of(outer), ", ".join(
        "%d %s" % (i, size_of(controls[i]["rect"])) for i in (3001, 3002, 3004))))
finally:
    t.close()

check.finish()

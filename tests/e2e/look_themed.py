"""Photographs every window and dialog of the real client under wine64 with
Wine's built-in light theme switched on, for a person to look at (nothing is
asserted): the login, registration, about, create-room and warning boxes,
the main window of a global administrator in a room with people, topic and
messages, and the administration panel. Run on demand, after building the
win64 preset:

    tests/e2e/look_themed.py BUILD_DIR CLIENT_EXE PROBE_EXE OUT_DIR

BUILD_DIR is build/win64; the prefix is BUILD_DIR/look-prefix, so the test
prefixes are never touched. Pictures go to OUT_DIR/*.png."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import CFG_LINES, Peer, Probe, WineSession, portable_client, screenshot  # noqa: E402
from client_settings import update_ini  # noqa: E402

build_dir, client_exe, probe_exe, out_dir = (os.path.abspath(a) for a in sys.argv[1:5])
os.makedirs(out_dir, exist_ok=True)
prefix = os.path.join(build_dir, "look-prefix")
app_dir, exe = portable_client(build_dir, "look", client_exe)
peer = Peer()
update_ini(os.path.join(app_dir, "Zumbara.ini"),
           {("Chat", "Server"): "127.0.0.1", ("Chat", "Port"): str(peer.port),
            ("Chat", "Nick"): "Админ"})

THEME = {
    "ThemeActive": "1",
    "DllName": r"C:\windows\resources\themes\light\light.msstyles",
    "ColorName": "Blue",
    "SizeName": "NormalSize",
}
BANNER_LINES = ["BANNERLIST", "BANNERITEM 1\thttp://127.0.0.1/a.gif\thttp://example.net/\t10\t1",
                "BANNEREND"]

with WineSession(prefix) as wine:
    env = wine.env()
    key = r"HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager"
    for name, value in THEME.items():
        subprocess.run([wine.wine, "reg", "add", key, "/v", name, "/d", value, "/f"], env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    wine.start(exe, cwd=app_dir)
    p = Probe(wine, probe_exe)

    def shot(name, pause=0.6):
        time.sleep(pause)
        screenshot(wine.display, os.path.join(out_dir, name + ".png"))
        print("wrote", os.path.join(out_dir, name + ".png"))

    def dialog(title, name, close_id="2"):
        p.out("wait-window", "--title", title, "--timeout", "20000")
        p.out("--window-title", title, "move", "60", "60")
        shot(name)
        if close_id:
            p.out("--window-title", title, "click", close_id)
            p.call("wait-gone", "--title", title, "--timeout", "20000")

    p.out("wait-window", "--class", "#32770", "--timeout", "60000")
    p.out("--dialog", "move", "60", "60")
    p.out("--dialog", "set", "1004", "secret")
    p.out("--dialog", "check", "1006", "1")
    shot("login")
    p.out("--dialog", "click", "1008")
    dialog("Регистрация на портале zumbara.example", "registration")
    # Cancel in the registration dialog ends the login flow; log in from the menu.
    p.out("command", "2001")
    p.out("wait-window", "--class", "#32770", "--timeout", "20000")
    p.out("--dialog", "click", "1")
    peer.wait_line("LOGIN")
    peer.send("WELCOME Админ\tadmin\tТестовый чат\tДобро пожаловать!", "USERLIST Главная",
              "USER Админ\t#000080\t\tadmin", "USER Алиса\t#C00000\tотошла\tmod",
              "USER Борис\t#008000\tкушаю\tuser", "USER Гость\t#808080\t\tguest", "USEREND",
              "ROOMLIST", "ROOM Главная\t4\tОбщая комната", "ROOM Флуд\t0\t", "ROOMEND",
              "TOPIC Тема дня: тема оформления\tАлиса", *CFG_LINES)
    peer.send("MSG 12:00:01\tАлиса\t#C00000\tПривет всем!",
              "MSG 12:00:05\tБорис\t#008000\tКак дела?",
              "SYS Алиса вошла в комнату")
    p.out("wait-title", "Тестовый чат — Zumbara", "--timeout", "20000")
    p.out("move", "0", "0")
    shot("main", 1.5)

    p.out("command", "2040")
    dialog("О программе", "about", "1")
    p.out("command", "2010")
    p.out("wait-window", "--title", "Создать комнату", "--timeout", "20000")
    p.out("--window-title", "Создать комнату", "click", "1")
    dialog("Zumbara", "warning-box", "")
    p.out("--window-title", "Zumbara", "click", "1")
    p.call("wait-gone", "--title", "Zumbara", "--class", "#32770", "--timeout", "20000")
    dialog("Создать комнату", "create-room")

    p.out("command", "2030")
    p.out("wait-window", "--title", "Панель администратора", "--timeout", "20000")
    peer.wait_line("BANNERS")
    peer.send(*(CFG_LINES + BANNER_LINES))
    dialog("Панель администратора", "admin-panel")
    p.out("close")
    peer.wait_closed(30)
peer.close()

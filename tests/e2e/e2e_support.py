"""What the end-to-end tests share: the Wine session, the UI probe and the
scripted peer; a run of the client from a fresh portable copy in the build
tree, the ok/FAIL report, and screenshots of the display as pictures and as
pixels."""

import atexit
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, "..", ".."))
for tool in ("probe", "devserver"):
    sys.path.insert(0, os.path.join(REPO, "tools", tool))
from client_settings import update_ini  # noqa: E402
from probe_driver import Probe, WineSession  # noqa: E402,F401
from zbpeer import Peer  # noqa: E402,F401


# The whole chat configuration, as a server sends it at login and on request.
CONFIG = [("chat_title", "Тестовый чат"), ("motd", "Добро пожаловать"), ("color_bg", "#FFFFFF"),
          ("color_text", "#000000"), ("color_sys", "#008000"), ("color_pm", "#800080"),
          ("color_panel", "#9999CC"), ("banner_rotate_sec", "60"), ("room_ttl_days", "7"),
          ("max_msg_len", "500"), ("flood_sec", "2"), ("guest_allowed", "1"), ("chat_closed", "0")]
CFG_LINES = ["CFG %s\t%s" % kv for kv in CONFIG] + ["CFGEND"]


def fresh_dir(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def portable_client(build_dir, name, client_exe, folder="app"):
    """Copies the client into build/e2e/NAME/FOLDER beside a portable.txt;
    returns (app_dir, exe)."""
    work = fresh_dir(os.path.join(build_dir, "e2e", name))
    app_dir = fresh_dir(os.path.join(work, folder))
    exe = os.path.join(app_dir, "Zumbara.exe")
    shutil.copy(client_exe, exe)
    open(os.path.join(app_dir, "portable.txt"), "w").close()
    return app_dir, exe


class Checks:
    def __init__(self):
        self.failures = []

    def __call__(self, cond, what):
        print(("ok    " if cond else "FAIL  ") + what)
        if not cond:
            self.failures.append(what)

    def finish(self):
        print("%d failed" % len(self.failures))
        sys.exit(1 if self.failures else 0)


class Run:
    """One test script's run of the client: its command line (BUILD_DIR
    CLIENT_EXE PROBE_EXE), a portable copy in build/e2e/NAME/app, the checks
    and a scripted peer; start() opens the Wine session and starts the copy.
    Everything is stopped when the script ends, however it ends."""

    def __init__(self, name, folder="app"):
        self.build_dir, self.client_exe, self.probe_exe = sys.argv[1:4]
        self.app_dir, self.exe = portable_client(self.build_dir, name, self.client_exe, folder)
        self.work = os.path.dirname(self.app_dir)
        self.ini = os.path.join(self.app_dir, "Zumbara.ini")
        self.check = Checks()
        self.peer = Peer()
        self.wine = None
        atexit.register(self.close)

    def settings(self, sections=None, **chat):
        """Aims the copy's settings at the peer, with the [Chat] keys given as
        keywords and any {(section, key): value} of other sections."""
        values = {("Chat", "Server"): "127.0.0.1", ("Chat", "Port"): str(self.peer.port),
                  # The peer closes its end when the script ends, while the
                  # client may still run: no reconnect tries then.
                  ("UI", "Reconnect"): "0"}
        values.update({("Chat", key): value for key, value in chat.items()})
        values.update(sections or {})
        update_ini(self.ini, values)

    def start(self, *args, **wine_options):
        """A fresh Wine session running the copy with args; returns the probe."""
        self.wine = WineSession(os.path.join(self.build_dir, "e2e-prefix"), **wine_options).__enter__()
        self.wine.start(self.exe, *args, cwd=self.app_dir)
        self.probe = Probe(self.wine, self.probe_exe)
        return self.probe

    def screenshot(self, path):
        """Photographs the display into path (relative: under build/e2e)."""
        path = os.path.join(self.build_dir, "e2e", path)
        screenshot(self.wine.display, path)
        return path

    def close(self):
        self.peer.close()
        if self.wine:
            self.wine.close()

    def finish(self):
        self.close()
        self.check.finish()


def diagnosis(probe):
    """What the session shows when a window a test waits for does not come:
    the programs it started and their exit codes, and its top-level windows."""
    lines = ["started: " + line for line in probe.session.describe()]
    try:
        lines += ["window: %(hwnd)s pid %(pid)d %(class)s visible=%(visible)s %(title)r" % w
                  for w in probe.windows()]
    except Exception as e:  # the probe itself did not run: say so
        lines.append("windows: %s" % e)
    return "\n".join(lines)


def first_window(probe, *selector):
    """Waits for the first window of a client just started (the main window
    unless a selector is given), shown and painted. The first start in a new
    prefix is the slow one, so this waits up to two minutes and says when
    the start took long; when the window does not come, prints what the
    session shows and returns False."""
    started = time.monotonic()
    rc, _, err = probe.call("wait-window", *(selector + ("--timeout", "120000")), timeout=150)
    took = time.monotonic() - started
    what = " ".join(selector) or "of the main window's class"
    if rc != 0:
        print("no window %s after %.1f s: %s" % (what, took, err.strip()))
        print(diagnosis(probe))
    elif took > 15:
        print("note: the window %s took %.1f s to come" % (what, took))
    return rc == 0


def log_in_from_dialog(probe, port, nick):
    """Waits for the login dialog (shown and painted, so its fields are
    filled) and logs in to 127.0.0.1:port as nick; False when no dialog
    appeared."""
    appeared = first_window(probe, "--class", "#32770")
    for ctl, text in (("1001", "127.0.0.1"), ("1002", str(port)), ("1003", nick)):
        probe.out("--dialog", "set", ctl, text)
    probe.out("--dialog", "click", "1")
    return appeared


class ClientTalk:
    """The probe calls of the tests that drive several client windows by
    handle: a probe call with a long time-out, the chat log's text, waiting
    for a text in it, and saying a line through the input line."""

    def __init__(self, prober):
        self.prober = prober

    def probe(self, *args):
        return self.prober.call(*(args + ("--timeout", "60000")), timeout=90)[:2]

    def log_of(self, hwnd):
        return self.probe("--hwnd", hwnd, "richtext", "3001")[1]

    def wait_log(self, hwnd, text, timeout=30):
        return text in self.prober.poll(lambda: self.log_of(hwnd), lambda log: text in log, timeout)

    def say(self, hwnd, text):
        self.probe("--hwnd", hwnd, "set", "3004", text)
        self.probe("--hwnd", hwnd, "enter", "3004")


def screenshot(display, path):
    subprocess.run(["import", "-display", display, "-window", "root", path],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)


def pixels(path):
    """The picture at path as (width, height, RGB bytes), through a PPM."""
    data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], stdout=subprocess.PIPE,
                          check=True, timeout=30).stdout
    fields, at = [], 0
    while len(fields) < 4:  # P6, width, height, maximum
        while data[at:at + 1].isspace():
            at += 1
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    return int(fields[1]), int(fields[2]), data[at + 1:]


def bounding_box(width, height, rgb, color):
    """(left, top, right, bottom) of the pixels of exactly color, or None."""
    want = bytes(color)
    xs, ys = [], []
    row = width * 3
    for y in range(height):
        line = rgb[y * row:(y + 1) * row]
        first = line.find(want)
        while first >= 0 and first % 3:
            first = line.find(want, first + 1)
        if first < 0:
            continue
        last = line.rfind(want)
        while last >= 0 and last % 3:
            last = line.rfind(want, 0, last + 2)
        xs += [first // 3, last // 3]
        ys.append(y)
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if ys else None

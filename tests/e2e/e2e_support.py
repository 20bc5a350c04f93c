"""What the end-to-end tests share: the Wine session, the UI probe and the
scripted peer; a fresh portable copy of the client in the build tree, the
ok/FAIL report, and screenshots of the display as pictures and as pixels."""

import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "probe"))
from probe_driver import Probe, WineSession  # noqa: E402,F401
from zbpeer import Peer  # noqa: E402,F401


def fresh_dir(path):
    if os.path.exists(path):
        shutil.rmtree(path)
    os.makedirs(path)
    return path


def portable_client(build_dir, name, client_exe):
    """Copies the client into build/e2e/NAME/app beside a portable.txt;
    returns (app_dir, exe)."""
    work = fresh_dir(os.path.join(build_dir, "e2e", name))
    app_dir = fresh_dir(os.path.join(work, "app"))
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

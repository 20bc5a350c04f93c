"""What the end-to-end tests share: the Wine session, the UI probe and the
scripted peer; a fresh portable copy of the client in the build tree, the
ok/FAIL report, and a screenshot of the display."""

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

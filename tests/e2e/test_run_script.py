"""scripts/run as a new user runs it on a machine without a display: the
development server with its bots, the client logged in as a guest, a
screenshot, everything stopped, exit 0.  The login is checked where it is
recorded: the server's log and the client's protocol log.

Usage: test_run_script.py BUILD_DIR CLIENT_EXE"""

import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import REPO, Checks  # noqa: E402

build_dir, client_exe = sys.argv[1:3]
run_dir = os.path.join(build_dir, "e2e", "run_script")
shutil.rmtree(run_dir, ignore_errors=True)

env = dict(os.environ, ZB_BUILD_DIR=build_dir)
env.pop("DISPLAY", None)
env.pop("ZB_DISPLAY", None)
rc = subprocess.run([os.path.join(REPO, "scripts", "run"), "--exe", client_exe, "--dir", run_dir,
                     "--port", "0", "--http-port", "0"], env=env, timeout=840).returncode


def read(name, encoding):
    path = os.path.join(run_dir, name)
    return open(path, "rb").read().decode(encoding) if os.path.exists(path) else ""


server_log = read("devserver.log", "utf-8")
protocol = read("Zumbara-protocol.log", "cp1251")
greeting = [l for l in protocol.splitlines() if " S> MSG " in l and "Гость" in l]
colours = subprocess.run(["convert", os.path.join(run_dir, "screenshot.png"), "-format", "%k", "info:"],
                         capture_output=True, text=True).stdout.strip()
check = Checks()
check(rc == 0, "scripts/run exits 0 (got %d)" % rc)
check("login Гость (guest) from 127.0.0.1" in server_log, "the server recorded the guest's login")
check("stopping" in server_log, "the server was stopped with the client")
check(" C> LOGIN Гость||#" in protocol and " S> WELCOME Гость|guest|" in protocol,
      "the protocol log holds the guest login and its WELCOME")
check(bool(greeting), "a bot greeted the guest: %r" % greeting[:1])
check(colours.isdigit() and int(colours) > 100, "the screenshot shows a window (%s colours)" % colours)
check.finish()

"""Runs Windows programs and the UI probe in one Wine prefix, and parses the
probe's output.

    with WineSession(prefix) as wine:
        app = wine.start("client.exe")
        probe = Probe(wine, "probe.exe")
        probe.out("wait-window")
        probe.list(3002)            # {'count': 3, 'sel': 1, 'items': [...]}

WineSession runs everything in one Unix locale (by default ru_RU.UTF-8, the
ANSI code page 1251; en_US.UTF-8 gives 1252). It holds the prefix's run
lock (<prefix>.run.lock, the one tests/harness/wine-run takes) for its whole
life, so that no other run ends its wineserver; it stops a server left over
from an earlier run, uses the display named by ZB_DISPLAY or starts its own
Xvfb, and on leaving kills every process of the prefix ("wineserver -k") and
its Xvfb.
"""

import fcntl
import os
import select
import shutil
import subprocess
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_WINE_RUN = os.path.normpath(os.path.join(HERE, "..", "..", "tests", "harness", "wine-run"))


def _first_executable(*candidates):
    for c in candidates:
        if os.sep in c:
            if os.access(c, os.X_OK):
                return c
        else:
            found = shutil.which(c)
            if found:
                return found
    return None


def unescape(field):
    """Undoes the probe's escaping of a record field (\\\\ \\t \\r \\n)."""
    out = []
    i = 0
    while i < len(field):
        c = field[i]
        if c == "\\" and i + 1 < len(field):
            nxt = field[i + 1]
            out.append({"\\": "\\", "t": "\t", "r": "\r", "n": "\n"}.get(nxt, "\\" + nxt))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


class ProbeError(Exception):
    def __init__(self, args, rc, stdout, stderr):
        super().__init__("probe %s: exit %d\nstdout: %s\nstderr: %s" % (" ".join(args), rc, stdout, stderr))
        self.rc = rc
        self.stdout = stdout
        self.stderr = stderr


class WineSession:
    def __init__(self, prefix, display=None, wine=None, wineserver=None, wine_run=None,
                 lock_timeout=600, screen="1024x768x24", locale="ru_RU.UTF-8"):
        self.prefix = os.path.abspath(prefix)
        self.locale = locale
        self.display = display if display is not None else os.environ.get("ZB_DISPLAY") or None
        self.wine = wine or os.environ.get("ZB_WINE") or _first_executable(
            "/usr/lib/wine/wine64", "wine64", "/usr/lib/x86_64-linux-gnu/wine/wine64")
        self.wineserver = wineserver or os.environ.get("ZB_WINESERVER") or _first_executable(
            "/usr/lib/wine/wineserver64", "/usr/lib/wine/wineserver", "wineserver")
        if not self.wine or not self.wineserver:
            raise RuntimeError("wine64 or wineserver not found")
        self.wine_run = wine_run if wine_run is not None else DEFAULT_WINE_RUN
        self.lock_timeout = lock_timeout
        self.screen = screen
        self._lock = None
        self._xvfb = None
        self._procs = []

    # ------------------------------------------------------------- setup
    def __enter__(self):
        try:
            self._ensure_prefix()
            self._take_lock()
            self._stop_server()  # left over from a run that was killed
            if not self.display:
                self._start_xvfb()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _ensure_prefix(self):
        if os.path.exists(os.path.join(self.prefix, ".zb-ready")):
            return
        if self.wine_run and os.path.exists(self.wine_run):
            # Same settings as the harness's prefixes (no crash dialog, unmanaged windows).
            subprocess.run(["bash", self.wine_run, "--prefix", self.prefix, "--init-only"],
                           check=True, timeout=900)
            return
        if not os.path.exists(os.path.join(self.prefix, "system.reg")):
            env = self.env()
            env.pop("DISPLAY", None)
            subprocess.run([self.wine, "wineboot", "-i"], env=env, check=True, timeout=600,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run([self.wineserver, "-w"], env=env, timeout=600)

    def _take_lock(self):
        os.makedirs(os.path.dirname(self.prefix), exist_ok=True)
        self._lock = open(self.prefix + ".run.lock", "a")
        deadline = time.monotonic() + self.lock_timeout
        while True:
            try:
                fcntl.flock(self._lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
                return
            except BlockingIOError:
                if time.monotonic() > deadline:
                    raise RuntimeError("timed out waiting for %s.run.lock" % self.prefix)
                time.sleep(0.2)

    def _stop_server(self):
        if not os.path.isdir(self.prefix):
            return
        env = self.env()
        subprocess.run([self.wineserver, "-k"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
        try:
            subprocess.run([self.wineserver, "-w"], env=env, timeout=15)
        except subprocess.TimeoutExpired:
            pass

    def _start_xvfb(self):
        xvfb = _first_executable("Xvfb")
        if not xvfb:
            raise RuntimeError("Xvfb not found")
        r, w = os.pipe()
        env = dict(os.environ)
        env.pop("WINEPREFIX", None)
        self._xvfb = subprocess.Popen(
            [xvfb, "-displayfd", str(w), "-nolisten", "tcp", "-noreset", "-screen", "0", self.screen],
            pass_fds=(w,), env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        data = b""
        deadline = time.monotonic() + 15
        while not data.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([r], [], [], left)[0]:
                break
            chunk = os.read(r, 64)
            if not chunk:
                break
            data += chunk
        os.close(r)
        if not data.strip().isdigit():
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + data.strip().decode()

    # ------------------------------------------------------------- running
    def env(self):
        env = dict(os.environ)
        env.pop("LANGUAGE", None)
        env.update({
            "WINEPREFIX": self.prefix,
            "WINEARCH": "win64",
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
            "LANG": self.locale,
            "LC_ALL": self.locale,
        })
        if self.display:
            env["DISPLAY"] = self.display
        return env

    def start(self, exe, *args, **kw):
        """Starts a Windows program in the background; returns its Popen."""
        p = subprocess.Popen([self.wine, exe] + [str(a) for a in args], env=self.env(),
                             stdin=subprocess.DEVNULL, **kw)
        self._procs.append(p)
        return p

    def run(self, exe, *args, timeout=60):
        """Runs a Windows console program; returns (exit code, stdout, stderr) as text.

        The output goes through files, not pipes: a wine service that the
        program happens to start (explorer.exe for the desktop, ...) inherits
        its handles and would keep a pipe open after the program ended."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            p = subprocess.Popen([self.wine, exe] + [str(a) for a in args], env=self.env(),
                                 stdin=subprocess.DEVNULL, stdout=out, stderr=err)
            try:
                rc = p.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
                raise
            out.seek(0)
            err.seek(0)
            return (rc, out.read().decode("utf-8", "replace"), err.read().decode("utf-8", "replace"))

    def describe(self):
        """What became of the programs start() started: one line each."""
        lines = []
        for p in self._procs:
            rc = p.poll()
            state = "running" if rc is None else "ended with exit code %d (0x%08X)" % (rc, rc & 0xFFFFFFFF)
            program = [os.path.basename(str(p.args[1]))] + [str(a) for a in p.args[2:]]
            lines.append("%s: %s" % (" ".join(program), state))
        return lines

    # ------------------------------------------------------------- cleanup
    def close(self):
        if self._lock and os.path.isdir(self.prefix):
            self._stop_server()
        for p in self._procs:
            if p.poll() is None:
                p.kill()
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass
        self._procs = []
        if self._xvfb:
            self._xvfb.terminate()
            try:
                self._xvfb.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self._xvfb.kill()
                self._xvfb.wait()
            self._xvfb = None
        if self._lock:
            self._lock.close()
            self._lock = None


class Probe:
    """Calls probe.exe; the parsing helpers return plain Python values."""

    def __init__(self, session, exe):
        self.session = session
        self.exe = exe

    def call(self, *args, timeout=60):
        """(exit code, stdout, stderr); stdout without its last newline."""
        rc, out, err = self.session.run(self.exe, *args, timeout=timeout)
        if out.endswith("\n"):
            out = out[:-1]
        return rc, out, err

    def out(self, *args, expect=0):
        rc, out, err = self.call(*args)
        if rc != expect:
            raise ProbeError([str(a) for a in args], rc, out, err)
        return out

    def lines(self, *args, expect=0):
        out = self.out(*args, expect=expect)
        return out.split("\n") if out else []

    def _keyed(self, args):
        """Parses count:/sel:/edit: lines and item:/part: lists."""
        r = {"items": []}
        for line in self.lines(*args):
            key, _, value = line.partition(": ")
            if key in ("item", "part"):
                r["items"].append(unescape(value))
            elif key in ("count", "sel"):
                r[key] = int(value)
            else:
                r[key] = unescape(value)
        return r

    def list(self, ctl, *target):
        return self._keyed(list(target) + ["list", str(ctl)])

    def combo(self, ctl, *target):
        return self._keyed(list(target) + ["combo", str(ctl)])

    def status(self, *target):
        r = self._keyed(list(target) + ["status"])
        return r["items"]

    def menu(self, *target):
        items = []
        for line in self.lines(*(list(target) + ["menu"])):
            path, ident, flags, text = line.split("\t")
            items.append({"path": path, "id": None if ident == "-" else int(ident),
                          "flags": set() if flags == "-" else set(flags.split(",")),
                          "text": unescape(text)})
        return items

    @staticmethod
    def _record(line):
        ident, cls, visible, enabled, check, rect, text = line.split("\t")
        return {"id": int(ident), "class": unescape(cls), "visible": visible == "1",
                "enabled": enabled == "1", "check": None if check == "-" else int(check),
                "rect": tuple(int(v) for v in rect.split(",")), "text": unescape(text)}

    def controls(self, *target):
        return [self._record(l) for l in self.lines(*(list(target) + ["controls"]))]

    def windows(self):
        """The session's top-level windows, topmost first."""
        r = []
        for line in self.lines("windows"):
            hwnd, pid, cls, visible, title = line.split("\t")
            r.append({"hwnd": hwnd, "pid": int(pid), "class": unescape(cls), "visible": visible == "1",
                      "title": unescape(title)})
        return r

    def dialog(self, *target):
        lines = self.lines(*(list(target) + ["dialog"]))
        assert lines and lines[0].startswith("title: "), lines
        return unescape(lines[0][len("title: "):]), [self._record(l) for l in lines[1:]]

    def toolbar(self, *target):
        r = []
        for line in self.lines(*(list(target) + ["toolbar"])):
            ident, flags, text = line.split("\t")
            r.append({"id": int(ident), "flags": set() if flags == "-" else set(flags.split(",")),
                      "text": unescape(text)})
        return r

    def poll(self, fn, pred, timeout=10.0, interval=0.1):
        """Calls fn() until pred(value) holds; returns the last value."""
        deadline = time.monotonic() + timeout
        while True:
            value = fn()
            if pred(value) or time.monotonic() > deadline:
                return value
            time.sleep(interval)


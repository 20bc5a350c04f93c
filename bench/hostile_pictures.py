#!/usr/bin/env python3
"""Hostile picture hosts: the real client under wine64 and Xvfb, logged in to
a scripted server that names pictures on hosts of this script's own (all on
loopback, ephemeral ports), one after another:

1. a 1 MB PNG that declares one pixel and whose data inflates to 1 GiB;
2. ordinary large pictures: a 4096 x 4096 PNG and a 2048 x 2048 JPEG of noise;
3. a host that sends a status line and then one byte every 2 s;
4. 40 BANNER lines in one burst naming a host that accepts and never answers.

Reported: the client's peak memory (the high-water mark of its resident set)
before and after the first, the lines the chat log shows, when the trickling
download was closed (seconds after its connection was accepted), the most
connections the silent host had open at once, and the longest time the window
left a WM_NULL unanswered over the whole run (bench/ui_ping, one every 50 ms).

Run on demand (not part of the test suite), after building the win64 preset:

    bench/hostile_pictures.py [--build build/win64] [--exe Zumbara.exe] [--prefix DIR] [--keep]
"""

import argparse
import os
import shutil
import socket
import struct
import subprocess
import sys
import threading
import time
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "tools", "probe"))
from probe_driver import Probe, WineSession  # noqa: E402
from zbpeer import Peer  # noqa: E402
from flood import wait_for  # noqa: E402  (beside this file)


def png(width, height, colour, idat):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", width, height, 8, colour, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", idat) + chunk(b"IEND", b"")


def zeros_zlib(count):
    z = zlib.compressobj(9)
    block = bytes(1 << 20)
    out = [z.compress(block) for _ in range(count >> 20)]
    return b"".join(out) + z.compress(bytes(count & ((1 << 20) - 1))) + z.flush()


class Host:
    """A loopback TCP host; `answer(conn, host)` runs on a thread per connection."""

    def __init__(self, answer):
        self.listener = socket.socket()
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(64)
        self.port = self.listener.getsockname()[1]
        self.answer = answer
        self.lock = threading.Lock()
        self.open = 0
        self.most_open = 0
        self.accepted = 0
        self.durations = []
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while True:
            try:
                conn, _ = self.listener.accept()
            except OSError:
                return
            with self.lock:
                self.open += 1
                self.accepted += 1
                self.most_open = max(self.most_open, self.open)
            threading.Thread(target=self._serve, args=(conn, time.monotonic()), daemon=True).start()

    def _serve(self, conn, start):
        try:
            conn.recv(4096)
            self.answer(conn)
            conn.settimeout(600)
            while conn.recv(4096):
                pass
        except OSError:
            pass
        with self.lock:
            self.open -= 1
            self.durations.append(time.monotonic() - start)
        conn.close()


def serve_file(body):
    def answer(conn):
        conn.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: image/png\r\n\r\n" + body)
        conn.shutdown(socket.SHUT_WR)
    return answer


def trickle(conn):
    conn.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: image/png\r\n\r\n")
    conn.settimeout(2.0)
    while True:
        conn.sendall(b"\x89")
        try:
            if not conn.recv(4096):
                return
        except socket.timeout:
            pass


def client_pid(prefix, name="Zumbara.exe"):
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                cmd = f.read()
            with open("/proc/%s/environ" % pid, "rb") as f:
                env = f.read().split(b"\0")
        except OSError:
            continue
        if name.encode() in cmd and ("WINEPREFIX=" + prefix).encode() in env:
            return int(pid)
    return None


def memory_mib(pid, key):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1]) / 1024.0
    return 0.0




def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--build", default=os.path.join(ROOT, "build", "win64"))
    ap.add_argument("--exe", help="the client to measure (default: the build's Zumbara.exe)")
    ap.add_argument("--prefix", help="the Wine prefix (default: BUILD/bench-prefix)")
    ap.add_argument("--keep", action="store_true", help="keep the run folder")
    args = ap.parse_args()
    build = os.path.abspath(args.build)
    prefix = os.path.abspath(args.prefix or os.path.join(build, "bench-prefix"))

    print("drawing the pictures ...", flush=True)
    bomb = png(1, 1, 0, zeros_zlib(1 << 30))
    square = png(4096, 4096, 0, zeros_zlib(4097 * 4096))
    work = os.path.join(build, "bench", "hostile", str(os.getpid()))
    os.makedirs(work)
    subprocess.run(["convert", "-size", "2048x2048", "plasma:", "+noise", "Gaussian", "-quality", "80",
                    os.path.join(work, "photo.jpg")], check=True)
    with open(os.path.join(work, "photo.jpg"), "rb") as f:
        photo = f.read()
    print("bomb %.2f MB, 4096 x 4096 PNG %.2f MB, 2048 x 2048 JPEG %.2f MB"
          % (len(bomb) / 1e6, len(square) / 1e6, len(photo) / 1e6), flush=True)
    hosts = {"bomb": Host(serve_file(bomb)), "square": Host(serve_file(square)), "photo": Host(serve_file(photo)),
             "trickle": Host(trickle), "silent": Host(lambda conn: None)}

    exe = os.path.join(work, "Zumbara.exe")
    shutil.copy(args.exe or os.path.join(build, "src", "Zumbara.exe"), exe)
    open(os.path.join(work, "portable.txt"), "w").close()
    peer = Peer()
    with open(os.path.join(work, "Zumbara.ini"), "wb") as f:
        f.write(("[Chat]\r\nServer=127.0.0.1\r\nPort=%d\r\nNick=Вася\r\n" % peer.port).encode("cp1251"))

    wine = WineSession(prefix).__enter__()
    try:
        probe = Probe(wine, os.path.join(build, "tools", "probe", "probe.exe"))

        def log():
            rc, text, _ = probe.call("text", "3001")
            return [l for l in text.split("\n") if "Баннер" in l] if rc == 0 else []

        def banner(bid, host, name):
            peer.send("BANNER %d\thttp://127.0.0.1:%d/%s\thttp://shop.example/" % (bid, hosts[host].port, name))

        wine.start(exe, "/auto", "/nosplash", cwd=work)
        peer.wait_line("LOGIN", timeout=60)
        peer.send("WELCOME Вася\tuser\tКартинки\tпривет")
        time.sleep(1.0)
        pid = client_pid(prefix)
        pinger = wine.start(os.path.join(build, "bench", "ui_ping.exe"), "ready.txt", "stop.txt", "result.txt", cwd=work)
        if not wait_for(lambda: os.path.exists(os.path.join(work, "ready.txt")), 60, 0.05):
            raise RuntimeError("ui_ping did not start")
        before = memory_mib(pid, "VmHWM")

        t0 = time.monotonic()
        banner(1, "bomb", "bomb.png")
        wait_for(lambda: any("#1:" in l for l in log()), 60, 0.5)
        print("bomb: peak memory %.0f MiB before, %.0f MiB after (%.1f s)"
              % (before, memory_mib(pid, "VmHWM"), time.monotonic() - t0), flush=True)

        banner(2, "square", "square.png")
        time.sleep(8)
        banner(3, "photo", "photo.jpg")
        time.sleep(8)
        print("large pictures: peak memory %.0f MiB" % memory_mib(pid, "VmHWM"), flush=True)

        banner(4, "trickle", "trickle.png")
        wait_for(lambda: hosts["trickle"].durations, 90, 0.2)
        print("trickle: closed %.1f s after its connection was accepted" % hosts["trickle"].durations[0], flush=True)

        for i in range(40):
            banner(101 + i, "silent", "b%d.png" % (101 + i))
        wait_for(lambda: any("#140:" in l for l in log()), 60, 0.5)
        silent = hosts["silent"]
        print("silent host: at most %d connections open at once, %d accepted" % (silent.most_open, silent.accepted),
              flush=True)

        open(os.path.join(work, "stop.txt"), "w").close()
        pinger.wait(timeout=60)
        result = dict(line.split() for line in open(os.path.join(work, "result.txt")))
        print("window silent at most %s ms, %.1f s into the run (%s pings over 250 ms); peak memory %.0f MiB"
              % (result["max_ms"], float(result["at_ms"]) / 1000, result["over_250"], memory_mib(pid, "VmHWM")),
              flush=True)
        print("chat log:\n  " + "\n  ".join(log()), flush=True)
    finally:
        peer.close()
        wine.close()
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())

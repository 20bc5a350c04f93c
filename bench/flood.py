#!/usr/bin/env python3
"""End-to-end flood benchmark: the real client under wine64 and Xvfb, logged
in to a scripted server that sends N chat lines in one burst and then
"OK BANNERDEL", which the client answers with "BANNERS".

Reported per run: the seconds from the first flood byte to that answer, the
lines per second, and the longest time the window did not answer a WM_NULL
sent every 50 ms during the flood (bench/ui_ping). Each run also checks that
every flood line reached the protocol log, in order, and that the chat log
ends with the flood's last lines, in order.

Run on demand (not part of the test suite), after building the win64 preset:

    bench/flood.py [--lines 20000] [--runs 3] [--kind ascii|cyrillic|both]
                   [--journal on|off|both] [--build build/win64] [--exe Zumbara.exe]
                   [--prefix DIR] [--keep] [--screenshot PATH]

The flood is said in a room, so the conversation journals (setting
UI/Journal) write every line; --journal both alternates runs with journals
on and off, to compare them under the same load. With journals on, each run
also checks that the room's journal holds every flood line, in order.

Several runs give a median; the load averages of the machine are printed
before and after each run, as other work on the machine changes the figures.
"""

import argparse
import os
import shutil
import socket
import statistics
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "tools", "probe"))
from probe_driver import Probe, WineSession  # noqa: E402
from zbpeer import Peer  # noqa: E402

TEXT_CHARS = 40


def flood_texts(n, cyrillic):
    """N distinct texts of exactly 40 characters."""
    letters = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя" if cyrillic else "abcdefghijklmnopqrstuvwxyz"
    out = []
    for i in range(n):
        head = "%06d " % i
        body = "".join(letters[(i * 7 + k * 3) % len(letters)] for k in range(TEXT_CHARS - len(head)))
        out.append(head + body)
    return out


def load():
    return "load %.2f %.2f %.2f" % os.getloadavg()


def fresh_dir(path):
    if os.path.exists(path):
        shutil.rmtree(path)
    os.makedirs(path)
    return path


def wait_for(pred, timeout, step=0.01):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if pred():
            return True
        time.sleep(step)
    return pred()


def cpu_seconds(pid):
    """User and system CPU time of a process (all its threads) so far; the
    client's own work, which the load of other processes changes little."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def journal_complete(work, texts, nick):
    """The room's journal holds every flood line, in order (it is written at
    the end of each receive pass, so the last pass may still be at it)."""
    folder = os.path.join(work, "Журналы", "Комнаты", "Флуд")
    mark = "<%s> " % nick
    got = []
    for _ in range(50):
        names = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
        got = []
        for name in names:
            with open(os.path.join(folder, name), "rb") as f:
                got += [l.split(mark, 1)[1] for l in f.read().decode("utf-8-sig").split("\r\n") if mark in l]
        if got == texts:
            return True
        time.sleep(0.1)
    return False


def one_run(args, kind, run_no, journal):
    cyrillic = kind == "cyrillic"
    work = fresh_dir(os.path.join(args.build, "bench", "flood",
                                  "%d-%s-%d-%s" % (os.getpid(), kind, run_no, "journal" if journal else "plain")))
    exe = os.path.join(work, "Zumbara.exe")
    shutil.copy(args.exe or os.path.join(args.build, "src", "Zumbara.exe"), exe)
    open(os.path.join(work, "portable.txt"), "w").close()

    peer = Peer()
    with open(os.path.join(work, "Zumbara.ini"), "wb") as f:
        f.write(("[Chat]\r\nServer=127.0.0.1\r\nPort=%d\r\nNick=Вася\r\n[UI]\r\nJournal=%d\r\n"
                 % (peer.port, 1 if journal else 0)).encode("cp1251"))

    texts = flood_texts(args.lines, cyrillic)
    nick = "Петя" if cyrillic else "bot"
    burst = "".join("MSG 12:00\t%s\t#FF0000\t%s\n" % (nick, t) for t in texts) + "OK BANNERDEL\n"
    burst = burst.encode("utf-8")

    ping_exe = os.path.join(args.build, "bench", "ui_ping.exe")
    wine = WineSession(args.prefix or os.path.join(args.build, "bench-prefix")).__enter__()
    try:
        label = "%s run %d, journals %s" % (kind, run_no, "on" if journal else "off")
        print("  %s: %s" % (label, load()), flush=True)
        client = wine.start(exe, "/auto", "/nosplash", cwd=work)
        peer.wait_line("LOGIN", timeout=60)
        peer.send("WELCOME Вася\tuser\tФлуд\tпривет", "USERLIST Флуд", "USER Вася\t#000080\t\tuser", "USEREND")
        time.sleep(1.0)
        pinger = wine.start(ping_exe, "ready.txt", "stop.txt", "result.txt", cwd=work)
        if not wait_for(lambda: os.path.exists(os.path.join(work, "ready.txt")), 60, 0.05):
            raise RuntimeError("ui_ping did not start")

        t0 = time.monotonic()
        cpu0 = cpu_seconds(client.pid)
        sender = threading.Thread(target=peer.conn.sendall, args=(burst,), daemon=True)
        sender.start()
        if not wait_for(lambda: b"\nBANNERS\n" in peer.raw, args.timeout):
            raise RuntimeError("no BANNERS within %d s" % args.timeout)
        seconds = time.monotonic() - t0
        cpu = cpu_seconds(client.pid) - cpu0
        open(os.path.join(work, "stop.txt"), "w").close()
        pinger.wait(timeout=120)
        result = {}
        with open(os.path.join(work, "result.txt")) as f:
            for line in f:
                key, value = line.split()
                result[key] = float(value)

        # Every flood line reached the protocol log, in order. The log is
        # written through line by line; the client is still running.
        with open(os.path.join(work, "Zumbara-protocol.log"), "rb") as f:
            plog = f.read().decode("cp1251")
        got = [l.split("|", 3)[3] for l in plog.split("\r\n") if " S> MSG " in l]
        complete = got == texts
        # The chat log ends with the flood's last lines, in order (the
        # 900,000-character rule has emptied it on the way).
        rc, shown, _ = Probe(wine, args.probe).call("text", "3001")
        mark = "<%s> " % nick
        numbers = [int(l.split(mark, 1)[1][:6]) for l in shown.split("\n") if mark in l]
        in_order = rc == 0 and bool(numbers) and numbers == list(range(args.lines - len(numbers), args.lines))
        complete = complete and in_order
        journalled = journal_complete(work, texts, nick) if journal else None
        complete = complete and journalled is not False
        if args.screenshot:
            time.sleep(0.5)
            subprocess.run(["import", "-display", wine.display, "-window", "root",
                            "%s-%s-%d.png" % (args.screenshot, kind, run_no)],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        print("  %s: %.2f s (client CPU %.2f s), %.0f lines/s, UI silent at most %.0f ms (at %.1f s), %d pings over 250 ms;"
              " protocol log %s, chat log %s%s; %s"
              % (label, seconds, cpu, args.lines / seconds, result["max_ms"], result["at_ms"] / 1000.0,
                 result["over_250"], "complete" if got == texts else "INCOMPLETE (%d lines)" % len(got),
                 "ends with %d lines in order" % len(numbers) if in_order else "WRONG",
                 "" if journal is False else ", journal " + ("complete" if journalled else "INCOMPLETE"), load()),
              flush=True)
        return seconds, result["max_ms"], complete, cpu
    finally:
        peer.close()
        wine.close()
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--lines", type=int, default=20000)
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--kind", choices=["ascii", "cyrillic", "both"], default="both")
    ap.add_argument("--journal", choices=["on", "off", "both"], default="on",
                    help="conversation journals on, off, or alternating runs of both")
    ap.add_argument("--build", default=os.path.join(ROOT, "build", "win64"))
    ap.add_argument("--exe", help="the client to measure (default: the build's Zumbara.exe)")
    ap.add_argument("--probe", help="the UI probe (default: BUILD/tools/probe/probe.exe)")
    ap.add_argument("--prefix", help="the Wine prefix (default: BUILD/bench-prefix)")
    ap.add_argument("--timeout", type=int, default=1200, help="seconds to wait for the answer")
    ap.add_argument("--keep", action="store_true", help="keep the run folders")
    ap.add_argument("--screenshot", help="after each run, a screenshot to PATH-KIND-RUN.png")
    args = ap.parse_args()
    args.build = os.path.abspath(args.build)
    args.probe = args.probe or os.path.join(args.build, "tools", "probe", "probe.exe")

    kinds = ["ascii", "cyrillic"] if args.kind == "both" else [args.kind]
    ok = True
    modes = {"on": [True], "off": [False], "both": [False, True]}[args.journal]
    for kind in kinds:
        runs = {mode: [] for mode in modes}
        for i in range(args.runs):
            # Alternating runs see the same load; the order flips each time.
            for mode in (modes if i % 2 == 0 else modes[::-1]):
                runs[mode].append(one_run(args, kind, i + 1, mode))
        for mode in modes:
            secs = statistics.median(r[0] for r in runs[mode])
            silent = statistics.median(r[1] for r in runs[mode])
            cpu = statistics.median(r[3] for r in runs[mode])
            ok = ok and all(r[2] for r in runs[mode])
            print("%s, journals %s: %d lines, median of %d: %.2f s (client CPU %.2f s), %.0f lines/s,"
                  " UI silent at most %.0f ms"
                  % (kind, "on" if mode else "off", args.lines, len(runs[mode]), secs, cpu, args.lines / secs, silent),
                  flush=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())

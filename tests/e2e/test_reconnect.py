"""End to end: a dropped connection comes back by itself, and a dead one is
noticed.  One Wine session, two clients:

- "Путник" on the development server goes to the room "Разработка" and
  says a line; the server is stopped and started again on the same port; the
  client comes back by itself, logged in and in that room, with its log kept.
- "Тихий" logs in to a scripted peer that then stops answering without
  closing; with KeepAliveTimeout=5 in its settings file the client notices
  after 5 s, says so and starts reconnecting.

Usage: test_reconnect.py BUILD_DIR CLIENT_EXE PROBE_EXE"""

import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import ClientTalk, REPO, Checks, Peer, Probe, WineSession, fresh_dir, screenshot, update_ini  # noqa: E402

ROOM = "Разработка"
LIMIT = 5
check = Checks()
build_dir, client_exe, probe_exe = sys.argv[1:4]
work = fresh_dir(os.path.join(build_dir, "e2e", "reconnect"))
servers = []


def start_server(port, name):
    """The development server with its bots (and so its extra rooms) on
    port (0: any free one); returns the port it listens on."""
    ready = os.path.join(work, name + ".ready")
    proc = subprocess.Popen(
        [sys.executable, "-B", os.path.join(REPO, "tools", "devserver", "devserver.py"), "--demo",
         "--port", str(port), "--http-port", "0", "--ready-file", ready, "--set", "flood_sec=0",
         "--pictures", os.path.join(work, "banners")],
        stdout=open(os.path.join(work, name + ".log"), "w"), stderr=subprocess.STDOUT)
    servers.append(proc)
    deadline = time.time() + 30
    while not os.path.exists(ready) and time.time() < deadline and proc.poll() is None:
        time.sleep(0.05)
    return proc, int(open(ready).read().split()[0])


def client_copy(name, settings):
    d = fresh_dir(os.path.join(work, name))
    shutil.copy(client_exe, d)
    open(os.path.join(d, "portable.txt"), "w").close()
    update_ini(os.path.join(d, "Zumbara.ini"), settings)
    return d


server, port = start_server(0, "server1")
peer = Peer()
traveller_dir = client_copy("traveller", {("Chat", "Server"): "127.0.0.1", ("Chat", "Port"): str(port),
                                          ("Chat", "Nick"): "Путник"})
silent_dir = client_copy("silent", {("Chat", "Server"): "127.0.0.1", ("Chat", "Port"): str(peer.port),
                                    ("Chat", "Nick"): "Тихий", ("UI", "KeepAliveTimeout"): str(LIMIT)})

wine = WineSession(os.path.join(build_dir, "e2e-prefix"), screen="1780x640x24").__enter__()
try:
    prober = Probe(wine, probe_exe)

    talk = ClientTalk(prober)
    probe, log_of, wait_log, say = talk.probe, talk.log_of, talk.wait_log, talk.say

    def status(hwnd):
        return prober.status("--hwnd", hwnd)
    # ---- the server restarts ------------------------------------------------
    wine.start(os.path.join(traveller_dir, "Zumbara.exe"), "/auto", "/nosplash", cwd=traveller_dir)
    rc, out = probe("wait-window")
    traveller = out.split("\n")[0]
    rc, _ = probe("--hwnd", traveller, "wait-title", "Zumbara dev — Zumbara")
    check(rc == 0, "Путник is logged in")
    say(traveller, "/join " + ROOM)
    in_room = prober.poll(lambda: status(traveller), lambda s: len(s) > 1 and s[1] == " Комната: " + ROOM, 30)
    check(in_room[1:2] == [" Комната: " + ROOM], "and in the room %s: %r" % (ROOM, in_room))
    say(traveller, "строка до перезапуска")
    check(wait_log(traveller, "<Путник> строка до перезапуска"), "his line is in the log")

    server.terminate()
    server.wait(10)
    stopped = time.time()
    server, again = start_server(port, "server2")
    check(again == port, "the server listens again on port %d" % port)

    back = prober.poll(lambda: status(traveller), lambda s: len(s) > 1 and s[0].startswith(" Путник @")
                       and s[1] == " Комната: " + ROOM, 90)
    check(back[1:2] == [" Комната: " + ROOM] and back[0].startswith(" Путник @"),
          "the client came back by itself, logged in and in %s after %.1f s: %r"
          % (ROOM, time.time() - stopped, back))
    log = log_of(traveller)
    check("<Путник> строка до перезапуска" in log, "the log kept its lines")
    check("Переподключение через 2 с (попытка 1)..." in log, "the first wait was announced")
    check(log.count("Вы вошли как Путник") == 2, "logged in twice")
    protocol = open(os.path.join(traveller_dir, "Zumbara-protocol.log"), "rb").read().decode("cp1251")
    check(protocol.count("C> JOIN " + ROOM) == 2, "the try went back to the room with JOIN")
    server_log = open(os.path.join(work, "server2.log"), encoding="utf-8").read()
    check("login Путник" in server_log, "the restarted server recorded the login")

    # ---- a silent peer --------------------------------------------------------
    wine.start(os.path.join(silent_dir, "Zumbara.exe"), "/auto", "/nosplash", cwd=silent_dir)
    peer.wait_line("LOGIN", 60)
    peer.send("HELLO ZBP/1\tpeer", "WELCOME Тихий\tuser\tТишина\tпривет", "USERLIST Главная",
              "USER Тихий\t#000080\t\tuser", "USEREND")
    welcomed = time.time()
    rc, out = probe("wait-window", "--title", "Тишина — Zumbara")
    silent = out.split("\n")[0]
    probe("--hwnd", silent, "move", "890", "0")
    line = "Сервер не отвечает %d секунд — соединение потеряно." % LIMIT
    noticed = wait_log(silent, line, 60)
    after = time.time() - welcomed
    check(noticed and after >= LIMIT, "the silent connection is noticed after %.1f s (limit %d s)" % (after, LIMIT))
    check(after < LIMIT + 20, "and not much later")
    check(wait_log(silent, "Переподключение через 2 с (попытка 1)...", 10), "and reconnecting starts")
    shot = os.path.join(build_dir, "e2e", "reconnect.png")
    screenshot(wine.display, shot)
    check(os.path.exists(shot), "screenshot of both windows: %s" % shot)
    for hwnd in (traveller, silent):
        probe("--hwnd", hwnd, "close")
finally:
    wine.close()
    peer.close()
    for proc in servers:
        if proc.poll() is None:
            proc.terminate()
            proc.wait(10)

check.finish()

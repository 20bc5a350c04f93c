"""End to end on the development server: two real clients in one Wine prefix,
"Модер" (a global administrator) and the guest "Петя", with a scripted
third person in the room.  What one client sends appears in the other's log;
a private message reaches only its addressee; after "/ignore" the ignored
person's lines no longer appear; the moderator's /kick disconnects the other
client with its line.  Both windows are photographed side by side.

Usage: test_devserver_chat.py BUILD_DIR CLIENT_EXE PROBE_EXE"""

import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import ClientTalk, REPO, Checks, Probe, WineSession, fresh_dir, screenshot, update_ini  # noqa: E402
from zbclient import Client  # noqa: E402

LOGIN_DIALOG = "Вход в чат — аккаунт портала zumbara.example"
check = Checks()

build_dir, client_exe, probe_exe = sys.argv[1:4]
work = fresh_dir(os.path.join(build_dir, "e2e", "devserver_chat"))

ready = os.path.join(work, "server.ready")
server_log = os.path.join(work, "devserver.log")
server = subprocess.Popen(
    [sys.executable, "-B", os.path.join(REPO, "tools", "devserver", "devserver.py"),
     "--port", "0", "--http-port", "0", "--ready-file", ready, "--admin", "Модер:secret",
     "--set", "flood_sec=0", "--pictures", os.path.join(work, "banners")],
    stdout=open(server_log, "w"), stderr=subprocess.STDOUT)
deadline = time.time() + 30
while not os.path.exists(ready) and time.time() < deadline and server.poll() is None:
    time.sleep(0.1)
port = int(open(ready).read().split()[0])


def client_copy(name, settings):
    d = fresh_dir(os.path.join(work, name))
    shutil.copy(client_exe, d)
    open(os.path.join(d, "portable.txt"), "w").close()
    settings.update({("Chat", "Server"): "127.0.0.1", ("Chat", "Port"): str(port)})
    update_ini(os.path.join(d, "Zumbara.ini"), settings)
    return d


moder_dir = client_copy("moder", {("Chat", "Nick"): "Модер", ("Chat", "Remember"): "1",
                                  ("Chat", "Pass"): "secret"})
petya_dir = client_copy("petya", {("Chat", "Nick"): "Петя"})

wine = WineSession(os.path.join(build_dir, "e2e-prefix"), screen="1780x640x24").__enter__()
observer = Client(port, "Наблюдатель", timeout=30)
try:
    prober = Probe(wine, probe_exe)

    talk = ClientTalk(prober)
    probe, log_of, wait_log, say = talk.probe, talk.log_of, talk.wait_log, talk.say

    # The moderator logs in at once (/auto with a remembered password); the
    # guest through the login dialog, which tells the two windows apart: the
    # guest's still carries the product name alone as its chat title.
    wine.start(os.path.join(moder_dir, "Zumbara.exe"), "/auto", cwd=moder_dir)
    rc, out = probe("wait-window")
    moder = out.split("\n")[0]
    rc, title = probe("--hwnd", moder, "wait-title", "Zumbara dev — Zumbara")
    check(rc == 0, "the moderator is logged in: %r" % title)
    wine.start(os.path.join(petya_dir, "Zumbara.exe"), cwd=petya_dir)
    rc, out = probe("wait-window", "--title", "Zumbara — Zumbara")
    petya = out.split("\n")[0]
    probe("wait-window", "--class", "#32770", "--title", LOGIN_DIALOG)
    probe("--window-title", LOGIN_DIALOG, "click", "1")
    rc, title = probe("--hwnd", petya, "wait-title", "Zumbara dev — Zumbara")
    check(rc == 0 and petya != moder, "the guest is logged in in a second window")
    probe("--hwnd", petya, "move", "890", "0")

    say(moder, "Всем привет")
    check(wait_log(petya, "<Модер> Всем привет"), "a line the moderator sends appears in the guest's log")
    say(petya, "И тебе привет")
    check(wait_log(moder, "<Петя> И тебе привет"), "and the guest's line in the moderator's")

    say(moder, "/pm Петя только тебе")
    check(wait_log(petya, "[приват от Модер] только тебе"), "the private message reaches the guest")
    check(wait_log(moder, "[приват для Петя] только тебе"), "the moderator sees it as sent")
    observer.expect("MSG")
    check(not [l for l in observer.sync() if "только тебе" in l], "the third person gets no copy of it")

    say(petya, "/ignore Модер")
    check(wait_log(petya, "Модер в игноре"), "/ignore confirms")
    say(moder, "после игнора")
    observer.expect("MSG")
    # The third person's next line reaches the guest after the moderator's.
    observer.send("MSG а это видно")
    check(wait_log(petya, "<Наблюдатель> а это видно"), "a later line of the third person is shown")
    petya_protocol = open(os.path.join(petya_dir, "Zumbara-protocol.log"), "rb").read().decode("cp1251")
    check("|Модер|" in petya_protocol and "после игнора" in petya_protocol and "после игнора" not in log_of(petya),
          "the ignored moderator's line reached the guest but is not shown")
    check(wait_log(moder, "<Модер> после игнора"), "the moderator's own log shows it")

    shot = os.path.join(build_dir, "e2e", "devserver_chat.png")
    screenshot(wine.display, shot)
    check(os.path.exists(shot), "screenshot of both windows: %s" % shot)

    say(moder, "/kick Петя хватит")
    check(wait_log(petya, "Вас выкинули из чата: хватит"), "the kicked guest sees why")
    check(wait_log(petya, "Сервер закрыл соединение."), "and is disconnected")
    check(observer.expect("PART") == "PART Петя", "the room sees the guest leave")
    check(wait_log(moder, "Петя выкинут(а) модератором Модер: хватит"), "the moderator sees the kick")
    for hwnd in (moder, petya):
        probe("--hwnd", hwnd, "close")
finally:
    observer.sock.close()
    wine.close()
    server.terminate()
    server.wait(10)

log = open(server_log, encoding="utf-8").read()
check("login Модер (admin)" in log and "login Петя (guest)" in log and "kick Петя by Модер: хватит" in log,
      "the server's log records both logins and the kick")
check.finish()

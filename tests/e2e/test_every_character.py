"""End to end: every character, not only those of code page 1251. The real
client, logged in with "/auto" to a scripted server, shows emoji, accented
letters and other scripts whole in its log (chat, topic change, private
message), its topic line and its people list (a nick with an emoji); a line
typed with such characters goes out as exactly its UTF-8 and Up brings it
back whole; Tab completes a nick with an accent; the room's journal and the
private conversation's (a folder named after the emoji nick) keep the lines
whole; the protocol log stays code page 1251 with "?" for the rest. Leaves
build/e2e/every_character.png to look at.
Usage: test_every_character.py BUILD_DIR CLIENT_EXE PROBE_EXE"""

import glob
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import Run, first_window  # noqa: E402

t = Run("every_character")
check, peer = t.check, t.peer

CHAT = "Смайлы: 😀 👍, кофе ☕, mañana, 你好, €5"
TOPIC = "Тема ★ и café"
PRIVATE = "личку 🙂 ü"
EMOJI_NICK = "Zoë😀"
TYPED = "café ☕ 你好 😀 ё"

t.settings(Nick="Вася")
probe = t.start("/auto", "/nosplash")
check(first_window(probe), "the main window appears")
peer.wait_line("LOGIN")
peer.send("WELCOME Вася\tuser\tТестовый чат\tДобро пожаловать", "USERLIST Главная",
          "USER Вася\t#000080\t\tuser", "USER %s\t#FF0000\t☕ кофе\tuser" % EMOJI_NICK, "USEREND",
          "TOPIC %s\t%s" % (TOPIC, EMOJI_NICK), "MSG 12:00\t%s\t#FF0000\t%s" % (EMOJI_NICK, CHAT),
          "PM 12:01\t%s\t\t%s" % (EMOJI_NICK, PRIVATE), "SYS 12:02\tконец")
log = probe.poll(lambda: probe.call("richtext", "3001")[1], lambda text: "конец" in text, timeout=30)
check("[12:00] <%s> %s\n" % (EMOJI_NICK, CHAT) in log, "the chat line arrives whole: %r" % log[-200:])
check("* Топик изменил %s: %s\n" % (EMOJI_NICK, TOPIC) in log, "the topic change arrives whole")
check("[12:01] [приват от %s] %s\n" % (EMOJI_NICK, PRIVATE) in log, "the private line arrives whole")
check(probe.out("text", "3013") == TOPIC, "the topic line shows the topic whole")
items = probe.list(3002)["items"]
check("%s  — ☕ кофе" % EMOJI_NICK in items, "the people list shows the nick with its emoji: %r" % items)

# Typed as the keyboard types: one WM_CHAR per UTF-16 unit, the emoji as
# its two halves.
probe.out("keys", "3004", TYPED)
probe.out("enter", "3004")
sent = peer.wait_line("MSG ")
check(sent == "MSG " + TYPED, "the typed line goes out as exactly its UTF-8: %r" % sent)
probe.poll(lambda: probe.out("text", "3004"), lambda text: text == "")


def key(name):
    subprocess.run(["xdotool", "key", name], env=dict(os.environ, DISPLAY=t.wine.display), check=True,
                   timeout=30)


probe.out("keys", "3004", "")  # the focus into the input line
key("Up")
recalled = probe.poll(lambda: probe.out("text", "3004"), lambda text: text == TYPED)
check(recalled == TYPED, "Up brings the line back whole: %r" % recalled)
probe.out("set", "3004", "zo")
probe.out("keys", "3004", "")
key("Tab")
completed = probe.poll(lambda: probe.out("text", "3004"), lambda text: text == EMOJI_NICK + ", ")
check(completed == EMOJI_NICK + ", ", "Tab completes the nick with its accent and emoji: %r" % completed)
t.screenshot("every_character.png")

probe.out("close")
check(peer.wait_closed(30), "the client closes the connection")
t.close()


def journal_text(*parts):
    files = glob.glob(os.path.join(t.app_dir, "Журналы", *parts, "*.txt"))
    return open(files[0], "rb").read().decode("utf-8") if len(files) == 1 else "(%r)" % files


room = journal_text("Комнаты", "Главная")
check("<%s> %s\r\n" % (EMOJI_NICK, CHAT) in room, "the room's journal keeps the chat line whole")
check("* Топик изменил %s: %s\r\n" % (EMOJI_NICK, TOPIC) in room, "and the topic change")
private = journal_text("Приват", EMOJI_NICK)
check("[приват от %s] %s\r\n" % (EMOJI_NICK, PRIVATE) in private,
      "the private journal, in a folder named after the emoji nick: %r" % private[-120:])
plog = open(os.path.join(t.app_dir, "Zumbara-protocol.log"), "rb").read()
check(" C> MSG caf? ? ?? ? \xb8\r\n".encode("latin-1") in plog,
      "the protocol log stays code page 1251, one \"?\" a character it lacks")
t.finish()

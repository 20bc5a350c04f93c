"""End to end: the input line of the real client, its keys pressed on the
keyboard (xdotool on the Xvfb display). Enter sends two lines; Up and Down
recall them and the draft; Tab and Shift+Tab complete a Cyrillic nick, the
focus staying in the line; the server receives the two lines only.
Usage: test_input_line.py BUILD_DIR CLIENT_EXE PROBE_EXE"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import Run, first_window  # noqa: E402

t = Run("input_line")
check, peer = t.check, t.peer
t.settings(Nick="Вася")
probe = t.start("/auto", "/nosplash")


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], env=dict(os.environ, DISPLAY=t.wine.display),
                   check=True, timeout=30)


def typed_lines():
    """What the client sent beyond the handshake, keep-alive, refresh and quit."""
    housekeeping = ("HELLO", "LOGIN", "PING", "ROOMS", "USERS", "QUIT")
    return [l for l in peer.lines() if not l.startswith(housekeeping)]


def line_after(*keys, want):
    """Presses the keys; returns the input line once it reads want (or after
    a wait, whatever it reads then)."""
    xdotool("key", "--delay", "60", *keys)
    return probe.poll(lambda: probe.out("text", "3004"), lambda text: text == want)


check(first_window(probe), "the main window appears")
peer.wait_line("LOGIN")
peer.send("WELCOME Вася\tuser\tТестовый чат\tДобро пожаловать", "USERLIST Главная",
          "USER Вася\t#000080\t\tuser", "USER Ёжик_77\t#FF0000\t\tuser", "USER Алиса\t#008000\t\tuser",
          "USER ёлка\t#0000FF\tсплю\tuser", "USEREND")
probe.poll(lambda: probe.list(3002)["items"], lambda items: len(items) == 4, timeout=15)

# The letters go in as the characters a keyboard types (WM_CHAR, through the
# probe: xdotool's Cyrillic, mapped to spare key codes, loses letters under
# load); the keys are pressed on the keyboard. The first key wine sees can
# be lost, so a harmless one goes first.
probe.out("keys", "3004", "")  # the focus into the input line
xdotool("key", "End")
for text in ("первая строка", "вторая"):
    probe.out("keys", "3004", text)
    xdotool("key", "Return")
    probe.poll(lambda: probe.out("text", "3004"), lambda t: t == "")
probe.out("keys", "3004", "черновик")
peer.wait_line("MSG вторая")
before_keys = typed_lines()

shown = [line_after("Up", want="вторая"), line_after("Up", want="первая строка"),
         line_after("Up", want="первая строка"), line_after("Down", want="вторая"),
         line_after("Down", want="черновик")]
check(shown == ["вторая", "первая строка", "первая строка", "вторая", "черновик"],
      "Up recalls the sent lines, stops at the oldest, Down brings back the draft: %r" % shown)

probe.out("keys", "3004", " ё", "--at-caret")
shown = [line_after("Tab", want="черновик Ёжик_77 "), line_after("Tab", want="черновик ёлка "),
         line_after("shift+Tab", want="черновик Ёжик_77 ")]
check(shown == ["черновик Ёжик_77 ", "черновик ёлка ", "черновик Ёжик_77 "],
      "Tab completes the Cyrillic nick, Tab and Shift+Tab step through the matches: %r" % shown)
typed = line_after("o", "k", want="черновик Ёжик_77 ok")  # typed where the focus is
check(typed == "черновик Ёжик_77 ok",
      "the focus stayed in the line, the caret after the nick, no tab character: %r" % typed)
t.screenshot("input_line.png")

check(typed_lines() == before_keys, "Up, Down and Tab send nothing: %r" % typed_lines()[len(before_keys):])
probe.out("close")
check(peer.wait_closed(30), "the client closes the connection")
typed_out = typed_lines()
check(typed_out == ["MSG первая строка", "MSG вторая"], "the server received the two lines only: %r" % typed_out)
t.finish()

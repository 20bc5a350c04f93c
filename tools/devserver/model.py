"""What the chat is made of: people, rooms, the chat-wide settings and
their defaults, and the refusal every request may end in."""

from wire import valid_color

MAIN_ROOM = "Главная"
DEFAULT_COLOR = "#000080"

# Chat-wide settings, in the order of the CFG series, with their defaults.
DEFAULT_CONFIG = {
    "chat_title": "Zumbara dev",
    "motd": "Добро пожаловать на сервер разработчиков Zumbara!",
    "color_bg": "#FFFFFF",
    "color_text": "#000000",
    "color_sys": "#008000",
    "color_pm": "#800080",
    "color_panel": "#9999CC",
    "banner_rotate_sec": "60",
    "room_ttl_days": "7",
    "max_msg_len": "500",
    "flood_sec": "2",
    "guest_allowed": "1",
    "chat_closed": "0",
}
_TEXT_LENGTHS = {"chat_title": (1, 100), "motd": (0, 250)}
_NUMBER_RANGES = {"banner_rotate_sec": (1, 86400), "room_ttl_days": (0, 3650),
                  "max_msg_len": (1, 4000), "flood_sec": (0, 3600)}
_SWITCHES = ("guest_allowed", "chat_closed")

MAX_ROOMS = 120          # the client keeps 128
MAX_STATUS = 60
MAX_TOPIC = 250
MAX_DESCRIPTION = 120

class Refused(Exception):
    """A request the server turns down with ERR code text; with close set the
    connection is ended after the ERR (a refused login)."""

    def __init__(self, code, text, close=False):
        super().__init__(text)
        self.code = code
        self.text = text
        self.close = close


class Member:
    """Someone who can be in the chat.  Before a successful LOGIN nick is None."""

    def __init__(self, nick=None, colour=DEFAULT_COLOR, role="guest", status=""):
        self.nick = nick
        self.colour = colour
        self.role = role          # "admin", "user" or "guest", chat-wide
        self.status = status
        self.room = None
        self.last_said = None     # clock time of the last MSG, ME or PM

    def send(self, word, *fields):
        raise NotImplementedError

    def close(self):
        pass

    def describe(self):
        return self.nick or "?"


class Room:
    def __init__(self, name, description="", creator=None, now=0.0):
        self.name = name
        self.description = description
        self.creator = creator    # lower-case nick of the room's admin
        self.topic = description
        self.mods = set()         # lower-case nicks
        self.members = []         # in the order they came in
        self.empty_since = now

    def send(self, word, *fields, skip=None):
        for m in list(self.members):
            if m is not skip:
                m.send(word, *fields)


def check_setting(key, value):
    """Refuses a value the chat cannot use for key."""
    if key.startswith("color_"):
        if not valid_color(value):
            raise Refused("400", "%s: цвет в виде #RRGGBB" % key)
    elif key in _NUMBER_RANGES:
        low, high = _NUMBER_RANGES[key]
        if not value.isdigit() or not low <= int(value) <= high:
            raise Refused("400", "%s: целое число от %d до %d" % (key, low, high))
    elif key in _SWITCHES:
        if value not in ("0", "1"):
            raise Refused("400", "%s: 1 или 0" % key)
    else:
        low, high = _TEXT_LENGTHS[key]
        if not low <= len(value) <= high:
            raise Refused("400", "%s: от %d до %d знаков" % (key, low, high))

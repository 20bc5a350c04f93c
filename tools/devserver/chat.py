"""The chat itself: its people, rooms, settings and the banner shown, and
the operations the client requests are built from.

Nothing here touches a socket.  A person in the chat is a Member whose send()
delivers one line to it (a network connection, or a demo bot); the server
glue feeds received lines to Chat.handle_line and reports closed connections
to Chat.disconnected.  Time comes from the clock given, so that tests can
move it.
"""

import logging
import time

from commands import COMMANDS
from model import DEFAULT_CONFIG, MAIN_ROOM, Refused, Room
from wire import clock_stamp, split_line

log = logging.getLogger("devserver")


class Chat:
    def __init__(self, accounts, catalogue, admins=(), clock=time.time):
        self.accounts = accounts
        self.catalogue = catalogue
        self.admins = {a.lower() for a in admins}
        self.clock = clock
        self.config = dict(DEFAULT_CONFIG)
        self.members = {}                       # lower-case nick -> Member
        self.rooms = {MAIN_ROOM.lower(): Room(MAIN_ROOM, now=clock())}
        self.next_rotation = clock() + self.number("banner_rotate_sec")
        self.entry_hooks = []                   # f(member, room) after someone enters a room

    # ------------------------------------------------------------ helpers
    def number(self, key):
        return int(self.config[key])

    @property
    def main_room(self):
        return self.rooms[MAIN_ROOM.lower()]

    def everyone(self, word, *fields):
        for m in list(self.members.values()):
            m.send(word, *fields)

    def online(self, nick):
        m = self.members.get(nick.strip().lower())
        if not m:
            raise Refused("404", "%s нет в чате" % nick.strip())
        return m

    def room_named(self, name):
        r = self.rooms.get(name.strip().lower())
        if not r:
            raise Refused("404", "Комнаты «%s» нет" % name.strip())
        return r

    def room_role(self, m, room):
        if m.role == "admin":
            return "admin"
        key = m.nick.lower()
        if room.creator == key:
            return "admin"
        if key in room.mods:
            return "mod"
        return "guest" if m.role == "guest" else "user"

    def moderates(self, m, room):
        return room is not None and self.room_role(m, room) in ("admin", "mod")

    def until_text(self, until):
        """The end of a ban as people read it."""
        return time.strftime("%d.%m.%Y %H:%M", time.localtime(until)) if until else "отмены"

    def need_admin(self, m):
        if m.role != "admin":
            raise Refused("403", "Это может только глобальный администратор")

    def need_moderator(self, m, room):
        if not self.moderates(m, room):
            raise Refused("403", "Это могут модераторы комнаты «%s»" % room.name)

    # ------------------------------------------------------------ lines
    def handle_line(self, m, text):
        """Carries out one client line (decoded, without its LF)."""
        word, fields = split_line(text)
        if not word:
            return
        entry = COMMANDS.get(word)
        try:
            if entry is None:
                raise Refused("400", "Неизвестная команда %s" % word[:40])
            handler, needs_login = entry
            if needs_login and m.nick is None:
                raise Refused("403", "Сначала войдите: LOGIN ник, пароль, цвет")
            handler(self, m, fields + [""] * (8 - len(fields)))
        except Refused as r:
            m.send("ERR", r.code, r.text)
            if r.close:
                m.close()

    def disconnected(self, m):
        """The member's connection is gone."""
        if m.nick and self.members.get(m.nick.lower()) is m:
            self.leave(m)
            log.info("logout %s", m.nick)

    # ------------------------------------------------------------ rooms and people
    def send_config(self, m):
        for key, value in self.config.items():
            m.send("CFG", key, value)
        m.send("CFGEND")

    def send_rooms(self, m, coming_to=None):
        """The room listing; coming_to counts m in, as it is about to enter."""
        m.send("ROOMLIST")
        for r in self.rooms.values():
            people = len(r.members) + (r is coming_to)
            m.send("ROOM", r.name, str(people), r.creator or "", r.description)
        m.send("ROOMEND")

    def send_users(self, m, room):
        m.send("USERLIST", room.name)
        for p in room.members:
            m.send("USER", p.nick, p.colour, p.status, self.room_role(p, room))
        m.send("USEREND")

    def move(self, m, room):
        """m leaves its room (if any) and enters room."""
        if m.room is not None:
            self.leave_room(m)
        room.members.append(m)
        room.empty_since = None
        m.room = room
        room.send("JOIN", m.nick, m.colour, self.room_role(m, room), skip=m)
        self.send_users(m, room)
        m.send("TOPIC", room.topic, "")
        for hook in self.entry_hooks:
            hook(m, room)

    def leave_room(self, m):
        room, m.room = m.room, None
        room.members.remove(m)
        if not room.members:
            room.empty_since = self.clock()
        room.send("PART", m.nick)

    def leave(self, m):
        """m is out of the chat (quit, lost, kicked or banned)."""
        self.members.pop(m.nick.lower(), None)
        if m.room is not None:
            self.leave_room(m)

    def changed_role(self, room, m):
        """m's role in room changed: m gets the listing, the others see m
        leave and come back with the new role."""
        room.send("PART", m.nick, skip=m)
        room.send("JOIN", m.nick, m.colour, self.room_role(m, room), skip=m)
        self.send_users(m, room)

    def remove_room(self, room):
        del self.rooms[room.name.lower()]
        for p in list(room.members):
            self.move(p, self.main_room)
            p.send("SYS", clock_stamp(self.clock()), "Комната «%s» удалена, вы в комнате «%s»"
                   % (room.name, MAIN_ROOM))

    # ------------------------------------------------------------ chat traffic
    def check_text(self, m, text):
        if not text.strip():
            raise Refused("400", "Пустое сообщение")
        limit = self.number("max_msg_len")
        if len(text) > limit:
            raise Refused("413", "Сообщение длиннее %d знаков" % limit)
        now = self.clock()
        wait = self.number("flood_sec")
        if m.role != "admin" and m.last_said is not None and now - m.last_said < wait:
            raise Refused("429", "Не так часто: не чаще раза в %d с" % wait)
        m.last_said = now

    def say(self, m, text):
        m.room.send("MSG", clock_stamp(self.clock()), m.nick, m.colour, text)

    # ------------------------------------------------------------ pushed to everyone
    def rooms_changed(self):
        for p in list(self.members.values()):
            self.send_rooms(p)

    def rotate_banner(self):
        """Moves on to the next banner; everyone sees it if it is another."""
        if self.catalogue.rotate():
            self.everyone("BANNER", *self.catalogue.current_fields())

    # ------------------------------------------------------------ time
    def tick(self):
        """Called about once a second: banner rotation and room expiry."""
        now = self.clock()
        if now >= self.next_rotation:
            self.next_rotation = now + self.number("banner_rotate_sec")
            self.rotate_banner()
        ttl = self.number("room_ttl_days") * 86400
        stale = [r for r in self.rooms.values()
                 if r is not self.main_room and not r.members and now - r.empty_since >= ttl]
        for r in stale:
            del self.rooms[r.name.lower()]
            log.info("room %s expired", r.name)
        if stale:
            self.rooms_changed()

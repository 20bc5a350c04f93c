"""What every logged-in person may do: talk, move between rooms, create
rooms, set a status, colour or (as a moderator) the topic, and ask for the
listings."""

import logging

from model import MAX_DESCRIPTION, MAX_ROOMS, MAX_STATUS, MAX_TOPIC, Refused, Room
from wire import clock_stamp, valid_color, valid_room_name

log = logging.getLogger("devserver")


def msg(chat, m, f):
    chat.check_text(m, f[0])
    chat.say(m, f[0])


def me(chat, m, f):
    chat.check_text(m, f[0])
    chat.say(m, "* " + f[0])


def pm(chat, m, f):
    to = chat.online(f[0])
    chat.check_text(m, f[1])
    stamp = clock_stamp(chat.clock())
    to.send("PM", stamp, m.nick, m.colour, f[1])
    m.send("PMSENT", stamp, to.nick, f[1])


def join(chat, m, f):
    chat.move(m, chat.room_named(f[0]))


def create(chat, m, f):
    name, description = f[0].strip(), f[1].strip()[:MAX_DESCRIPTION]
    if m.role == "guest":
        raise Refused("403", "Гости не создают комнат: зарегистрируйтесь")
    if not valid_room_name(name):
        raise Refused("400", "Название комнаты — от 1 до 32 знаков")
    if name.lower() in chat.rooms:
        raise Refused("409", "Комната «%s» уже есть" % name)
    if len(chat.rooms) >= MAX_ROOMS:
        raise Refused("507", "Комнат слишком много")
    room = Room(name, description, m.nick.lower(), chat.clock())
    chat.rooms[name.lower()] = room
    log.info("room %s created by %s", name, m.nick)
    chat.rooms_changed()
    chat.move(m, room)


def status(chat, m, f):
    m.status = f[0].strip()[:MAX_STATUS]
    m.room.send("STATUS", m.nick, m.status)


def topic(chat, m, f):
    room = m.room
    chat.need_moderator(m, room)
    room.topic = f[0].strip()[:MAX_TOPIC]
    room.send("TOPIC", room.topic, m.nick)


def color(chat, m, f):
    if not valid_color(f[0]):
        raise Refused("400", "Цвет — в виде #RRGGBB")
    m.colour = f[0]
    m.send("OK", "COLOR", "")


def rooms(chat, m, f):
    chat.send_rooms(m)


def users(chat, m, f):
    chat.send_users(m, m.room)


def ping(chat, m, f):
    m.send("PONG", f[0])


def quit(chat, m, f):
    m.close()

"""Moderation: kicking, banning, appointing moderators, deleting rooms."""

import logging

from model import MAIN_ROOM, Refused
from wire import clock_stamp, leading_int, valid_nick

log = logging.getLogger("devserver")


def target_in_reach(chat, m, nick):
    """The online member nick, whom m may kick or ban."""
    t = chat.online(nick)
    if t is m:
        raise Refused("400", "Себя нельзя")
    chat.need_moderator(m, t.room)
    if t.role == "admin" and m.role != "admin":
        raise Refused("403", "Глобального администратора так не уберёшь")
    return t


def throw_out(chat, m, t, word, fields, room_text):
    room = t.room
    t.send(word, *fields)
    chat.leave(t)
    t.close()
    room.send("SYS", clock_stamp(chat.clock()), room_text)
    if m.room is not room:
        m.send("OK", word, room_text)


def kick(chat, m, f):
    t = target_in_reach(chat, m, f[0])
    reason = f[1].strip() or "без причины"
    log.info("kick %s by %s: %s", t.nick, m.nick, reason)
    throw_out(chat, m, t, "KICKED", [reason], "%s выкинут(а) модератором %s: %s" % (t.nick, m.nick, reason))


def ban(chat, m, f):
    nick = f[0].strip()
    minutes, rest = leading_int(f[1])
    if minutes is None:
        raise Refused("400", "Минуты бана — целое число, 0 — навсегда")
    reason = f[2].strip() or rest.strip() or "без причины"
    t = chat.members.get(nick.lower())
    if t is not None:
        t = target_in_reach(chat, m, nick)
        nick = t.nick
    elif m.role != "admin":
        raise Refused("404", "%s нет в чате" % nick)
    elif not valid_nick(nick):
        raise Refused("400", "Нет такого ника: %s" % nick)
    until = chat.clock() + minutes * 60 if minutes else 0
    chat.accounts.ban(nick, until, reason)
    text = "%s забанен(а) до %s: %s" % (nick, chat.until_text(until), reason)
    log.info("ban %s by %s for %d min: %s", nick, m.nick, minutes, reason)
    if t is not None:
        throw_out(chat, m, t, "BANNED", [chat.until_text(until), reason], text)
    else:
        m.send("OK", "BAN", text)


def unban(chat, m, f):
    if not chat.moderates(m, m.room):
        raise Refused("403", "Разбанить могут модераторы и администраторы")
    if not chat.accounts.unban(f[0].strip()):
        raise Refused("404", "%s не забанен(а)" % f[0].strip())
    m.send("OK", "UNBAN", "%s разбанен(а)" % f[0].strip())


def set_moderator(chat, m, nick, on):
    room = m.room
    if chat.room_role(m, room) != "admin":
        raise Refused("403", "Модераторов назначает администратор комнаты")
    nick = nick.strip()
    key = nick.lower()
    if on and not chat.accounts.exists(nick):
        raise Refused("404", "%s не зарегистрирован(а): модератором может быть только аккаунт" % nick)
    if not on and key not in room.mods:
        raise Refused("404", "%s не модератор комнаты «%s»" % (nick, room.name))
    (room.mods.add if on else room.mods.discard)(key)
    t = chat.members.get(key)
    if t is not None and t.room is room:
        chat.changed_role(room, t)
    m.send("OK", "MOD" if on else "UNMOD", "%s %s модератор комнаты «%s»"
           % (nick, "теперь" if on else "больше не", room.name))


def mod(chat, m, f):
    set_moderator(chat, m, f[0], True)


def unmod(chat, m, f):
    set_moderator(chat, m, f[0], False)


def roomdel(chat, m, f):
    room = chat.room_named(f[0])
    if room is chat.main_room:
        raise Refused("403", "Комнату «%s» удалить нельзя" % MAIN_ROOM)
    if chat.room_role(m, room) != "admin":
        raise Refused("403", "Комнату удаляет её администратор")
    was_there = m.room is room
    chat.remove_room(room)
    log.info("room %s deleted by %s", room.name, m.nick)
    chat.rooms_changed()
    if not was_there:
        m.send("OK", "ROOMDEL", "Комната «%s» удалена" % room.name)

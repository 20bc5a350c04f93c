"""Getting in: HELLO, REG and LOGIN."""

import logging

from model import DEFAULT_COLOR, Refused
from wire import valid_color, valid_nick

log = logging.getLogger("devserver")


def hello(chat, m, f):
    m.send("HELLO", "ZBP/1", "Zumbara dev server 1.0")


def reg(chat, m, f):
    login, password, question, answer = f[0].strip(), f[1], f[2], f[3]
    if m.nick:
        raise Refused("400", "Вы уже вошли")
    if not valid_nick(login):
        raise Refused("400", "Логин: от 2 до 24 букв, цифр и знаков _ - .")
    if chat.accounts.exists(login) or login.lower() in chat.members:
        raise Refused("409", "Логин %s занят" % login)
    if len(password) < 4:
        raise Refused("400", "Пароль — не короче 4 знаков")
    if not answer.strip():
        raise Refused("400", "Нужен ответ на секретный вопрос")
    chat.accounts.add(login, password, question, answer)
    log.info("register %s", login)
    m.send("OK", "REG", "Аккаунт %s создан" % login)


def login(chat, m, f):
    nick, password, colour = f[0].strip(), f[1], f[2]
    if m.nick:
        raise Refused("400", "Вы уже вошли как %s" % m.nick)
    if not valid_nick(nick):
        raise Refused("401", "Ник — от 2 до 24 букв, цифр и знаков _ - .", close=True)
    if chat.accounts.exists(nick):
        if not chat.accounts.check(nick, password):
            raise Refused("401", "Неверный пароль для %s" % nick if password else
                          "Ник %s зарегистрирован: нужен пароль" % nick, close=True)
        nick = chat.accounts.accounts[nick.lower()]["nick"]
        role = "admin" if nick.lower() in chat.admins else "user"
    elif password:
        raise Refused("401", "Аккаунта %s нет: зарегистрируйтесь или войдите гостем без пароля"
                      % nick, close=True)
    elif chat.config["guest_allowed"] == "0":
        raise Refused("401", "Гостей не пускают: войдите с паролем", close=True)
    else:
        role = "guest"
    ban = chat.accounts.ban_of(nick, chat.clock())
    if ban:
        raise Refused("423", "Вы забанены до %s: %s" % (chat.until_text(ban["until"]), ban["reason"]),
                      close=True)
    if chat.config["chat_closed"] == "1" and role != "admin":
        raise Refused("503", "Чат закрыт, заходите позже", close=True)
    if nick.lower() in chat.members:
        raise Refused("409", "Ник %s уже в чате" % nick, close=True)
    m.nick, m.role = nick, role
    m.colour = colour if valid_color(colour) else DEFAULT_COLOR
    chat.members[nick.lower()] = m
    log.info("login %s (%s) from %s", nick, role, m.describe())
    m.send("WELCOME", nick, role, chat.config["chat_title"], chat.config["motd"])
    chat.send_config(m)
    chat.send_rooms(m, coming_to=chat.main_room)
    chat.move(m, chat.main_room)
    m.send("BANNER", *chat.catalogue.current_fields())

"""Resident bots for --demo: three people in the main room, with statuses
and roles, who greet whoever comes in, say a line now and then and answer
a private message, so that a new user sees a living room."""

import random

from model import MAIN_ROOM, Member, Room
from wire import clock_stamp

# Nick, colour, chat-wide role, status, moderator of the main room.
BOTS = [
    ("Алиса", "#C00060", "user", "", True),
    ("Борис", "#006000", "user", "отошёл", False),
    ("Вика", "#0060C0", "guest", "кушаю", False),
]
GREETINGS = [
    "Привет, {nick}! Располагайся.",
    "{nick}, добро пожаловать! Тут все свои.",
    "О, {nick} пришёл(а). Заходи, чай будешь?",
]
CHATTER = [
    "Кто-нибудь уже пробовал новую сборку?",
    "Баннер сверху меняется сам, каждые пару минут.",
    "Напишите /help — там все команды.",
    "Личное сообщение: двойной щелчок по нику или /pm ник текст.",
    "У меня лаг меньше 10 мс, локалхост же :)",
    "Создайте свою комнату кнопкой «+» справа.",
    "Борис опять отошёл, как обычно.",
]
EXTRA_ROOMS = [("Флудилка", "Болтаем обо всём"), ("Разработка", "Клиент, сервер и протокол")]


class Bot(Member):
    def __init__(self, demo, nick, colour, role, status):
        super().__init__(nick, colour, role, status)
        self.demo = demo

    def send(self, word, *fields):
        if word == "PM":  # time stamp, sender, colour, text
            self.demo.later(1.5, self.demo.answer_pm, self, fields[1], fields[3])


class Demo:
    def __init__(self, chat, loop, rng=None, chatter_every=(40, 90)):
        self.chat = chat
        self.loop = loop
        self.rng = rng or random.Random()
        self.chatter_every = chatter_every
        self.bots = []
        main = chat.main_room
        for nick, colour, role, status, moderator in BOTS:
            bot = Bot(self, nick, colour, role, status)
            if moderator:
                main.mods.add(nick.lower())
            chat.members[nick.lower()] = bot
            bot.room = main
            main.members.append(bot)
            self.bots.append(bot)
        main.empty_since = None
        main.topic = "Комната для всех. Не флудим, не ругаемся."
        for name, description in EXTRA_ROOMS:
            chat.rooms[name.lower()] = Room(name, description, now=chat.clock())
        chat.entry_hooks.append(self.on_entry)
        self.later(self.pause(), self.chatter)

    def pause(self):
        return self.rng.uniform(*self.chatter_every)

    def later(self, seconds, fn, *args):
        self.loop.call_later(seconds, fn, *args)

    def present(self):
        """The bots still in the main room (one may have been kicked)."""
        return [b for b in self.bots if b.room is self.chat.main_room]

    def say(self, bot, text):
        if bot.room is not None:
            self.chat.say(bot, text)

    def on_entry(self, member, room):
        if isinstance(member, Bot) or room.name != MAIN_ROOM:
            return
        bots = self.present()
        if bots:
            text = self.rng.choice(GREETINGS).format(nick=member.nick)
            self.later(1.0, self.say, self.rng.choice(bots), text)

    def chatter(self):
        bots = self.present()
        if bots:
            self.say(self.rng.choice(bots), self.rng.choice(CHATTER))
        self.later(self.pause(), self.chatter)

    def answer_pm(self, bot, nick, text):
        sender = self.chat.members.get(nick.lower())
        if sender is not None and bot.room is not None:
            sender.send("PM", clock_stamp(self.chat.clock()), bot.nick, bot.colour,
                        "Я бот, отвечаю одно и то же. Вы написали: " + text)

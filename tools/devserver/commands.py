"""Every client line the server knows, with its handler."""

import administration
import entry
import moderation
import traffic

# Command word -> (handler, needs a logged-in member).
COMMANDS = {
    "HELLO": (entry.hello, False), "REG": (entry.reg, False),
    "LOGIN": (entry.login, False), "PING": (traffic.ping, False),
    "QUIT": (traffic.quit, False),
    "MSG": (traffic.msg, True), "ME": (traffic.me, True), "PM": (traffic.pm, True),
    "JOIN": (traffic.join, True), "CREATE": (traffic.create, True),
    "STATUS": (traffic.status, True), "TOPIC": (traffic.topic, True),
    "KICK": (moderation.kick, True), "BAN": (moderation.ban, True), "UNBAN": (moderation.unban, True),
    "MOD": (moderation.mod, True), "UNMOD": (moderation.unmod, True),
    "ROOMDEL": (moderation.roomdel, True), "ROOMS": (traffic.rooms, True),
    "USERS": (traffic.users, True), "COLOR": (traffic.color, True),
    "CFG": (administration.cfg, True), "SETCFG": (administration.setcfg, True),
    "BANNERS": (administration.banners, True), "BANNERADD": (administration.banneradd, True),
    "BANNERDEL": (administration.bannerdel, True), "BANNERTOGGLE": (administration.bannertoggle, True),
}

"""The chat-wide settings and the banner catalogue."""

import logging

from model import Refused, check_setting
from wire import leading_int

log = logging.getLogger("devserver")


def cfg(chat, m, f):
    if m.role != "admin" and not chat.moderates(m, m.room):
        raise Refused("403", "Настройки видны администраторам и модераторам")
    chat.send_config(m)


def setcfg(chat, m, f):
    chat.need_admin(m)
    key, value = f[0], f[1].strip()
    if key not in chat.config:
        raise Refused("400", "Неизвестный ключ %s" % key[:40])
    check_setting(key, value)
    chat.config[key] = value
    log.info("config %s=%s by %s", key, value, m.nick)
    if key == "banner_rotate_sec":
        chat.next_rotation = chat.clock() + int(value)
    m.send("OK", "SETCFG", "")
    for p in list(chat.members.values()):
        chat.send_config(p)


def admin_banner(chat, m, field):
    """The banner whose number field holds, for a global administrator."""
    chat.need_admin(m)
    ident, _ = leading_int(field)
    b = chat.catalogue.find(ident) if ident is not None else None
    if b is None:
        raise Refused("404", "Баннера #%s нет" % field[:20])
    return b


def banners(chat, m, f):
    chat.need_admin(m)
    m.send("BANNERLIST")
    for b in chat.catalogue.items:
        m.send("BANNERITEM", str(b.id), b.url, b.link, str(b.weight), "1" if b.enabled else "0")
    m.send("BANNEREND")


def banneradd(chat, m, f):
    chat.need_admin(m)
    url, link = f[0].strip(), f[1].strip()
    if not url.startswith("http://") or len(url) > 255 or len(link) > 255:
        raise Refused("400", "Картинка — адрес http:// не длиннее 255 знаков")
    weight, _ = leading_int(f[2])
    b = chat.catalogue.add(url, link, weight or 10)
    log.info("banner #%d added by %s: %s", b.id, m.nick, url)
    m.send("OK", "BANNERADD", "Баннер #%d добавлен" % b.id)
    if chat.catalogue.current is None:
        chat.rotate_banner()


def bannerdel(chat, m, f):
    b = admin_banner(chat, m, f[0])
    chat.catalogue.remove(b)
    m.send("OK", "BANNERDEL", "Баннер #%d удалён" % b.id)
    if chat.catalogue.current is b:
        chat.rotate_banner()


def bannertoggle(chat, m, f):
    b = admin_banner(chat, m, f[0])
    if f[1] not in ("0", "1"):
        raise Refused("400", "Состояние баннера — 1 или 0")
    b.enabled = f[1] == "1"
    m.send("OK", "BANNERTOGGLE", "Баннер #%d %s" % (b.id, "включён" if b.enabled else "выключен"))
    shown = chat.catalogue.current
    if (shown is b and not b.enabled) or (shown is None and b.enabled):
        chat.rotate_banner()

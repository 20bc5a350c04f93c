"""Registered accounts and bans, in memory and optionally in a JSON file.

Nicks are keys in lower case, so "Вася" and "ВАСЯ" are one account.
Passwords are kept as salted PBKDF2 hashes, never as typed.
"""

import hashlib
import hmac
import json
import os
import secrets

_ITERATIONS = 20000


def _hash(password, salt):
    return hashlib.pbkdf2_hmac("sha256", password.encode("utf-8"), bytes.fromhex(salt),
                               _ITERATIONS).hex()


class Accounts:
    def __init__(self, path=None):
        self.path = path
        self.accounts = {}   # lower nick -> {"nick", "salt", "hash", "question", "answer"}
        self.bans = {}       # lower nick -> {"nick", "until" (0: until lifted), "reason"}
        if path and os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                data = json.load(f)
            self.accounts = data.get("accounts", {})
            self.bans = data.get("bans", {})

    def save(self):
        if not self.path:
            return
        tmp = self.path + ".tmp"
        with open(tmp, "w", encoding="utf-8") as f:
            json.dump({"accounts": self.accounts, "bans": self.bans}, f,
                      ensure_ascii=False, indent=1, sort_keys=True)
        os.replace(tmp, self.path)

    def exists(self, nick):
        return nick.lower() in self.accounts

    def add(self, nick, password, question="", answer=""):
        salt = secrets.token_hex(8)
        self.accounts[nick.lower()] = {"nick": nick, "salt": salt, "hash": _hash(password, salt),
                                       "question": question, "answer": answer}
        self.save()

    def check(self, nick, password):
        a = self.accounts.get(nick.lower())
        return bool(a) and hmac.compare_digest(a["hash"], _hash(password, a["salt"]))

    def ban(self, nick, until, reason):
        self.bans[nick.lower()] = {"nick": nick, "until": until, "reason": reason}
        self.save()

    def unban(self, nick):
        found = self.bans.pop(nick.lower(), None) is not None
        if found:
            self.save()
        return found

    def ban_of(self, nick, now):
        """The ban in force on nick, or None; a ban whose time is up is lifted."""
        b = self.bans.get(nick.lower())
        if b and b["until"] and b["until"] <= now:
            self.unban(nick)
            return None
        return b

"""ZBP/1 lines as the development server reads and writes them.

A line is a command word, optionally one blank and TAB-separated fields,
UTF-8, ended by LF.  Field texts never hold TAB, CR or LF: whatever the server
puts into a field has them replaced by blanks first.
"""

import re
import time

# A client line longer than this without an LF ends its connection.
MAX_LINE_BYTES = 64 * 1024

_COLOR = re.compile(r"#[0-9A-Fa-f]{6}\Z")
_NAME_PUNCT = "_-."


def split_line(text):
    """(word, fields) of one received line without its LF.  A CR before the
    LF and blanks around the line are dropped; an empty line gives ("", [])."""
    text = text.rstrip("\r\n ").lstrip(" ")
    word, blank, rest = text.partition(" ")
    return word, (rest.split("\t") if blank else [])


def field_text(value):
    return str(value).replace("\t", " ").replace("\r", " ").replace("\n", " ")


def encode_line(word, *fields):
    """The bytes of one server line; a word without fields goes out bare."""
    if not fields:
        return word.encode("utf-8") + b"\n"
    return (word + " " + "\t".join(field_text(f) for f in fields)).encode("utf-8") + b"\n"


def valid_color(text):
    return bool(_COLOR.match(text))


def fits_code_page(text):
    """Nicks and room names must survive the client's conversion to 1251."""
    try:
        text.encode("cp1251")
    except UnicodeEncodeError:
        return False
    return True


def valid_nick(nick):
    """2 to 24 letters, digits and _ - . (Cyrillic letters included)."""
    return (2 <= len(nick) <= 24 and fits_code_page(nick)
            and all(c.isalnum() or c in _NAME_PUNCT for c in nick))


def valid_room_name(name):
    """1 to 32 printable characters, no leading or trailing blank."""
    return (1 <= len(name) <= 32 and name == name.strip() and fits_code_page(name)
            and all(c.isprintable() for c in name))


def clock_stamp(when):
    """The time stamp field of chat lines: local "hh:mm"."""
    return time.strftime("%H:%M", time.localtime(when))


def leading_int(text):
    """(number, rest) for text that starts with decimal digits, else (None, text)."""
    m = re.match(r"\s*(\d+)\s*(.*)\Z", text, re.S)
    if not m:
        return None, text
    return int(m.group(1)), m.group(2)

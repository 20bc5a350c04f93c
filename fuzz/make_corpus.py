#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_receive into corpus/.

Each seed is: one byte k, k control bytes, then the byte stream."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def seed(stream, control=b""):
    return bytes([len(control)]) + control + stream


def u(text):
    return text.encode("utf-8")


MSG = b"MSG 12:34:56\tnick\t#FF0000\t"

seeds = {
    "normal_lines": seed(b"WELCOME Zumbara server\t1\n" + MSG + b"hello there\n"
                         + b"USERS nick\t#00FF00\tonline\tguest\nPING 42\n"),
    "crlf_lines": seed(b"WELCOME srv\r\n" + MSG + b"text\r\n\r\nTOPIC \t a topic \r\n"),
    "cyrillic_utf8": seed(MSG + u("Привет, как дела? Ёжик в тумане.") + b"\n"
                          + u("JOIN Вася\t#123456\tотошёл\tmod") + b"\n"),
    "four_byte_sequences": seed(MSG + u("smile \U0001F600 and \U0001F4A9 end") + b"\n"
                                + b"MSG \xf0\x9f\x98\n"),
    "cut_sequences": seed(MSG + b"cut \xd0\n" + MSG + b"cut \xe2\x82\n" + MSG + b"\xe2\n" + b"MSG \xd0"),
    "nul_bytes": seed(MSG + b"a\x00b\x00\n\x00\nMSG \xc0\x80overlong\n" + b"\x00\x00\x00\n"),
    "long_line_without_lf": seed(b"PING 0\nMSG " + b"x" * 70000),
    "long_line_then_lines": seed(b"MSG " + b"y" * 66000 + b"\nPING 1\n", bytes([0xF8])),
    "nine_fields": seed(b"CMD f1\tf2\tf3\tf4\tf5\tf6\tf7\tf8\tf9\tf10\n"
                        + b"CMD \t\t\t\t\t\t\t\t\n"),
    "nested_events": seed(MSG + b"one\n" + MSG + b"two\n" + MSG + b"three\n" * 20,
                          bytes([0x08, 0x0A, 0x0E | 0x30, 0x0B, 0x05, 0x0C, 0x0D, 0x06, 0x0F])),
    "table_lines": seed(b"JOIN alice\t#FF00FF\taway\tadmin\nJOIN Bob\t00ff00\tbusy\tguest\n"
                        b"PART ALICE\nCFG color.bg\t#EEEEEE\nCFG color.bg\t#DDDDDD\n"
                        b"ROOM main\t-17\tthird\tfourth\nIGNORE spammer\nUNIGNORE SPAMMER\n"
                        b"BANNER 7\thttp://x.example/a.gif\thttp://x.example/\t99999999999\t1\nX\n"),
    "blanks": seed(b"   \n \t \n    LEADING blanks\t\t\n" + MSG + b"trailing   \n"),
    "high_bytes": seed(b"MSG " + bytes(range(0x80, 0x100)) + b"\n"
                       + MSG + u("\u20ac \u2116 \u2122 \uffff \u0098 \u00a0") + b"\n"),
    "long_cyrillic_line": seed(MSG + u("Ж" * 5000) + b"\n" + b"PING 2\n"),
    "tiny_reads": seed(MSG + u("по байту") + b"\n" + MSG + b"x\n", bytes([0x08, 0x10, 0x18])),
}

out = os.path.join(HERE, "corpus")
os.makedirs(out, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)

#!/usr/bin/env python3
"""Zumbara development chat server: a small ZBP/1 server for running and
testing the client, with plain HTTP for the banner pictures.  A development
tool, not part of the client.

    devserver.py [--host 127.0.0.1] [--port 4225] [--http-port 4226]
                 [--accounts FILE] [--admin NICK[:PASSWORD]]... [--demo]
                 [--pictures DIR] [--url-host NAME] [--set KEY=VALUE]...
                 [--ready-file FILE] [--verbose]

Stops on Ctrl+C or SIGTERM.  Port 0 takes any free port; --ready-file then
receives "PORT HTTP_PORT" once both listen.
"""

import argparse
import asyncio
import logging
import os
import shutil
import signal
import socket
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from accounts import Accounts  # noqa: E402
from banners import Catalogue  # noqa: E402
from chat import Chat  # noqa: E402
from model import Refused, check_setting  # noqa: E402
from demo import Demo  # noqa: E402
from pictures import list_pictures, write_samples  # noqa: E402
from server import DevServer  # noqa: E402
from wire import valid_nick  # noqa: E402

log = logging.getLogger("devserver")


def parse_args(argv):
    p = argparse.ArgumentParser(prog="devserver.py", description=__doc__.split("\n\n")[0])
    p.add_argument("--host", default="127.0.0.1", help="address to listen on (default 127.0.0.1)")
    p.add_argument("--port", type=int, default=4225, help="ZBP/1 port (default 4225; 0: any free)")
    p.add_argument("--http-port", type=int, default=4226, help="picture port (default 4226; 0: any free)")
    p.add_argument("--url-host", help="host name put into banner addresses (default: --host, or "
                                      "this machine's name when listening on all addresses)")
    p.add_argument("--accounts", metavar="FILE", help="keep accounts and bans in this JSON file")
    p.add_argument("--admin", action="append", default=[], metavar="NICK[:PASSWORD]",
                   help="a global administrator; with a password the account is made if missing")
    p.add_argument("--pictures", metavar="DIR", help="banner pictures to serve; sample banners "
                   "are drawn into it when it holds none (default: a temporary folder)")
    p.add_argument("--set", action="append", default=[], metavar="KEY=VALUE",
                   help="a chat setting, e.g. flood_sec=0")
    p.add_argument("--demo", action="store_true", help="resident bots in the main room")
    p.add_argument("--ready-file", metavar="FILE", help="write the bound ports here")
    p.add_argument("--verbose", action="store_true", help="log every picture request too")
    return p.parse_args(argv)


def make_chat(args):
    """The chat with its accounts, administrators and settings; exits with a
    message on a bad option."""
    accounts = Accounts(args.accounts)
    admins = []
    for spec in args.admin:
        nick, _, password = spec.partition(":")
        if not valid_nick(nick):
            sys.exit("devserver: --admin %s: not a valid nick" % spec)
        if password and not accounts.exists(nick):
            accounts.add(nick, password)
        admins.append(nick)
    chat = Chat(accounts, Catalogue(), admins)
    for kv in args.set:
        key, _, value = kv.partition("=")
        if key not in chat.config:
            sys.exit("devserver: --set %s: unknown key (known: %s)" % (kv, ", ".join(chat.config)))
        try:
            check_setting(key, value)
        except Refused as r:
            sys.exit("devserver: --set %s: %s" % (kv, r.text))
        chat.config[key] = value
    return chat


async def run(args):
    chat = make_chat(args)
    temp = None
    folder = args.pictures
    if not folder:
        folder = temp = tempfile.mkdtemp(prefix="zumbara-banners-")
    if not os.path.isdir(folder) or not list_pictures(folder):
        write_samples(folder)
    server = DevServer(chat, folder, args.host, args.port, args.http_port)
    try:
        await server.start()
    except OSError as e:
        sys.exit("devserver: cannot listen on %s: %s" % (args.host, e))
    url_host = args.url_host or (args.host if args.host not in ("", "0.0.0.0", "::")
                                 else socket.gethostname())
    base = "http://%s:%d/" % (url_host, server.http_port)
    for name in list_pictures(folder):
        chat.catalogue.add(base + name, base, 10)
    chat.catalogue.rotate()
    loop = asyncio.get_event_loop()
    if args.demo:
        Demo(chat, loop)
    log.info("ZBP/1 on %s:%d, pictures from %s on %s", args.host, server.port, folder, base)
    if args.ready_file:
        with open(args.ready_file + ".tmp", "w") as f:
            f.write("%d %d\n" % (server.port, server.http_port))
        os.replace(args.ready_file + ".tmp", args.ready_file)

    stop = asyncio.Event()
    for sig in (signal.SIGINT, signal.SIGTERM):
        loop.add_signal_handler(sig, stop.set)
    await stop.wait()
    log.info("stopping")
    await server.stop()
    if temp:
        shutil.rmtree(temp, ignore_errors=True)


def main(argv=None):
    args = parse_args(sys.argv[1:] if argv is None else argv)
    logging.basicConfig(stream=sys.stdout, format="%(asctime)s %(message)s", datefmt="%H:%M:%S",
                        level=logging.DEBUG if args.verbose else logging.INFO)
    asyncio.run(run(args))


if __name__ == "__main__":
    main()

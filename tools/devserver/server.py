"""The network side: the ZBP/1 listener, one Connection per client, the
picture listener, and the once-a-second tick of the chat."""

import asyncio
import functools
import logging

import picture_http
from model import Member
from wire import MAX_LINE_BYTES, encode_line

log = logging.getLogger("devserver")

# A client that lets this much of our output pile up unread is cut off, so
# that one stuck reader never holds up the others or the server's memory.
MAX_UNREAD_BYTES = 1024 * 1024


class Connection(Member):
    def __init__(self, writer, max_unread):
        super().__init__()
        self.writer = writer
        self.max_unread = max_unread
        self.peer = "%s:%s" % writer.get_extra_info("peername")[:2]
        self.closed = False

    def describe(self):
        return self.peer

    def send(self, word, *fields):
        transport = self.writer.transport
        if self.closed or transport.is_closing():
            return
        transport.write(encode_line(word, *fields))
        if transport.get_write_buffer_size() > self.max_unread:
            log.info("cut off %s (%s): it does not read", self.nick or "?", self.peer)
            self.closed = True
            transport.abort()

    def close(self):
        """Ends the connection once what was sent has gone out."""
        if not self.closed:
            self.closed = True
            self.writer.close()


class DevServer:
    def __init__(self, chat, pictures_folder, host="127.0.0.1", port=4225, http_port=4226,
                 max_unread=MAX_UNREAD_BYTES):
        self.chat = chat
        self.pictures_folder = pictures_folder
        self.host = host
        self.port = port
        self.http_port = http_port
        self.max_unread = max_unread
        self._servers = []
        self._ticker = None

    async def start(self):
        """Listens on both ports; afterwards port and http_port hold the
        ports really bound (useful with port 0)."""
        zbp = await asyncio.start_server(self._serve_client, self.host, self.port,
                                         limit=MAX_LINE_BYTES)
        pics = await asyncio.start_server(
            functools.partial(picture_http.serve, self.pictures_folder), self.host, self.http_port,
            limit=16 * 1024)
        self._servers = [zbp, pics]
        self.port = zbp.sockets[0].getsockname()[1]
        self.http_port = pics.sockets[0].getsockname()[1]
        self._ticker = asyncio.ensure_future(self._tick())

    async def stop(self):
        self._ticker.cancel()
        for s in self._servers:
            s.close()
            await s.wait_closed()

    async def _tick(self):
        while True:
            await asyncio.sleep(1)
            self.chat.tick()

    async def _serve_client(self, reader, writer):
        c = Connection(writer, self.max_unread)
        try:
            while not c.closed:
                try:
                    raw = await reader.readuntil(b"\n")
                except asyncio.LimitOverrunError:
                    log.info("cut off %s (%s): line over %d bytes", c.nick or "?", c.peer, MAX_LINE_BYTES)
                    c.send("ERR", "400", "Строка длиннее 64 КиБ: соединение закрыто")
                    break
                except (asyncio.IncompleteReadError, ConnectionError):
                    break
                try:
                    text = raw.decode("utf-8")
                except UnicodeDecodeError:
                    c.send("ERR", "400", "Строка не в UTF-8")
                    continue
                self.chat.handle_line(c, text)
        finally:
            self.chat.disconnected(c)
            c.close()

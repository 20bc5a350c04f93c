"""Plain HTTP/1.0 for the banner pictures: GET (and HEAD) of a file in one
folder, one request per connection, closed after the answer.  The root
answers with a small page listing the pictures (banner links point there)."""

import asyncio
import html
import logging
import os
import urllib.parse

from pictures import PICTURE_TYPES, list_pictures

log = logging.getLogger("devserver")

_REASONS = {200: "OK", 400: "Bad Request", 404: "Not Found", 405: "Method Not Allowed"}


def answer(status, body=b"", content_type="text/plain; charset=utf-8", head=False):
    header = ("HTTP/1.0 %d %s\r\nContent-Type: %s\r\nContent-Length: %d\r\n"
              "Connection: close\r\n\r\n" % (status, _REASONS[status], content_type, len(body)))
    return header.encode("ascii") + (b"" if head else body)


def respond(folder, request):
    """The bytes answering one request head (request line and headers)."""
    try:
        method, target, version = request.split(b"\r\n", 1)[0].decode("ascii").split(" ")
    except (UnicodeDecodeError, ValueError):
        return answer(400, b"bad request\n")
    if not version.startswith("HTTP/"):
        return answer(400, b"bad request\n")
    if method not in ("GET", "HEAD"):
        return answer(405, b"GET only\n")
    head = method == "HEAD"
    path = urllib.parse.unquote(urllib.parse.urlsplit(target).path)
    if path == "/":
        items = "".join('<li><a href="/%s"><img src="/%s" alt="%s"></a></li>'
                        % ((html.escape(urllib.parse.quote(n)),) * 2 + (html.escape(n),))
                        for n in list_pictures(folder))
        page = ("<!DOCTYPE html><title>Zumbara dev banners</title><h1>Zumbara dev banners</h1>"
                "<ul>%s</ul>\n" % items)
        return answer(200, page.encode("utf-8"), "text/html; charset=utf-8", head)
    name = path[1:]
    ext = os.path.splitext(name)[1].lower()
    # Only plain file names of the folder: no sub-folders, no way out of it.
    if "/" in name or "\\" in name or name.startswith(".") or ext not in PICTURE_TYPES:
        return answer(404, b"not found\n", head=head)
    try:
        with open(os.path.join(folder, name), "rb") as f:
            body = f.read()
    except OSError:
        return answer(404, b"not found\n", head=head)
    return answer(200, body, PICTURE_TYPES[ext], head)


async def serve(folder, reader, writer):
    try:
        request = await asyncio.wait_for(reader.readuntil(b"\r\n\r\n"), 15)
        reply = respond(folder, request)
        log.debug("http %s -> %s", request.split(b"\r\n", 1)[0][:200], reply.split(b"\r\n", 1)[0])
    except (asyncio.IncompleteReadError, asyncio.LimitOverrunError, asyncio.TimeoutError,
            ConnectionError):
        reply = None
    try:
        if reply:
            writer.write(reply)
            await writer.drain()
    except ConnectionError:
        pass
    finally:
        writer.close()

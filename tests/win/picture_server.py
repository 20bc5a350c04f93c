"""Runs a command next to a real HTTP server of banner pictures.

Usage: picture_server.py DIR -- COMMAND [ARGS...]

Draws the pictures into DIR with ImageMagick, serves DIR with Python's
http.server on an ephemeral loopback port, and runs COMMAND with
ZB_PICTURE_PORT (the port) and ZB_PICTURE_DIR (DIR as a Wine path) in its
environment. Exits with the command's exit code. The end-to-end tests use
draw() and serve() as a module."""

import functools
import http.server
import os
import shutil
import subprocess
import sys
import threading

# name: ImageMagick arguments that draw it
PICTURES = {
    # left half opaque blue, right half red at half opacity
    "alpha.png": ["-size", "100x100", "xc:rgba(255,0,0,0.5)", "-fill", "blue",
                  "-draw", "rectangle 0,0,49,99", "PNG32:%s"],
    # two frames: red, then green
    "anim.gif": ["-size", "60x30", "xc:red", "xc:lime", "-delay", "50", "-loop", "0", "%s"],
    "photo.jpg": ["-size", "944x122", "xc:#20A040", "-quality", "95", "%s"],
    "small.bmp": ["-size", "200x40", "xc:#FF8000", "BMP3:%s"],
    "wide.gif": ["-size", "1000x50", "xc:cyan", "%s"],
    # 5 MiB: a 1024 x 1707 24-bit BMP, stored bottom row first
    "big.bmp": ["-size", "1024x1707", "xc:#20C040", "BMP3:%s"],
    # banner artwork at its exact size: magenta, a yellow block, a white dot
    "banner.png": ["-size", "472x61", "xc:#C0187A", "-fill", "#FFD040", "-draw", "rectangle 16,14 120,46",
                   "-fill", "white", "-draw", "circle 440,30 452,30", "%s"],
}


def draw(directory, names=None):
    convert = shutil.which("convert")
    if os.path.exists("/usr/bin/convert"):
        convert = "/usr/bin/convert"
    os.makedirs(directory, exist_ok=True)
    for name, args in PICTURES.items():
        if names and name not in names:
            continue
        path = os.path.join(directory, name)
        subprocess.run([convert] + [a.replace("%s", path) for a in args], check=True)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass


def serve(directory):
    """Serves directory on an ephemeral loopback port until shutdown()."""
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(QuietHandler, directory=directory))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def main():
    directory = os.path.abspath(sys.argv[1])
    command = sys.argv[sys.argv.index("--") + 1:]
    draw(directory)
    server = serve(directory)
    env = dict(os.environ)
    env["ZB_PICTURE_PORT"] = str(server.server_address[1])
    env["ZB_PICTURE_DIR"] = "Z:" + directory.replace("/", "\\")
    try:
        return subprocess.run(command, env=env).returncode
    finally:
        server.shutdown()


if __name__ == "__main__":
    sys.exit(main())

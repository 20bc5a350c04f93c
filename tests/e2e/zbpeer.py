"""A scripted ZBP/1 chat server for end-to-end tests: one client on an
ephemeral loopback port; lines are read and written as the wire carries
them (UTF-8, LF)."""

import socket
import threading
import time


class Peer:
    def __init__(self):
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(1)
        self.port = self.listener.getsockname()[1]
        self.conn = None
        self.raw = b""          # every byte the client sent
        self.closed = False     # the client closed its side
        self.lock = threading.Lock()
        self.thread = threading.Thread(target=self._run, daemon=True)
        self.thread.start()

    def _run(self):
        self.listener.settimeout(120)
        try:
            self.conn, _ = self.listener.accept()
        except OSError:
            return
        while True:
            try:
                data = self.conn.recv(65536)
            except OSError:
                data = b""
            if not data:
                self.closed = True
                return
            with self.lock:
                self.raw += data

    def lines(self):
        with self.lock:
            return [l.decode("utf-8", "replace") for l in self.raw.split(b"\n")[:-1]]

    def wait_line(self, prefix, timeout=30):
        end = time.time() + timeout
        while time.time() < end:
            for l in self.lines():
                if l.startswith(prefix):
                    return l
            time.sleep(0.1)
        raise AssertionError("no line starting with %r; got %r" % (prefix, self.lines()))

    def wait_closed(self, timeout=30):
        end = time.time() + timeout
        while time.time() < end and not self.closed:
            time.sleep(0.1)
        return self.closed

    def send(self, *lines):
        for l in lines:
            self.conn.sendall(l.encode("utf-8") + b"\n")

    def close(self):
        try:
            if self.conn:
                self.conn.close()
        finally:
            self.listener.close()

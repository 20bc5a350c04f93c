"""A scripted ZBP/1 client for tests: sends lines and reads the server's
lines as the wire carries them (UTF-8, LF), with a timeout on every read."""

import socket


class Client:
    """Logs in when given a nick (and reads up to the BANNER that ends the
    login); every read waits at most timeout seconds."""

    def __init__(self, port, nick=None, password="", colour="#FF0000", rcvbuf=None, timeout=5):
        self.sock = socket.socket()
        if rcvbuf:
            self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, rcvbuf)
        self.sock.settimeout(timeout)
        self.sock.connect(("127.0.0.1", port))
        self.buf = b""
        self.seen = []
        if nick:
            self.send("LOGIN %s\t%s\t%s" % (nick, password, colour))
            self.expect("BANNER")

    def send(self, *lines):
        self.sock.sendall(b"".join(l.encode("utf-8") + b"\n" for l in lines))

    def line(self):
        while b"\n" not in self.buf:
            data = self.sock.recv(65536)
            if not data:
                raise EOFError("closed; seen %r" % self.seen[-5:])
            self.buf += data
        raw, self.buf = self.buf.split(b"\n", 1)
        self.seen.append(raw.decode("utf-8"))
        return self.seen[-1]

    def expect(self, prefix):
        """The next line starting with prefix; the lines before it are skipped."""
        while True:
            l = self.line()
            if l.startswith(prefix):
                return l

    def until(self, prefix):
        """The lines up to and including the first that starts with prefix."""
        start = len(self.seen)
        self.expect(prefix)
        return self.seen[start:]

    def sync(self):
        """Every line the server sent before now, read: the lines up to PONG."""
        self.send("PING sync")
        return self.until("PONG sync")[:-1]

    def closed(self):
        try:
            while True:
                self.line()
        except EOFError:
            return True
        except socket.timeout:
            return False

"""The development server over real loopback sockets: the server runs on its
own event loop in a thread, with a clock the tests move by hand."""

import asyncio
import os
import random
import socket
import struct
import sys
import tempfile
import threading
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from accounts import Accounts  # noqa: E402
from banners import Catalogue  # noqa: E402
from chat import Chat  # noqa: E402
from commands import COMMANDS  # noqa: E402
from pictures import list_pictures, write_samples  # noqa: E402
from server import DevServer  # noqa: E402
from zbclient import Client as WireClient  # noqa: E402


class Clock:
    def __init__(self):
        self.now = 1700000000.0

    def __call__(self):
        return self.now


class Server:
    def __init__(self, max_unread=64 * 1024):
        self.dir = tempfile.TemporaryDirectory()
        self.accounts_path = os.path.join(self.dir.name, "accounts.json")
        pictures = os.path.join(self.dir.name, "pictures")
        write_samples(pictures)
        with open(os.path.join(self.dir.name, "outside.png"), "wb") as f:
            f.write(b"not to be served")
        accounts = Accounts(self.accounts_path)
        accounts.add("Админ", "secret")
        accounts.add("Петя", "pw12")
        self.clock = Clock()
        self.chat = Chat(accounts, Catalogue(random.Random(1)), ["Админ"], self.clock)
        self.loop = asyncio.new_event_loop()
        self.server = DevServer(self.chat, pictures, port=0, http_port=0, max_unread=max_unread)
        self.loop.run_until_complete(self.server.start())
        for name in list_pictures(pictures):
            self.chat.catalogue.add("http://127.0.0.1/" + name, "http://127.0.0.1/", 10)
        self.chat.catalogue.rotate()
        self.clients = []
        self.thread = threading.Thread(target=self.loop.run_forever, daemon=True)
        self.thread.start()

    def call(self, fn, *args):
        """Runs fn on the server's loop and returns its result."""
        async def run():
            return fn(*args)
        return asyncio.run_coroutine_threadsafe(run(), self.loop).result(10)

    def stop(self):
        for c in self.clients:
            c.sock.close()
        asyncio.run_coroutine_threadsafe(self.server.stop(), self.loop).result(10)
        self.loop.call_soon_threadsafe(self.loop.stop)
        self.thread.join(10)
        self.loop.close()
        self.dir.cleanup()


def Client(server, *args, **kw):
    """A scripted client of server, closed when the server stops."""
    c = WireClient(server.server.port, *args, **kw)
    server.clients.append(c)
    return c


class DevServerTest(unittest.TestCase):
    def setUp(self):
        self.srv = Server()
        self.config(flood_sec="0")

    def tearDown(self):
        self.srv.stop()

    def config(self, **values):
        self.srv.call(self.srv.chat.config.update, values)

    def test_logins_and_refusals(self):
        busy = Client(self.srv, "Занят")
        self.srv.call(self.srv.chat.accounts.ban, "Злой", 0, "флуд")
        cases = [  # nick, password, settings, expected reply
            ("Гость", "", {}, "WELCOME Гость\tguest\t"),
            ("петя", "pw12", {}, "WELCOME Петя\tuser\t"),
            ("Админ", "secret", {}, "WELCOME Админ\tadmin\t"),
            ("Петя", "wrong", {}, "ERR 401\t"),
            ("Петя", "", {}, "ERR 401\t"),
            ("Никто", "pw", {}, "ERR 401\t"),
            ("x", "", {}, "ERR 401\t"),
            ("ЗАНЯТ", "", {}, "ERR 409\t"),
            ("Злой", "", {}, "ERR 423\tВы забанены до отмены: флуд"),
            ("Гость", "", {"guest_allowed": "0"}, "ERR 401\t"),
            ("Гость", "", {"chat_closed": "1"}, "ERR 503\t"),
            ("Петя", "pw12", {"chat_closed": "1"}, "ERR 503\t"),
            ("Админ", "secret", {"chat_closed": "1"}, "WELCOME Админ\tadmin\t"),
        ]
        for nick, password, settings, want in cases:
            with self.subTest(nick=nick, password=password, settings=settings):
                self.config(**{"guest_allowed": "1", "chat_closed": "0", **settings})
                c = Client(self.srv)
                c.send("HELLO Zumbara\t1.0", "LOGIN %s\t%s\t#123456" % (nick, password))
                self.assertTrue(c.line().startswith("HELLO "))
                reply = c.line()
                self.assertTrue(reply.startswith(want), reply)
                if reply.startswith("WELCOME"):
                    c.send("QUIT")
                self.assertTrue(c.closed(), "a refused login or QUIT ends the connection")
        busy.sock.close()

    def test_welcome_sequence_and_join_announcement(self):
        other = Client(self.srv, "Петя", "pw12")
        c = Client(self.srv)
        c.send("LOGIN Вася\t\t#00FF00")
        words = [l.split(" ")[0] for l in c.until("BANNER")]
        self.assertEqual(words, ["WELCOME"] + ["CFG"] * 13 + ["CFGEND", "ROOMLIST", "ROOM", "ROOMEND",
                                 "USERLIST", "USER", "USER", "USEREND", "TOPIC", "BANNER"])
        self.assertIn("USER Вася\t#00FF00\t\tguest", c.seen)
        self.assertIn("ROOM Главная\t2\t\t", c.seen, "the newcomer is counted in")
        self.assertRegex(c.seen[-1], r"^BANNER [1-3]\thttp://127\.0\.0\.1/banner\d\.(png|bmp)\t")
        self.assertEqual(other.expect("JOIN"), "JOIN Вася\t#00FF00\tguest")

    def test_registration_is_kept_in_the_accounts_file(self):
        c = Client(self.srv)
        c.send("REG Новичок\tpass1\tвопрос\tответ", "LOGIN Новичок\tpass1\t#000000")
        self.assertEqual(c.line(), "OK REG\tАккаунт Новичок создан")
        self.assertTrue(c.line().startswith("WELCOME Новичок\tuser"))
        self.assertTrue(Accounts(self.srv.accounts_path).check("новичок", "pass1"))
        for reg, code in [("НОВИЧОК\tpass1\tq\ta", "409"), ("a b\tpass1\tq\ta", "400"),
                          ("Другой\tp\tq\ta", "400"), ("Другой\tpass1\tq\t", "400")]:
            d = Client(self.srv)
            d.send("REG " + reg)
            self.assertTrue(d.line().startswith("ERR %s\t" % code), reg)

    def test_chat_traffic_and_private_messages(self):
        a, b, c = Client(self.srv, "Аня"), Client(self.srv, "Боря"), Client(self.srv, "Соня")
        a.send("MSG Привет всем", "ME улыбается")
        stamp = time.strftime("%H:%M", time.localtime(self.srv.clock()))
        for x in (a, b, c):
            self.assertEqual(x.expect("MSG"), "MSG %s\tАня\t#FF0000\tПривет всем" % stamp)
            self.assertEqual(x.expect("MSG"), "MSG %s\tАня\t#FF0000\t* улыбается" % stamp)
        a.send("PM боря\tсекрет")
        self.assertEqual(a.expect("PMSENT"), "PMSENT %s\tБоря\tсекрет" % stamp)
        self.assertEqual(b.expect("PM "), "PM %s\tАня\t#FF0000\tсекрет" % stamp)
        self.assertFalse([l for l in c.sync() if "секрет" in l], "a private message reaches only its addressee")
        a.send("PM Никого\tэй")
        self.assertTrue(a.expect("ERR").startswith("ERR 404\t"))

    def test_rooms(self):
        a, b = Client(self.srv, "Петя", "pw12"), Client(self.srv, "Боря")
        b.send("CREATE Гостевая\t")
        self.assertTrue(b.expect("ERR").startswith("ERR 403\t"), "guests create no rooms")
        a.send("CREATE Кухня\tО еде")
        self.assertIn("ROOM Кухня\t0\tпетя\tО еде", b.until("ROOMEND"))
        self.assertEqual(b.expect("PART"), "PART Петя")
        self.assertEqual(a.until("TOPIC")[-4:], ["USERLIST Кухня", "USER Петя\t#FF0000\t\tadmin",
                                                 "USEREND", "TOPIC О еде\t"])
        b.send("JOIN кухня")
        self.assertEqual(a.expect("JOIN"), "JOIN Боря\t#FF0000\tguest")
        self.assertIn("USER Боря\t#FF0000\t\tguest", b.until("TOPIC"))
        a.send("TOPIC Борщ")
        self.assertEqual(b.expect("TOPIC"), "TOPIC Борщ\tПетя")
        b.send("TOPIC Моё", "ROOMDEL Кухня", "JOIN Нигде")
        self.assertEqual([l[:7] for l in b.sync() if l.startswith("ERR")], ["ERR 403", "ERR 403", "ERR 404"])
        a.send("ROOMDEL Кухня")
        self.assertEqual(b.expect("USERLIST"), "USERLIST Главная")
        self.assertIn("Комната «Кухня» удалена", b.expect("SYS"))
        a.send("CREATE Пустая\t", "JOIN Главная")
        a.sync()
        self.srv.clock.now += 7 * 86400 - 1
        self.srv.call(self.srv.chat.tick)
        a.send("ROOMS")
        self.assertIn("ROOM Пустая\t0\tпетя\t", a.until("ROOMEND"))
        self.srv.clock.now += 1
        self.srv.call(self.srv.chat.tick)
        rooms = a.until("ROOMEND")
        self.assertEqual([l for l in rooms if l.startswith("ROOM ")], ["ROOM Главная\t2\t\t"],
                         "an empty room expires after room_ttl_days")

    def test_moderation(self):
        admin, petya = Client(self.srv, "Админ", "secret"), Client(self.srv, "Петя", "pw12")
        guest, other = Client(self.srv, "Гость"), Client(self.srv, "Соня")
        guest.send("KICK Соня\tпросто так", "MOD Петя", "CFG", "UNBAN Злой")
        self.assertEqual([l[:7] for l in guest.sync() if l.startswith("ERR")], ["ERR 403"] * 4)
        admin.send("MOD Гость", "MOD Петя")
        self.assertTrue(admin.expect("ERR").startswith("ERR 404\t"), "only accounts become moderators")
        self.assertIn("USER Петя\t#FF0000\t\tmod", petya.until("USEREND"))
        self.assertEqual(other.expect("JOIN Петя"), "JOIN Петя\t#FF0000\tmod")
        petya.send("KICK Админ\tбунт", "KICK Гость\tфлуд")
        self.assertTrue(petya.expect("ERR").startswith("ERR 403\t"), "a moderator cannot kick an admin")
        self.assertEqual(guest.expect("KICKED"), "KICKED флуд")
        self.assertTrue(guest.closed())
        self.assertEqual(other.expect("PART"), "PART Гость")
        self.assertIn("Гость выкинут(а) модератором Петя: флуд", other.expect("SYS"))
        admin.send("BAN Соня\t5\t")
        self.assertEqual(other.expect("BANNED"), "BANNED %s\tбез причины" % self.srv.chat.until_text(self.srv.clock() + 300))
        self.assertTrue(other.closed())
        for later, want in [(240, "ERR 423\t"), (120, "WELCOME Соня\t")]:
            self.srv.clock.now += later
            again = Client(self.srv)
            again.send("LOGIN Соня\t\t#000000")
            self.assertTrue(again.line().startswith(want), "a ban for 5 minutes expires")

    def test_settings_are_pushed_to_everyone_and_enforced(self):
        admin, user = Client(self.srv, "Админ", "secret"), Client(self.srv, "Петя", "pw12")
        user.send("SETCFG chat_title\tМой")
        self.assertTrue(user.expect("ERR").startswith("ERR 403\t"))
        admin.send("SETCFG chat_title\tНовый чат", "SETCFG color_bg\tчёрный", "SETCFG max_msg_len\t10",
                   "SETCFG flood_sec\t2", "SETCFG nope\t1")
        self.assertEqual(admin.expect("OK"), "OK SETCFG\t")
        series = user.until("CFGEND")
        self.assertIn("CFG chat_title\tНовый чат", series)
        self.assertEqual(len(series), 14)
        self.assertEqual([l[:7] for l in admin.sync() if l.startswith("ERR")], ["ERR 400", "ERR 400"])
        user.sync()
        user.send("MSG 01234567890", "MSG коротко", "MSG ещё раз")
        self.assertEqual([l.split("\t")[0] for l in user.sync() if l.startswith(("ERR", "MSG"))],
                         ["ERR 413", "MSG " + time.strftime("%H:%M", time.localtime(self.srv.clock())), "ERR 429"])
        self.srv.clock.now += 2
        user.send("MSG снова")
        self.assertTrue(user.expect("MSG").endswith("\tснова"), "flood_sec later allows the next")

    def test_banner_catalogue_and_rotation(self):
        admin, user = Client(self.srv, "Админ", "secret"), Client(self.srv, "Петя", "pw12")
        user.send("BANNERS")
        self.assertTrue(user.expect("ERR").startswith("ERR 403\t"))
        admin.send("BANNERADD http://example.test/x.gif\thttp://example.test/\t0",
                   "BANNERADD https://example.test/y.gif\t\t5", "BANNERTOGGLE 2\t0", "BANNERDEL 3",
                   "BANNERDEL 99", "BANNERS")
        lines = admin.until("BANNEREND")
        self.assertEqual([l.split("\t")[0] for l in lines if l.startswith(("OK", "ERR"))],
                         ["OK BANNERADD", "ERR 400", "OK BANNERTOGGLE", "OK BANNERDEL", "ERR 404"])
        self.assertEqual([l for l in lines if l.startswith("BANNERITEM")], [
            "BANNERITEM 1\thttp://127.0.0.1/banner1.png\thttp://127.0.0.1/\t10\t1",
            "BANNERITEM 2\thttp://127.0.0.1/banner2.png\thttp://127.0.0.1/\t10\t0",
            "BANNERITEM 4\thttp://example.test/x.gif\thttp://example.test/\t10\t1"])
        user.sync()
        admin.send("SETCFG banner_rotate_sec\t5")
        admin.expect("OK SETCFG")
        shown = set()
        for _ in range(6):
            self.srv.clock.now += 5
            self.srv.call(self.srv.chat.tick)
            shown.add(user.expect("BANNER").split("\t")[0])
        self.assertEqual(shown, {"BANNER 1", "BANNER 4"}, "rotation among the enabled banners")
        admin.send("BANNERTOGGLE 1\t0", "BANNERTOGGLE 4\t0")
        self.assertEqual([l for l in user.sync() if l.startswith("BANNER")][-1], "BANNER 0\t\t")

    def test_pictures_over_http(self):
        def get(request):
            with socket.create_connection(("127.0.0.1", self.srv.server.http_port), timeout=5) as s:
                s.sendall(request)
                data = b""
                while True:
                    chunk = s.recv(65536)
                    if not chunk:
                        return data
                    data += chunk
        for name, kind, size_at in [("banner1.png", b"image/png", 16), ("banner3.bmp", b"image/bmp", 18)]:
            head, _, body = get(b"GET /%s HTTP/1.0\r\nHost: x\r\n\r\n" % name.encode()).partition(b"\r\n\r\n")
            self.assertTrue(head.startswith(b"HTTP/1.0 200 "), head)
            self.assertIn(b"Content-Type: " + kind, head)
            fmt = ">II" if kind == b"image/png" else "<ii"
            self.assertEqual(struct.unpack(fmt, body[size_at:size_at + 8]), (472, 61))
        for request, status in [(b"GET /nothing.png HTTP/1.0\r\n\r\n", b"404"),
                                (b"GET /../outside.png HTTP/1.0\r\n\r\n", b"404"),
                                (b"GET /%2e%2e%2foutside.png HTTP/1.0\r\n\r\n", b"404"),
                                (b"POST /banner1.png HTTP/1.0\r\n\r\n", b"405"),
                                (b"nonsense\r\n\r\n", b"400")]:
            self.assertTrue(get(request).startswith(b"HTTP/1.0 " + status), request)

    def test_bad_lines_get_err_and_the_connection_lives_on(self):
        c = Client(self.srv)
        c.sock.sendall(b"MSG before login\nmsg lower case\n\xff\xfe\n   \n" + "LOGIN Рома\t\t#000000\n".encode())
        self.assertEqual([l[:7] for l in c.until("WELCOME")], ["ERR 403", "ERR 400", "ERR 400", "WELCOME"])
        admin = Client(self.srv, "Админ", "secret")
        rng = random.Random(7)
        words = [w for w in COMMANDS if w != "QUIT"] + ["", "FOO", "\x00"]
        junk = ["", " ", "Рома", "Админ", "Главная", "0", "1", "-1", "99999999999", "#12", "#00FF00",
                "chat_title", "flood_sec", "http://x/y.png", "\t\t", "😀", "a" * 300]
        for _ in range(3000):
            admin.send("%s %s" % (rng.choice(words), "\t".join(rng.choice(junk) for _ in range(rng.randint(0, 9)))))
            if rng.random() < 0.02:
                admin.sync()
        admin.sync()

    def test_endless_line_and_stuck_reader_are_cut_off_alone(self):
        self.config(max_msg_len="4000")
        a, b = Client(self.srv, "Аня"), Client(self.srv, "Боря")
        endless = Client(self.srv, "Длинный")
        endless.sock.sendall(b"MSG " + b"x" * 70000)
        self.assertEqual(endless.expect("ERR"), "ERR 400\tСтрока длиннее 64 КиБ: соединение закрыто")
        self.assertTrue(endless.closed())
        Client(self.srv, "Спящий", rcvbuf=4096)   # logs in, then never reads again
        text = "z" * 4000
        for _ in range(3000):
            a.send(*["MSG " + text] * 20)
            b.sync()
            if "PART Спящий" in a.sync():
                break
        else:
            self.fail("the client that stopped reading was not cut off")
        a.send("MSG жив")
        while not b.expect("MSG").endswith("\tжив"):
            pass


if __name__ == "__main__":
    unittest.main()

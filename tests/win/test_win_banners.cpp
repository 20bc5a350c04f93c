// The banner strip of the real main window against real servers on
// loopback: pictures drawn by ImageMagick and served by Python's
// http.server (tests/win/picture_server.py), odd answers from raw sockets
// this thread serves between message pumps, and the strip painted into a
// memory DC.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdlib.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "banners/banner_model.h"
#include "banners/win_banners.h"
#include "canvas.h"
#include "main_window_fixture.h"

namespace {

std::string pictureUrl(const std::string& name)
{
    const char* port = getenv("ZB_PICTURE_PORT");
    return "http://127.0.0.1:" + std::string(port ? port : "9") + "/" + name;
}

std::string readPicture(const char* name)
{
    const char* dir = getenv("ZB_PICTURE_DIR");
    return readFile((std::string(dir ? dir : ".") + "\\" + name).c_str());
}

// The pixel at x, y of the picture, as kept: a picture larger than the box
// is kept at the size it is drawn at, and its coordinates scale with it.
COLORREF picturePixel(int x, int y)
{
    DIBSECTION d;
    const BannerPicture& p = session.banner.picture;
    if (!GetObjectA((HBITMAP)p.bitmap, sizeof d, &d) || !d.dsBm.bmBits)
        return CLR_INVALID;
    x = x * d.dsBm.bmWidth / p.width;
    y = y * d.dsBm.bmHeight / p.height;
    const unsigned char* b = (const unsigned char*)d.dsBm.bmBits + y * d.dsBm.bmWidthBytes + 3 * x;
    return RGB(b[2], b[1], b[0]);
}

class BannerWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_NE(getenv("ZB_PICTURE_PORT"), nullptr) << "run through picture_server.py";
        ports.log->clearLog();
    }

    static std::string logText()
    {
        std::string out;
        for (char c : windowText(mainWnd.log))
            if (c != '\r')
                out += c;
        return out;
    }
    // The lines of the log once one has arrived, and a little later, so a
    // second line would be there too.
    static std::string waitForLog(DWORD ms = 10000)
    {
        pumpUntil([] { return !logText().empty(); }, ms);
        pumpFor(300);
        return logText();
    }
    // Until a new picture of that size is shown.
    static bool waitForPicture(int width, int height, DWORD ms = 10000)
    {
        void* before = session.banner.picture.bitmap;
        return pumpUntil(
            [&] {
                const BannerPicture& p = session.banner.picture;
                return session.banner.shown && p.bitmap != before && p.width == width && p.height == height;
            },
            ms);
    }
};

TEST_F(BannerWindowTest, PicturesFromARealHttpServer)
{
    struct Case {
        const char* file;
        int width, height;
        int x, y;
        COLORREF color;
        int tolerance;
    };
    const Case cases[] = {
        {"alpha.png", 100, 100, 75, 50, RGB(255, 0, 0), 0},  // half transparent, not blended
        {"anim.gif", 60, 30, 30, 15, RGB(255, 0, 0), 0},  // the first frame
        {"photo.jpg", 944, 122, 500, 60, RGB(0x20, 0xA0, 0x40), 8},
        {"small.bmp", 200, 40, 199, 39, RGB(0xFF, 0x80, 0x00), 0},
    };
    int id = 100;
    for (const Case& c : cases) {
        showBanner(std::to_string(++id).c_str(), pictureUrl(c.file).c_str(), "http://shop.example/");
        ASSERT_TRUE(waitForPicture(c.width, c.height)) << c.file << ": " << logText();
        EXPECT_TRUE(colorNear(picturePixel(c.x, c.y), c.color, c.tolerance)) << c.file;
    }
    pumpFor(200);
    EXPECT_EQ(logText(), "");

    showBanner("120", pictureUrl("missing.png").c_str(), "");
    EXPECT_EQ(waitForLog(), "!! Баннер #120: сервер ответил 404 вместо картинки (" + pictureUrl("missing.png") +
                                ")\n");
}

TEST_F(BannerWindowTest, EachOddAnswerGivesItsOneLine)
{
    std::string bmp = readPicture("small.bmp");
    ASSERT_TRUE(decodeBannerPicture(bmp.data(), bmp.size()));
    void* shownBefore = session.banner.picture.bitmap;

    struct Case {
        const char* answer;
        const char* line;  // after "!! Баннер #N: "
    };
    const Case cases[] = {
        {"HTTP/1.0 302 Found\r\nLocation: URL\r\n\r\n",
         "сервер перенаправляет (301/302) — нужна прямая http-ссылка на файл"},
        {"HTTP/1.0 404 Not Found\r\n\r\nnope", "сервер ответил 404 вместо картинки (URL)"},
        {"HTTP/1.0 200 OK", "пустой ответ сервера"},
        {"HTTP/1.0 200 OK\r\nContent-Type: image/png\r\n", "пустой ответ сервера"},
        {"<html><body>200 OK</body></html>\r\n\r\n", "пустой ответ сервера"},
        {"HTTP/1.0 200 OK\r\n\r\n", "файл скачан, но это не картинка GIF/JPG/PNG/BMP (URL)"},
        {"HTTP/1.0 200 OK\r\n\r\nhello, world", "файл скачан, но это не картинка GIF/JPG/PNG/BMP (URL)"},
    };
    int id = 200;
    for (const Case& c : cases) {
        ports.log->clearLog();
        LoopbackServer server;
        std::string url = "http://127.0.0.1:" + std::to_string(server.port) + "/b/x.gif?v=1";
        showBanner(std::to_string(++id).c_str(), url.c_str(), "http://shop.example/");
        ASSERT_TRUE(server.acceptClient());
        EXPECT_EQ(server.receiveLines(5), "GET /b/x.gif?v=1 HTTP/1.0\r\nHost: 127.0.0.1\r\nUser-Agent: Zumbara/1.0\r\n"
                                          "Connection: close\r\n\r\n");
        std::string answer = c.answer, line = c.line;
        for (std::string* s : {&answer, &line})
            if (s->find("URL") != std::string::npos)
                s->replace(s->find("URL"), 3, url);
        server.sendText(answer);
        server.closePeer();
        EXPECT_EQ(waitForLog(), "!! Баннер #" + std::to_string(id) + ": " + line + "\n") << c.answer;
        EXPECT_FALSE(LoopbackServer::readable(server.listener)) << "a second connection: " << c.answer;
    }

    // Failures before any answer.
    LoopbackServer closed;
    std::string refused = "http://127.0.0.1:" + std::to_string(closed.port) + "/a.png";
    closesocket(closed.listener);
    closed.listener = INVALID_SOCKET;
    const std::string longHost = "http://" + std::string(128, 'h') + "/a.png";
    const std::pair<std::string, std::string> early[] = {
        {refused, "нет связи с сервером картинки (" + refused + ")"},
        {"http://127.0.0.1:/a.png", "нет связи с сервером картинки (http://127.0.0.1:/a.png)"},
        {longHost, "не найден сервер картинки (" + longHost + ")"},
        {"https://127.0.0.1/a.png", "ссылка не http:// — старый клиент не умеет https (https://127.0.0.1/a.png)"},
    };
    for (const auto& c : early) {
        ports.log->clearLog();
        showBanner(std::to_string(++id).c_str(), c.first.c_str(), "");
        EXPECT_EQ(waitForLog(), "!! Баннер #" + std::to_string(id) + ": " + c.second + "\n");
    }
    EXPECT_EQ(session.banner.picture.bitmap, shownBefore);  // the strip keeps its picture
    EXPECT_TRUE(session.banner.shown);
}

TEST_F(BannerWindowTest, OnlyTheLatestBannersResultIsUsed)
{
    LoopbackServer first, second;
    showBanner("301", ("http://127.0.0.1:" + std::to_string(first.port) + "/a.jpg").c_str(), "");
    showBanner("302", ("http://127.0.0.1:" + std::to_string(second.port) + "/b.bmp").c_str(), "");
    ASSERT_TRUE(first.acceptClient());
    ASSERT_TRUE(second.acceptClient());
    first.receiveLines(5);
    second.receiveLines(5);
    second.sendText("HTTP/1.0 200 OK\r\n\r\n" + readPicture("small.bmp"));
    second.closePeer();
    ASSERT_TRUE(waitForPicture(200, 40));
    void* picture = session.banner.picture.bitmap;

    first.sendText("HTTP/1.0 200 OK\r\n\r\n" + readPicture("photo.jpg"));  // finishes last
    first.closePeer();
    pumpFor(1500);
    EXPECT_EQ(session.banner.picture.bitmap, picture);
    EXPECT_EQ(session.banner.picture.width, 200);
    EXPECT_EQ(logText(), "");
}

TEST_F(BannerWindowTest, ABodyPastFourMebibytesIsCutThere)
{
    std::string big = readPicture("big.bmp");  // 1024 x 1707, 5 MiB, bottom row first
    ASSERT_EQ(big.size(), 54u + 1024 * 1707 * 3);
    LoopbackServer server;
    showBanner("401", ("http://127.0.0.1:" + std::to_string(server.port) + "/big.bmp").c_str(), "");
    ASSERT_TRUE(server.acceptClient());
    server.receiveLines(5);
    // A little past the cap, then nothing more until the picture is there:
    // the download stops by itself, neither at the close nor at a time-out.
    server.sendText("HTTP/1.0 200 OK\r\n\r\n" + big.substr(0, 4194304 + 65536));
    EXPECT_TRUE(waitForPicture(1024, 1707, 10000)) << logText();
    server.sendText(big.substr(4194304 + 65536));
    server.closePeer();
    EXPECT_EQ(picturePixel(0, 1706), RGB(0x20, 0xC0, 0x40));  // first in the file
    EXPECT_EQ(picturePixel(0, 350), RGB(0x20, 0xC0, 0x40));
    EXPECT_EQ(picturePixel(0, 300), RGB(0, 0, 0));  // never received
    EXPECT_EQ(picturePixel(1023, 0), RGB(0, 0, 0));
}

TEST_F(BannerWindowTest, AServerThatNeverAnswersEndsInALineAfterTheTimeOut)
{
    LoopbackServer server;
    std::string url = "http://127.0.0.1:" + std::to_string(server.port) + "/slow.png";
    showBanner("501", url.c_str(), "");
    ASSERT_TRUE(server.acceptClient());
    server.receiveLines(5);

    DWORD start = GetTickCount(), last = start, longestGap = 0;
    pumpUntil(
        [&] {
            DWORD now = GetTickCount();
            if (now - last > longestGap)
                longestGap = now - last;
            last = now;
            return !logText().empty();
        },
        kBannerFetchTimeoutMs + 15000);
    DWORD waited = GetTickCount() - start;
    EXPECT_EQ(logText(), "!! Баннер #501: картинка не скачалась за 30 с (" + url + ")\n");
    EXPECT_GE(waited, kBannerFetchTimeoutMs - 1000);
    EXPECT_LT(longestGap, 1000u) << "the window's thread was held up";
    // The worker closed its socket.
    EXPECT_TRUE(pumpUntil([&] { return LoopbackServer::readable(server.peer); }, 2000));
    char c;
    EXPECT_EQ(recv(server.peer, &c, 1, 0), 0);
}

// [UI] BannerTimeLimit in a settings file of the test's own, written as a
// user would; the program only reads it.
struct DownloadLimitSetting {
    char path[MAX_PATH];
    const char* before;

    explicit DownloadLimitSetting(int seconds)
    {
        char dir[MAX_PATH];
        GetTempPathA(sizeof dir, dir);
        formatText(path, sizeof path, "%szb-banners-%lu.ini", dir, GetCurrentProcessId());
        WritePrivateProfileStringA("UI", "BannerTimeLimit", std::to_string(seconds).c_str(), path);
        before = bannerSettingsFile;
        bannerSettingsFile = path;
    }
    ~DownloadLimitSetting()
    {
        bannerSettingsFile = before;
        DeleteFileA(path);
    }
};

TEST_F(BannerWindowTest, ATricklingHostIsCutOffAtTheTimeLimit)
{
    DownloadLimitSetting limit(3);
    LoopbackServer server;
    std::string url = "http://127.0.0.1:" + std::to_string(server.port) + "/trickle.png";
    showBanner("601", url.c_str(), "");
    ASSERT_TRUE(server.acceptClient());
    DWORD start = GetTickCount(), sent = start, closedAt = 0;
    server.receiveLines(5);
    server.sendText("HTTP/1.0 200 OK\r\nContent-Type: image/png\r\n\r\n");
    // A byte every 200 ms: no read waits long, only the whole download does.
    pumpUntil(
        [&] {
            if (GetTickCount() - sent >= 200 && !closedAt) {
                server.sendText("\x89");
                sent = GetTickCount();
            }
            char c;
            if (!closedAt && LoopbackServer::readable(server.peer) && recv(server.peer, &c, 1, 0) <= 0)
                closedAt = GetTickCount();
            return closedAt && !logText().empty();
        },
        15000);
    EXPECT_EQ(logText(), "!! Баннер #601: картинка не скачалась за 3 с (" + url + ")\n");
    ASSERT_NE(closedAt, 0u) << "the worker never closed its socket";
    EXPECT_GE(closedAt - start, 2500u);
    EXPECT_LT(closedAt - start, 10000u);
}

// A host that accepts every connection and never answers: its own listener,
// as the test server's takes one connection at a time.
struct SilentHost {
    SOCKET listener;
    int port = 0;
    std::vector<SOCKET> open;
    size_t mostOpen = 0, accepted = 0;
    std::string requests;

    SilentHost()
    {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = inet_addr("127.0.0.1");
        bind(listener, (sockaddr*)&a, sizeof a);
        listen(listener, SOMAXCONN);
        int len = sizeof a;
        getsockname(listener, (sockaddr*)&a, &len);
        port = ntohs(a.sin_port);
    }
    ~SilentHost()
    {
        for (SOCKET s : open)
            closesocket(s);
        closesocket(listener);
    }
    // Takes the requests and notes the closes, then accepts what waits:
    // a connection made after another closed is never counted beside it.
    void serve()
    {
        for (size_t i = 0; i < open.size();) {
            if (LoopbackServer::readable(open[i])) {
                char buf[1024];
                int n = recv(open[i], buf, sizeof buf, 0);
                if (n <= 0) {
                    closesocket(open[i]);
                    open.erase(open.begin() + (long)i);
                    continue;
                }
                requests.append(buf, (size_t)n);
            }
            i++;
        }
        while (LoopbackServer::readable(listener)) {
            SOCKET s = accept(listener, nullptr, nullptr);
            if (s == INVALID_SOCKET)
                break;
            open.push_back(s);
            accepted++;
        }
        mostOpen = std::max(mostOpen, open.size());
    }
};

TEST_F(BannerWindowTest, FortyBannersOnASilentHostOpenAtMostFourConnections)
{
    DownloadLimitSetting limit(2);
    SilentHost host;
    auto url = [&](int id) { return "http://127.0.0.1:" + std::to_string(host.port) + "/b" + std::to_string(id) + ".png"; };
    for (int id = 701; id <= 740; id++) {
        showBanner(std::to_string(id).c_str(), url(id).c_str(), "");
        pumpUntil([&] { host.serve(); return false; }, 20);
    }
    // The current banner is never starved: its download starts and ends at
    // the limit, and only it writes a line.
    EXPECT_TRUE(pumpUntil([&] { host.serve(); return host.requests.find("GET /b740.png ") != std::string::npos; }));
    EXPECT_TRUE(pumpUntil([&] { host.serve(); return !logText().empty() && host.open.empty(); }, 10000));
    pumpFor(300);
    EXPECT_EQ(logText(), "!! Баннер #740: картинка не скачалась за 2 с (" + url(740) + ")\n");
    EXPECT_LE(host.mostOpen, 4u);
    EXPECT_GT(host.accepted, 4u);  // downloads that gave up made room for newer ones
}

class BannerStripPaint : public ::testing::Test {
protected:
    std::unique_ptr<Canvas> c;

    void SetUp() override
    {
        resetSessionState(session);
        createFonts();
    }
    void paint(int width)
    {
        c = std::make_unique<Canvas>(width, 71, RGB(0xFF, 0x00, 0xFF));
        RECT r = {0, 0, width, 71};
        paintBannerStrip(c->dc, r);
    }
    void load(const char* file)
    {
        std::string bytes = readPicture(file);
        ASSERT_TRUE(decodeBannerPicture(bytes.data(), bytes.size())) << file;
    }
};

TEST_F(BannerStripPaint, PictureWhereTheArithmeticSays)
{
    const COLORREF white = RGB(255, 255, 255), orange = RGB(0xFF, 0x80, 0x00), cyan = RGB(0, 0xFF, 0xFF);
    load("small.bmp");  // 200 x 40: own size, at 136, 10 in the box at 196, 5
    paint(864);
    EXPECT_EQ(c->at(2, 0), RGB(0x99, 0x99, 0xCC));    // gradient, top row
    EXPECT_EQ(c->at(185, 62), RGB(0xD5, 0xD5, 0xFF));  // promotional panel
    EXPECT_EQ(c->at(195, 30), white);                 // frame
    EXPECT_EQ(c->at(332, 15), orange);
    EXPECT_EQ(c->at(531, 54), orange);
    EXPECT_EQ(c->at(331, 15), white);
    EXPECT_EQ(c->at(532, 54), white);
    EXPECT_EQ(c->at(332, 14), white);
    EXPECT_TRUE(c->anyNear(676, 54, 728, 68, RGB(0x2B, 0x2B, 0x5E), 0));  // "реклама"

    load("wide.gif");  // 1000 x 50: 472 x 23, 19 below the box's top
    paint(864);
    EXPECT_EQ(c->at(196, 24), cyan);
    EXPECT_EQ(c->at(667, 46), cyan);
    EXPECT_EQ(c->at(196, 23), white);
    EXPECT_EQ(c->at(196, 47), white);

    paint(590);  // no room for the label, none for the panel
    EXPECT_FALSE(c->anyNear(531, 0, 590, 71, RGB(0x2B, 0x2B, 0x5E), 0));
    EXPECT_FALSE(c->anyNear(0, 0, 50, 71, RGB(0xD5, 0xD5, 0xFF), 0));
}

TEST_F(BannerStripPaint, PlaceholderWhileNoPictureIsShown)
{
    load("small.bmp");
    session.banner.shown = false;  // as after "BANNER 0"
    paint(864);
    EXPECT_FALSE(c->anyNear(196, 5, 668, 66, RGB(0xFF, 0x80, 0x00), 0));
    EXPECT_TRUE(c->anyNear(196, 5, 668, 66, RGB(0x96, 0x96, 0xAA), 0));
}

} // namespace

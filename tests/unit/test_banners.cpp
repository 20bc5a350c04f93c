// Banners without the platform: address splitting, the request, response
// classification, the receive buffer, the strip's arithmetic, the result
// lines, the link check and decoding under the memory budget.
#include <gtest/gtest.h>

#include <string>

#include "banners/banner_http.h"
#include "banners/banner_layout.h"
#include "banners/banner_model.h"
#include "banners/picture_decode.h"
#include "fakes.h"

namespace {

struct SplitCase {
    std::string url;
    bool ok;
    std::string host;
    int port;
    std::string path;
};

TEST(BannerUrl, SplitsHostPortAndPath)
{
    const std::string host127(127, 'h'), host128(128, 'h');
    const std::string longPath = "/" + std::string(600, 'p');
    const SplitCase cases[] = {
        {"http://pics.example:81/b/x.gif?v=2#top", true, "pics.example", 81, "/b/x.gif?v=2#top"},
        {"http://pics.example", true, "pics.example", 80, "/"},
        {"http://pics.example?x=1", true, "pics.example?x=1", 80, "/"},  // no slash: the query is host
        {"http://pics.example:/a.png", true, "pics.example", 0, "/a.png"},
        {"http://pics.example:web/a.png", true, "pics.example", 0, "/a.png"},
        {"http://10.0.0.1:8080", true, "10.0.0.1", 8080, "/"},
        {"http://" + host127 + "/a.png", true, host127, 80, "/a.png"},
        {"http://" + host127 + ":81/a.png", true, host127, 81, "/a.png"},
        {"http://" + host128 + "/a.png", false, "", 0, ""},
        {"http:///a.png", false, "", 0, ""},
        {"http://:81/a.png", false, "", 0, ""},
        {"https://pics.example/a.png", false, "", 0, ""},
        {"http://p" + longPath, true, "p", 80, longPath.substr(0, 511)},
    };
    for (const SplitCase& c : cases) {
        BannerFetchRequest r;
        memset(&r, 0x55, sizeof r);  // whatever was there before
        ASSERT_EQ(splitBannerUrl(c.url.c_str(), r), c.ok) << c.url;
        if (!c.ok)
            continue;
        EXPECT_EQ(r.host.s, c.host) << c.url;
        EXPECT_EQ(r.port, c.port) << c.url;
        EXPECT_EQ(r.path.s, c.path) << c.url;
    }
}

TEST(BannerUrl, RequestNamesTheHostWithoutItsPort)
{
    BannerFetchRequest r = {};
    ASSERT_TRUE(splitBannerUrl("http://pics.example:81/b/x.gif?v=2", r));
    char text[1024];
    size_t n = formatBannerRequest(r, text, sizeof text);
    EXPECT_EQ(std::string(text, n), "GET /b/x.gif?v=2 HTTP/1.0\r\nHost: pics.example\r\nUser-Agent: Zumbara/1.0\r\n"
                                    "Connection: close\r\n\r\n");

    // The longest fields still fit the request buffer whole.
    std::string url = "http://" + std::string(127, 'h') + "/" + std::string(600, 'p');
    ASSERT_TRUE(splitBannerUrl(url.c_str(), r));
    n = formatBannerRequest(r, text, sizeof text);
    EXPECT_EQ(std::string(text + n - 4), "\r\n\r\n");
}

TEST(BannerResponse, Classification)
{
    struct Case {
        std::string data;
        int outcome;
        size_t bodyStart;
    };
    const std::string ok = "HTTP/1.0 200 OK\r\nContent-Type: image/gif\r\n\r\n";
    const Case cases[] = {
        {"HTTP/1.0 200 OK", FETCH_BAD_RESPONSE, 0},                  // 15 bytes
        {"HTTP/1.0 200 OK\r\nServer: x\r\n", FETCH_BAD_RESPONSE, 0},  // no blank line
        {"<html>200 OK</html>\r\n\r\nGIF89a", FETCH_BAD_RESPONSE, 0},
        {ok, FETCH_OK, ok.size()},                                    // empty body
        {ok + std::string("GIF\0\0\r\n\r\nx", 9), FETCH_OK, ok.size()},
        {std::string("HTTP/1.0 200 OK\r\nX: \0\r\n\r\nGIF", 28), FETCH_OK, 25},  // NUL in the header
        {"HTTP/1.1 301 Moved\r\nLocation: http://x/\r\n\r\n", FETCH_REDIRECT, 0},
        {"HTTP/1.0 302 Found\r\nLocation: http://x/\r\n\r\n", FETCH_REDIRECT, 0},
        {"HTTP/1.0 404 Not Found\r\n\r\n", 1404, 0},
        {"HTTP/1.0 500 Oops\r\n", 1500, 0},
        {"HTTP/1.0 OK without a status\r\n\r\n", 1000, 0},
        {"HTTP/1.0 -404 Not Found\r\n\r\n", FETCH_BAD_RESPONSE, 0},
        {"HTTP/1.0 99999999999 Big\r\n\r\n", INT32_MAX, 0},
    };
    for (const Case& c : cases) {
        std::string data = c.data;  // with its NUL after the bytes
        size_t bodyStart = 0;
        EXPECT_EQ(classifyBannerResponse(data.c_str(), data.size(), &bodyStart), c.outcome) << c.data;
        if (c.outcome == FETCH_OK) {
            EXPECT_EQ(bodyStart, c.bodyStart) << c.data;
        }
    }
}

TEST(BannerResponse, ReceiveBufferGrowsUntilJustPastTheCap)
{
    // The reads a fast server allows: each fills the room the buffer offers.
    size_t capacity = 0, received = 0;
    int reads = 0;
    while (received <= kBannerResponseCap) {
        capacity = nextReceiveCapacity(received, capacity);
        size_t room = capacity - received - 1;
        ASSERT_GE(room, (size_t)kBannerReadRoom);
        received += room;
        reads++;
    }
    EXPECT_EQ(capacity, 4u * 1024 * 1024 + 64 * 1024);
    EXPECT_LT(received, capacity);  // a byte left for the NUL
    EXPECT_LE(reads, 10);
}

TEST(BannerStrip, BoxPanelAndLabel)
{
    struct Case {
        int width;
        LayoutRect box;
        bool panel, label;
    };
    const Case cases[] = {
        {864, {196, 5, 472, 61}, true, true},
        {813, {170, 5, 472, 61}, false, true},
        {814, {171, 5, 472, 61}, true, true},
        {590, {59, 5, 472, 61}, false, false},  // 59 pixels right of the box
        {600, {64, 5, 472, 61}, false, true},
        {400, {4, 5, 392, 61}, false, false},
    };
    for (const Case& c : cases) {
        BannerStripLayout s = layoutBannerStrip(10, 100, c.width, 71);
        EXPECT_EQ(s.box.left, 10 + c.box.left) << c.width;
        EXPECT_EQ(s.box.top, 100 + c.box.top) << c.width;
        EXPECT_EQ(s.box.width, c.box.width) << c.width;
        EXPECT_EQ(s.box.height, c.box.height) << c.width;
        EXPECT_EQ(s.hasPanel, c.panel) << c.width;
        EXPECT_EQ(s.hasLabel, c.label) << c.width;
    }
    BannerStripLayout s = layoutBannerStrip(0, 0, 864, 71);
    EXPECT_EQ(s.panel.left, 6);
    EXPECT_EQ(s.panel.top, 6);
    EXPECT_EQ(s.panel.left + s.panel.width, 196 - 8);
    EXPECT_EQ(s.panel.top + s.panel.height, 65);
    EXPECT_EQ(s.label.left, 668 + 8);
    EXPECT_EQ(s.label.top, 66 - 12);
    EXPECT_EQ(s.label.width, 52);
    EXPECT_EQ(s.label.height, 14);
}

TEST(BannerStrip, PicturePlacement)
{
    struct Case {
        int width, height;
        LayoutRect at;  // relative to the box
    };
    const Case cases[] = {
        {472, 61, {0, 0, 472, 61}},     // fills the box
        {944, 122, {0, 0, 472, 61}},    // same proportions, halved
        {100, 100, {205, 0, 61, 61}},   // taller: against the top, centred across
        {473, 61, {0, 0, 472, 60}},     // one pixel too wide
        {1000, 50, {0, 19, 472, 23}},   // wider: against the left, centred down
        {200, 40, {136, 10, 200, 40}},  // small: own size, never enlarged
        {1, 1, {235, 30, 1, 1}},
    };
    const LayoutRect box = {196, 93, 472, 61};
    for (const Case& c : cases) {
        LayoutRect r = placeBannerPicture(box, c.width, c.height);
        EXPECT_EQ(r.left - box.left, c.at.left) << c.width << "x" << c.height;
        EXPECT_EQ(r.top - box.top, c.at.top) << c.width << "x" << c.height;
        EXPECT_EQ(r.width, c.at.width) << c.width << "x" << c.height;
        EXPECT_EQ(r.height, c.at.height) << c.width << "x" << c.height;
    }
    // A strip too low for any box draws no picture.
    LayoutRect none = placeBannerPicture(layoutBannerStrip(0, 0, 864, 6).box, 10, 10);
    EXPECT_EQ(none.width * none.height, 0);
}

class BannerModelTest : public ::testing::Test, protected SessionFixture {};

TEST_F(BannerModelTest, EachFailureGivesItsOneLine)
{
    session.banner.id = 7;
    session.banner.url.set("http://pics.example/a.png");
    const std::pair<int, std::string> cases[] = {
        {FETCH_HOST_NOT_FOUND, "Баннер #7: не найден сервер картинки (http://pics.example/a.png)"},
        {FETCH_NO_CONNECTION, "Баннер #7: нет связи с сервером картинки (http://pics.example/a.png)"},
        {FETCH_REDIRECT, "Баннер #7: сервер перенаправляет (301/302) — нужна прямая http-ссылка на файл"},
        {FETCH_NOT_HTTP, "Баннер #7: ссылка не http:// — старый клиент не умеет https (http://pics.example/a.png)"},
        {1404, "Баннер #7: сервер ответил 404 вместо картинки (http://pics.example/a.png)"},
        {1000, "Баннер #7: сервер ответил 0 вместо картинки (http://pics.example/a.png)"},
        {FETCH_BAD_RESPONSE, "Баннер #7: пустой ответ сервера"},
        {FETCH_NOT_PICTURE, "Баннер #7: файл скачан, но это не картинка GIF/JPG/PNG/BMP (http://pics.example/a.png)"},
        {FETCH_TIMED_OUT_BASE + 60, "Баннер #7: картинка не скачалась за 60 с (http://pics.example/a.png)"},
        {FETCH_TIMED_OUT_BASE + 30, "Баннер #7: картинка не скачалась за 30 с (http://pics.example/a.png)"},
        {3, "Баннер #7: пустой ответ сервера"},
        {999, "Баннер #7: пустой ответ сервера"},
    };
    for (const auto& c : cases) {
        log.lines.clear();
        onBannerFailure(bannerResultWord(7, true), c.first);
        ASSERT_EQ(log.lines.size(), 1u) << c.first;
        EXPECT_EQ(log.lines[0].prefix + log.lines[0].text, "!! " + c.second);
        EXPECT_EQ(log.lines[0].color, kColorError);
    }
    log.lines.clear();
    onBannerFailure(bannerResultWord(6, true), FETCH_NO_CONNECTION);  // an older banner's download
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(BannerModelTest, ResultWordsKeepIdsApartFromTheFailureBit)
{
    for (int32_t id : {1, 5, (1 << 30) - 1, 1 << 30, -5, INT32_MIN, INT32_MAX}) {
        session.banner.id = id;
        EXPECT_FALSE(bannerResultFailed(bannerResultWord(id, false))) << id;
        EXPECT_TRUE(bannerResultFailed(bannerResultWord(id, true))) << id;
        EXPECT_TRUE(bannerResultIsCurrent(bannerResultWord(id, false))) << id;
        EXPECT_FALSE(bannerResultIsCurrent(bannerResultWord(id + 1, true))) << id;
    }
}

TEST_F(BannerModelTest, FetchGetsTheWholeAddress)
{
    std::string url = "http://pics.example/" + std::string(600, 'a') + ".png";
    showBanner("9", url.c_str(), "http://l/");
    EXPECT_EQ(strlen(session.banner.url.s), 511u);
    EXPECT_TRUE(host.has("fetch 9 " + url));
}

TEST_F(BannerModelTest, OnlyWebLinksOpen)
{
    const std::pair<const char*, bool> cases[] = {
        {"http://shop.example/", true},     {"https://shop.example/", true},
        {"HTTPS://shop.example/", true},    {"hTtP://shop.example/", true},
        {"file:///C:/Windows/notepad.exe", false}, {"C:\\Windows\\System32\\calc.exe", false},
        {"calc.exe", false},                {"javascript:alert(1)", false},
        {"httpx://shop.example/", false},   {"http:/shop.example/", false},
        {" http://shop.example/", false},   {"", false},
    };
    session.banner.shown = true;
    for (const auto& c : cases) {
        session.banner.link.set(c.first);
        const char* link = bannerLinkToOpen();
        EXPECT_EQ(link != nullptr, c.second) << c.first;
    }
    session.banner.link.set("http://shop.example/");
    session.banner.shown = false;  // no picture decoded yet
    EXPECT_EQ(bannerLinkToOpen(), nullptr);
}

// A PNG of an 8-bit grey picture whose data inflates to `zeros` zero bytes
// (each row is a filter byte and its pixels): one block of fixed codes, a
// literal 0 and then copies of 258 bytes from one back, 13 bits each, so
// the file is about 1/160 of what it inflates to.
std::string greyPng(uint32_t width, uint32_t height, size_t zeros)
{
    std::string z = "\x78\x01";
    uint32_t bits = 0;
    int count = 0;
    auto put = [&](uint32_t code, int n) {  // a code goes most significant bit first
        for (int i = n - 1; i >= 0; i--) {
            bits |= ((code >> i) & 1) << count++;
            if (count == 8) {
                z += (char)bits;
                bits = count = 0;
            }
        }
    };
    put(0x6, 3);  // last block, fixed codes
    put(0x30, 8);
    size_t done = 1;
    for (; done + 258 <= zeros; done += 258)
        put(0xC5 << 5, 13);  // length 258, distance 1
    for (; done < zeros; done++)
        put(0x30, 8);
    put(0, 7);  // end of block
    if (count)
        z += (char)bits;
    uint32_t adler = (uint32_t)(zeros % 65521) << 16 | 1;

    auto be32 = [](uint32_t v) { return std::string{(char)(v >> 24), (char)(v >> 16), (char)(v >> 8), (char)v}; };
    z += be32(adler);
    auto chunk = [&](const char* type, const std::string& data) {
        std::string body = type + data;
        uint32_t crc = 0xFFFFFFFFu;
        for (unsigned char b : body) {
            crc ^= b;
            for (int i = 0; i < 8; i++)
                crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        }
        return be32((uint32_t)data.size()) + body + be32(~crc);
    };
    return "\x89PNG\r\n\x1A\n" + chunk("IHDR", be32(width) + be32(height) + std::string("\x08\0\0\0\0", 5)) +
           chunk("IDAT", z) + chunk("IEND", "");
}

TEST(BannerPicture, DecodingKeepsToItsBudget)
{
    struct Case {
        const char* what;
        std::string file;
        bool decodes;
    };
    const Case cases[] = {
        // Declares one pixel, inflates to 100 MiB: the inflate buffer would
        // double to 128 MiB.
        {"bomb", greyPng(1, 1, (size_t)100 << 20), false},
        // The largest side there is: 16 MiB of grey, 64 MiB once turned
        // into R, G, B triples.
        {"4096 x 4096", greyPng(4096, 4096, (size_t)4097 * 4096), true},
    };
    for (const Case& c : cases) {
        EXPECT_LT(c.file.size(), 1u << 20) << c.what;
        DecodedPicture p;
        EXPECT_EQ(decodePicture(c.file.data(), c.file.size(), &p), c.decodes) << c.what;
        if (c.decodes) {
            EXPECT_EQ(p.width, 4096);
            EXPECT_EQ(p.height, 4096);
            EXPECT_EQ(p.rgb[0] | p.rgb[4096 * 4096 * 3 - 1], 0);
        }
        releasePicture(&p);
        EXPECT_EQ(pictureBytesInUse(), 0u) << c.what;
    }
}

} // namespace

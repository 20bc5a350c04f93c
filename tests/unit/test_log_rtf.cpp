// Chat-log pieces composed as RTF: what the control is given for each piece,
// and the positions the log counts for it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "codepage.h"
#include "log_rtf.h"

namespace {

struct Composed {
    std::string body;
    size_t positions;
};

Composed compose(const char* text, int breakWidth = 1, Color color = 0x000000FF, bool bold = false)
{
    auto rtf = std::make_unique<LogRtf>();
    clearLogRtf(*rtf);
    rtf->breakWidth = breakWidth;
    size_t positions = 0;
    EXPECT_TRUE(appendLogRtf(*rtf, text, color, bold, &positions));
    return {std::string(rtf->body, rtf->bodyLength), positions};
}

} // namespace

TEST(LogRtf, EveryCharacterIsWrittenSoThatNoTextCanFormat)
{
    const struct {
        const char* text;
        int breakWidth;
        const char* body;
        size_t positions;
    } cases[] = {
        {"plain text", 1, "\\cf1\\b0 plain text", 10},
        {"{\\rtf1 \\b}", 1, "\\cf1\\b0 \\{\\\\rtf1 \\\\b\\}", 10},
        {"a\r\n", 1, "\\cf1\\b0 a\\par ", 2},
        {"a\r\n", 2, "\\cf1\\b0 a\\par ", 3},
        {"a\rb\nc", 1, "\\cf1\\b0 a\\par b\\par c", 5},
        {"a\tb", 1, "\\cf1\\b0 a\\tab b", 3},
        {"\xE0\xB8", 1, "\\cf1\\b0 \\'e0\\'b8", 2},  // а ё
        {"\x01", 1, "\\cf1\\b0 \\'01", 1},
        {"", 1, "\\cf1\\b0 ", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Composed got = compose(c.text, c.breakWidth);
        EXPECT_EQ(got.body, c.body);
        EXPECT_EQ(got.positions, c.positions);
    }
    EXPECT_EQ(compose("x", 1, 0, true).body, "\\cf1\\b x");
}

TEST(LogRtf, ColourTableAndOpening)
{
    auto rtf = std::make_unique<LogRtf>();
    clearLogRtf(*rtf);
    rtf->breakWidth = 1;
    size_t n = 0;
    ASSERT_TRUE(appendLogRtf(*rtf, "a", 0x00804020, false, &n));
    ASSERT_TRUE(appendLogRtf(*rtf, "b", 0x000000C8, true, &n));
    ASSERT_TRUE(appendLogRtf(*rtf, "c", 0x00804020, false, &n));  // the same colour, the same entry
    EXPECT_EQ(std::string(rtf->body, rtf->bodyLength), "\\cf1\\b0 a\\cf2\\b b\\cf1\\b0 c");
    char opening[2048];
    logRtfOpening(*rtf, opening, sizeof opening);
    EXPECT_EQ(std::string(opening),
              "{\\rtf1\\ansi\\ansicpg1251\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}"
              "{\\colortbl;\\red32\\green64\\blue128;\\red200\\green0\\blue0;}\\f0\\fs18 ");

    // A full colour table or body refuses the piece and keeps what it holds.
    for (Color c = 3; rtf->colorCount < kLogRtfColors; c++)
        ASSERT_TRUE(appendLogRtf(*rtf, "", c, false, &n));
    std::string held(rtf->body, rtf->bodyLength);
    EXPECT_FALSE(appendLogRtf(*rtf, "new colour", 0x00FFFFFF, false, &n));
    std::string big(kLogRtfBodyCap, 'x');
    EXPECT_FALSE(appendLogRtf(*rtf, big.c_str(), 0x00804020, false, &n));
    EXPECT_EQ(std::string(rtf->body, rtf->bodyLength), held);
    EXPECT_EQ(rtf->colorCount, kLogRtfColors);

    // An empty composition takes any piece, cut to what fits.
    clearLogRtf(*rtf);
    std::string cyrillic(kLogRtfBodyCap, '\xE0');
    ASSERT_TRUE(appendLogRtf(*rtf, cyrillic.c_str(), 0, false, &n));
    EXPECT_LE(rtf->bodyLength, (size_t)kLogRtfBodyCap);
    EXPECT_EQ(rtf->bodyLength % 4, 0u);  // "\cf1\b0 " and whole "\'e0" escapes
    EXPECT_EQ(n, (rtf->bodyLength - 8) / 4);
}

TEST(LogRtf, AnotherCodePageWritesUnicodeValues)
{
    // A code page that maps the high bytes elsewhere than 1251 does.
    struct Shifted final : CodePage {
        size_t toUtf16(const char* src, size_t n, Utf16Unit* dst, size_t cap) override
        {
            size_t i = 0;
            for (; i < n && i < cap; i++)
                dst[i] = (Utf16Unit)((unsigned char)src[i] < 0x80 ? src[i] : 0x8000 + (unsigned char)src[i]);
            return i;
        }
        size_t fromUtf16(const Utf16Unit*, size_t, char*, size_t) override { return 0; }
        bool equalsNoCase(const char*, const char*) override { return false; }
    } shifted;
    setConversionText(&shifted);
    Composed got = compose("\xE0");
    setConversionText(nullptr);
    EXPECT_EQ(got.body, "\\cf1\\b0 \\u-32544\\'e0");  // 0x80E0 as a signed number
    EXPECT_EQ(compose("\xE0").body, "\\cf1\\b0 \\'e0");
}

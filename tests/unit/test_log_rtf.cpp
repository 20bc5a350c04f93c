// Chat-log pieces composed as RTF: what the control is given for each piece,
// and the positions the log counts for it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/codepage.h"
#include "log/log_rtf.h"

TEST(LogRtf, NoTextCanFormatAndEveryPositionIsCounted)
{
    const struct {
        const char* text;
        int breakWidth;
        const char* body;
        size_t positions;
    } cases[] = {
        {"{\\rtf1 \\b}", 1, "\\cf1\\b0 \\{\\\\rtf1 \\\\b\\}", 10},
        {"a\rb\nc\r\n", 1, "\\cf1\\b0 a\\par b\\par c\\par ", 6},
        {"a\r\n", 2, "\\cf1\\b0 a\\par ", 3},  // rich edit 1 keeps CR LF
        {"a\tb\x01аё", 1, "\\cf1\\b0 a\\tab b\\'01\\'e0\\'b8", 6},
        // Outside 1251 by its Unicode value; an emoji as its two halves, two positions.
        {"a😀é", 1, "\\cf1\\b0 a\\u-10179?\\u-8704?\\u233?", 4},
    };
    auto rtf = std::make_unique<LogRtf>();
    for (const auto& c : cases) {
        clearLogRtf(*rtf);
        rtf->breakWidth = c.breakWidth;
        size_t n = 0;
        ASSERT_TRUE(appendLogRtf(*rtf, c.text, 0, false, &n));
        EXPECT_EQ(std::string(rtf->body, rtf->bodyLength), c.body) << c.text;
        EXPECT_EQ(n, c.positions) << c.text;
    }
}

TEST(LogRtf, ColoursAndRoomRunOutWithoutLosingWhatIsHeld)
{
    auto rtf = std::make_unique<LogRtf>();
    clearLogRtf(*rtf);
    size_t n = 0;
    ASSERT_TRUE(appendLogRtf(*rtf, "a", 0x00804020, true, &n));
    char opening[2048];
    logRtfOpening(*rtf, opening, sizeof opening);
    EXPECT_NE(std::string(opening).find("{\\colortbl;\\red32\\green64\\blue128;}"), std::string::npos);
    for (Color c = 1; rtf->colorCount < kLogRtfColors; c++)
        ASSERT_TRUE(appendLogRtf(*rtf, "", c, false, &n));
    std::string held(rtf->body, rtf->bodyLength);
    EXPECT_FALSE(appendLogRtf(*rtf, "", 0x00FFFFFF, false, &n));
    EXPECT_FALSE(appendLogRtf(*rtf, std::string(kLogRtfBodyCap, 'x').c_str(), 0x00804020, false, &n));
    EXPECT_EQ(std::string(rtf->body, rtf->bodyLength), held);

    // An empty composition takes any piece, cut to whole escapes that fit.
    clearLogRtf(*rtf);
    std::string letters;
    for (int i = 0; i < kLogRtfBodyCap; i++)
        letters += "а";
    ASSERT_TRUE(appendLogRtf(*rtf, letters.c_str(), 0, false, &n));
    EXPECT_EQ(n, (rtf->bodyLength - 8) / 4);
    EXPECT_EQ(rtf->bodyLength, 8 + 4 * n);
}

TEST(LogRtf, AnotherCodePageWritesUnicodeValues)
{
    struct Shifted final : CodePage {  // high bytes to U+8080..U+80FF
        size_t toUtf16(const char* src, size_t n, Utf16Unit* dst, size_t cap) override
        {
            for (size_t i = 0; i < n && i < cap; i++)
                dst[i] = (Utf16Unit)(0x8000 + (unsigned char)src[i]);
            return n < cap ? n : cap;
        }
        size_t fromUtf16(const Utf16Unit*, size_t, char*, size_t) override { return 0; }
    } shifted;
    setConversionText(&shifted);
    auto rtf = std::make_unique<LogRtf>();
    clearLogRtf(*rtf);
    size_t n = 0;
    appendLogRtf(*rtf, "\u80E0а", 0, false, &n);  // the code page's 0xE0, then a letter it lacks
    setConversionText(nullptr);
    EXPECT_EQ(std::string(rtf->body, rtf->bodyLength), "\\cf1\\b0 \\u-32544\\'e0\\u1072?");  // signed values
}

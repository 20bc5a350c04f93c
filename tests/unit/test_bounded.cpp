#include <gtest/gtest.h>

#include <string.h>

#include "base/bounded.h"

TEST(Bounded, CopiesTruncateToTheFieldAndAlwaysTerminate)
{
    Text<8> t;
    memset(t.s, 'x', sizeof t.s);
    t.set("abcdefghijkl");
    EXPECT_STREQ(t.s, "abcdefg");
    t.set(nullptr);
    EXPECT_STREQ(t.s, "");
    t.setN("hello world", 3);
    EXPECT_STREQ(t.s, "hel");

    char one[1] = {'z'};
    EXPECT_EQ(copyText(one, 1, "abc"), 0u);
    EXPECT_EQ(one[0], '\0');
}

TEST(Bounded, FormattingIsCutNeverOverrun)
{
    char buf[16];
    char guard = 'G';
    (void)guard;
    memset(buf, 'x', sizeof buf);
    size_t n = formatText(buf, 10, "%s-%d", "abcdefgh", 12345);
    EXPECT_EQ(n, 9u);
    EXPECT_STREQ(buf, "abcdefgh-");
    EXPECT_EQ(buf[10], 'x');  // nothing written past the given capacity

    char app[8] = "abc";
    EXPECT_EQ(appendText(app, sizeof app, "defghij"), 7u);
    EXPECT_STREQ(app, "abcdefg");
}

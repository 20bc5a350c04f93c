// Where web links start and end in a chat-log line, the address a click
// opens, and when a chat message mentions the own nick.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "log/log_links.h"
#include "session/mention.h"

namespace {

std::vector<std::string> linksIn(const std::string& line)
{
    std::vector<std::string> found;
    size_t at = 0, start = 0, end = 0;
    while (findLink(line.data(), line.size(), at, &start, &end)) {
        found.push_back(line.substr(start, end - start));
        at = end;
    }
    return found;
}

TEST(LogLinks, WhereLinksStartAndEnd)
{
    const struct {
        const char* line;
        std::vector<std::string> links;
    } cases[] = {
        {"http://a.example/x", {"http://a.example/x"}},
        {"see HTTPS://A.example/p?q=1&r=2#f, then www.b.example.", {"HTTPS://A.example/p?q=1&r=2#f", "www.b.example"}},
        {"(http://a.example/x_(y)) «www.b.example» \"http://c.example\" 'www.d.example'!?",
         {"http://a.example/x_(y", "www.b.example", "http://c.example", "www.d.example"}},
        {"trailing http://a.example/...;:!?)»\"'", {"http://a.example/"}},
        {"tab\thttp://a.example\r\nwww.b.example", {"http://a.example", "www.b.example"}},
        {"bare http:// and https://. and www. and WWW.,", {}},
        {"glued xhttp://a.example, mailto:x@y, ftp://f.example file:///c:/x <www.e.example>", {}},
        {"http:/a.example httpx://a.example wwwx.example", {}},
        {"ftp://f http://я.рф/путь?в=1 end", {"http://я.рф/путь?в=1"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(linksIn(c.line), c.links) << c.line;

    // A link cut by the length given ends there.
    size_t start = 0, end = 0;
    ASSERT_TRUE(findLink("www.a.example/long", 13, 0, &start, &end));
    EXPECT_EQ(end, 13u);

    // The address a click opens: only the web's, "www." made one.
    const struct {
        const char* link;
        const char* address;  // empty: refused
    } opens[] = {
        {"www.b.example/p", "http://www.b.example/p"}, {"WWW.b.example", "http://WWW.b.example"},
        {"https://a.example", "https://a.example"},      {"http://", ""},
        {"mailto:x@y.example", ""},                      {"file:///c:/windows/notepad.exe", ""},
    };
    for (const auto& o : opens) {
        char address[64] = "garbage";
        EXPECT_EQ(linkAddress(o.link, strlen(o.link), address, sizeof address), o.address[0] != '\0') << o.link;
        EXPECT_STREQ(address, o.address) << o.link;
    }
    char small[12];
    EXPECT_FALSE(linkAddress("www.b.example", 13, small, sizeof small));  // does not fit: nothing half
    EXPECT_STREQ(small, "");
}

TEST(Mention, WholeOwnNickFromSomeoneElseAnyCase)
{
    const struct {
        const char* sender;
        const char* text;
        const char* own;
        bool mention;
    } cases[] = {
        {"Иван", "Вася, привет", "Вася", true},      {"Иван", "привет, ВАСЯ!", "вася", true},
        {"Иван", "ёжик и Ёж", "ЁЖ", true},            {"Иван", "Vasya?", "vasya", true},
        {"Иван", "Васями", "Вася", false},           {"Иван", "привет,Вася2", "Вася", false},
        {"Иван", "xВася", "Вася", false},            {"Иван", "Васька и Вася", "Вася", true},
        {"вася", "я Вася", "Вася", false},           // the own message
        {"Иван", "Вася", "", false},                 {"Иван", "", "Вася", false},
        {"Иван", "[Вася] (Вася)", "Вася", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isMention(c.sender, c.text, c.own), c.mention) << c.text << " / " << c.own;
}

} // namespace

#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "dialogs/room_request.h"
#include "fakes.h"

namespace {

class RoomRequestTest : public ::testing::Test, public SessionFixture {
protected:
    void SetUp() override
    {
        connectNow();
        session.welcomed = 1;
        transport.sent.clear();
        log.lines.clear();
    }
};

} // namespace

TEST_F(RoomRequestTest, NameAndDescriptionAreCleanedForTheLine)
{
    struct Case {
        const char *name, *description;
        RoomRequestResult result;
        const char* sent;  // as the wire carries it
    };
    const Case cases[] = {
        {"Room", "", RoomRequestSent, "CREATE Room\t\n"},
        {"  Комната  ", "  описание ", RoomRequestSent,
         "CREATE \xD0\x9A\xD0\xBE\xD0\xBC\xD0\xBD\xD0\xB0\xD1\x82\xD0\xB0\t"
         "  \xD0\xBE\xD0\xBF\xD0\xB8\xD1\x81\xD0\xB0\xD0\xBD\xD0\xB8\xD0\xB5 \n"},
        // A TAB in the description would make a third field.
        {"Room", "a\tb\r\nc", RoomRequestSent, "CREATE Room\ta b  c\n"},
        {"Ro\tom\r\n", "\t", RoomRequestSent, "CREATE Ro om\t \n"},
        // Line breaks and TABs around a name are blanks like spaces.
        {"\tRoom\t", "", RoomRequestSent, "CREATE Room\t\n"},
        {"", "описание", RoomNameMissing, ""},
        {"    ", "", RoomNameMissing, ""},
        {" \t\r\n ", "x", RoomNameMissing, ""},
    };
    for (const Case& c : cases) {
        transport.sent.clear();
        char name[kRoomNameCap], description[kRoomDescriptionCap];
        copyText(name, sizeof name, c.name);
        copyText(description, sizeof description, c.description);
        EXPECT_EQ(requestRoom(name, description), c.result) << "«" << c.name << "»";
        EXPECT_EQ(transport.sent, c.sent) << "«" << c.name << "»";
    }
    EXPECT_TRUE(log.lines.empty());
}

// libFuzzer target of what the user list and the chat log's nick clicks make
// of server text: the input is cut into lines at LF, each line into fields
// at TAB. Every line is searched for a nick at every position, as clicks on
// it would, from a heap copy of exactly its length (no terminating NUL, so
// any read past the line is caught). Each line's first three fields also
// become a user entry (nick, status, role; a line beginning with "!" puts
// the nick on the ignore list as well) and a room, and the user list and
// room box are rebuilt over a checking list after every line.

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "bounded.h"
#include "fuzz_support.h"
#include "log_nicks.h"
#include "people_view.h"
#include "session_state.h"

namespace {

struct CheckingList final : ItemList {
    int count = 0;
    int selected = -1;
    int selection() override { return selected; }
    void removeAll() override
    {
        count = 0;
        selected = -1;
    }
    void append(const char* text, uint32_t) override
    {
        CHECK(boundedLength(text, kSearchTextCap) < kSearchTextCap);
        count++;
    }
    void select(int index) override
    {
        CHECK(index >= 0 && index < count);
        selected = index;
    }
};

void searchEveryPosition(const std::string& line)
{
    std::vector<char> copy(line.begin(), line.end());
    const char* text = copy.empty() ? nullptr : copy.data();
    for (size_t p = 0; p <= copy.size(); p++) {
        char nick[kLogNickChars + 1];
        if (!nickInLine(text, copy.size(), p, nick, sizeof nick)) {
            CHECK(nick[0] == '\0');
            continue;
        }
        size_t n = strlen(nick);
        CHECK(n >= 1 && n <= kLogNickChars);
        CHECK(!strchr(nick, '<') && !strchr(nick, '>'));
        CHECK(line.find(std::string("<") + nick + ">") != std::string::npos);
    }
}

std::string field(const std::string& line, int n)
{
    size_t start = 0;
    for (int i = 0; i < n; i++) {
        start = line.find('\t', start);
        if (start == std::string::npos)
            return "";
        start++;
    }
    size_t end = line.find('\t', start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SessionState& s = session;
    resetSessionState(s);
    CheckingList users, rooms;
    std::string input((const char*)data, size);
    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos)
            end = input.size();
        std::string line = input.substr(start, end - start);
        start = end + 1;

        searchEveryPosition(line);
        std::string nick = field(line, 0);
        if (!nick.empty() && nick[0] == '!')
            addIgnored(s, nick.c_str() + 1);
        appendUser(s, nick.c_str(), 0, field(line, 1).c_str(), field(line, 2).c_str());
        appendRoom(s, nick.c_str(), parseDecimal(field(line, 1).c_str()), "", "");
        s.currentRoom.set(field(line, 2).c_str());
        if (users.count > 0)
            users.selected = (int)(size % (size_t)users.count);
        rebuildUserItems(s, users);
        rebuildRoomItems(s, rooms);
        CHECK(users.count == s.userCount && rooms.count == s.roomCount);

        const UserEntry& u = s.users[s.userCount - 1];
        int icon = userStatusImage(s, u);
        CHECK(icon >= 0 && icon <= PeopleImageIgnored);
    }
    return 0;
}

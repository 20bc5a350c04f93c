// libFuzzer target of server text in the user list and in the log's nick
// search. The input is cut into lines at LF. Every line is searched for a
// nick at every position, from a heap copy of exactly its length (no NUL,
// so a read past the line is caught); its TAB-separated fields become a
// user entry (nick, status, role; a nick beginning with "!" is ignored as
// well) whose item text must fit its buffer.

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "base/utf8.h"
#include "log/log_nicks.h"
#include "people/people_view.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    resetSessionState(session);
    // The log's lines are the program's text, well-formed UTF-8 as every way
    // into the program makes it.
    std::string input((const char*)data, size);
    repairUtf8(&input[0], input.size());
    for (size_t start = 0, end; start <= input.size(); start = end + 1) {
        end = input.find('\n', start);
        if (end == std::string::npos)
            end = input.size();
        std::vector<char> line(input.begin() + (long)start, input.begin() + (long)end);
        for (size_t p = 0; p <= line.size(); p++) {
            char nick[kLogNickBytes];
            if (!nickInLine(line.empty() ? nullptr : line.data(), line.size(), p, nick, sizeof nick))
                continue;
            size_t n = strlen(nick);
            CHECK(n >= 1 && utf8UnitCount(nick, n) <= kLogNickChars && !strpbrk(nick, "<>"));
            CHECK(input.find("<" + std::string(nick) + ">", start) < end);
        }
        std::string fields[3];
        for (size_t i = start, f = 0; i < end && f < 3; i++)
            input[i] == '\t' ? (void)f++ : fields[f].push_back(input[i]);
        if (!fields[0].empty() && fields[0][0] == '!')
            addIgnored(session, fields[0].c_str() + 1);
        appendUser(session, fields[0].c_str(), 0, fields[1].c_str(), fields[2].c_str());
        char text[kSearchTextCap];
        size_t n = userSearchText(session, session.users[session.userCount - 1], text, sizeof text);
        CHECK(n < sizeof text && strlen(text) == n);
    }
    return 0;
}

#include "log/log_nicks.h"

#include <string.h>

#include "base/bounded.h"
#include "base/utf8.h"

bool nickInLine(const char* line, size_t length, size_t p, char* nick, size_t cap)
{
    if (cap > 0)
        nick[0] = '\0';
    if (!line || p >= length)
        return false;

    size_t open = p + 1;  // one past the bracket found going back
    while (open > 0 && line[open - 1] != '<' && line[open - 1] != '>')
        open--;
    if (open == 0 || line[open - 1] != '<')
        return false;

    size_t close = p;
    while (close < length && line[close] != '<' && line[close] != '>')
        close++;
    if (close == length || line[close] != '>')
        return false;

    size_t n = close - open;
    if (n < 1 || utf8UnitCount(line + open, n) > kLogNickChars || memchr(line + open, '\0', n))
        return false;
    copyTextN(nick, cap, line + open, n);
    return true;
}

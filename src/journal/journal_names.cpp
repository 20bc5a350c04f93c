#include "journal/journal_names.h"

#include "base/bounded.h"

namespace {

bool unfitForFileName(Utf16Unit c)
{
    if (c < 0x20 || c == 0x7F)
        return true;
    switch (c) {
    case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
        return true;
    default:
        return false;
    }
}

Utf16Unit asciiUpper(Utf16Unit c) { return c >= 'a' && c <= 'z' ? (Utf16Unit)(c - 'a' + 'A') : c; }

// The name before its first dot (blanks before that dot ignored) is a
// device the system opens instead of a file.
bool isDeviceName(const Utf16Unit* name, size_t n)
{
    size_t base = 0;
    while (base < n && name[base] != '.')
        base++;
    while (base > 0 && name[base - 1] == ' ')
        base--;
    Utf16Unit u[4];
    if (base == 3) {
        for (int i = 0; i < 3; i++)
            u[i] = asciiUpper(name[i]);
        static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
        for (const char* d : kDevices)
            if (u[0] == d[0] && u[1] == d[1] && u[2] == d[2])
                return true;
        return false;
    }
    if (base != 4 || name[3] < '1' || name[3] > '9')
        return false;
    for (int i = 0; i < 3; i++)
        u[i] = asciiUpper(name[i]);
    return (u[0] == 'C' && u[1] == 'O' && u[2] == 'M') || (u[0] == 'L' && u[1] == 'P' && u[2] == 'T');
}

// Cuts to 64 units (never between the halves of a surrogate pair), then
// drops trailing dots and blanks.
size_t cutAndTrim(Utf16Unit* s, size_t n)
{
    if (n > kJournalNameUnits) {
        n = kJournalNameUnits;
        if (s[n - 1] >= 0xD800 && s[n - 1] <= 0xDBFF)
            n--;
    }
    while (n > 0 && (s[n - 1] == '.' || s[n - 1] == ' '))
        n--;
    return n;
}

const char* const kLineForms[] = {
    "[%02d:%02d:%02d] <%s> %s",
    "[%02d:%02d:%02d] %s* %s",
    "[%02d:%02d:%02d] %sОБЪЯВЛЕНИЕ: %s",
    "[%02d:%02d:%02d] [приват от %s] %s",
    "[%02d:%02d:%02d] [приват для %s] %s",
};

} // namespace

size_t cleanJournalName(const Utf16Unit* name, size_t n, Utf16Unit* out, size_t cap)
{
    if (cap <= kJournalNameUnits + 1)
        return cap ? (out[0] = 0, 0) : 0;
    // One unit more than the cut, so the cut sees whether there was more.
    size_t len = 0;
    for (; len < n && len < kJournalNameUnits + 1; len++)
        out[len] = unfitForFileName(name[len]) ? (Utf16Unit)'_' : name[len];
    len = cutAndTrim(out, len);
    if (len == 0)
        out[len++] = '_';
    if (isDeviceName(out, len)) {
        for (size_t i = len; i > 0; i--)
            out[i] = out[i - 1];
        out[0] = '_';
        len = cutAndTrim(out, len + 1);
    }
    out[len] = 0;
    return len;
}

void formatJournalFileName(const JournalClock& t, char* out, size_t cap)
{
    formatText(out, cap, "%04d-%02d-%02d.txt", t.year, t.month, t.day);
}

size_t formatJournalLine(JournalLineKind kind, const JournalClock& t, const char* who, const char* text, char* out,
                         size_t cap)
{
    if (cap == 0)
        return 0;
    const char* form = kLineForms[kind >= JournalChat && kind <= JournalPrivateTo ? kind : JournalSystem];
    // The system and notice forms take an empty string where the others
    // take the nick.
    const char* first = kind == JournalSystem || kind == JournalNotice ? "" : (who ? who : "");
    size_t n = formatText(out, cap, form, t.hour, t.minute, t.second, first, text ? text : "");
    for (size_t i = 0; i < n; i++)
        if ((unsigned char)out[i] < 0x20)
            out[i] = ' ';
    return n;
}

size_t formatJournalHeader(const JournalClock& t, bool isPrivate, const char* name, const char* host, int port,
                           const char* ownNick, char* out, size_t cap)
{
    char where[3 * 300];
    formatText(where, sizeof where, isPrivate ? "приват с %s" : "%s", name ? name : "");
    size_t n = formatText(out, cap, "—— %04d-%02d-%02d %02d:%02d:%02d, %s, сервер %s:%d, ник %s ——", t.year,
                          t.month, t.day, t.hour, t.minute, t.second, where, host ? host : "", port,
                          ownNick ? ownNick : "");
    for (size_t i = 0; i < n; i++)
        if ((unsigned char)out[i] < 0x20)
            out[i] = ' ';
    return n;
}

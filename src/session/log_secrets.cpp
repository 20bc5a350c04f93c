#include "session/log_secrets.h"

#include <string.h>

namespace {

// The fields (numbered from 1, TAB-separated after the command word and its
// blank) that carry a secret, one bit each.
struct SecretFields {
    const char* command;
    unsigned fields;
};

const SecretFields kSecrets[] = {
    {"LOGIN", 1u << 2},             // nick, password, colour
    {"REG", 1u << 2 | 1u << 4},     // login, password, question, answer
};

const char kMask[] = "***";

// Appends n bytes to out while there is room for them and the NUL.
void put(char* out, size_t cap, size_t& at, const char* bytes, size_t n)
{
    if (at + 1 >= cap)
        return;
    if (n > cap - 1 - at)
        n = cap - 1 - at;
    memcpy(out + at, bytes, n);
    at += n;
}

} // namespace

const char* withoutSecrets(const char* line, char* out, size_t cap)
{
    for (const SecretFields& rule : kSecrets) {
        size_t word = strlen(rule.command);
        if (strncmp(line, rule.command, word) != 0 || line[word] != ' ' || cap == 0)
            continue;
        size_t at = 0;
        put(out, cap, at, line, word + 1);
        const char* field = line + word + 1;
        for (unsigned n = 1;; n++) {
            const char* tab = strchr(field, '\t');
            size_t length = tab ? (size_t)(tab - field) : strlen(field);
            if ((rule.fields & (1u << n)) && length > 0)
                put(out, cap, at, kMask, sizeof kMask - 1);
            else
                put(out, cap, at, field, length);
            if (!tab)
                break;
            put(out, cap, at, "\t", 1);
            field = tab + 1;
        }
        out[at] = '\0';
        return out;
    }
    return line;
}

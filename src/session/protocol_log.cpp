#include "protocol_log.h"

#include <stdio.h>
#include <string.h>

#include "host.h"

const char kProtocolLogName[] = "Zumbara-protocol.log";
Text<260> protocolLogPath;

size_t formatProtocolLogLine(char* out, size_t cap, int hour, int minute, int second,
                             const char* direction, const char* line)
{
    if (cap == 0)
        return 0;
    size_t n = formatText(out, cap, "%02d:%02d:%02d %s ", hour, minute, second, direction);
    // Leave room for the CR LF whatever the capacity.
    for (size_t i = 0; line[i] != '\0' && i < kProtocolLogLineChars && n + 3 < cap; i++)
        out[n++] = line[i] == '\t' ? '|' : line[i];
    if (n + 2 < cap) {
        out[n++] = '\r';
        out[n++] = '\n';
    }
    out[n < cap ? n : cap - 1] = '\0';
    return n < cap ? n : cap - 1;
}

void logProtocolLine(const char* direction, const char* line)
{
    if (protocolLogPath.empty() || !ports.host)
        return;
    static char text[kProtocolLogLineChars + 64];
    int h = 0, m = 0, s = 0;
    ports.host->localTime(&h, &m, &s);
    size_t n = formatProtocolLogLine(text, sizeof text, h, m, s, direction, line);
    FILE* f = fopen(protocolLogPath.s, "ab");
    if (!f)
        return;
    fwrite(text, 1, n, f);
    fclose(f);
}

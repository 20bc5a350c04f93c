#include "session/protocol_log.h"

#include <stdio.h>
#include <string.h>

#include "base/codepage.h"
#include "base/utf8.h"
#include "session/host.h"
#include "session/log_secrets.h"

const char kProtocolLogName[] = "Zumbara-protocol.log";
Text<260> protocolLogPath;

size_t formatProtocolLogLine(char* out, size_t cap, int hour, int minute, int second,
                             const char* direction, const char* line)
{
    if (cap == 0)
        return 0;
    size_t n = formatText(out, cap, "%02d:%02d:%02d %s ", hour, minute, second, direction);
    // In code page 1251, one byte a character; leave room for the CR LF
    // whatever the capacity.
    const char* p = line;
    for (size_t i = 0; *p && i < kProtocolLogLineChars && n + 3 < cap; i++) {
        uint32_t c = utf8Next(&p);
        int b = c == '\t' ? '|' : cp1251Byte(c);
        out[n++] = (char)(b < 0 ? '?' : b);
    }
    if (n + 2 < cap) {
        out[n++] = '\r';
        out[n++] = '\n';
    }
    out[n < cap ? n : cap - 1] = '\0';
    return n < cap ? n : cap - 1;
}

namespace {

// The log file stays open between lines (a flood of lines would otherwise
// open and close it for each). The C runtime opens it for shared reading and
// writing, so a viewer can read it meanwhile; every line is flushed to the
// system at once, so nothing is lost should the program end abruptly.
FILE* logFile;
Text<260> logFilePath;  // the path logFile was opened for

} // namespace

void logProtocolLine(const char* direction, const char* line)
{
    if (protocolLogPath.empty() || !ports.host)
        return;
    static char text[kProtocolLogLineChars + 64];
    static char masked[kProtocolLogLineChars + 1];
    line = withoutSecrets(line, masked, sizeof masked);
    int h = 0, m = 0, s = 0;
    ports.host->localTime(&h, &m, &s);
    size_t n = formatProtocolLogLine(text, sizeof text, h, m, s, direction, line);
    if (logFile && strcmp(logFilePath.s, protocolLogPath.s) != 0)
        closeProtocolLog();
    if (!logFile) {
        // The C runtime takes the name in the system's ANSI code page.
        char name[sizeof protocolLogPath.s];
        pathForSystem(protocolLogPath.s, name, sizeof name);
        logFile = fopen(name, "ab");
        if (!logFile)
            return;
        logFilePath.set(protocolLogPath.s);
    }
    fwrite(text, 1, n, logFile);
    fflush(logFile);
}

void closeProtocolLog()
{
    if (logFile)
        fclose(logFile);
    logFile = nullptr;
}

#include <stdarg.h>

#include "session/host.h"

SessionPorts ports;

void logSystem(const char* text)
{
    ports.log->logLine(nullptr, "* ", nullptr, 0, text, session.colors.sys);
}

void logError(const char* text)
{
    ports.log->logLine(nullptr, "!! ", nullptr, 0, text, kColorError);
}

void logSystemF(const char* fmt, ...)
{
    char text[3 * 1024];
    va_list ap;
    va_start(ap, fmt);
    formatTextV(text, sizeof text, fmt, ap);
    va_end(ap);
    logSystem(text);
}

void logErrorF(const char* fmt, ...)
{
    char text[3 * 1024];
    va_list ap;
    va_start(ap, fmt);
    formatTextV(text, sizeof text, fmt, ap);
    va_end(ap);
    logError(text);
}

// The protocol log: one line per protocol line sent ("C>") or received
// ("S>") in this run, for handing over when a server misbehaves.
#pragma once

#include <stddef.h>

#include "base/bounded.h"

extern const char kProtocolLogName[];  // "Zumbara-protocol.log"

// Full path of the log file (UTF-8, as all text); empty means no log is
// written.
extern Text<260> protocolLogPath;

enum { kProtocolLogLineChars = 8190 };

// Formats one log line ("%02d:%02d:%02d %s %s\r\n", TABs shown as "|", the
// protocol line cut to 8,190 characters) in code page 1251, one byte a
// character and "?" for every character 1251 lacks, as people read the file
// in Notepad. Returns the length.
size_t formatProtocolLogLine(char* out, size_t cap, int hour, int minute, int second,
                             const char* direction, const char* line);

// Appends one line to the log file and flushes it to the system. The file
// is opened by the first line (again after closeProtocolLog or when the path
// changes) and kept open; a file that cannot be opened loses the line
// silently.
void logProtocolLine(const char* direction, const char* line);
// Closes the log file; the next line opens it again. Every disconnect does
// this, so the file is free between connections.
void closeProtocolLog();

// Web links in the chat log: where a link starts and ends in a line of text,
// the address a click on one opens, and the record of the character
// positions of the links the log shows, which a click is looked up in.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The first link in text[from, length): a run that starts with "http://",
// "https://" or "www." (any letter case) at the start of the text or after a
// blank or one of ( « " ', and ends before the next blank (a space or any
// byte below it); trailing . , ; : ! ? ) » " ' are taken off, repeatedly. A
// prefix with nothing after it is no link. On success [*start, *end) are the
// link's bytes.
bool findLink(const char* text, size_t length, size_t from, size_t* start, size_t* end);

// The address a link opens: the link itself, or with "http://" in front of
// "www."; only a web address (isWebAddress) is given. False, with address
// emptied, for anything else or when it does not fit in cap.
bool linkAddress(const char* link, size_t length, char* address, size_t cap);

enum { kLinkSpans = 4096 };  // links the log can find under the mouse

// The character positions of the newest links in the log, oldest first, in
// a ring: the oldest link is forgotten (and can no longer be clicked) when a
// new one would not fit.
struct LinkSpans {
    int32_t start[kLinkSpans], end[kLinkSpans];
    size_t first, count;
};

void clearLinkSpans(LinkSpans& spans);
// Adds a link at [start, end), beyond every link held.
void addLinkSpan(LinkSpans& spans, int32_t start, int32_t end);
// The link holding the position, if any.
bool linkSpanAt(const LinkSpans& spans, int32_t position, int32_t* start, int32_t* end);

// Fixed-capacity, NUL-terminated text. Every copy truncates to the buffer, so
// no write can run past it, whatever the source is.
#pragma once

#include <stdarg.h>
#include <stddef.h>

// Copies at most cap-1 bytes of src (up to its NUL) and terminates.
// A null src copies an empty string. Returns the length written.
size_t copyText(char* dst, size_t cap, const char* src);

// Copies at most n bytes of src, stopping at a NUL, truncating to cap.
size_t copyTextN(char* dst, size_t cap, const char* src, size_t n);

// Bounded formatting; the result is always terminated and cut to cap.
// Returns the length written (not the length that would have been).
size_t formatText(char* dst, size_t cap, const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
size_t formatTextV(char* dst, size_t cap, const char* fmt, va_list ap);

// Appends src to the text already in dst, cut to cap. Returns the new length.
size_t appendText(char* dst, size_t cap, const char* src);

// Length of s, but never more than cap (s need not be terminated within cap).
size_t boundedLength(const char* s, size_t cap);

// Trims a typed field in place: leading spaces, and trailing spaces,
// carriage returns and line feeds, go.
void trimTypedText(char* text);

// Every TAB, LF and CR becomes a blank, so a typed text stays one field of
// one protocol line.
void flattenText(char* text);

// A text field of N bytes including the terminating NUL.
template <size_t N>
struct Text {
    static_assert(N > 0, "a text field holds at least its NUL");
    char s[N];

    static constexpr size_t capacity = N;
    void set(const char* src) { copyText(s, N, src); }
    void setN(const char* src, size_t n) { copyTextN(s, N, src, n); }
    void clear() { s[0] = '\0'; }
    bool empty() const { return s[0] == '\0'; }
    const char* c_str() const { return s; }
    size_t length() const { return boundedLength(s, N); }
};

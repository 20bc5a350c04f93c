// Fixed-capacity, NUL-terminated text in UTF-8. Every copy truncates to the
// buffer, so no write can run past it, whatever the source is; a cut never
// splits a character: the bytes of a character that does not fit are left
// out whole.
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

// Copies at most n bytes of src (stopping at a NUL) that hold at most units
// UTF-16 units of whole characters, truncating to cap. Returns the length.
size_t copyUnits(char* dst, size_t cap, const char* src, size_t n, size_t units);

// A text field of N - 1 characters and the terminating NUL, characters
// counted in UTF-16 units as Windows counts them in a control: a 64 field
// keeps 63 characters of any script. A character takes at most 3 bytes per
// unit.
template <size_t N>
struct Text {
    static_assert(N > 0, "a text field holds at least its NUL");
    char s[3 * (N - 1) + 1];

    static constexpr size_t capacity = N;  // characters, with the NUL
    void set(const char* src) { copyUnits(s, sizeof s, src, (size_t)-1, N - 1); }
    void setN(const char* src, size_t n) { copyUnits(s, sizeof s, src, n, N - 1); }
    void clear() { s[0] = '\0'; }
    bool empty() const { return s[0] == '\0'; }
    const char* c_str() const { return s; }
    size_t length() const { return boundedLength(s, sizeof s); }  // bytes
};

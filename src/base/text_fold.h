// Letter case and words, for every comparison of nicks, rooms and words
// (mentions, Tab completion, the ignore list, finding in the log). Text is
// UTF-8; letters are folded by their code points, so the result is the same
// whatever the system's code page: Latin and Cyrillic letters with their
// accents and other marks fold to their small forms, Greek too.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The small form of a capital letter; any other code point as it is.
uint32_t foldLetter(uint32_t c);

// A letter or digit of a word (any script that puts blanks between words);
// punctuation, blanks, symbols, emoji and the characters of scripts written
// without blanks (Chinese, Japanese, Korean) are not.
bool isWordChar(uint32_t c);

// Equality of two terminated texts, letter case folded.
bool sameText(const char* a, const char* b);

// text begins with prefix, letter case folded; every text begins with "".
bool startsWithText(const char* text, const char* prefix);

// The first place in text where word stands as a whole word (no letter or
// digit right before or after it), letter case folded; null when there is
// none or word is empty.
const char* findWholeWord(const char* text, const char* word);

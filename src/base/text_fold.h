// Letter case folded by code page 1251, the code page the program holds its
// text in, whatever the system's own code page is: nick, room and word
// comparisons all go through here, so a system whose code page lacks a
// letter's pair (1252 has no Ё/ё) compares the same as a Russian one.
#pragma once

#include <stddef.h>

// Lower-case form of a byte of code page 1251.
unsigned char cp1251Lower(unsigned char c);

// A letter of code page 1251 (Latin or Cyrillic, either case) or a digit.
bool isWordChar1251(unsigned char c);

// Equality of two terminated texts, letter case folded.
bool sameText(const char* a, const char* b);

// text begins with prefix, letter case folded; every text begins with "".
bool startsWithText(const char* text, const char* prefix);

// The first place in text where word stands as a whole word (no letter or
// digit right before or after it), letter case folded; null when there is
// none or word is empty.
const char* findWholeWord(const char* text, const char* word);

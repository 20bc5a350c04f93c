// The short (8.3) name Windows NT gives a path, for the ANSI file functions
// where the system's code page cannot spell the long one.
#pragma once

#include "base/codepage.h"

// A PathShortener: the path of n units with the longest of its leading
// folders that exists in its short form, the rest as it was. 0 on Windows
// 95, 98 and ME, and where no leading part of the path exists.
size_t shortPathOf(const Utf16Unit* path, size_t n, Utf16Unit* out, size_t cap);

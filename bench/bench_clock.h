// The high-resolution clock of the Win32 benchmarks.
#pragma once

#include <windows.h>

// Milliseconds from an arbitrary start, to a fraction of a microsecond.
inline double nowMs()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

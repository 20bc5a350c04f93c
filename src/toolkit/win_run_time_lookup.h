// Functions that Windows 95, 98 and ME lack (or have only as failing stubs)
// are found at run time, so that the program still loads there.
#pragma once

#include <windows.h>

// Fills slot with the function name of module (null when either is missing).
template <class Function>
bool lookUpFunction(HMODULE module, const char* name, Function& slot)
{
    slot = module ? (Function)(void*)GetProcAddress(module, name) : nullptr;
    return slot != nullptr;
}

// Windows 95, 98 or ME: the wide functions are not to be used.
inline bool windows9x() { return (GetVersion() & 0x80000000u) != 0; }

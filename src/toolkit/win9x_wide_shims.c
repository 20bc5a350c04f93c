/*
 * The static C and C++ runtimes call three wide-character functions that
 * Windows 98 only has as failing stubs: GetModuleHandleW (the formatted
 * output code), LoadLibraryW (random_device support in libstdc++) and
 * CreateSemaphoreW (libgcc's mutexes). Their import slots are defined here,
 * pointing at versions that convert the name and call the ANSI function, so
 * the exe imports none of them and the runtime works on every Windows.
 * Only the 32-bit build links this file: the names carry the i386 stdcall
 * decoration.
 */
#include <windows.h>

static BOOL toAnsi(LPCWSTR wide, char* out, int cap)
{
    return WideCharToMultiByte(CP_ACP, 0, wide, -1, out, cap, NULL, NULL) > 0;
}

static HMODULE WINAPI ansiGetModuleHandle(LPCWSTR name)
{
    char a[MAX_PATH];
    if (!name)
        return GetModuleHandleA(NULL);
    return toAnsi(name, a, sizeof a) ? GetModuleHandleA(a) : NULL;
}

static HMODULE WINAPI ansiLoadLibrary(LPCWSTR name)
{
    char a[MAX_PATH];
    if (!name || !toAnsi(name, a, sizeof a)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    return LoadLibraryA(a);
}

static HANDLE WINAPI ansiCreateSemaphore(LPSECURITY_ATTRIBUTES sa, LONG initial, LONG maximum, LPCWSTR name)
{
    char a[MAX_PATH];
    if (!name)
        return CreateSemaphoreA(sa, initial, maximum, NULL);
    if (!toAnsi(name, a, sizeof a)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    return CreateSemaphoreA(sa, initial, maximum, a);
}

void* zbImpGetModuleHandleW __asm__("__imp__GetModuleHandleW@4") = (void*)ansiGetModuleHandle;
void* zbImpLoadLibraryW __asm__("__imp__LoadLibraryW@4") = (void*)ansiLoadLibrary;
void* zbImpCreateSemaphoreW __asm__("__imp__CreateSemaphoreW@16") = (void*)ansiCreateSemaphore;

#include "toolkit/win_text_wide.h"

#include "toolkit/win_run_time_lookup.h"

static_assert(sizeof(WCHAR) == sizeof(Utf16Unit), "UTF-16 units are WCHAR on Windows");

namespace widetext {

WideFunctions wide;

namespace {

enum { NotLookedUp, UnicodeWindows, AnsiWindows } kind = NotLookedUp;

bool lookUpWideFunctions()
{
    if (windows9x())
        return false;
    HMODULE user = GetModuleHandleA("user32.dll");
    HMODULE gdi = GetModuleHandleA("gdi32.dll");
    bool all = true;
    all &= lookUpFunction(user, "RegisterClassW", wide.registerClass);
    all &= lookUpFunction(user, "CreateWindowExW", wide.createWindowEx);
    all &= lookUpFunction(user, "DefWindowProcW", wide.defWindowProc);
    all &= lookUpFunction(user, "CallWindowProcW", wide.callWindowProc);
#ifdef _WIN64
    all &= lookUpFunction(user, "SetWindowLongPtrW", wide.setWindowLongPtr);
    all &= lookUpFunction(user, "GetWindowLongPtrW", wide.getWindowLongPtr);
#else
    // 32-bit user32 has no ...LongPtr entry points; the Long ones are those.
    all &= lookUpFunction(user, "SetWindowLongW", wide.setWindowLongPtr);
    all &= lookUpFunction(user, "GetWindowLongW", wide.getWindowLongPtr);
#endif
    all &= lookUpFunction(user, "DialogBoxParamW", wide.dialogBoxParam);
    all &= lookUpFunction(user, "CreateDialogParamW", wide.createDialogParam);
    all &= lookUpFunction(user, "IsDialogMessageW", wide.isDialogMessage);
    all &= lookUpFunction(user, "GetMessageW", wide.getMessage);
    all &= lookUpFunction(user, "DispatchMessageW", wide.dispatchMessage);
    all &= lookUpFunction(user, "SetWindowTextW", wide.setWindowText);
    all &= lookUpFunction(user, "GetWindowTextW", wide.getWindowText);
    all &= lookUpFunction(user, "GetWindowTextLengthW", wide.getWindowTextLength);
    all &= lookUpFunction(user, "SendMessageW", wide.sendMessage);
    all &= lookUpFunction(user, "MessageBoxW", wide.messageBox);
    all &= lookUpFunction(user, "DrawTextW", wide.drawText);
    all &= lookUpFunction(gdi, "TextOutW", wide.textOut);
    all &= lookUpFunction(gdi, "GetTextExtentPoint32W", wide.getTextExtentPoint32);
    lookUpFunction(GetModuleHandleA("shell32.dll"), "ShellExecuteW", wide.shellExecute);
    return all;
}

} // namespace

bool useWide()
{
    if (kind == NotLookedUp)
        kind = lookUpWideFunctions() ? UnicodeWindows : AnsiWindows;
    return kind == UnicodeWindows;
}

size_t narrow(const WCHAR* units, size_t n, char* text, size_t cap)
{
    if (cap == 0)
        return 0;
    size_t got = utf16ToUtf8((const Utf16Unit*)units, n, text, cap - 1);
    text[got] = '\0';
    return got;
}

size_t fromAnsi(const char* bytes, size_t n, char* text, size_t cap)
{
    if (cap == 0)
        return 0;
    size_t got = codePageToUtf8(conversionText(), bytes, n, text, cap - 1);
    text[got] = '\0';
    return got;
}

} // namespace widetext

bool unicodeWindows() { return widetext::useWide(); }

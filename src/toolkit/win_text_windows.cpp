// Windows, their procedures, dialogs and the message loop, as Unicode
// windows on Windows NT and ANSI ones on 95, 98 and ME.
#include "toolkit/win_text.h"

#include <string.h>

#include "toolkit/win_text_wide.h"

using namespace widetext;

ATOM registerWindowClass(const WNDCLASSA& wc)
{
    if (!useWide())
        return RegisterClassA(&wc);
    WideName name(wc.lpszClassName);
    WideName menu(IS_INTRESOURCE(wc.lpszMenuName) ? nullptr : wc.lpszMenuName);
    WNDCLASSW w;
    memcpy(&w, &wc, sizeof w);  // the same layout but for the two names
    w.lpszClassName = name.s;
    w.lpszMenuName = IS_INTRESOURCE(wc.lpszMenuName) ? (LPCWSTR)wc.lpszMenuName : menu.s;
    return wide.registerClass(&w);
}

HWND createWindow(DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menuOrId, HINSTANCE instance)
{
    if (!useWide()) {
        Ansi title(text);
        return CreateWindowExA(exStyle, className, title.orNull(text), style, x, y, width, height, parent, menuOrId,
                               instance, nullptr);
    }
    WideName cls(className);
    Wide title(text);
    return wide.createWindowEx(exStyle, cls.s, text ? title.s : nullptr, style, x, y, width, height, parent,
                               menuOrId, instance, nullptr);
}

LRESULT defaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return useWide() ? wide.defWindowProc(window, message, wParam, lParam)
                     : DefWindowProcA(window, message, wParam, lParam);
}

WNDPROC subclassWindow(HWND window, WNDPROC procedure)
{
    return useWide() ? (WNDPROC)wide.setWindowLongPtr(window, GWLP_WNDPROC, (LONG_PTR)procedure)
                     : (WNDPROC)SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)procedure);
}

WNDPROC windowProcedure(HWND window)
{
    return useWide() ? (WNDPROC)wide.getWindowLongPtr(window, GWLP_WNDPROC)
                     : (WNDPROC)GetWindowLongPtrA(window, GWLP_WNDPROC);
}

LRESULT callWindowProcedure(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return useWide() ? wide.callWindowProc(previous, window, message, wParam, lParam)
                     : CallWindowProcA(previous, window, message, wParam, lParam);
}

INT_PTR runDialog(HINSTANCE instance, int templateId, HWND owner, DLGPROC procedure, LPARAM param)
{
    if (!useWide())
        return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, procedure, param);
    return wide.dialogBoxParam(instance, MAKEINTRESOURCEW(templateId), owner, procedure, param);
}

HWND createDialog(HINSTANCE instance, int templateId, HWND owner, DLGPROC procedure, LPARAM param)
{
    if (!useWide())
        return CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), owner, procedure, param);
    return wide.createDialogParam(instance, MAKEINTRESOURCEW(templateId), owner, procedure, param);
}

bool isDialogMessage(HWND dialog, MSG* message)
{
    if (!dialog)
        return false;
    return (useWide() ? wide.isDialogMessage(dialog, message) : IsDialogMessageA(dialog, message)) != FALSE;
}

BOOL getMessage(MSG* message)
{
    return useWide() ? wide.getMessage(message, nullptr, 0, 0) : GetMessageA(message, nullptr, 0, 0);
}

LRESULT dispatchMessage(const MSG* message)
{
    return useWide() ? wide.dispatchMessage(message) : DispatchMessageA(message);
}

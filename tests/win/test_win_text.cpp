// Every character through the program's text passage (win_text.h) into every
// kind of window it uses, a tooltip and painted text, read back with the wide
// functions as UTF-16: Russian, accents, other scripts and an emoji. Run
// under code page 1251 and under 1252, where the ANSI functions would lose
// them. (Typing and the rich edit's lines are tested end to end.)
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "toolkit/win_text.h"

namespace {

const char kRussian[] = "Привет, ёЁ — №1 café ☕ 你好 😀";  // UTF-8, as the sources are compiled
const wchar_t kWide[] = L"Привет, ёЁ — №1 café ☕ 你好 😀";

std::wstring sentText(HWND w, UINT lengthMessage, UINT textMessage, WPARAM which)
{
    std::wstring s((size_t)LOWORD(SendMessageW(w, lengthMessage, which, 0)) + 1, L'\0');
    s.resize((size_t)LOWORD(SendMessageW(w, textMessage, which, (LPARAM)&s[0])));
    return s;
}

std::wstring windowTextW(HWND w)
{
    wchar_t s[256] = L"";
    GetWindowTextW(w, s, 256);
    return s;
}

struct Control {
    const char* className;
    DWORD style;
    void (*put)(HWND, const char*);
    std::wstring (*readWide)(HWND);
};

}  // namespace

TEST(WindowText, EveryCharacterRoundTripsThroughEveryKindOfWindow)
{
    ASSERT_TRUE(unicodeWindows());  // Wine is Windows NT
    InitCommonControls();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) { return defaultWindowProc(w, m, wp, lp); };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZbWindowTextTest";
    registerWindowClass(wc);
    HWND top = createWindow(0, wc.lpszClassName, kRussian, WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                            wc.hInstance);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(windowTextW(top), kWide);
    char back[96];
    EXPECT_EQ(getWindowText(top, back, sizeof back), sizeof kRussian - 1);
    EXPECT_STREQ(back, kRussian);

    const Control controls[] = {
        {"EDIT", 0, setWindowText, windowTextW},
        {"STATIC", 0, setWindowText, windowTextW},
        {"LISTBOX", LBS_HASSTRINGS, [](HWND w, const char* t) { addListItem(w, t); },
         [](HWND w) { return sentText(w, LB_GETTEXTLEN, LB_GETTEXT, 0); }},
        {"COMBOBOX", CBS_DROPDOWNLIST, [](HWND w, const char* t) { addComboItem(w, t); },
         [](HWND w) { return sentText(w, CB_GETLBTEXTLEN, CB_GETLBTEXT, 0); }},
        {STATUSCLASSNAMEA, 0, [](HWND w, const char* t) { setStatusPart(w, 0, t); },
         [](HWND w) { return sentText(w, SB_GETTEXTLENGTHW, SB_GETTEXTW, 0); }},
        {TOOLBARCLASSNAMEA, TBSTYLE_LIST,
         [](HWND w, const char* t) {
             char labels[96] = "";
             lstrcpynA(labels, t, sizeof labels - 1);  // and the empty label that ends the list
             addToolbarLabels(w, labels);
             TBBUTTON b = {-1, 7, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
             SendMessageA(w, TB_BUTTONSTRUCTSIZE, sizeof b, 0);
             SendMessageA(w, TB_ADDBUTTONSA, 1, (LPARAM)&b);
         },
         [](HWND w) { return sentText(w, TB_GETBUTTONTEXTW, TB_GETBUTTONTEXTW, 7); }},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.className);
        HWND w = createWindow(0, c.className, nullptr, WS_CHILD | c.style, 0, 0, 200, 100, top, nullptr,
                              wc.hInstance);
        ASSERT_NE(w, nullptr);
        c.put(w, kRussian);
        EXPECT_EQ(c.readWide(w), kWide);
    }

    NMTTDISPINFOW tip = {};
    tip.hdr.code = TTN_GETDISPINFOW;
    EXPECT_TRUE(answerTooltip(&tip.hdr, [](int) { return kRussian; }));
    EXPECT_STREQ(tip.lpszText, kWide);
    DestroyWindow(top);
}

// Painted text does not depend on the font's character set: Russian drawn
// in a Western font looks as the wide function draws it.
TEST(WindowText, PaintedTextIsTheWideText)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(200, 20, 1, 32, nullptr);
    SelectObject(dc, bitmap);
    SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    auto pixels = [&](bool wide) {
        RECT r = {0, 0, 200, 20};
        FillRect(dc, &r, (HBRUSH)GetStockObject(WHITE_BRUSH));
        if (wide)
            DrawTextW(dc, kWide, -1, &r, DT_SINGLELINE | DT_NOPREFIX);
        else
            drawText(dc, kRussian, &r, DT_SINGLELINE | DT_NOPREFIX);
        std::string bits(200 * 20 * 4, '\0');
        GetBitmapBits(bitmap, (LONG)bits.size(), &bits[0]);
        return bits;
    };
    EXPECT_TRUE(pixels(false) == pixels(true)) << "drawn differently";
    SIZE wide;
    GetTextExtentPoint32W(dc, kWide, (int)wcslen(kWide), &wide);
    EXPECT_EQ(textExtent(dc, kRussian).cx, wide.cx);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

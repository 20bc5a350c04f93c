#include "log/win_log_find.h"

#include <commdlg.h>
#include <richedit.h>
#include <stdlib.h>
#include <string.h>

#include "base/bounded.h"
#include "base/codepage.h"
#include "base/text_fold.h"
#include "base/utf8.h"
#include "log/win_chat_log.h"
#include "session/session_state.h"
#include "toolkit/win_dpi.h"
#include "toolkit/win_text.h"

RichEditChatLog* findLogTarget;

namespace {

enum { kFindChars = 255 };

const char kFindTitle[] = "Поиск в логе";

struct Search {
    char text[3 * kFindChars + 1];  // empty: nothing searched yet
    bool up = true;             // the newest lines are at the bottom
    bool matchCase = false;
};

Search last;
HWND window;

HWND logEdit() { return findLogTarget ? findLogTarget->edit : nullptr; }

// The needle in UTF-16; 0 units when there is none.
size_t needleUnits(const Search& s, WCHAR* needle)
{
    size_t n = utf8ToUtf16(s.text, strlen(s.text), (Utf16Unit*)needle, kFindChars);
    needle[n] = L'\0';
    return n;
}

// The wide rich edit searches downwards itself, with the letter case of
// every script folded, whatever the system's code page.
bool findWithControl(HWND edit, const Search& s, LONG from, CHARRANGE* found)
{
    WCHAR needle[kFindChars + 1];
    if (needleUnits(s, needle) == 0)
        return false;
    FINDTEXTEXW f;
    f.chrg.cpMin = from;
    f.chrg.cpMax = s.up ? 0 : -1;
    f.lpstrText = needle;
    WPARAM flags = (s.up ? 0 : FR_DOWN) | (s.matchCase ? FR_MATCHCASE : 0);
    if (SendMessageA(edit, EM_FINDTEXTEXW, flags, (LPARAM)&f) < 0)
        return false;
    *found = f.chrgText;
    return true;
}

bool sameAt(const WCHAR* text, const WCHAR* word, size_t n, bool matchCase)
{
    for (size_t i = 0; i < n; i++) {
        WCHAR a = text[i], b = word[i];
        if (a != b && (matchCase || foldLetter(a) != foldLetter(b)))
            return false;
    }
    return true;
}

// The control's text in UTF-16, one unit a position as selections count
// them: a Unicode control gives its own units; an ANSI one (Windows 95, 98,
// ME) its single-byte text, one byte a position, converted unit for unit.
// Rich edit 2 gives a paragraph end as one CR, as its positions count it;
// rich edit 1 keeps CR LF in both. Null when there is no text; the caller
// frees it.
WCHAR* controlText(HWND edit, size_t* total)
{
    LRESULT length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);  // CR LF counted twice: enough room
    if (length <= 0)
        return nullptr;
    WCHAR* text = (WCHAR*)malloc(((size_t)length + 1) * sizeof(WCHAR));
    if (!text)
        return nullptr;
    LRESULT got = 0;
    if (IsWindowUnicode(edit)) {
        GETTEXTEX get = {};
        get.cb = (DWORD)(((size_t)length + 1) * sizeof(WCHAR));
        get.flags = GT_DEFAULT;
        get.codepage = 1200;  // UTF-16
        got = SendMessageA(edit, EM_GETTEXTEX, (WPARAM)&get, (LPARAM)text);
    } else {
        char* bytes = (char*)malloc((size_t)length + 1);
        if (bytes) {
            LRESULT n = SendMessageA(edit, WM_GETTEXT, (WPARAM)length + 1, (LPARAM)bytes);
            got = (LRESULT)conversionText().toUtf16(bytes, n > 0 ? (size_t)n : 0, (Utf16Unit*)text, (size_t)length);
            free(bytes);
        }
    }
    size_t n = got > 0 ? (size_t)got : 0;
    n = n < (size_t)length ? n : (size_t)length;
    text[n] = L'\0';
    size_t k = 0;
    while (k < n && text[k])
        k++;
    *total = k;
    return text;
}

// Rich edit 1 searches only downwards, and some rich edits (Wine's) miss
// other-case letters upwards: there, and upwards always, the program reads
// the text and searches it itself.
bool findInText(HWND edit, const Search& s, LONG from, CHARRANGE* found)
{
    WCHAR needle[kFindChars + 1];
    size_t n = needleUnits(s, needle);
    size_t total = 0;
    WCHAR* text = n ? controlText(edit, &total) : nullptr;
    if (!text)
        return false;
    // Upwards a match begins before the position, downwards at or after it.
    size_t start = from < 0 ? 0 : (size_t)from;
    size_t at = total + 1;  // none
    if (n <= total && s.up) {
        for (size_t i = start < total - n + 1 ? start : total - n + 1; i-- > 0;)
            if (sameAt(text + i, needle, n, s.matchCase)) {
                at = i;
                break;
            }
    } else if (n <= total) {
        for (size_t i = start; i + n <= total; i++)
            if (sameAt(text + i, needle, n, s.matchCase)) {
                at = i;
                break;
            }
    }
    free(text);
    if (at > total)
        return false;
    found->cpMin = (LONG)at;
    found->cpMax = (LONG)(at + n);
    return true;
}

// Finds the next match from the selection on, selects it and scrolls it
// into view; tells when there is none.
void findNext(HWND owner)
{
    HWND edit = logEdit();
    if (!edit || !last.text[0])
        return;
    CHARRANGE selection = {0, 0};
    SendMessageA(edit, EM_EXGETSEL, 0, (LPARAM)&selection);
    LONG from = last.up ? selection.cpMin : selection.cpMax;
    CHARRANGE found = {0, 0};
    bool hit = IsWindowUnicode(edit) && !last.up ? findWithControl(edit, last, from, &found)
                                                 : findInText(edit, last, from, &found);
    if (!hit) {
        char text[3 * kFindChars + 64];
        formatText(text, sizeof text, "Текст «%s» не найден.", last.text);
        messageBox(owner, text, kFindTitle, MB_OK | MB_ICONINFORMATION);
        return;
    }
    SendMessageA(edit, EM_EXSETSEL, 0, (LPARAM)&found);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}

void readChoices(HWND d)
{
    getItemText(d, IDC_FIND_TEXT, last.text, sizeof last.text);
    last.up = IsDlgButtonChecked(d, IDC_FIND_DOWN) != BST_CHECKED;
    last.matchCase = IsDlgButtonChecked(d, IDC_FIND_CASE) == BST_CHECKED;
}

// Right above the log, over the header and banner strips, so that it hides
// none of the lines it finds; at the log's top where there is no room.
void placeOverLog(HWND d)
{
    RECT log, box;
    HWND edit = logEdit();
    if (!edit || !GetWindowRect(edit, &log) || !GetWindowRect(d, &box))
        return;
    int x = log.right - (box.right - box.left) - px(24);
    int y = log.top - (box.bottom - box.top);
    SetWindowPos(d, nullptr, x > log.left ? x : log.left, y >= 0 ? y : log.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK findProc(HWND d, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(d, IDC_FIND_TEXT, EM_LIMITTEXT, kFindChars, 0);
        setItemText(d, IDC_FIND_TEXT, last.text);
        CheckRadioButton(d, IDC_FIND_UP, IDC_FIND_DOWN, last.up ? IDC_FIND_UP : IDC_FIND_DOWN);
        CheckDlgButton(d, IDC_FIND_CASE, last.matchCase ? BST_CHECKED : BST_UNCHECKED);
        EnableWindow(GetDlgItem(d, IDOK), last.text[0] != '\0');
        placeOverLog(d);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDOK:
            readChoices(d);
            findNext(d);
            return TRUE;
        case IDCANCEL:
            DestroyWindow(d);
            return TRUE;
        case IDC_FIND_TEXT:
            if (HIWORD(wp) == EN_CHANGE) {
                char text[4];
                EnableWindow(GetDlgItem(d, IDOK), getItemText(d, IDC_FIND_TEXT, text, sizeof text) > 0);
            }
            return TRUE;
        }
        break;
    case WM_CLOSE:
        DestroyWindow(d);
        return TRUE;
    case WM_DESTROY:
        window = nullptr;
        if (findLogTarget)
            findLogTarget->keepView(false);
        return FALSE;
    }
    return FALSE;
}

} // namespace

void openFindWindow(HWND main)
{
    if (!window) {
        window = createDialog((HINSTANCE)GetWindowLongPtrA(main, GWLP_HINSTANCE), IDD_FIND_LOG, main, findProc, 0);
        if (!window)
            return;
        if (findLogTarget)
            findLogTarget->keepView(true);
        ShowWindow(window, SW_SHOW);
    }
    SetActiveWindow(window);
    HWND field = GetDlgItem(window, IDC_FIND_TEXT);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
}

void findNextInLog(HWND main)
{
    if (window) {
        readChoices(window);
        if (last.text[0])
            findNext(window);
        else
            openFindWindow(main);
    } else if (last.text[0]) {
        findNext(main);
    } else {
        openFindWindow(main);
    }
}

HWND findLogWindow() { return window; }

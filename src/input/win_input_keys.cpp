#include "input/win_input_keys.h"

#include "base/utf8.h"
#include "input/input_completion.h"
#include "input/input_history.h"
#include "toolkit/win_text.h"

namespace {

CompletionCycle completion;
WNDPROC previousInputProc;

bool keyHeld(int key) { return GetKeyState(key) < 0; }

bool isModifier(WPARAM key) { return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU; }

void caretToEnd(HWND input)
{
    int end = windowTextLength(input);
    SendMessageA(input, EM_SETSEL, (WPARAM)end, (LPARAM)end);
    SendMessageA(input, EM_SCROLLCARET, 0, 0);
}

void recall(HWND input, bool older)
{
    const char* text;
    if (older) {
        char current[kInputLineBytes];
        getWindowText(input, current, sizeof current);
        text = recallOlder(inputHistory, current);
    } else {
        text = recallNewer(inputHistory);
    }
    if (!text)
        return;
    setWindowText(input, text);
    caretToEnd(input);
}

void complete(HWND input, bool backwards)
{
    char line[kCompletionLineCap];
    size_t length = getWindowText(input, line, sizeof line);
    // The control counts its positions in characters (UTF-16 units), the
    // completion in bytes of the line's text: both hold only when all of the
    // text was read.
    if ((int)utf8UnitCount(line, length) != windowTextLength(input)) {
        endCompletion(completion);
        return;
    }
    DWORD start = 0, end = 0;
    SendMessageA(input, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    if (start != end) {
        endCompletion(completion);  // a selection is not a word being typed
        return;
    }
    CompletionEdit edit;
    size_t caret = utf8BytesForUnits(line, length, end);
    if (!completeWord(completion, line, caret, backwards, roomNicks(), &edit))
        return;
    WPARAM from = (WPARAM)utf8UnitCount(line, edit.start);
    SendMessageA(input, EM_SETSEL, from, (LPARAM)(from + utf8UnitCount(line + edit.start, edit.end - edit.start)));
    replaceEditSelection(input, edit.insert.s);
    SendMessageA(input, EM_SCROLLCARET, 0, 0);
}

// True when it answered the message (with *result), which then must not
// reach the edit control.
bool handleInputLineKeys(HWND input, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    *result = 0;
    switch (msg) {
    case WM_GETDLGCODE: {
        // A dialog manager would take Tab for moving the focus and Enter for
        // a default button; the line keeps both.
        LRESULT code = callWindowProcedure(previousInputProc, input, msg, wp, lp) | DLGC_WANTTAB;
        const MSG* m = (const MSG*)lp;
        if (m && (m->message == WM_KEYDOWN || m->message == WM_CHAR) && m->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        *result = code;
        return true;
    }
    case WM_KEYDOWN:
        if (wp == VK_TAB) {
            if (keyHeld(VK_CONTROL) || keyHeld(VK_MENU))
                endCompletion(completion);
            else
                complete(input, keyHeld(VK_SHIFT));
            return true;
        }
        if (isModifier(wp))
            return false;
        endCompletion(completion);
        if ((wp == VK_UP || wp == VK_DOWN) && !keyHeld(VK_SHIFT) && !keyHeld(VK_CONTROL)) {
            recall(input, wp == VK_UP);
            return true;
        }
        return false;
    case WM_SYSKEYDOWN:
        if (!isModifier(wp))
            endCompletion(completion);
        return false;
    case WM_CHAR:
        if (wp == '\t')
            return true;  // Tab and Ctrl+I type nothing
        endCompletion(completion);
        return false;
    case WM_SETTEXT:  // addressNick, startPrivate, a recall, the submit
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KILLFOCUS:
        endCompletion(completion);
        return false;
    }
    return false;
}

LRESULT CALLBACK inputProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT answer;
    if (handleInputLineKeys(w, msg, wp, lp, &answer))
        return answer;
    if (msg == WM_KEYDOWN && wp == VK_RETURN) {
        submitAndRemember();
        return 0;
    }
    if (msg == WM_CHAR && wp == '\r')
        return 0;  // no beep
    return callWindowProcedure(previousInputProc, w, msg, wp, lp);
}

} // namespace

void wrapInputProcedure(HWND input)
{
    if (input)
        previousInputProc = subclassWindow(input, inputProc);
}

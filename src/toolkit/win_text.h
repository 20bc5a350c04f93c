// Text between the program and its windows.
//
// The program keeps its text in UTF-8 (base/utf8.h). On Windows NT its
// windows are Unicode windows, and every text that goes into or comes out of
// a window goes through the functions here, which convert between UTF-8 and
// UTF-16 and call the wide functions: every character arrives whole, emoji
// and every script included, whatever the system's code page. Windows 95, 98
// and ME have no Unicode windows and few wide functions: there the same
// functions convert to and from the conversion code page (conversionText():
// 1251, or the system's ANSI code page where 1251 is not installed), "?"
// for every character it lacks, and call the ANSI ones. The wide functions
// are looked up at run time, so the program imports none.
//
// Sizes given in bytes (cap) bound the UTF-8 text read, cut between whole
// characters. A text longer than kWindowTextChars characters (UTF-16 units)
// is cut. Everything here is for the user-interface thread.
#pragma once

#include <windows.h>

#include <stddef.h>

#include "base/bounded.h"

enum { kWindowTextChars = 4095 };

// True on Windows NT, where the windows are Unicode windows (every wide
// function was found); false on Windows 95, 98 and ME.
bool unicodeWindows();

// ---- Windows, their procedures and the messages that reach them --------

// RegisterClass with the class of wc; its window procedure receives the
// messages of a Unicode window on Windows NT.
ATOM registerWindowClass(const WNDCLASSA& wc);
// CreateWindowEx; className, text may be null.
HWND createWindow(DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menuOrId, HINSTANCE instance);
// DefWindowProc of the program's windows.
LRESULT defaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Puts procedure in place of the window's procedure (a subclass) and returns
// the one it had, to be called with callWindowProcedure.
WNDPROC subclassWindow(HWND window, WNDPROC procedure);
WNDPROC windowProcedure(HWND window);
LRESULT callWindowProcedure(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// DialogBoxParam with the dialog template templateId of instance.
INT_PTR runDialog(HINSTANCE instance, int templateId, HWND owner, DLGPROC procedure, LPARAM param);
// CreateDialogParam: the modeless dialog of the template templateId.
HWND createDialog(HINSTANCE instance, int templateId, HWND owner, DLGPROC procedure, LPARAM param);
// IsDialogMessage for a modeless dialog (false, doing nothing, for none).
bool isDialogMessage(HWND dialog, MSG* message);
// GetMessage and DispatchMessage of the message loop: characters typed into
// a Unicode window arrive whole only through the wide pair.
BOOL getMessage(MSG* message);
LRESULT dispatchMessage(const MSG* message);

// ---- Texts of windows and controls ---------------------------------------

void setWindowText(HWND window, const char* text);
// Reads at most cap - 1 bytes of whole characters into text and terminates
// it (cap > 0). Returns the length read.
size_t getWindowText(HWND window, char* text, size_t cap);
// The length of the window's text in the characters the control counts
// its positions in.
int windowTextLength(HWND window);
void setItemText(HWND dialog, int id, const char* text);
size_t getItemText(HWND dialog, int id, char* text, size_t cap);
// The same into a field, cut to the characters it keeps.
template <size_t N>
size_t getItemText(HWND dialog, int id, Text<N>& field)
{
    char text[sizeof field.s];
    getItemText(dialog, id, text, sizeof text);
    field.set(text);
    return field.length();
}
// LB_ADDSTRING and CB_ADDSTRING; the answer is the message's.
LRESULT addListItem(HWND list, const char* text);
LRESULT addComboItem(HWND combo, const char* text);
// A status bar's part: its text, and reading it back.
void setStatusPart(HWND bar, int part, const char* text);
size_t getStatusPart(HWND bar, int part, char* text, size_t cap);
// TB_ADDSTRING with labels "first\0second\0...\0" (ended by an empty one).
void addToolbarLabels(HWND toolbar, const char* labels);
// Answers a tooltip's request for its text (TTN_GETDISPINFO, ANSI or wide)
// with textOf(the tool's id), no text when that is null. False, doing
// nothing, for any other notification.
bool answerTooltip(NMHDR* notification, const char* (*textOf)(int id));
// EM_GETLINE: line `line` of an edit or rich edit control, without its line
// end. Returns the length read.
size_t getEditLine(HWND edit, int line, char* text, size_t cap);
// EM_REPLACESEL, undoable: text takes the place of the edit control's
// selection (at the caret when nothing is selected).
void replaceEditSelection(HWND edit, const char* text);
// EM_GETTEXTRANGE: the characters [from, to) of a rich edit control. Returns
// the length read.
size_t getTextRange(HWND edit, long from, long to, char* text, size_t cap);
int messageBox(HWND owner, const char* text, const char* title, UINT flags);
// Opens a web address with the system's handler (ShellExecute "open").
void openLink(HWND owner, const char* url);

// ---- Painted text ----------------------------------------------------------

int drawText(HDC dc, const char* text, RECT* r, UINT format);
void textOut(HDC dc, int x, int y, const char* text);
SIZE textExtent(HDC dc, const char* text);

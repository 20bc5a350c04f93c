// Drives a modal dialog shown by the code under test from inside its own
// modal loop: a thread timer runs one step per tick against the dialog,
// answers every message box at the next tick (with OK unless told otherwise)
// and records its title and text.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win_support.h"

// The dialog's result when the steps are used up and it is still open.
const int kLeftOpen = 99;

struct Driver {
    // A control only the dialog under test has: that is how it is told from
    // the message boxes and other dialogs of the thread.
    explicit Driver(int markerControl) : marker(markerControl) {}

    int marker;
    std::vector<std::function<void(HWND)>> steps;
    size_t next = 0;
    int ticks = 0;
    int idleTicks = 0;
    HWND lastDialog = nullptr;
    int dialogsShown = 0;                 // distinct dialogs seen
    std::vector<std::string> boxes;       // texts of the answered message boxes
    std::vector<std::string> boxTitles;   // and their titles
    bool boxesOwnedByDialog = true;
    WPARAM boxAnswer = IDOK;              // the button that answers them
};

namespace driver_detail {

const int kBoxTextId = 0xFFFF;  // the text control of a message box

inline Driver*& current()
{
    static Driver* d;
    return d;
}

struct Found {
    int marker;
    HWND dialog = nullptr;
    HWND box = nullptr;
};

inline BOOL CALLBACK find(HWND w, LPARAM lp)
{
    Found* f = (Found*)lp;
    char cls[32] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(w))
        return TRUE;
    if (GetDlgItem(w, f->marker))
        f->dialog = w;
    else if (GetDlgItem(w, kBoxTextId))
        f->box = w;
    return TRUE;
}

inline VOID CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
{
    Driver& d = *current();
    d.ticks++;
    Found f{d.marker};
    EnumThreadWindows(GetCurrentThreadId(), find, (LPARAM)&f);
    if (f.dialog && f.dialog != d.lastDialog) {
        d.lastDialog = f.dialog;
        d.dialogsShown++;
    }
    if (f.box) {
        d.boxes.push_back(itemText(f.box, kBoxTextId));
        d.boxTitles.push_back(windowText(f.box));
        if (GetWindow(f.box, GW_OWNER) != f.dialog)
            d.boxesOwnedByDialog = false;
        PostMessageA(f.box, WM_COMMAND, d.boxAnswer, 0);
        return;
    }
    if (!f.dialog)
        return;
    if (d.ticks > 1000) {  // stuck on a step that waits: give up
        EndDialog(f.dialog, kLeftOpen);
        return;
    }
    if (d.next < d.steps.size()) {
        // Taken before the step runs: a step that opens a message box runs
        // nested ticks, which must go on with the next step.
        auto step = d.steps[d.next++];
        step(f.dialog);
        return;
    }
    if (++d.idleTicks > 5)
        EndDialog(f.dialog, kLeftOpen);
}

} // namespace driver_detail

// Shows what `show` shows while the driver runs the steps; returns its result.
template <class Show>
int drive(Driver& d, Show show)
{
    driver_detail::current() = &d;
    UINT_PTR timer = SetTimer(nullptr, 0, 15, driver_detail::tick);
    int result = show();
    KillTimer(nullptr, timer);
    driver_detail::current() = nullptr;
    return result;
}

inline std::function<void(HWND)> setText(int id, const char* text)
{
    std::string t = text;
    return [id, t](HWND dlg) { SetDlgItemTextW(dlg, id, wideOf(t.c_str()).c_str()); };
}

inline std::function<void(HWND)> click(int id)
{
    return [id](HWND dlg) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); };
}

// A step that runs again at the next tick until cond holds.
inline std::function<void(HWND)> waitUntil(Driver& d, std::function<bool()> cond)
{
    return [&d, cond](HWND) {
        if (!cond())
            d.next--;
    };
}

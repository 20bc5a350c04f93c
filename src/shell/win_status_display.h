// The status displays of the main window: the status bar, the title, the
// administration menu item, and the owner-drawn header strip, section
// headers, own-nick label and clock pane; and the once-a-second tick that
// keeps the clocks moving.
#pragma once

#include <windows.h>

// In pixels at 96 DPI, like every number the panes are drawn with; they are
// scaled to the display's (uiDpi) where they are used.
enum {
    kHeaderClockWidth = 130,  // right end of the header strip the tick repaints
    kTitleMinWidth = 80,      // the chat title needs a wider rectangle than this
};

// Sets the five status-bar parts and the window title (each only when it
// changed), enables or greys the administration item, and repaints the
// header strip, the own-nick label and the people header without erasing.
void refreshStatusDisplays();

// Timer 3: repaints the clock pane and, while connected, the right end of
// the header strip where the lag and the time online are drawn.
void onStatusTick();

// Painting of the owner-drawn panes, each over its item rectangle.
void paintHeaderStrip(const DRAWITEMSTRUCT* item);
void paintPeopleHeader(const DRAWITEMSTRUCT* item);
void paintRoomsHeader(const DRAWITEMSTRUCT* item);
void paintNickLabel(const DRAWITEMSTRUCT* item);
void paintClock(const DRAWITEMSTRUCT* item);

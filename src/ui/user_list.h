// The right-hand column's lists and the topic line of the main window: the
// owner-drawn user list, the room box, the colour box and status box
// fillings, and the topic line's painting.
#pragma once

#include <windows.h>

// Refills the user list from the user table, keeping the selected position,
// then repaints the people header and refreshes the status displays.
void rebuildUserList();

// Refills the room box from the room table and selects the current room.
void rebuildRoomBox();

// The topic line keeps the topic as its window text; shows a new one.
void showTopicText(const char* topic);

// Adds the six fixed entries of the status box and selects the first.
void fillStatusBox(HWND box);

// Adds the names of the nick-colour palette and selects the user's colour
// ("Тёмно-синий" when it is none of them).
void fillColorBox(HWND box);

// Paints one user-list item: an index outside the user table paints white;
// otherwise the row background (selected, even or odd), the status and role
// icons from the people image list (when it exists), the bold nick in its
// colour (grey when ignored) with an end ellipsis, the status text in the
// small font, and the focus rectangle.
void paintUserItem(const DRAWITEMSTRUCT* item);

// Paints the topic line: etched frame, the caption "Тема:" and the topic
// (or "(тема не задана)"), cut with an end ellipsis.
void paintTopicLine(const DRAWITEMSTRUCT* item);

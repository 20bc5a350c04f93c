// The people and rooms of the main window on Win32: the owner-drawn user
// list, the room box, the colour and status boxes, and the topic line of the
// current room. Each function works on the control it is given.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Refills the user list from the user table, keeping the selected position
// and the rows scrolled to, and repaints it.
void rebuildUserList(HWND list);

// Refills the room box from the room table and selects the current room.
void rebuildRoomBox(HWND box);

// Adds the six fixed entries of the status box and selects the first.
void fillStatusBox(HWND box);

// Adds the names of the nick-colour palette and selects the user's colour
// ("Тёмно-синий" when it is none of them).
void fillColorBox(HWND box);
// Selects the user's colour again, when the login dialog or a reconnect set
// another one than the box shows.
void showNickColor(HWND box);

// Paints one user-list item: an index outside the user table paints white;
// otherwise the row background (selected, even or odd), the status and role
// icons from images, the people image list (when it exists), the bold nick
// in its colour (grey when ignored) with an end ellipsis, the status text in
// the small font, and the focus rectangle.
void paintUserItem(const DRAWITEMSTRUCT* item, HIMAGELIST images);

// The topic line keeps the topic as its window text; shows a new one.
void showTopicText(HWND topicLine, const char* topic);

// Paints the topic line: etched frame, the caption "Тема:" and the topic
// (or "(тема не задана)"), cut with an end ellipsis.
void paintTopicLine(const DRAWITEMSTRUCT* item);

// Identifiers of the program's resources and menu commands.  Plain #defines
// so that resources.rc can include this file as well as the C++ code.
#ifndef ZUMBARA_RESOURCE_IDS_H
#define ZUMBARA_RESOURCE_IDS_H

// Resources
#define IDI_APP                 1
#define IDR_MAINMENU            2
#define IDB_TOOLBAR             10
#define IDB_PEOPLE              11
#define IDB_LOGO                12
// The same pictures drawn for 150 % and 200 % (toolkit/dpi.h numbers them).
#define IDB_TOOLBAR_150         20
#define IDB_PEOPLE_150          21
#define IDB_LOGO_150            22
#define IDB_TOOLBAR_200         30
#define IDB_PEOPLE_200          31
#define IDB_LOGO_200            32

// Menu "Чат"
#define IDM_CONNECT             2001
#define IDM_DISCONNECT          2002
#define IDM_REGISTER            2003
#define IDM_EXIT                2004
#define IDM_FORGOT_PASSWORD     2043

// Menu "Комната"
#define IDM_ROOM_CREATE         2010
#define IDM_ROOM_REFRESH        2011
#define IDM_ROOM_MAIN           2012

// Menu "Сервис"
#define IDM_CLEAR_LOG           2020
#define IDM_FIND_IN_LOG         2044
#define IDM_FIND_NEXT           2045
#define IDM_SOUND_ON_PRIVATE    2021
#define IDM_MESSAGE_TIME        2022
#define IDM_UNIGNORE_ALL        2023
#define IDM_JOURNALS            2047
#define IDM_JOURNAL_FOLDER      2048
#define IDM_RECONNECT           2046
#define IDM_PROTOCOL_LOG        2042

// Menu "Админ"
#define IDM_ADMIN_PANEL         2030

// Menu "Справка"
#define IDM_ABOUT               2040
#define IDM_WEBSITE             2041

#ifndef RC_INVOKED
// Pictures in the IDB_TOOLBAR strip, 16 x 16 each, magenta transparent.
enum ToolbarImage {
    TBI_CONNECT = 0,
    TBI_DISCONNECT = 1,
    TBI_REGISTER = 2,
    TBI_NEW_ROOM = 3,
    TBI_REFRESH = 4,
    TBI_PRIVATE = 5,
    TBI_IGNORE = 6,
    TBI_CLEAR = 7,
    TBI_ADMIN = 8,
    TBI_WEBSITE = 9,
    TBI_ABOUT = 10,
    TBI_EXIT = 11,
    TBI_SEND = 12,
    TBI_COUNT = 13
};

// Marks in the IDB_PEOPLE strip, 16 x 16 each, magenta transparent.
enum PeopleImage {
    PPI_AVAILABLE = 0,
    PPI_AWAY = 1,
    PPI_BUSY = 2,
    PPI_ASLEEP = 3,
    PPI_EATING = 4,
    PPI_DO_NOT_DISTURB = 5,
    PPI_IGNORED = 6,
    PPI_ADMIN = 7,
    PPI_MODERATOR = 8,
    PPI_NONE = 9,
    PPI_GUEST = 10,
    PPI_COUNT = 11
};

// Size of one picture in the 100 % strips (24 and 32 in the larger sets),
// and the transparent colour.
const int kStripImageSize = 16;
const unsigned long kMaskColour = 0x00FF00FFul;  // RGB(255, 0, 255) as a COLORREF
#endif

#endif

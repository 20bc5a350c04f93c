// Identifiers of the main window's controls and commands.
#pragma once

enum {
    // Commands (menu, toolbar, buttons, accelerators).
    CmdConnect = 2001,
    CmdDisconnect = 2002,
    CmdRegister = 2003,
    CmdExit = 2004,
    CmdCreateRoom = 2010,
    CmdRefresh = 2011,
    CmdMainRoom = 2012,
    CmdClearLog = 2020,
    CmdSound = 2021,
    CmdTimestamps = 2022,
    CmdUnignoreAll = 2023,
    CmdAdminPanel = 2030,
    CmdAbout = 2040,
    CmdWebSite = 2041,
    CmdProtocolLog = 2042,
    CmdForgotPassword = 2043,
    CmdJournals = 2047,
    CmdJournalFolder = 2048,
    CmdReconnect = 2046,
    CmdFindInLog = 2044,
    CmdFindNext = 2045,

    // Child controls.
    IdLog = 3001,
    IdUserList = 3002,
    IdRoomBox = 3003,
    IdInput = 3004,
    IdSend = 3005,
    IdColorBox = 3006,
    IdBanner = 3007,
    IdStatusBar = 3008,
    IdPrivate = 3009,
    IdIgnore = 3010,
    IdCreateRoomButton = 3011,
    IdStatusBox = 3012,
    IdTopic = 3013,
    IdToolbar = 3015,
    IdHeader = 3016,
    IdPeopleHeader = 3017,
    IdRoomsHeader = 3018,
    IdBottomPanel = 3019,
    IdNickLabel = 3020,
    IdHint = 3021,
    IdClock = 3022,

    // Resources. The bitmaps are those drawn for 100 %; pictureSetResource
    // (toolkit/dpi.h) gives the numbers of the 150 % and 200 % ones.
    IdAppIcon = 1,
    IdMainMenu = 2,
    IdToolbarBitmap = 10,
    IdPeopleBitmap = 11,
    IdLogoBitmap = 12,
};

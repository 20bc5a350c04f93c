// The notification codes of the standard controls, as a command message
// carries them in the high word of its word parameter; for the rules that
// act on commands without including the Windows headers.
#pragma once

enum {
    kNotifyClicked = 0,        // menu items, buttons, the banner strip
    kNotifyAccelerator = 1,    // F2 and F5
    kNotifySelChange = 1,      // user list, room box, colour box, status box
    kNotifyDoubleClick = 2,    // user list
    kNotifySelEndOk = 9,       // status box: a choice confirmed
};


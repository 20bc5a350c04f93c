// What the main window does for a command (menu item, toolbar button, its
// own buttons, F2 and F5) and for the notifications of its list and combo
// boxes, and the toolbar's tooltip texts. The window itself is reached only
// through MainWindowActions; the session core through its usual seams.
#pragma once

#include "shell/control_ids.h"
#include "toolkit/control_notify.h"

// What the commands need of the main window. The Win32 side implements it
// over the window's controls and dialogs; the unit tests record calls.
struct MainWindowActions {
    // Login dialog, optional registration, then the connect (or nothing when
    // cancelled).
    virtual void runLoginFlow() = 0;
    // Modal registration dialog; it fills session.registration. 1 when the
    // user accepted it, anything else when cancelled or not created.
    virtual int showRegistrationDialog() = 0;
    // Modal create-room dialog; it sends its own request.
    virtual void showCreateRoomDialog() = 0;
    // Modal administration panel; the panel counts as closed once it returns.
    virtual void showAdminPanel() = 0;
    virtual void showAboutDialog() = 0;
    // Destroys the main window at once (its destroy handling disconnects).
    virtual void destroyWindow() = 0;
    virtual void setMenuCheck(int id, bool checked) = 0;
    // Opens a web page with the system's default handler.
    virtual void openUrl(const char* url) = 0;
    // Selected index of the user list, room box, colour box and status box;
    // -1 when nothing is selected.
    virtual int selectedUser() = 0;
    virtual int selectedRoom() = 0;
    virtual int selectedColor() = 0;
    virtual int selectedStatus() = 0;
    // Repaints the header strip and the own-nick label without erasing.
    virtual void repaintNickViews() = 0;
    // The banner strip was clicked: opens the current banner's link.
    virtual void openBannerLink() = 0;

protected:
    ~MainWindowActions() = default;
};

// Set once the main window exists.
extern MainWindowActions* mainWindow;

// Runs command or control id with the notification code; unknown ids and
// codes a control does not act on do nothing.
void runMainCommand(int id, int notification);

// The toolbar tooltip of a command; null for ids without one.
const char* tooltipText(int id);

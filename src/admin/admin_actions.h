// What the administration panel does: filling its fields from the session
// record, its two opening requests, rebuilding the banner list, and every
// button. The dialog is reached only through PanelForm, so this runs the
// same against the Win32 dialog and against the unit tests' recorder.
#pragma once

#include <stddef.h>

// The panel's controls and the two things it reads from the main window.
struct PanelForm {
    // The control's text, cut to cap - 1 characters.
    virtual void getText(int id, char* text, size_t cap) = 0;
    virtual void setText(int id, const char* text) = 0;
    virtual bool isChecked(int id) = 0;
    virtual void setChecked(int id, bool checked) = 0;
    virtual void enable(int id, bool enabled) = 0;
    // The banner list: emptied, one row appended, the selected row (-1 when
    // none is selected).
    virtual void clearRows() = 0;
    virtual void addRow(const char* text) = 0;
    virtual int selectedRow() = 0;
    // A Yes/No question owned by the panel; true for Yes. It runs a nested
    // message loop, as every modal box does.
    virtual bool askYesNo(const char* text) = 0;
    // The main window's user-list selection (-1 when none) and topic text.
    virtual int selectedUser() = 0;
    virtual void mainTopic(char* text, size_t cap) = 0;

protected:
    ~PanelForm() = default;
};

// The status line's own texts.
extern const char kPanelSentText[];         // "Отправлено на сервер..."
extern const char kPanelModeratorText[];    // "Вы модератор комнаты: доступна только модерация."
extern const char kPanelBadUrlText[];       // the refused picture address
extern const char kPanelNotConnectedText[]; // a request while the connection is down

// Fills every field from the configuration and the topic, and enables the
// settings and banner areas for a global admin only. Overwrites whatever
// was typed and not saved.
void fillAdminPanel(PanelForm& form);
// The panel has just been created: fill it, put in the defaults of the
// weight and ban-minutes fields, ask the server for its configuration (and
// a global admin's banner catalogue), take the nick selected in the main
// window.
void initAdminPanel(PanelForm& form);
// One row per catalogue item; the selection is lost.
void rebuildBannerList(PanelForm& form);
// A command from control id with its notification code (button clicks and
// the banner list's selection changes; anything else does nothing). The
// close button is the dialog's own business.
void runPanelCommand(PanelForm& form, int id, int notification);

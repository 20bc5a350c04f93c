#include "people/win_people_list.h"

#include "people/people_view.h"
#include "session/session_state.h"
#include "toolkit/palette.h"
#include "toolkit/win_dpi.h"
#include "toolkit/win_drawing.h"
#include "toolkit/win_fonts.h"
#include "toolkit/win_text.h"

namespace {

const COLORREF kEvenRow = RGB(0xFF, 0xFF, 0xFF);
const COLORREF kOddRow = RGB(0xF5, 0xF5, 0xFA);
const COLORREF kIgnoredNick = RGB(0x96, 0x96, 0x96);
const COLORREF kStatusText = RGB(0x6E, 0x6E, 0x82);
const UINT kLineFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

struct ListBoxItems final : ItemList {
    HWND box;
    explicit ListBoxItems(HWND b) : box(b) {}
    int selection() override { return (int)SendMessageA(box, LB_GETCURSEL, 0, 0); }
    void removeAll() override { SendMessageA(box, LB_RESETCONTENT, 0, 0); }
    void append(const char* text, uint32_t data) override
    {
        LRESULT i = addListItem(box, text);
        if (i >= 0)
            SendMessageA(box, LB_SETITEMDATA, (WPARAM)i, (LPARAM)data);
    }
    void select(int index) override { SendMessageA(box, LB_SETCURSEL, (WPARAM)index, 0); }
};

struct ComboBoxItems final : ItemList {
    HWND box;
    explicit ComboBoxItems(HWND b) : box(b) {}
    int selection() override { return (int)SendMessageA(box, CB_GETCURSEL, 0, 0); }
    void removeAll() override { SendMessageA(box, CB_RESETCONTENT, 0, 0); }
    void append(const char* text, uint32_t) override { addComboItem(box, text); }
    void select(int index) override { SendMessageA(box, CB_SETCURSEL, (WPARAM)index, 0); }
};

void drawLine(HDC dc, RECT r, const char* text, HFONT font, COLORREF color)
{
    SelectObject(dc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, color);
    drawText(dc, text, &r, kLineFormat);
}

int textWidth(HDC dc, const char* text) { return (int)textExtent(dc, text).cx; }

} // namespace

void rebuildUserList(HWND list)
{
    if (list) {
        // No painting while the list is emptied and refilled: it would flash.
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        // The rows the user scrolled to stay in view; the list itself keeps
        // the top row within the new count.
        LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
        ListBoxItems items(list);
        rebuildUserItems(session, items);
        if (top > 0)
            SendMessageA(list, LB_SETTOPINDEX, (WPARAM)top, 0);
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        repaintLater(list, true);
    }
}

void rebuildRoomBox(HWND box)
{
    if (!box)
        return;
    ComboBoxItems items(box);
    rebuildRoomItems(session, items);
}

void fillStatusBox(HWND box)
{
    for (const char* entry : kStatusChoices)
        addComboItem(box, entry);
    SendMessageA(box, CB_SETCURSEL, 0, 0);
}

void fillColorBox(HWND box)
{
    for (int i = 0; i < kPaletteSize; i++)
        addComboItem(box, kPalette[i].name);
    showNickColor(box);
}

void showNickColor(HWND box)
{
    int selected = paletteIndexOf(session.nickColor.s);
    if (selected < 0)
        selected = 0;
    if (SendMessageA(box, CB_GETCURSEL, 0, 0) != selected)
        SendMessageA(box, CB_SETCURSEL, (WPARAM)selected, 0);
}

void paintUserItem(const DRAWITEMSTRUCT* item, HIMAGELIST images)
{
    HDC dc = item->hDC;
    const RECT& r = item->rcItem;
    int n = (int)item->itemID;
    if (n < 0 || n >= session.userCount) {
        fillSolid(dc, r, kEvenRow);
        return;
    }
    const UserEntry& u = session.users[n];
    ScopedDcState state(dc);

    COLORREF background = (n % 2 == 0) ? kEvenRow : kOddRow;
    if (item->itemState & ODS_SELECTED)
        background = selectedItemColor(session.colors.panel);
    fillSolid(dc, r, background);

    if (images) {
        int y = r.top + (r.bottom - r.top - px(16)) / 2;
        ImageList_Draw(images, userStatusImage(session, u), dc, r.left + px(2), y, ILD_TRANSPARENT);
        int role = userRoleImage(u.role.s);
        if (role != PeopleImageNone)
            ImageList_Draw(images, role, dc, r.left + px(18), y, ILD_TRANSPARENT);
    }

    SetBkMode(dc, TRANSPARENT);
    RECT text = r;
    text.left = r.left + px(36);
    COLORREF nickColor = isIgnored(session, u.nick.s) ? kIgnoredNick : (COLORREF)u.color;
    drawLine(dc, text, u.nick.s, fontUiBold, nickColor);

    int x = r.left + px(36) + textWidth(dc, u.nick.s) + px(6);
    if (!u.status.empty() && x < r.right - px(10)) {
        char status[3 * kStatusDrawChars + 1];
        copyUnits(status, sizeof status, u.status.s, (size_t)-1, kStatusDrawChars);
        text.left = x;
        drawLine(dc, text, status, fontSmall, kStatusText);
    }

    if (item->itemState & ODS_FOCUS) {
        RECT focus = r;
        DrawFocusRect(dc, &focus);
    }
}

void showTopicText(HWND topicLine, const char* topic)
{
    setWindowText(topicLine, topic ? topic : "");
    repaintLater(topicLine, true);
}

void paintTopicLine(const DRAWITEMSTRUCT* item)
{
    HDC dc = item->hDC;
    RECT r = item->rcItem;
    ScopedDcState state(dc);
    fillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
    DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
    SetBkMode(dc, TRANSPARENT);

    r.left += px(6);
    SelectObject(dc, fontUiBold ? (HGDIOBJ)fontUiBold : GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, topicCaptionColor(session.colors.panel));
    RECT caption = r;
    drawText(dc, "Тема:", &caption, DT_SINGLELINE | DT_VCENTER);

    r.left += px(40);
    char topic[3 * kTopicShownChars + 1];
    getWindowText(item->hwndItem, topic, sizeof topic);
    copyUnits(topic, sizeof topic, topic, (size_t)-1, kTopicShownChars);
    drawLine(dc, r, topic[0] ? topic : "(тема не задана)", fontUi, RGB(0, 0, 0));
}

// The right-hand column and the status panes of the real main window: the
// user list filled from server lines, its items painted into a memory DC,
// the header strip's title rule, the once-a-second tick, and clicks on nicks
// in the chat log.
#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include <string>

#include "people/people_view.h"
#include "people/win_people_list.h"
#include "session/protocol.h"
#include "session/site.h"
#include "shell/win_status_display.h"
#include "canvas.h"
#include "main_window_fixture.h"

namespace {

const COLORREF kMagenta = RGB(0xFF, 0x00, 0xFF);
const COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
const COLORREF kOddRow = RGB(0xF5, 0xF5, 0xFA);

class PeopleWindowTest : public MainWindowTest {
protected:
    HWND list() { return GetDlgItem(window, IdUserList); }
    void says(const char* text)
    {
        static char line[kDecodedLineCap];
        copyText(line, sizeof line, text);
        ParsedLine p;
        splitLine(trimLine(line), p);
        dispatchServerLine(p);
    }
    // Paints item n into a fresh 211 by 18 canvas.
    void paintItem(Canvas& c, int n, UINT state)
    {
        DRAWITEMSTRUCT d = {ODT_LISTBOX, IdUserList, (UINT)n, ODA_DRAWENTIRE, state, list(), c.dc, {0, 0, 211, 18}, 0};
        paintUserItem(&d, mainWnd.peopleImages);
    }
    // Does the 16 by 16 block at (x, y) show image of the people list?
    bool showsImage(Canvas& c, int x, int y, int image, COLORREF background)
    {
        Canvas want(16, 16, background);
        ImageList_Draw(mainWnd.peopleImages, image, want.dc, 0, 0, ILD_TRANSPARENT);
        for (int j = 0; j < 16; j++)
            for (int i = 0; i < 16; i++)
                if (c.at(x + i, y + j) != want.at(i, j))
                    return false;
        return true;
    }
};

TEST_F(PeopleWindowTest, ListingFillsTheListAndTheSelectionSurvivesTheRefresh)
{
    auto listing = [&] {
        for (const char* line : {"USERLIST Главная", "USER Вася\t#008000\t\tuser", "USER Иван\t#FF0000\tотошёл\tadmin",
                                 "USER Петя\t#0000FF\tзанят\tmod", "USER Маша\t#C00060\tкушаю\tuser", "USEREND"})
            says(line);
    };
    addIgnored(session, "ПЕТЯ");
    listing();
    ASSERT_EQ(SendMessageA(list(), LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(listItemText(list(), LB_GETTEXTLEN, LB_GETTEXT, 2), "(x) +Петя  — занят");
    EXPECT_EQ(SendMessageA(list(), LB_GETITEMDATA, 1, 0), (LRESULT)RGB(0xFF, 0, 0));
    EXPECT_EQ(SendMessageA(list(), LB_GETITEMHEIGHT, 0, 0), kUserItemHeight);

    // The user picks Петя, the periodic refresh lists everyone again, and
    // "Приват" still knows whom it is for.
    SendMessageA(list(), LB_SETCURSEL, 2, 0);
    listing();
    SendMessageA(window, WM_COMMAND, IdPrivate, 0);
    EXPECT_EQ(itemText(window, IdInput), "/pm Петя ");
    session.ignoredCount = 0;

    // In a big room scrolled halfway down the rows stay in view whoever
    // comes, goes or changes status.
    says("USERLIST Главная");
    for (int i = 0; i < 80; i++) {
        char line[64];
        formatText(line, sizeof line, "USER Гость%d\t#000080\t\tuser", i);
        says(line);
    }
    says("USEREND");
    SendMessageA(list(), LB_SETTOPINDEX, 40, 0);
    for (const char* line : {"JOIN Новый\t#008000\tuser", "PART Гость3", "STATUS Гость50\tотошёл"}) {
        says(line);
        EXPECT_EQ(SendMessageA(list(), LB_GETTOPINDEX, 0, 0), 40) << line;
    }
}

TEST_F(PeopleWindowTest, UserItemPixels)
{
    clearUsers(session);
    appendUser(session, "Аня", RGB(0xFF, 0, 0), "", "user");
    appendUser(session, "Петя", RGB(0, 0, 0xFF), "занят", "mod");
    addIgnored(session, "петя");
    const struct {
        int n;
        UINT state;
        COLORREF panel, background;
    } cases[] = {
        {0, 0, RGB(0x99, 0x99, 0xCC), kWhite},
        {1, 0, RGB(0x99, 0x99, 0xCC), kOddRow},
        {1, ODS_SELECTED, RGB(0x99, 0x99, 0xCC), RGB(0xD5, 0xD5, 0xFF)},
        {0, ODS_SELECTED, kWhite, kWhite},  // each channel capped at 255
    };
    for (auto& k : cases) {
        session.colors.panel = k.panel;
        Canvas c(211, 18, kMagenta);
        paintItem(c, k.n, k.state);
        EXPECT_EQ(c.at(205, 1), k.background) << k.n << " " << k.state;
        EXPECT_EQ(c.at(0, 17), k.background) << k.n << " " << k.state;
    }
    session.colors.panel = RGB(0x99, 0x99, 0xCC);

    // An ignored moderator: grey cross and star, the nick in grey, then the
    // status in the small grey-blue text.
    Canvas ignored(211, 18, kMagenta);
    paintItem(ignored, 1, 0);
    EXPECT_TRUE(showsImage(ignored, 2, 1, PeopleImageIgnored, kOddRow));
    EXPECT_TRUE(showsImage(ignored, 18, 1, PeopleImageModerator, kOddRow));
    EXPECT_TRUE(ignored.anyNear(36, 0, 80, 18, RGB(0x96, 0x96, 0x96), 12));
    EXPECT_FALSE(ignored.anyNear(36, 0, 211, 18, RGB(0, 0, 0xFF), 60));
    EXPECT_TRUE(ignored.anyNear(70, 0, 211, 18, RGB(0x6E, 0x6E, 0x82), 12));
    // An ordinary user: the green ball, no role icon, the nick in its colour;
    // the focus rectangle only with the focus.
    Canvas plain(211, 18, kMagenta), focused(211, 18, kMagenta);
    paintItem(plain, 0, 0);
    paintItem(focused, 0, ODS_FOCUS);
    EXPECT_TRUE(showsImage(plain, 2, 1, 0, kWhite));
    EXPECT_FALSE(plain.anyNear(18, 0, 36, 18, RGB(0, 0, 0), 200));
    EXPECT_TRUE(plain.anyNear(36, 0, 80, 18, RGB(0xFF, 0, 0), 40));
    EXPECT_FALSE(plain.anyNear(100, 0, 211, 1, RGB(0, 0, 0), 200));
    EXPECT_TRUE(focused.anyNear(100, 0, 211, 1, RGB(0, 0, 0), 200));
    // An index the table does not have: white and nothing else.
    Canvas outside(211, 18, kMagenta);
    paintItem(outside, 2, ODS_SELECTED | ODS_FOCUS);
    int other = 0;
    for (int y = 0; y < 18; y++)
        for (int x = 0; x < 211; x++)
            other += outside.at(x, y) != kWhite;
    EXPECT_EQ(other, 0);
    clearUsers(session);
    session.ignoredCount = 0;
}

TEST_F(PeopleWindowTest, HeaderShowsTheTitleOnlyInMoreThan80Pixels)
{
    Canvas scratch(8, 8, kWhite);
    const int w = drawWordmark(scratch.dc, 0, 0, fontLogo, portalDomainSuffix());
    for (int titleWidth : {80, 81}) {
        const int width = 62 + w + 40 + titleWidth + 130;
        Canvas with(width, 62, kMagenta), without(width, 62, kMagenta);
        DRAWITEMSTRUCT d = {ODT_STATIC, IdHeader, 0, ODA_DRAWENTIRE, 0, nullptr, with.dc, {0, 0, width, 62}, 0};
        session.chatTitle.set("Тестовый чат");
        paintHeaderStrip(&d);
        session.chatTitle.set("");
        d.hDC = without.dc;
        paintHeaderStrip(&d);
        int differing = 0;
        for (int y = 0; y < 62; y++)
            for (int x = 0; x < width - 130; x++)
                differing += with.at(x, y) != without.at(x, y);
        EXPECT_EQ(differing > 0, titleWidth > 80) << titleWidth;
    }
    session.chatTitle.set(kProductName);
}

TEST_F(PeopleWindowTest, TopicLineShowsAt299Characters)
{
    // Wide enough for every character: a 400-character topic looks exactly
    // like its first 299.
    const std::string topic = std::string(299, 'a') + std::string(101, 'b');
    Canvas whole(3000, 20, kMagenta), cut(3000, 20, kMagenta);
    DRAWITEMSTRUCT d = {ODT_STATIC, IdTopic, 0, ODA_DRAWENTIRE, 0, GetDlgItem(window, IdTopic), whole.dc,
                        {0, 0, 3000, 20}, 0};
    showTopicText(d.hwndItem, topic.c_str());
    paintTopicLine(&d);
    showTopicText(d.hwndItem, topic.substr(0, 299).c_str());
    d.hDC = cut.dc;
    paintTopicLine(&d);
    int differing = 0;
    for (int x = 0; x < 3000; x++)
        differing += whole.at(x, 10) != cut.at(x, 10);
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(cut.anyNear(6, 0, 46, 20, RGB(0x2B, 0x2B, 0x5E), 40));  // the caption "Тема:"
    showTopicText(d.hwndItem, "");
}

TEST_F(PeopleWindowTest, TickRepaintsTheClockAndOnlyTheHeaderEnd)
{
    HWND header = GetDlgItem(window, IdHeader), clock = GetDlgItem(window, IdClock);
    HWND label = GetDlgItem(window, IdNickLabel);
    RECT client, dirty;
    GetClientRect(header, &client);
    for (int connected : {0, 1}) {
        pumpFor(50);
        for (HWND w : {header, clock, label})
            ValidateRect(w, nullptr);
        session.connected = connected;
        SendMessageA(window, WM_TIMER, kTimerStatus, 0);
        EXPECT_TRUE(GetUpdateRect(clock, &dirty, FALSE));
        EXPECT_FALSE(GetUpdateRect(label, &dirty, FALSE));  // no whole status refresh
        ASSERT_EQ(GetUpdateRect(header, &dirty, FALSE) != 0, connected == 1);
    }
    EXPECT_EQ(dirty.left, client.right - 130);
    EXPECT_EQ(dirty.right, client.right);
    session.connected = 0;
}

TEST_F(PeopleWindowTest, LogClicksOnNicks)
{
    HWND log = GetDlgItem(window, IdLog);
    session.ownNick.set("Вася");
    ports.log->clearLog();
    ports.log->logLine("12:00", nullptr, "Иван", RGB(0xFF, 0, 0), "смотри <Вася>", 0);
    ports.log->logLine("12:01", nullptr, "Вася", RGB(0, 0x80, 0), "ага", 0);
    const LRESULT own = SendMessageA(log, EM_LINEINDEX, 1, 0) + 10;
    auto at = [&](LRESULT index) {  // client coordinates inside a character
        POINTL p = {0, 0};
        SendMessageA(log, EM_POSFROMCHAR, (WPARAM)&p, index);
        return MAKELPARAM(p.x + 3, p.y + 6);
    };
    // "[12:00] <Иван> смотри <Вася>": "<" at 8, the nick from 9, ">" at 13.
    const struct {
        LRESULT index;
        UINT message;
        const char *before, *after;
        bool reachesLog;
    } cases[] = {
        {10, WM_LBUTTONDOWN, "привет", "привет Иван, ", false},
        {own, WM_LBUTTONDOWN, "", "", false},  // the own nick: nothing, but consumed
        {24, WM_LBUTTONDOWN, "", "", false},   // the own nick inside a message
        {own, WM_LBUTTONDBLCLK, "текст", "/pm Вася ", false},
        {8, WM_LBUTTONDOWN, "", "", true},     // on a bracket
        {16, WM_LBUTTONDOWN, "", "", true},    // in the message text
    };
    for (auto& c : cases) {
        SetDlgItemTextW(window, IdInput, wideOf(c.before).c_str());
        CHARRANGE sel = {0, 0};
        SendMessageA(log, EM_EXSETSEL, 0, (LPARAM)&sel);
        SendMessageA(log, c.message, MK_LBUTTON, at(c.index));
        SendMessageA(log, WM_LBUTTONUP, 0, at(c.index));
        SendMessageA(log, EM_EXGETSEL, 0, (LPARAM)&sel);
        EXPECT_EQ(itemText(window, IdInput), c.after) << c.index;
        EXPECT_EQ(sel.cpMin != 0, c.reachesLog) << c.index;
    }
    // The hand over a nick, the log's own cursor elsewhere.
    for (LRESULT index : {10, 16}) {
        LPARAM p = at(index);
        POINT screen = {(short)LOWORD(p), (short)HIWORD(p)};
        ClientToScreen(log, &screen);
        SetCursorPos(screen.x, screen.y);
        SetCursor(nullptr);
        SendMessageA(log, WM_SETCURSOR, (WPARAM)log, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor() == LoadCursorA(nullptr, (LPCSTR)IDC_HAND), index == 10) << index;
    }
    session.ownNick.clear();
}

} // namespace

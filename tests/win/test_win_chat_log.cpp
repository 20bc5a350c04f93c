// The chat log on a real rich edit control, read back as the user sees it:
// the text, and the colour, weight, face and size of every piece.
#include <gtest/gtest.h>

#include <windows.h>

#include <richedit.h>
#include <stdlib.h>

#include <string>

#include "base/codepage.h"
#include "base/utf8.h"
#include "log/win_chat_log.h"
#include "log/win_log_clicks.h"
#include "session/host.h"
#include "toolkit/win_text.h"
#include "toolkit/win_web_open.h"
#include "win_support.h"

namespace {

const Color kGrey = 0x00808080;

LRESULT CALLBACK parentProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(w, msg, wp, lp);
}

void pumpMessages(DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        Sleep(10);
    } while (GetTickCount() - start < ms);
}

// The character format that every character in [from, to) shares (a mask
// bit is clear where they differ): CHARFORMATA, or CHARFORMAT2A for the
// underline and background of links and mentions.
template <class Format>
Format formatOfRange(HWND edit, LONG from, LONG to)
{
    CHARRANGE r = {from, to};
    SendMessageA(edit, EM_EXSETSEL, 0, (LPARAM)&r);
    Format cf = {};
    cf.cbSize = sizeof cf;
    SendMessageA(edit, EM_GETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
    return cf;
}

class ChatLogTest : public ::testing::Test {
protected:
    // One top-level window for all the tests: each test gets a fresh control
    // in it (Wine takes seconds to take a top-level window down without a
    // window manager).
    static HWND parent;
    HWND edit = nullptr;
    RichEditChatLog log;
    SessionPorts savedPorts = {};

    static void SetUpTestSuite()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = parentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = "ZbChatLogTestParent";
        RegisterClassA(&wc);
        parent = CreateWindowExA(0, "ZbChatLogTestParent", "Чат", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 640, 400,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }

    static void TearDownTestSuite()
    {
        if (parent)
            DestroyWindow(parent);
        parent = nullptr;
        pumpMessages(0);
    }

    void SetUp() override
    {
        const char* cls = loadRichEdit();
        ASSERT_NE(cls, nullptr);
        ASSERT_NE(parent, nullptr);
        RECT rc;
        GetClientRect(parent, &rc);
        edit = CreateWindowExA(WS_EX_CLIENTEDGE, cls, "",
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0,
                               rc.right, rc.bottom, parent, (HMENU)(INT_PTR)1, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(edit, nullptr);
        SendMessageA(edit, EM_EXLIMITTEXT, 0, 2000000);
        UpdateWindow(parent);

        savedPorts = ports;
        log.edit = edit;
        log.windowCopy = &edit;
        ports.log = &log;
        resetSessionState(session);
    }

    void TearDown() override
    {
        ports = savedPorts;
        if (edit)
            DestroyWindow(edit);
        pumpMessages(0);
    }

    // The position just past the last character: the control puts an
    // insertion point asked for beyond the text at its end.
    LONG endPosition()
    {
        CHARRANGE r = {0x7FFFFFF0, 0x7FFFFFF0};
        SendMessageA(edit, EM_EXSETSEL, 0, (LPARAM)&r);
        CHARRANGE got = {};
        SendMessageA(edit, EM_EXGETSEL, 0, (LPARAM)&got);
        return got.cpMax;
    }

    // The characters between two positions as the control stores them, as
    // the program's text (UTF-8). The Unicode control answers in UTF-16: the
    // system does not convert this message.
    std::string range(LONG from, LONG to)
    {
        std::wstring units((size_t)(to - from) + 2, L'\0');
        TEXTRANGEW tr;
        tr.chrg.cpMin = from;
        tr.chrg.cpMax = to;
        tr.lpstrText = &units[0];
        LRESULT n = SendMessageA(edit, EM_GETTEXTRANGE, 0, (LPARAM)&tr);
        return utf8Of(units.data(), n > 0 ? (int)n : 0);
    }

    std::string stored() { return range(0, endPosition()); }

    // The text as WM_GETTEXT gives it (line ends as CR LF).
    std::string windowText() { return ::windowText(edit); }

    // The position of a piece in the stored text, in the control's
    // characters (UTF-16 units); -1 when absent.
    LONG find(const std::string& piece, LONG from = 0)
    {
        std::string all = stored();
        size_t at = all.find(piece, utf8BytesForUnits(all.data(), all.size(), (size_t)from));
        return at == std::string::npos ? -1 : (LONG)utf8UnitCount(all.data(), at);
    }

    CHARFORMATA formatOf(LONG from, LONG to) { return formatOfRange<CHARFORMATA>(edit, from, to); }

    // Every character of the piece at `from` looks the same: Arial 9 pt,
    // Cyrillic, the colour, bold or regular.
    void expectLook(const char* what, LONG from, size_t length, Color color, bool bold)
    {
        SCOPED_TRACE(what);
        ASSERT_GE(from, 0);
        CHARFORMATA cf = formatOf(from, from + (LONG)length);
        const DWORD uniform = CFM_BOLD | CFM_COLOR | CFM_FACE | CFM_SIZE | CFM_CHARSET;
        EXPECT_EQ(cf.dwMask & uniform, uniform) << "mask " << std::hex << cf.dwMask;
        EXPECT_EQ(cf.crTextColor, (COLORREF)color) << std::hex << cf.crTextColor;
        EXPECT_EQ((cf.dwEffects & CFE_AUTOCOLOR) != 0, false);
        EXPECT_EQ((cf.dwEffects & CFE_BOLD) != 0, bold);
        EXPECT_STREQ(cf.szFaceName, "Arial");
        EXPECT_EQ(cf.bCharSet, RUSSIAN_CHARSET);
        EXPECT_EQ(cf.yHeight, 180);
    }

    // Fills the control with `count` characters, lines of "x" inserted at
    // once as a long chat would have left them. Wrapping is switched off
    // first: Wine lays out all of a big insertion on the next change, and
    // wrapping 900,000 characters there takes some 15 s; how much the log
    // holds does not depend on the wrapping.
    void fillTo(LONG count)
    {
        SendMessageA(edit, EM_SETTARGETDEVICE, 0, 1);
        std::string line = std::string(98, 'x') + "\r\n";
        SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM)line.c_str());
        // How many positions a line takes (a line end is one or two).
        LONG perLine = endPosition();
        std::string lines;
        for (LONG n = 1; n < (count - 1) / perLine; n++)
            lines += line;
        SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM)lines.c_str());
        LONG have = endPosition();
        ASSERT_LT(have, count);
        std::string rest((size_t)(count - have), 'y');
        SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM)rest.c_str());
        ASSERT_EQ(endPosition(), count);
    }
};

HWND ChatLogTest::parent;

TEST_F(ChatLogTest, LoadsTheRichEditLibraryOnce)
{
    const char* first = loadRichEdit();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(loadRichEdit(), first);
    EXPECT_STREQ(first, "RICHEDIT50W");  // Windows NT with msftedit.dll, as Wine is
    EXPECT_NE(GetModuleHandleA("msftedit.dll"), nullptr);
}

TEST_F(ChatLogTest, ChatLineWithTimeStampShowsEachPieceInItsLook)
{
    const Color nick = 0x00C04010;
    const Color text = 0x00203040;
    session.settings.timestamps = true;
    log.logLine("12:00", nullptr, "Вася", nick, "Привет всем", text);

    EXPECT_EQ(windowText(), "[12:00] <Вася> Привет всем\r\n");
    LONG time = find("[12:00] ");
    LONG name = find("<Вася> ");
    LONG body = find("Привет всем");
    EXPECT_EQ(time, 0);
    EXPECT_EQ(name, 8);
    EXPECT_EQ(body, 15);
    expectLook("time", time, 8, kGrey, false);
    expectLook("nick", name, 7, nick, true);
    expectLook("text", body, 11, text, false);
    // Nothing of the log can be taken back with an undo.
    EXPECT_EQ(SendMessageA(edit, EM_CANUNDO, 0, 0), 0);
}

TEST_F(ChatLogTest, TimeStampsOffLeaveTheTimeOut)
{
    session.settings.timestamps = false;
    log.logLine("12:00", nullptr, "Вася", 0x000000FF, "Привет", 0);
    EXPECT_EQ(windowText(), "<Вася> Привет\r\n");
    expectLook("nick", 0, 7, 0x000000FF, true);
}

TEST_F(ChatLogTest, EmptyTimeStampIsLeftOut)
{
    session.settings.timestamps = true;
    log.logLine("", nullptr, "Вася", 0, "текст", 0);
    EXPECT_EQ(windowText(), "<Вася> текст\r\n");
}

TEST_F(ChatLogTest, SystemAndErrorLines)
{
    session.settings.timestamps = true;
    logSystem("Вы вошли в комнату");
    logError("Соединение потеряно");

    EXPECT_EQ(windowText(), "* Вы вошли в комнату\r\n!! Соединение потеряно\r\n");
    LONG sys = find("* ");
    LONG sysText = find("Вы вошли");
    LONG err = find("!! ");
    LONG errText = find("Соединение");
    expectLook("system prefix", sys, 2, session.colors.sys, true);
    expectLook("system text", sysText, 18, session.colors.sys, false);
    expectLook("error prefix", err, 3, 0x000000C8, true);
    expectLook("error text", errText, 19, 0x000000C8, false);
}

TEST_F(ChatLogTest, LineWithoutNickOrPrefixIsTheTextAndTheLineBreak)
{
    log.logLine(nullptr, "", "", 0x000000FF, "просто текст", 0x00008000);
    EXPECT_EQ(windowText(), "просто текст\r\n");
    expectLook("text", 0, 12, 0x00008000, false);

    log.clearLog();
    log.logLine(nullptr, nullptr, nullptr, 0, nullptr, 0);
    EXPECT_EQ(windowText(), "\r\n");
}

TEST_F(ChatLogTest, LongMessageShowsItsFirstThousandCharacters)
{
    std::string text;
    for (int i = 0; i < 1500; i++)
        text += (char)('a' + i % 26);
    log.logLine(nullptr, nullptr, "Вася", 0, text.c_str(), 0);
    EXPECT_EQ(windowText(), "<Вася> " + text.substr(0, 1000) + "\r\n");
}

TEST_F(ChatLogTest, HugeNickAndTimeStampAreCut)
{
    session.settings.timestamps = true;
    std::string time(8000, '9');
    std::string nick;
    for (int i = 0; i < 8000; i++)
        nick += "Ж";
    log.logLine(time.c_str(), nullptr, nick.c_str(), 0x00FF0000, "ок", 0);

    std::string shown = windowText();
    EXPECT_EQ(shown, "[" + time.substr(0, 255) + "] <" + nick.substr(0, 255 * 2) + "> ок\r\n");
    expectLook("time", 0, 258, kGrey, false);
    expectLook("nick", 258, 258, 0x00FF0000, true);
}

TEST_F(ChatLogTest, FullLogIsEmptiedByTheNextPiece)
{
    fillTo(900001);
    logSystem("после очистки");
    EXPECT_EQ(windowText(), "* после очистки\r\n");
    expectLook("prefix", 0, 2, session.colors.sys, true);
}

TEST_F(ChatLogTest, LogAtTheLimitIsKept)
{
    fillTo(900000);
    log.appendPiece("z", 0, false);
    EXPECT_EQ(endPosition(), 900001);
    EXPECT_EQ(range(0, 2), "xx");
    EXPECT_EQ(range(900000, 900001), "z");
}

TEST_F(ChatLogTest, SizeIsCheckedBeforeEveryPieceOfALine)
{
    // The prefix takes the log past the limit; the text then starts afresh.
    fillTo(899999);
    logSystem("дальше");
    EXPECT_EQ(windowText(), "дальше\r\n");
    expectLook("text", 0, 6, session.colors.sys, false);
}

TEST_F(ChatLogTest, OwnLengthCountFollowsTheControl)
{
    auto controlCount = [&] {
        GETTEXTLENGTHEX q = {GTL_DEFAULT | GTL_NUMCHARS, CP_ACP};
        return (long)SendMessageA(edit, EM_GETTEXTLENGTHEX, (WPARAM)&q, 0);
    };
    session.settings.timestamps = true;
    log.beginBatch();
    for (int i = 0; i < 300; i++)
        log.logLine("12:00", "* ", "Вася", 0x000000FF, "текст\tс табом, \rвозвратом и {\\rtf}", 0);
    log.endBatch();
    EXPECT_EQ(log.length(), controlCount());
    EXPECT_EQ(find("{\\rtf}"), 45);  // the text's own braces stay text

    log.clearLog();
    EXPECT_EQ(log.length(), 0);
    EXPECT_EQ(controlCount(), 0);

    // Lines 1 and 2 take the log to 900,006; line 3 empties it and starts it,
    // in a fresh control that keeps what its window set on the old one.
    fillTo(899990);
    static WNDPROC classProc;
    classProc = (WNDPROC)SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)(WNDPROC)[](HWND w, UINT m, WPARAM wp,
                                                                                       LPARAM lp) -> LRESULT {
        return CallWindowProcA(classProc, w, m, wp, lp);
    });
    LONG_PTR subclass = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    setChatLogBackground(edit, 0x00E0F0FF);
    HWND old = edit;
    RECT before, after;
    GetWindowRect(edit, &before);
    log.beginBatch();
    for (int i = 0; i < 10; i++)
        logSystem("после");
    log.endBatch();
    EXPECT_EQ(log.length(), controlCount());
    EXPECT_FALSE(IsWindow(old));
    GetWindowRect(edit, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(GetDlgCtrlID(edit), 1);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), subclass);
    EXPECT_EQ((COLORREF)SendMessageA(edit, EM_SETBKGNDCOLOR, 0, 0x00E0F0FF), (COLORREF)0x00E0F0FF);
    std::string eight;
    for (int i = 0; i < 8; i++)
        eight += "* после\r\n";
    EXPECT_TRUE(windowText() == eight) << "the log holds " << controlCount() << " characters";
}

TEST_F(ChatLogTest, NewSystemColourAppliesToNewLinesOnly)
{
    Color before = session.colors.sys;
    logSystem("первая");
    session.colors.sys = 0x00A00050;
    logSystem("вторая");

    expectLook("old prefix", find("* "), 2, before, true);
    expectLook("old text", find("первая"), 6, before, false);
    LONG second = find("* ", find("вторая") - 2);
    EXPECT_EQ(second, find("вторая") - 2);
    expectLook("new prefix", second, 2, 0x00A00050, true);
    expectLook("new text", find("вторая"), 6, 0x00A00050, false);
}

TEST_F(ChatLogTest, EveryLineScrollsTheViewToTheBottom)
{
    for (int i = 0; i < 80; i++) {
        char line[32];
        formatText(line, sizeof line, "строка %d", i);
        logSystem(line);
    }
    pumpMessages(50);
    LRESULT firstVisible = SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    EXPECT_GT(firstVisible, 0);

    // The user scrolls back to the top and selects a word of the first line.
    SendMessageA(edit, WM_VSCROLL, SB_TOP, 0);
    CHARRANGE word = {2, 8};
    SendMessageA(edit, EM_EXSETSEL, 0, (LPARAM)&word);
    pumpMessages(50);
    ASSERT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

    logSystem("последняя");
    pumpMessages(50);
    EXPECT_GE(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), firstVisible);

    // The caret is at the end, past the new line.
    CHARRANGE sel = {};
    SendMessageA(edit, EM_EXGETSEL, 0, (LPARAM)&sel);
    LONG end = endPosition();
    EXPECT_EQ(sel.cpMin, end);
    EXPECT_EQ(sel.cpMax, end);

    // The new line lies inside the visible part of the control.
    LONG last = find("последняя");
    ASSERT_GT(last, 0);
    POINTL at = {};
    SendMessageA(edit, EM_POSFROMCHAR, (WPARAM)&at, last);
    RECT client;
    GetClientRect(edit, &client);
    EXPECT_GE(at.y, client.top);
    EXPECT_LT(at.y, client.bottom);

    // The first line is untouched by the new one.
    EXPECT_EQ(range(0, 10), "* строка 0");
}

TEST_F(ChatLogTest, ClearLogEmptiesTheControl)
{
    logSystem("раз");
    logError("два");
    log.clearLog();
    EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(endPosition(), 0);
    logSystem("снова");
    EXPECT_EQ(windowText(), "* снова\r\n");
}

TEST_F(ChatLogTest, BackgroundColourIsSet)
{
    setChatLogBackground(edit, 0x00E0F0FF);
    // The control answers a new background with the one it had.
    EXPECT_EQ((COLORREF)SendMessageA(edit, EM_SETBKGNDCOLOR, 0, (LPARAM)RGB(1, 2, 3)), (COLORREF)0x00E0F0FF);
}

TEST_F(ChatLogTest, LinksAreUnderlinedAndAMentionIsBlackOnYellow)
{
    log.logMarkedLine(nullptr, nullptr, "Маша", 0x000080FF, "Вася, глянь www.a.example/x, и (http://b.example).",
                      0x00505050, kLineLinks | kLineMention);
    log.logMarkedLine(nullptr, "* ", nullptr, 0, "Сайт: https://c.example/", 0x00008000, kLineLinks);
    logError("Баннер #1: http://d.example/");  // the client's own lines show an address as it is
    struct {
        const char* piece;
        bool underlined, marked;
    } cases[] = {
        {"www.a.example/x", true, true}, {"http://b.example", true, true}, {"Вася, глянь ", false, true},
        {"https://c.example/", true, false}, {"Сайт: ", false, false}, {"http://d.example/", false, false},
        {"<Маша> ", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.piece);
        LONG at = find(c.piece);
        ASSERT_GE(at, 0);
        CHARFORMAT2A cf = formatOfRange<CHARFORMAT2A>(edit, at, at + (LONG)utf8UnitCount(c.piece, strlen(c.piece)));
        ASSERT_TRUE(cf.dwMask & CFM_UNDERLINE);
        EXPECT_EQ((cf.dwEffects & CFE_UNDERLINE) != 0, c.underlined);
        ASSERT_TRUE(cf.dwMask & CFM_BACKCOLOR);
        if (c.marked) {
            EXPECT_FALSE(cf.dwEffects & CFE_AUTOBACKCOLOR);
            EXPECT_EQ(cf.crBackColor, (COLORREF)0x00B0F2FF) << std::hex << cf.crBackColor;  // #FFF2B0
            EXPECT_EQ(cf.crTextColor, (COLORREF)0) << std::hex << cf.crTextColor;
        } else {
            EXPECT_TRUE((cf.dwEffects & CFE_AUTOBACKCOLOR) || cf.crBackColor == GetSysColor(COLOR_WINDOW))
                << std::hex << cf.crBackColor;
        }
    }
    // The mention's line end carries no background into the next line.
    LONG next = find("* Сайт");
    CHARFORMAT2A cf = formatOfRange<CHARFORMAT2A>(edit, next, next + 1);
    EXPECT_TRUE((cf.dwEffects & CFE_AUTOBACKCOLOR) || cf.crBackColor == GetSysColor(COLOR_WINDOW));
}

std::string opened;
int openCount;

void recordOpen(const char* address)
{
    opened = address;
    openCount++;
}

TEST_F(ChatLogTest, AClickOnALinkOpensTheCheckedAddress)
{
    void (*savedOpener)(const char*) = webAddressOpener;
    const LinkSpans* savedLinks = logLinks;
    webAddressOpener = recordOpen;
    logLinks = &log.links;
    wrapLogProcedure(edit);
    opened.clear();
    openCount = 0;

    log.logMarkedLine(nullptr, nullptr, "Маша", 0, "это <Вася> www.a.example/путь?x=1, а это ftp://f.example",
                      0, kLineLinks);
    logError("Баннер #1: http://d.example/");
    auto clickAt = [&](const char* piece, int offset) {
        LONG at = find(piece) + offset;
        POINTL p = {0, 0};
        SendMessageA(edit, EM_POSFROMCHAR, (WPARAM)&p, at);
        LPARAM xy = MAKELPARAM(p.x + 2, p.y + 4);
        SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, xy);
        SendMessageA(edit, WM_LBUTTONUP, 0, xy);
    };
    clickAt("www.a.example", 5);
    EXPECT_EQ(opened, "http://www.a.example/путь?x=1");
    EXPECT_EQ(openCount, 1);
    clickAt("ftp://f.example", 3);  // no link: nothing else is launched
    clickAt("http://d.example/", 3);
    clickAt("это", 1);
    EXPECT_EQ(openCount, 1);

    webAddressOpener = savedOpener;
    logLinks = savedLinks;
}

// A look at the window: ZB_CHATLOG_SHOT=seconds keeps it on screen that long.
TEST_F(ChatLogTest, Screenshot)
{
    const char* env = getenv("ZB_CHATLOG_SHOT");
    if (!env || !env[0])
        GTEST_SKIP() << "set ZB_CHATLOG_SHOT to show the window";
    session.settings.timestamps = true;
    setChatLogBackground(edit, 0x00F0FFFF);
    logSystem("Соединение с сервером установлено");
    log.logLine("12:00", nullptr, "Вася", 0x00C00000, "Привет всем!", 0);
    log.logLine("12:01", nullptr, "Маша", 0x000080FF, "Здравствуй, Вася.", 0x00505050);
    log.logLine("12:02", "(лично) ", nullptr, 0, "Тихий шёпот", session.colors.pm);
    logError("Сервер не отвечает");
    log.logMarkedLine("12:03", nullptr, "Маша", 0x000080FF, "Вася, смотри www.zumbara.example и https://a.example/x.",
                      0x00505050, kLineLinks | kLineMention);
    int seconds = atoi(env);
    pumpMessages((DWORD)(seconds > 0 ? seconds : 5) * 1000);
}

}  // namespace

// probe: reads what a user sees in the windows of a running Zumbara client and
// acts on them as a user would, from another process in the same Wine prefix
// (or Windows session).  One subcommand per run; see usage() below.
//
// Text goes out as UTF-8.  Every text is read and written as UTF-16, with the
// wide functions and messages, so that it arrives whole whatever the
// system's ANSI code page: a Unicode window keeps its text in UTF-16, and an
// ANSI window's text is converted by the system.  Arguments are taken from
// GetCommandLineW, so that they arrive as UTF-16 whatever the C runtime's
// locale.  Menus alone are read as ANSI text (in the ANSI code page).
//
// Messages whose data the system copies between processes (WM_GETTEXT,
// WM_SETTEXT, LB_GETTEXT, CB_GETLBTEXT, WM_CHAR) are sent as they are.
// Common control messages that take a pointer (SB_GETTEXTW, TB_GETBUTTON,
// TB_GETBUTTONTEXTW, EM_GETTEXTRANGE) get a buffer allocated in the target
// process with VirtualAllocEx and read back with ReadProcessMemory; both
// processes must be 64-bit for that and for the menu reader.  Menus are
// read with GetMenuItemInfoA where the system allows it on another process's
// menu (Windows); where it does not (Wine keeps menus in the owning process),
// probe_menu.dll, next to this program, is loaded into the target with
// CreateRemoteThread and reads the menu there.

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <fcntl.h>
#include <io.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "probe_menu.h"

namespace {

// ------------------------------------------------------------------ exit codes

enum ExitCode {
    ExitOk = 0,
    ExitUsage = 1,
    ExitNotFound = 2,
    ExitFailed = 3,
};

const char kMainClass[] = "ZumbaraMain";
const char kDialogClass[] = "#32770";

// ------------------------------------------------------------------ text

std::wstring acpToWide(const std::string &s, UINT cp = CP_ACP)
{
    if (s.empty())
        return std::wstring();
    int n = MultiByteToWideChar(cp, 0, s.data(), (int)s.size(), nullptr, 0);
    std::wstring w(n > 0 ? n : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(cp, 0, s.data(), (int)s.size(), &w[0], n);
    return w;
}

std::string wideTo(const std::wstring &w, UINT cp)
{
    if (w.empty())
        return std::string();
    int n = WideCharToMultiByte(cp, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(cp, 0, w.data(), (int)w.size(), &s[0], n, nullptr, nullptr);
    return s;
}

// ANSI text (menus) in UTF-8.
std::string utf8(const std::string &ansi)
{
    return wideTo(acpToWide(ansi), CP_UTF8);
}

std::string utf8(const std::wstring &w)
{
    return wideTo(w, CP_UTF8);
}

// CR LF and lone CR become LF.
std::string normalizeNewlines(const std::string &s)
{
    std::string r;
    r.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r') {
            r += '\n';
            if (i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
        } else {
            r += s[i];
        }
    }
    return r;
}

// A field of a tab-separated record: backslash, tab, CR and LF escaped.
std::string field(const std::string &s)
{
    std::string r;
    for (char c : s) {
        switch (c) {
        case '\\': r += "\\\\"; break;
        case '\t': r += "\\t"; break;
        case '\r': r += "\\r"; break;
        case '\n': r += "\\n"; break;
        default: r += c;
        }
    }
    return r;
}

// At most max bytes of UTF-8 text, cut at a character boundary, "..." added.
std::string shortText(const std::string &s, size_t max = 80)
{
    if (s.size() <= max)
        return s;
    size_t n = max;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        --n;
    return s.substr(0, n) + "...";
}

// ------------------------------------------------------------------ output

std::string g_out;

void out(const std::string &line)
{
    g_out += line;
    g_out += '\n';
}

void outf(const char *fmt, ...)
{
    char buf[512];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    out(buf);
}

void flushOut()
{
    if (!g_out.empty()) {
        fwrite(g_out.data(), 1, g_out.size(), stdout);
        g_out.clear();
    }
    fflush(stdout);
}

// Remote buffers still allocated; freed before any exit.
struct RemoteBlock {
    HANDLE process;
    void *address;
};
std::vector<RemoteBlock> g_remote;

void freeRemote()
{
    for (const RemoteBlock &b : g_remote) {
        VirtualFreeEx(b.process, b.address, 0, MEM_RELEASE);
        CloseHandle(b.process);
    }
    g_remote.clear();
}

[[noreturn]] void finish(int code)
{
    freeRemote();
    flushOut();
    fflush(stderr);
    exit(code);
}

[[noreturn]] void fail(int code, const char *fmt, ...)
{
    char buf[1024];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    flushOut();
    fprintf(stderr, "probe: %s\n", buf);
    finish(code);
}

// ------------------------------------------------------------------ options

struct Options {
    std::string command;
    std::vector<std::wstring> args;  // positional arguments after the command
    // Target window.
    bool dialog = false;
    bool haveWindowTitle = false;
    std::string windowTitle;  // UTF-8
    HWND hwnd = nullptr;
    // wait-window / wait-gone selectors.
    bool haveClass = false;
    std::string cls;
    bool haveTitle = false;
    std::string title;
    bool contains = false;
    // Behaviour.
    DWORD timeout = 10000;
    bool sync = false;
    bool post = false;
    bool viaCommand = false;
    bool range = false;
    bool atCaret = false;
};

Options g_opt;

void usage()
{
    fputs(
        "usage: probe [target] COMMAND [ARGS] [options]\n"
        "target (default: the top-level window of class ZumbaraMain):\n"
        "  --dialog              the dialog (#32770) of the main window's process,\n"
        "                        the enabled one on top first\n"
        "  --window-title TEXT   the visible top-level window with this title\n"
        "  --hwnd 0xHEX          this window\n"
        "commands:\n"
        "  wait-window [--class C] [--title T] [--contains]   hwnd, title\n"
        "  wait-gone   [--class C] [--title T] [--contains]\n"
        "  wait-title TEXT [--contains]        waits for the target's title\n"
        "  wait-text ID TEXT [--contains]      waits for a control's text\n"
        "  title                               the target's title\n"
        "  text ID                             a control's text (WM_GETTEXT)\n"
        "  richtext ID [--range]               a rich edit's text, LF line ends\n"
        "  charpos ID INDEX                    screen x y of a rich edit's character\n"
        "  list ID                             count:, sel:, item: lines\n"
        "  combo ID                            count:, sel:, edit:, item: lines\n"
        "  status [ID]                         count:, part: lines\n"
        "  toolbar [ID]                        ID, flags, text per button\n"
        "  menu                                path, ID, flags, text per item\n"
        "  controls                            one record per child window\n"
        "  windows                             hwnd, process, class, visible, title\n"
        "                                      per top-level window\n"
        "  dialog                              title:, one record per control\n"
        "  set ID TEXT                         WM_SETTEXT\n"
        "  click ID [--sync] [--command]       BM_CLICK (posted unless --sync)\n"
        "  check ID 0|1                        clicks until the state is reached\n"
        "  select ID INDEX                     selection + LBN/CBN_SELCHANGE\n"
        "  command ID                          posts WM_COMMAND ID\n"
        "  enter ID [--sync]                   focus + Enter key\n"
        "  keys ID TEXT [--post] [--at-caret]  focus, caret to the end, WM_CHAR\n"
        "                                      per character\n"
        "  close                               posts WM_CLOSE\n"
        "  move X Y                            moves the window to X, Y (screen)\n"
        "  activate                            brings the target to the foreground\n"
        "  selection ID                        a rich edit's selection: start end\n"
        "options: --timeout MS (waits and sent messages, default 10000)\n"
        "records: fields separated by tabs; \\\\ \\t \\r \\n escaped in text\n"
        "exit: 0 ok, 1 usage, 2 window/control/item not found, 3 refused or no answer\n",
        stderr);
}

[[noreturn]] void usageError(const char *fmt, ...)
{
    char buf[512];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    fprintf(stderr, "probe: %s (probe --help lists the commands)\n", buf);
    finish(ExitUsage);
}


long long parseNumber(const std::wstring &w, const char *what)
{
    std::string s = wideTo(w, CP_UTF8);
    if (s.empty())
        usageError("%s: empty number", what);
    char *end = nullptr;
    long long v = strtoll(s.c_str(), &end, 0);
    if (!end || *end != '\0')
        usageError("%s: not a number: %s", what, s.c_str());
    return v;
}

void parseArgs()
{
    int argc = 0;
    LPWSTR *argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv)
        usageError("cannot read the command line");
    std::vector<std::wstring> a;
    for (int i = 1; i < argc; ++i)
        a.push_back(argv[i]);
    LocalFree(argv);

    bool onlyPositional = false;
    std::vector<std::wstring> pos;
    for (size_t i = 0; i < a.size(); ++i) {
        const std::wstring &s = a[i];
        if (onlyPositional || s.size() < 2 || s.compare(0, 2, L"--") != 0) {
            pos.push_back(s);
            continue;
        }
        if (s == L"--") {
            onlyPositional = true;
            continue;
        }
        auto value = [&](const char *name) -> const std::wstring & {
            if (i + 1 >= a.size())
                usageError("option %s needs a value", name);
            return a[++i];
        };
        if (s == L"--dialog") {
            g_opt.dialog = true;
        } else if (s == L"--window-title") {
            g_opt.haveWindowTitle = true;
            g_opt.windowTitle = utf8(value("--window-title"));
        } else if (s == L"--hwnd") {
            g_opt.hwnd = (HWND)(INT_PTR)parseNumber(value("--hwnd"), "--hwnd");
        } else if (s == L"--class") {
            g_opt.haveClass = true;
            g_opt.cls = utf8(value("--class"));
        } else if (s == L"--title") {
            g_opt.haveTitle = true;
            g_opt.title = utf8(value("--title"));
        } else if (s == L"--contains") {
            g_opt.contains = true;
        } else if (s == L"--timeout") {
            long long t = parseNumber(value("--timeout"), "--timeout");
            if (t < 0)
                usageError("--timeout: negative");
            g_opt.timeout = (DWORD)t;
        } else if (s == L"--sync") {
            g_opt.sync = true;
        } else if (s == L"--post") {
            g_opt.post = true;
        } else if (s == L"--command") {
            g_opt.viaCommand = true;
        } else if (s == L"--range") {
            g_opt.range = true;
        } else if (s == L"--at-caret") {
            g_opt.atCaret = true;
        } else if (s == L"--help") {
            usage();
            finish(ExitOk);
        } else {
            usageError("unknown option %s", wideTo(s, CP_UTF8).c_str());
        }
    }
    if (pos.empty())
        usageError("no command given");
    g_opt.command = wideTo(pos[0], CP_UTF8);
    g_opt.args.assign(pos.begin() + 1, pos.end());
}

void needArgs(size_t n, const char *synopsis)
{
    if (g_opt.args.size() != n)
        usageError("usage: probe %s", synopsis);
}

int argId(size_t i)
{
    return (int)parseNumber(g_opt.args[i], "ID");
}

// ------------------------------------------------------------------ windows

std::string className(HWND h)
{
    char buf[256] = "";
    GetClassNameA(h, buf, sizeof buf);
    return buf;
}

// The text the system keeps for a window (top-level captions), in UTF-8;
// sends nothing.
std::string captionOf(HWND h)
{
    int n = GetWindowTextLengthW(h);
    std::wstring s(n > 0 ? n + 1 : 1, L'\0');
    int got = GetWindowTextW(h, &s[0], (int)s.size());
    s.resize(got > 0 ? got : 0);
    return utf8(s);
}

BOOL CALLBACK collectTop(HWND h, LPARAM lp)
{
    reinterpret_cast<std::vector<HWND> *>(lp)->push_back(h);
    return TRUE;
}

// Top-level windows, topmost first.
std::vector<HWND> topLevelWindows()
{
    std::vector<HWND> v;
    EnumWindows(collectTop, reinterpret_cast<LPARAM>(&v));
    return v;
}

DWORD processOf(HWND h)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    return pid;
}

bool titleMatches(const std::string &have, const std::string &want, bool contains)
{
    return contains ? have.find(want) != std::string::npos : have == want;
}

HWND findMainWindow()
{
    HWND hidden = nullptr;
    for (HWND h : topLevelWindows()) {
        if (className(h) != kMainClass)
            continue;
        if (IsWindowVisible(h))
            return h;
        if (!hidden)
            hidden = h;
    }
    return hidden;
}

HWND findDialog()
{
    HWND main = findMainWindow();
    DWORD pid = main ? processOf(main) : 0;
    HWND disabled = nullptr;
    for (HWND h : topLevelWindows()) {
        if (!IsWindowVisible(h) || className(h) != kDialogClass)
            continue;
        if (pid && processOf(h) != pid)
            continue;
        if (IsWindowEnabled(h))
            return h;
        if (!disabled)
            disabled = h;
    }
    return disabled;
}

HWND findByTitle(const std::string &title)
{
    for (HWND h : topLevelWindows())
        if (IsWindowVisible(h) && captionOf(h) == title)
            return h;
    return nullptr;
}

HWND target()
{
    HWND h = nullptr;
    if (g_opt.hwnd) {
        h = IsWindow(g_opt.hwnd) ? g_opt.hwnd : nullptr;
        if (!h)
            fail(ExitNotFound, "no window %p", (void *)g_opt.hwnd);
    } else if (g_opt.haveWindowTitle) {
        h = findByTitle(g_opt.windowTitle);
        if (!h)
            fail(ExitNotFound, "no visible window titled \"%s\"", g_opt.windowTitle.c_str());
    } else if (g_opt.dialog) {
        h = findDialog();
        if (!h)
            fail(ExitNotFound, "no dialog open");
    } else {
        h = findMainWindow();
        if (!h)
            fail(ExitNotFound, "no window of class %s", kMainClass);
    }
    return h;
}

struct IdSearch {
    int id;
    HWND found;
};

BOOL CALLBACK findId(HWND h, LPARAM lp)
{
    IdSearch *s = reinterpret_cast<IdSearch *>(lp);
    if (GetDlgCtrlID(h) == s->id) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

// A direct child with the ID, else any descendant with it.
HWND control(HWND parent, int id)
{
    HWND h = GetDlgItem(parent, id);
    if (!h) {
        IdSearch s = {id, nullptr};
        EnumChildWindows(parent, findId, reinterpret_cast<LPARAM>(&s));
        h = s.found;
    }
    if (!h)
        fail(ExitNotFound, "no control %d in window %p", id, (void *)parent);
    return h;
}

HWND controlOfClass(HWND parent, const char *cls)
{
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (lstrcmpiA(className(c).c_str(), cls) == 0)
            return c;
    fail(ExitNotFound, "no %s in window %p", cls, (void *)parent);
}

// ------------------------------------------------------------------ messages

// SendMessage with a time limit: a hung target does not hang the probe.
bool trySend(HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT *result)
{
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_NORMAL, g_opt.timeout, &r))
        return false;
    if (result)
        *result = (LRESULT)r;
    return true;
}

LRESULT send(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0)
{
    LRESULT r = 0;
    if (!trySend(h, msg, wp, lp, &r))
        fail(ExitFailed, "window %p did not answer message 0x%X within %lu ms", (void *)h, msg,
             (unsigned long)g_opt.timeout);
    return r;
}

void post(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0)
{
    if (!PostMessageW(h, msg, wp, lp))
        fail(ExitFailed, "cannot post message 0x%X to %p (error %lu)", msg, (void *)h,
             (unsigned long)GetLastError());
}

// A message that may start a modal loop in the target: posted, or with --sync
// sent and waited for.
void deliver(HWND h, UINT msg, WPARAM wp, LPARAM lp, bool sync)
{
    if (sync)
        send(h, msg, wp, lp);
    else
        post(h, msg, wp, lp);
}

// WM_GETTEXT, which the system copies across processes; in UTF-8, at most
// max characters (0: all) and "..." when there were more.
std::string windowText(HWND h, size_t max = 0)
{
    LRESULT len = send(h, WM_GETTEXTLENGTH);
    if (len < 0)
        len = 0;
    size_t cap = (size_t)len;
    if (max && cap > max)
        cap = max;
    std::vector<wchar_t> buf(cap + 2, L'\0');
    LRESULT got = send(h, WM_GETTEXT, (WPARAM)(cap + 1), (LPARAM)buf.data());
    if (got < 0)
        got = 0;
    if ((size_t)got > cap)
        got = (LRESULT)cap;
    std::string s = utf8(std::wstring(buf.data(), (size_t)got));
    if (max && (size_t)len > max)
        s += "...";
    return s;
}

// ------------------------------------------------------------------ remote memory

// A buffer in the address space of the process that owns a window.
class Remote {
public:
    Remote(HWND owner, size_t size) : size_(size)
    {
        DWORD pid = processOf(owner);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                   PROCESS_QUERY_INFORMATION | PROCESS_CREATE_THREAD,
                               FALSE, pid);
        if (!process_)
            fail(ExitFailed, "OpenProcess(%lu) failed (error %lu)", (unsigned long)pid,
                 (unsigned long)GetLastError());
        address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!address_) {
            DWORD e = GetLastError();
            CloseHandle(process_);
            fail(ExitFailed, "VirtualAllocEx failed (error %lu)", (unsigned long)e);
        }
        g_remote.push_back({process_, address_});
    }
    ~Remote()
    {
        for (size_t i = 0; i < g_remote.size(); ++i) {
            if (g_remote[i].address == address_) {
                g_remote.erase(g_remote.begin() + i);
                break;
            }
        }
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    Remote(const Remote &) = delete;
    Remote &operator=(const Remote &) = delete;

    LPARAM param() const { return reinterpret_cast<LPARAM>(address_); }
    void *address() const { return address_; }
    HANDLE process() const { return process_; }

    void write(const void *data, size_t n, size_t offset = 0)
    {
        SIZE_T done = 0;
        if (offset + n > size_ ||
            !WriteProcessMemory(process_, (char *)address_ + offset, data, n, &done) || done != n)
            fail(ExitFailed, "WriteProcessMemory failed (error %lu)", (unsigned long)GetLastError());
    }
    void read(void *data, size_t n, size_t offset = 0)
    {
        SIZE_T done = 0;
        if (offset + n > size_ ||
            !ReadProcessMemory(process_, (const char *)address_ + offset, data, n, &done) || done != n)
            fail(ExitFailed, "ReadProcessMemory failed (error %lu)", (unsigned long)GetLastError());
    }
    void zero()
    {
        std::vector<char> z(size_, '\0');
        write(z.data(), z.size());
    }
    std::wstring readWideString(size_t maxLen)
    {
        std::vector<wchar_t> buf(maxLen + 1, L'\0');
        size_t bytes = maxLen * sizeof(wchar_t);
        read(buf.data(), bytes < size_ ? bytes : size_);
        buf[maxLen] = L'\0';
        return std::wstring(buf.data());
    }

private:
    HANDLE process_ = nullptr;
    void *address_ = nullptr;
    size_t size_;
};

// ------------------------------------------------------------------ reading

LONG_PTR style(HWND h)
{
    return GetWindowLongPtrA(h, GWL_STYLE);
}

// LB_GETTEXT and CB_GETLBTEXT are sent as Unicode messages: Wine copies the
// item across processes as UTF-16 and hands an ANSI sender those UTF-16 bytes
// unconverted.  The item arrives as UTF-16 and goes out as UTF-8 directly.
std::string itemUtf8(HWND h, UINT lenMsg, UINT textMsg, int i)
{
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(h, lenMsg, (WPARAM)i, 0, SMTO_NORMAL, g_opt.timeout, &len))
        fail(ExitFailed, "window %p did not answer message 0x%X", (void *)h, lenMsg);
    if ((LRESULT)len < 0)
        return std::string();
    std::vector<wchar_t> buf((size_t)len + 2, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(h, textMsg, (WPARAM)i, (LPARAM)buf.data(), SMTO_NORMAL, g_opt.timeout,
                             &got))
        fail(ExitFailed, "window %p did not answer message 0x%X", (void *)h, textMsg);
    if ((LRESULT)got < 0)
        return std::string();
    if (got > len)
        got = len;
    return wideTo(std::wstring(buf.data(), (size_t)got), CP_UTF8);
}

std::string listItem(HWND list, int i)
{
    return itemUtf8(list, LB_GETTEXTLEN, LB_GETTEXT, i);
}

std::string comboItem(HWND combo, int i)
{
    return itemUtf8(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, i);
}

bool listHasStrings(HWND list)
{
    LONG_PTR s = style(list);
    return !(s & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) || (s & LBS_HASSTRINGS);
}

bool comboHasStrings(HWND combo)
{
    LONG_PTR s = style(combo);
    return !(s & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) || (s & CBS_HASSTRINGS);
}

bool isClass(HWND h, const char *cls)
{
    return lstrcmpiA(className(h).c_str(), cls) == 0;
}

// BM_GETCHECK for the check box and radio button styles, else -1.
int checkState(HWND h)
{
    if (!isClass(h, "Button"))
        return -1;
    switch (style(h) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return (int)send(h, BM_GETCHECK);
    default:
        return -1;
    }
}

// What a user reads on a control, in UTF-8: a list's or combo's selected
// item, else its text.
std::string visibleText(HWND h)
{
    if (isClass(h, "ListBox")) {
        if (!listHasStrings(h))
            return std::string();
        LRESULT sel = send(h, LB_GETCURSEL);
        return sel == LB_ERR ? std::string() : listItem(h, (int)sel);
    }
    if (isClass(h, "ComboBox")) {
        LRESULT sel = send(h, CB_GETCURSEL);
        if (sel != CB_ERR && comboHasStrings(h))
            return comboItem(h, (int)sel);
    }
    return windowText(h, 160);
}

void printRecord(HWND parent, HWND c)
{
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT *>(&r), 2);
    int chk = checkState(c);
    std::string check = chk < 0 ? "-" : std::to_string(chk);
    char rect[96];
    snprintf(rect, sizeof rect, "%ld,%ld,%ld,%ld", (long)r.left, (long)r.top, (long)r.right,
             (long)r.bottom);
    out(std::to_string(GetDlgCtrlID(c)) + "\t" + field(className(c)) + "\t" +
        (IsWindowVisible(c) ? "1" : "0") + "\t" + (IsWindowEnabled(c) ? "1" : "0") + "\t" + check +
        "\t" + rect + "\t" + field(shortText(visibleText(c))));
}

void printChildren(HWND parent)
{
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        printRecord(parent, c);
}

// ------------------------------------------------------------------ menus

// The base address of a module in another process, or null.
BYTE *remoteModule(DWORD pid, const char *name)
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snap == INVALID_HANDLE_VALUE)
        return nullptr;
    MODULEENTRY32 me;
    memset(&me, 0, sizeof me);
    me.dwSize = sizeof me;
    BYTE *base = nullptr;
    for (BOOL ok = Module32First(snap, &me); ok; ok = Module32Next(snap, &me)) {
        if (lstrcmpiA(me.szModule, name) == 0) {
            base = me.modBaseAddr;
            break;
        }
    }
    CloseHandle(snap);
    return base;
}

// Runs fn(param) on a new thread of the process and waits; false on failure.
bool runRemote(HANDLE process, void *fn, void *param, DWORD *exitCode)
{
    HANDLE t = CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(fn),
                                  param, 0, nullptr);
    if (!t)
        return false;
    DWORD w = WaitForSingleObject(t, g_opt.timeout);
    DWORD code = 0;
    GetExitCodeThread(t, &code);
    CloseHandle(t);
    if (w != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        *exitCode = code;
    return true;
}

std::string helperPath()
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string p = self;
    size_t slash = p.find_last_of("\\/");
    p = (slash == std::string::npos) ? std::string() : p.substr(0, slash + 1);
    return p + kProbeMenuDll;
}

// Loads probe_menu.dll into the window's process, reads the menu there (as
// ANSI text), and unloads the DLL again.
std::string readMenuRemote(HWND hwnd)
{
    std::string dll = helperPath();
    HMODULE local = LoadLibraryA(dll.c_str());
    if (!local)
        fail(ExitFailed, "cannot load %s (error %lu)", dll.c_str(), (unsigned long)GetLastError());
    FARPROC localFn = GetProcAddress(local, kProbeMenuEntry);
    if (!localFn)
        fail(ExitFailed, "%s has no %s", dll.c_str(), kProbeMenuEntry);
    size_t entryOffset = (size_t)((BYTE *)localFn - (BYTE *)local);

    HMODULE k32 = GetModuleHandleA("kernel32.dll");
    size_t loadOffset = (size_t)((BYTE *)GetProcAddress(k32, "LoadLibraryA") - (BYTE *)k32);
    size_t freeOffset = (size_t)((BYTE *)GetProcAddress(k32, "FreeLibrary") - (BYTE *)k32);

    DWORD pid = processOf(hwnd);
    BYTE *remoteK32 = remoteModule(pid, "kernel32.dll");
    if (!remoteK32)
        fail(ExitFailed, "kernel32.dll not found in process %lu", (unsigned long)pid);

    Remote block(hwnd, sizeof(ProbeMenuRequest) + kProbeMenuTextSize);
    ProbeMenuRequest req;
    memset(&req, 0, sizeof req);
    req.hwnd = (UINT64)(UINT_PTR)hwnd;
    req.capacity = kProbeMenuTextSize;
    block.zero();
    block.write(&req, sizeof req);
    std::vector<char> path(dll.begin(), dll.end());
    path.push_back('\0');
    // The DLL's path is written where the text goes later.
    block.write(path.data(), path.size(), sizeof req);

    char *remotePath = (char *)block.address() + sizeof req;
    bool hadModule = remoteModule(pid, kProbeMenuDll) != nullptr;
    if (!runRemote(block.process(), remoteK32 + loadOffset, remotePath, nullptr))
        fail(ExitFailed, "cannot start a thread in process %lu (error %lu)", (unsigned long)pid,
             (unsigned long)GetLastError());
    BYTE *remoteDll = remoteModule(pid, kProbeMenuDll);
    if (!remoteDll)
        fail(ExitFailed, "%s did not load in process %lu", kProbeMenuDll, (unsigned long)pid);
    DWORD rc = 0;
    bool ran = runRemote(block.process(), remoteDll + entryOffset, block.address(), &rc);
    if (!hadModule)
        runRemote(block.process(), remoteK32 + freeOffset, remoteDll, nullptr);
    FreeLibrary(local);
    if (!ran)
        fail(ExitFailed, "the menu reader did not finish in process %lu", (unsigned long)pid);
    block.read(&req, sizeof req);
    if (req.status != kProbeMenuOk)
        fail(req.status == kProbeMenuNoMenu ? ExitNotFound : ExitFailed,
             "the menu reader failed (status %u)", (unsigned)req.status);
    std::vector<char> text((size_t)req.length + 1, '\0');
    block.read(text.data(), (size_t)req.length, sizeof req);
    return std::string(text.data(), (size_t)req.length);
}

// ------------------------------------------------------------------ focus and keys

// Gives the keyboard focus to a control of another thread: with the input
// states of both threads attached, SetFocus acts on the target's thread.
bool focusControl(HWND c)
{
    DWORD tid = GetWindowThreadProcessId(c, nullptr);
    DWORD me = GetCurrentThreadId();
    bool attached = tid != me && AttachThreadInput(me, tid, TRUE);
    HWND top = c;
    while (top && (GetWindowLongPtrA(top, GWL_STYLE) & WS_CHILD))
        top = GetParent(top);
    if (top)
        SetForegroundWindow(top);
    SetFocus(c);
    bool ok = GetFocus() == c;
    if (attached)
        AttachThreadInput(me, tid, FALSE);
    return ok;
}

LPARAM keyLParam(UINT scan, bool up)
{
    LPARAM lp = 1 | ((LPARAM)scan << 16);
    if (up)
        lp |= (LPARAM)(3u << 30);
    return lp;
}

// ------------------------------------------------------------------ waiting

bool windowMatches(HWND h)
{
    if (!IsWindowVisible(h))
        return false;
    if (g_opt.haveClass && className(h) != g_opt.cls)
        return false;
    if (g_opt.haveTitle && !titleMatches(captionOf(h), g_opt.title, g_opt.contains))
        return false;
    return true;
}

HWND findMatching()
{
    for (HWND h : topLevelWindows())
        if (windowMatches(h))
            return h;
    return nullptr;
}

BOOL CALLBACK findUnpainted(HWND child, LPARAM found)
{
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool *>(found) = true;
        return FALSE;
    }
    return TRUE;
}

// Shown and painted: neither the window nor a visible child of it has a
// part waiting to be painted. A window that has just appeared is painted
// only once its thread has nothing else to do.
bool painted(HWND h)
{
    if (GetUpdateRect(h, nullptr, FALSE))
        return false;
    bool unpainted = false;
    EnumChildWindows(h, findUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

template <class Cond>
bool waitFor(Cond cond)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (cond())
            return true;
        if (GetTickCount() - start >= g_opt.timeout)
            return false;
        Sleep(50);
    }
}

// ------------------------------------------------------------------ commands

void cmdWaitWindow(bool gone)
{
    needArgs(0, gone ? "wait-gone [--class C] [--title T] [--contains]"
                     : "wait-window [--class C] [--title T] [--contains]");
    if (!g_opt.haveClass && !g_opt.haveTitle) {
        g_opt.haveClass = true;
        g_opt.cls = kMainClass;
    }
    HWND found = nullptr;
    bool ok = waitFor([&] {
        found = findMatching();
        return gone ? found == nullptr : found != nullptr && painted(found);
    });
    if (!ok)
        fail(gone ? ExitFailed : ExitNotFound,
             gone ? "the window is still there" : found ? "the window is not painted yet" : "no such window");
    if (!gone) {
        outf("0x%llX", (unsigned long long)(UINT_PTR)found);
        out(captionOf(found));
    }
}

void cmdWaitTitle()
{
    needArgs(1, "wait-title TEXT [--contains]");
    std::string want = utf8(g_opt.args[0]);
    std::string have;
    bool ok = waitFor([&] {
        HWND h = target();
        have = captionOf(h);
        return titleMatches(have, want, g_opt.contains);
    });
    out(have);
    if (!ok)
        fail(ExitNotFound, "title not reached");
}

void cmdWaitText()
{
    needArgs(2, "wait-text ID TEXT [--contains]");
    int id = argId(0);
    std::string want = normalizeNewlines(utf8(g_opt.args[1]));
    std::string have;
    HWND t = target();
    HWND c = control(t, id);
    bool ok = waitFor([&] {
        have = normalizeNewlines(windowText(c));
        return titleMatches(have, want, g_opt.contains);
    });
    out(have);
    if (!ok)
        fail(ExitNotFound, "text not reached");
}

void cmdTitle()
{
    needArgs(0, "title");
    out(captionOf(target()));
}

// The target's outer rectangle on the screen and the size of its client
// area, which a test compares across display scales.
void cmdRect()
{
    needArgs(0, "rect");
    HWND w = target();
    RECT outer, client;
    if (!GetWindowRect(w, &outer) || !GetClientRect(w, &client))
        fail(ExitFailed, "the window has no rectangle");
    outf("window %ld,%ld,%ld,%ld", (long)outer.left, (long)outer.top, (long)outer.right, (long)outer.bottom);
    outf("client %ld,%ld", (long)client.right, (long)client.bottom);
}

void cmdText()
{
    needArgs(1, "text ID");
    HWND c = control(target(), argId(0));
    out(normalizeNewlines(windowText(c)));
}

void cmdRichText()
{
    needArgs(1, "richtext ID [--range]");
    HWND c = control(target(), argId(0));
    std::string text;
    if (!g_opt.range) {
        text = windowText(c);
    } else {
        // EM_GETTEXTRANGE, whose TEXTRANGE points at a buffer, with both the
        // structure and the buffer in the target's memory. The system does
        // not convert this message: a Unicode control ("RichEdit20W")
        // writes UTF-16, an ANSI one ANSI text.
        bool unicode = IsWindowUnicode(c) != FALSE;
        LRESULT len = send(c, WM_GETTEXTLENGTH);
        size_t cap = (size_t)(len > 0 ? len : 0) * 2 + 2;
        Remote block(c, sizeof(TEXTRANGEW) + cap * sizeof(wchar_t));
        block.zero();
        TEXTRANGEW tr;
        tr.chrg.cpMin = 0;
        tr.chrg.cpMax = -1;
        tr.lpstrText = (LPWSTR)((char *)block.address() + sizeof tr);
        block.write(&tr, sizeof tr);
        LRESULT got = send(c, EM_GETTEXTRANGE, 0, block.param());
        if (got < 0)
            got = 0;
        if ((size_t)got >= cap)
            got = (LRESULT)cap - 1;
        if (unicode) {
            std::vector<wchar_t> buf((size_t)got + 1, L'\0');
            block.read(buf.data(), (size_t)got * sizeof(wchar_t), sizeof tr);
            text = utf8(std::wstring(buf.data(), (size_t)got));
        } else {
            std::vector<char> buf((size_t)got + 1, '\0');
            block.read(buf.data(), (size_t)got, sizeof tr);
            text = utf8(std::string(buf.data(), (size_t)got));
        }
    }
    out(normalizeNewlines(text));
}

// The screen position of a character of a rich edit: EM_POSFROMCHAR with
// the POINTL form every rich edit version knows, in the target's memory.
void cmdCharPos()
{
    needArgs(2, "charpos ID INDEX");
    HWND c = control(target(), argId(0));
    long long index = parseNumber(g_opt.args[1], "INDEX");
    Remote block(c, sizeof(POINTL));
    block.zero();
    send(c, EM_POSFROMCHAR, (WPARAM)block.address(), (LPARAM)index);
    POINTL at;
    block.read(&at, sizeof at);
    POINT p = {(LONG)at.x, (LONG)at.y};
    ClientToScreen(c, &p);
    outf("%ld %ld", (long)p.x, (long)p.y);
}

void cmdList()
{
    needArgs(1, "list ID");
    HWND c = control(target(), argId(0));
    if (!listHasStrings(c))
        fail(ExitFailed, "the list box is owner-drawn without LBS_HASSTRINGS: it keeps no text");
    LRESULT n = send(c, LB_GETCOUNT);
    if (n == LB_ERR)
        fail(ExitFailed, "LB_GETCOUNT failed: not a list box?");
    LRESULT sel = send(c, LB_GETCURSEL);
    outf("count: %ld", (long)n);
    outf("sel: %ld", (long)(sel == LB_ERR ? -1 : sel));
    for (int i = 0; i < (int)n; ++i)
        out("item: " + field(listItem(c, i)));
}

void cmdCombo()
{
    needArgs(1, "combo ID");
    HWND c = control(target(), argId(0));
    LRESULT n = send(c, CB_GETCOUNT);
    if (n == CB_ERR)
        fail(ExitFailed, "CB_GETCOUNT failed: not a combo box?");
    LRESULT sel = send(c, CB_GETCURSEL);
    outf("count: %ld", (long)n);
    outf("sel: %ld", (long)(sel == CB_ERR ? -1 : sel));
    out("edit: " + field(windowText(c)));
    bool strings = comboHasStrings(c);
    for (int i = 0; i < (int)n; ++i)
        out("item: " + field(strings ? comboItem(c, i) : std::string()));
}

void cmdStatus()
{
    if (g_opt.args.size() > 1)
        usageError("usage: probe status [ID]");
    HWND t = target();
    HWND c = g_opt.args.empty() ? controlOfClass(t, STATUSCLASSNAMEA) : control(t, argId(0));
    LRESULT n = send(c, SB_GETPARTS, 0, 0);
    if (n <= 0)
        n = 1;
    outf("count: %ld", (long)n);
    for (int i = 0; i < (int)n; ++i) {
        LRESULT lenType = send(c, SB_GETTEXTLENGTHW, (WPARAM)i);
        size_t len = LOWORD(lenType);
        Remote buf(c, (len + 1) * sizeof(wchar_t));
        buf.zero();
        send(c, SB_GETTEXTW, (WPARAM)i, buf.param());
        out("part: " + field(utf8(buf.readWideString(len))));
    }
}

void cmdToolbar()
{
    if (g_opt.args.size() > 1)
        usageError("usage: probe toolbar [ID]");
    HWND t = target();
    HWND c = g_opt.args.empty() ? controlOfClass(t, TOOLBARCLASSNAMEA) : control(t, argId(0));
    LRESULT n = send(c, TB_BUTTONCOUNT);
    const size_t textCap = 512;  // characters
    Remote block(c, sizeof(TBBUTTON) + textCap * sizeof(wchar_t));
    for (int i = 0; i < (int)n; ++i) {
        TBBUTTON b;
        memset(&b, 0, sizeof b);
        block.zero();
        if (!send(c, TB_GETBUTTON, (WPARAM)i, block.param()))
            continue;
        block.read(&b, sizeof b);
        std::string flags;
        auto add = [&](const char *s) {
            if (!flags.empty())
                flags += ',';
            flags += s;
        };
        if (b.fsStyle & TBSTYLE_SEP)
            add("separator");
        if (b.fsStyle & TBSTYLE_CHECK)
            add("check");
        if (b.fsState & TBSTATE_CHECKED)
            add("checked");
        if (!(b.fsState & TBSTATE_ENABLED) && !(b.fsStyle & TBSTYLE_SEP))
            add("disabled");
        if (b.fsState & TBSTATE_HIDDEN)
            add("hidden");
        if (b.fsState & TBSTATE_PRESSED)
            add("pressed");
        std::wstring text;
        if (!(b.fsStyle & TBSTYLE_SEP)) {
            LRESULT len = send(c, TB_GETBUTTONTEXTW, (WPARAM)b.idCommand, 0);
            if (len > 0 && (size_t)len < textCap) {
                char *remoteText = (char *)block.address() + sizeof(TBBUTTON);
                send(c, TB_GETBUTTONTEXTW, (WPARAM)b.idCommand, (LPARAM)remoteText);
                std::vector<wchar_t> buf((size_t)len + 1, L'\0');
                block.read(buf.data(), (size_t)len * sizeof(wchar_t), sizeof(TBBUTTON));
                text.assign(buf.data(), (size_t)len);
            }
        }
        out(std::to_string(b.idCommand) + "\t" + (flags.empty() ? "-" : flags) + "\t" +
            field(utf8(text)));
    }
}

void cmdMenu()
{
    needArgs(0, "menu");
    HWND t = target();
    HMENU m = GetMenu(t);
    if (!m)
        fail(ExitNotFound, "window %p has no menu", (void *)t);
    std::string text;
    if (!probeMenuFormat(m, std::string(), text))
        text = readMenuRemote(t);
    g_out += utf8(text);
}

// Every top-level window of the session, for a test to say what was on the
// screen when the window it waited for did not come.
void cmdWindows()
{
    needArgs(0, "windows");
    for (HWND h : topLevelWindows())
    {
        char head[64];
        snprintf(head, sizeof head, "0x%llX\t%lu\t", (unsigned long long)(UINT_PTR)h, (unsigned long)processOf(h));
        out(head + field(className(h)) + "\t" + (IsWindowVisible(h) ? "1" : "0") + "\t" + field(captionOf(h)));
    }
}

void cmdControls()
{
    needArgs(0, "controls");
    printChildren(target());
}

void cmdDialog()
{
    needArgs(0, "dialog");
    HWND d = nullptr;
    if (g_opt.hwnd || g_opt.haveWindowTitle) {
        d = target();
    } else {
        d = findDialog();
        if (!d)
            fail(ExitNotFound, "no dialog open");
    }
    out("title: " + field(captionOf(d)));
    printChildren(d);
}

void cmdSet()
{
    needArgs(2, "set ID TEXT");
    HWND c = control(target(), argId(0));
    const std::wstring &text = g_opt.args[1];
    if (!send(c, WM_SETTEXT, 0, (LPARAM)text.c_str()))
        fail(ExitFailed, "WM_SETTEXT was refused");
}

void cmdClick()
{
    needArgs(1, "click ID [--sync] [--command]");
    int id = argId(0);
    HWND c = control(target(), id);
    if (!IsWindowVisible(c))
        fail(ExitFailed, "control %d is hidden", id);
    if (!IsWindowEnabled(c))
        fail(ExitFailed, "control %d is disabled", id);
    if (g_opt.viaCommand)
        deliver(GetParent(c), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)c, g_opt.sync);
    else
        deliver(c, BM_CLICK, 0, 0, g_opt.sync);
}

void cmdCheck()
{
    needArgs(2, "check ID 0|1");
    int id = argId(0);
    long long want = parseNumber(g_opt.args[1], "state");
    if (want != 0 && want != 1)
        usageError("state must be 0 or 1");
    HWND c = control(target(), id);
    if (checkState(c) < 0)
        fail(ExitFailed, "control %d is not a check box or radio button", id);
    if (!IsWindowEnabled(c) || !IsWindowVisible(c))
        fail(ExitFailed, "control %d is disabled or hidden", id);
    // A three-state box goes 0 -> 1 -> 2 -> 0: up to two clicks.
    for (int i = 0; i < 3 && checkState(c) != want; ++i)
        send(c, BM_CLICK);
    int now = checkState(c);
    out(std::to_string(now));
    if (now != want)
        fail(ExitFailed, "control %d stays in state %d", id, now);
}

void cmdSelect()
{
    needArgs(2, "select ID INDEX");
    int id = argId(0);
    int index = (int)parseNumber(g_opt.args[1], "INDEX");
    HWND c = control(target(), id);
    if (!IsWindowEnabled(c))
        fail(ExitFailed, "control %d is disabled", id);
    HWND parent = GetParent(c);
    if (isClass(c, "ListBox")) {
        LRESULT n = send(c, LB_GETCOUNT);
        if (index < -1 || index >= n)
            fail(ExitNotFound, "list %d has no item %d (count %ld)", id, index, (long)n);
        LONG_PTR s = style(c);
        if (s & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
            send(c, LB_SETSEL, FALSE, -1);
            if (index >= 0)
                send(c, LB_SETSEL, TRUE, index);
            send(c, LB_SETCARETINDEX, (WPARAM)(index < 0 ? 0 : index), FALSE);
        } else {
            send(c, LB_SETCURSEL, (WPARAM)index);
        }
        // A click notifies the parent only with LBS_NOTIFY.
        if (s & LBS_NOTIFY)
            send(parent, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), (LPARAM)c);
        else
            fprintf(stderr, "probe: note: list %d has no LBS_NOTIFY; no LBN_SELCHANGE sent\n", id);
    } else if (isClass(c, "ComboBox")) {
        LRESULT n = send(c, CB_GETCOUNT);
        if (index < -1 || index >= n)
            fail(ExitNotFound, "combo %d has no item %d (count %ld)", id, index, (long)n);
        send(c, CB_SETCURSEL, (WPARAM)index);
        send(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)c);
    } else {
        fail(ExitFailed, "control %d is a %s, not a list or combo box", id, className(c).c_str());
    }
}

void cmdCommand()
{
    needArgs(1, "command ID");
    int id = argId(0);
    deliver(target(), WM_COMMAND, MAKEWPARAM(id, 0), 0, g_opt.sync);
}

void cmdEnter()
{
    needArgs(1, "enter ID [--sync]");
    int id = argId(0);
    HWND c = control(target(), id);
    if (!IsWindowEnabled(c))
        fail(ExitFailed, "control %d is disabled", id);
    if (!focusControl(c))
        fprintf(stderr, "probe: note: could not give control %d the focus\n", id);
    const UINT scan = 0x1C;
    deliver(c, WM_KEYDOWN, VK_RETURN, keyLParam(scan, false), g_opt.sync);
    deliver(c, WM_CHAR, '\r', keyLParam(scan, false), g_opt.sync);
    deliver(c, WM_KEYUP, VK_RETURN, keyLParam(scan, true), g_opt.sync);
}

void cmdKeys()
{
    needArgs(2, "keys ID TEXT [--post] [--at-caret]");
    int id = argId(0);
    HWND c = control(target(), id);
    if (!IsWindowEnabled(c))
        fail(ExitFailed, "control %d is disabled", id);
    const std::wstring &text = g_opt.args[1];
    if (!focusControl(c))
        fprintf(stderr, "probe: note: could not give control %d the focus\n", id);
    // A user clicks behind the text before typing; the edit controls clamp
    // the position to the end.
    if (!g_opt.atCaret && (isClass(c, "Edit") || className(c).compare(0, 8, "RichEdit") == 0)) {
        LRESULT len = send(c, WM_GETTEXTLENGTH);
        send(c, EM_SETSEL, (WPARAM)len, len);
    }
    // A posted character goes through the target's message loop, as typed
    // ones do.
    for (wchar_t ch : text)
        deliver(c, WM_CHAR, (WPARAM)ch, 1, !g_opt.post);
}

void cmdClose()
{
    needArgs(0, "close");
    post(target(), WM_CLOSE);
}

// Windows opened at the default position all land in one place on a display
// without a window manager; a test moves them apart to show them side by side.
void cmdMove()
{
    needArgs(2, "move X Y");
    int x = (int)parseNumber(g_opt.args[0], "X");
    int y = (int)parseNumber(g_opt.args[1], "Y");
    if (!SetWindowPos(target(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        fail(ExitFailed, "SetWindowPos failed");
}

void cmdActivate()
{
    HWND w = target();
    SetForegroundWindow(w);
    DWORD start = GetTickCount();
    while (GetForegroundWindow() != w && GetTickCount() - start < g_opt.timeout)
        Sleep(50);
    if (GetForegroundWindow() != w)
        fail(ExitFailed, "the window did not come to the foreground");
}

// EM_EXGETSEL, whose CHARRANGE is in the target's memory.
void cmdSelection()
{
    needArgs(1, "selection ID");
    HWND c = control(target(), argId(0));
    Remote block(c, sizeof(CHARRANGE));
    block.zero();
    send(c, EM_EXGETSEL, 0, block.param());
    CHARRANGE r;
    block.read(&r, sizeof r);
    outf("%ld %ld", (long)r.cpMin, (long)r.cpMax);
}

}  // namespace

int main()
{
    _setmode(_fileno(stdout), _O_BINARY);
    parseArgs();
    const std::string &c = g_opt.command;
    if (c == "wait-window")
        cmdWaitWindow(false);
    else if (c == "wait-gone")
        cmdWaitWindow(true);
    else if (c == "wait-title")
        cmdWaitTitle();
    else if (c == "wait-text")
        cmdWaitText();
    else if (c == "title")
        cmdTitle();
    else if (c == "rect")
        cmdRect();
    else if (c == "text")
        cmdText();
    else if (c == "richtext")
        cmdRichText();
    else if (c == "charpos")
        cmdCharPos();
    else if (c == "list")
        cmdList();
    else if (c == "combo")
        cmdCombo();
    else if (c == "status")
        cmdStatus();
    else if (c == "toolbar")
        cmdToolbar();
    else if (c == "menu")
        cmdMenu();
    else if (c == "controls")
        cmdControls();
    else if (c == "windows")
        cmdWindows();
    else if (c == "dialog")
        cmdDialog();
    else if (c == "set")
        cmdSet();
    else if (c == "click")
        cmdClick();
    else if (c == "check")
        cmdCheck();
    else if (c == "select")
        cmdSelect();
    else if (c == "command")
        cmdCommand();
    else if (c == "enter")
        cmdEnter();
    else if (c == "keys")
        cmdKeys();
    else if (c == "close")
        cmdClose();
    else if (c == "move")
        cmdMove();
    else if (c == "activate")
        cmdActivate();
    else if (c == "selection")
        cmdSelection();
    else
        usageError("unknown command %s", c.c_str());
    finish(ExitOk);
}

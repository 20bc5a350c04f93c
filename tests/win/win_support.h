// Helpers of the in-process Win32 tests: a window that routes socket events
// and timers into the session core as the main window does, a message pump,
// and a blocking loopback server to stand in for the chat server.
#pragma once

#include <windows.h>
#include <winsock.h>

#include <stdio.h>

#include <string>

#include "banners/banner_model.h"
#include "session/connection.h"
#include "session/host.h"
#include "session/win_transport.h"
#include "shell/win_session_host.h"

// Handles messages until the condition holds or the time is up.
template <class Cond>
bool pumpUntil(Cond cond, DWORD timeoutMs = 5000)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        if (cond())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(5);
    }
}

inline void pumpFor(DWORD ms)
{
    pumpUntil([] { return false; }, ms);
}

// UTF-16 as the program's text (UTF-8); n units, or up to the NUL.
inline std::string utf8Of(const wchar_t* w, int n = -1)
{
    if (n == 0)
        return "";
    int bytes = WideCharToMultiByte(CP_UTF8, 0, w, n, nullptr, 0, nullptr, nullptr);
    std::string s(bytes > 0 ? (size_t)bytes : 0, '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, w, n, &s[0], bytes, nullptr, nullptr);
    if (n < 0 && !s.empty())
        s.resize(s.size() - 1);  // the NUL
    return s;
}

// The program's text (UTF-8) as UTF-16.
inline std::wstring wideOf(const char* text)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring w(n > 0 ? (size_t)n : 1, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, text, -1, &w[0], n);
    w.resize(w.size() - 1);  // the NUL
    return w;
}

// The text of a window, or of a dialog's control, read as Unicode.
inline std::string windowText(HWND w)
{
    std::wstring text((size_t)GetWindowTextLengthW(w) + 1, L'\0');
    int n = GetWindowTextW(w, &text[0], (int)text.size());
    return utf8Of(text.data(), n);
}

// An item of a list box or combo box, read as Unicode.
inline std::string listItemText(HWND list, UINT lengthMessage, UINT textMessage, WPARAM index)
{
    std::wstring text((size_t)SendMessageW(list, lengthMessage, index, 0) + 1, L'\0');
    LRESULT n = SendMessageW(list, textMessage, index, (LPARAM)&text[0]);
    return utf8Of(text.data(), n > 0 ? (int)n : 0);
}

inline std::string itemText(HWND dialog, int id)
{
    return windowText(GetDlgItem(dialog, id));
}

// The whole file at path, or nothing when it cannot be read.
inline std::string readFile(const char* path)
{
    std::string bytes;
    if (FILE* f = fopen(path, "rb")) {
        char buf[65536];
        for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;)
            bytes.append(buf, n);
        fclose(f);
    }
    return bytes;
}

inline LRESULT CALLBACK sessionWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case kMsgSocket:
        onSocketMessage((SocketHandle)wp, LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_TIMER:
        onTimer((int)wp);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

// A hidden top-level window that receives the socket events.
inline HWND createSessionWindow()
{
    static bool registered;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = sessionWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZbTestSession";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(0, "ZbTestSession", "session", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// A blocking TCP server on 127.0.0.1, polled between message pumps so the
// client under test keeps running on the same thread.
struct LoopbackServer {
    SOCKET listener = INVALID_SOCKET;
    SOCKET peer = INVALID_SOCKET;
    int port = 0;

    LoopbackServer()
    {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = inet_addr("127.0.0.1");
        a.sin_port = 0;
        bind(listener, (sockaddr*)&a, sizeof a);
        listen(listener, 1);
        int len = sizeof a;
        getsockname(listener, (sockaddr*)&a, &len);
        port = ntohs(a.sin_port);
    }
    ~LoopbackServer()
    {
        if (peer != INVALID_SOCKET)
            closesocket(peer);
        closesocket(listener);
    }

    static bool readable(SOCKET s)
    {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval tv = {0, 0};
        return select(0, &set, nullptr, nullptr, &tv) > 0;
    }

    bool acceptClient(DWORD timeoutMs = 5000)
    {
        if (!pumpUntil([&] { return readable(listener); }, timeoutMs))
            return false;
        peer = accept(listener, nullptr, nullptr);
        return peer != INVALID_SOCKET;
    }

    // Everything the client sent until `lines` LF bytes have arrived.
    std::string receiveLines(int lines, DWORD timeoutMs = 5000)
    {
        std::string got;
        pumpUntil(
            [&] {
                while (readable(peer)) {
                    char buf[4096];
                    int n = recv(peer, buf, sizeof buf, 0);
                    if (n <= 0)
                        return true;
                    got.append(buf, (size_t)n);
                }
                int lf = 0;
                for (char c : got)
                    lf += c == '\n';
                return lf >= lines;
            },
            timeoutMs);
        return got;
    }

    // Sends all of s, however many calls that takes.
    void sendText(const std::string& s)
    {
        for (size_t at = 0; at < s.size();) {
            int n = send(peer, s.data() + at, (int)(s.size() - at), 0);
            if (n <= 0)
                return;
            at += (size_t)n;
        }
    }
    void closePeer()
    {
        closesocket(peer);
        peer = INVALID_SOCKET;
    }
};

// The real Winsock transport and session host on a hidden window, aimed at
// a loopback server, with the given recorders for everything else.
struct LoopbackSession {
    WinsockTransport transport;
    WinSessionHost host;
    HWND window = nullptr;
    LoopbackServer server;

    // False when the window could not be made.
    bool open(ChatLog* log, LineHandler* lines, ChatViews* views, PanelView* panel, BannerFetcher* banners)
    {
        window = createSessionWindow();
        if (!window)
            return false;
        transport.notifyWindow = window;
        host.window = window;
        ports = SessionPorts{&transport, &host, log, lines, views, panel, &bannerModel(), nullptr};
        bannerFetcher = banners;
        session.settings.host.set("127.0.0.1");
        session.settings.port = server.port;
        return true;
    }
    void close()
    {
        disconnect(nullptr);
        DestroyWindow(window);
    }
};

// Recording fakes of the session core's seams.
#pragma once

#include <deque>
#include <functional>
#include <string.h>
#include <string>
#include <vector>

#include "banners/banner_model.h"
#include "session/connection.h"
#include "session/held_lines.h"
#include "session/host.h"
#include "session/protocol.h"
#include "session/protocol_log.h"
#include "session/reconnect.h"
#include "session/session_state.h"

struct FakeTransport : Transport {
    bool resolves = true;
    bool opens = true;
    int connectResult = kWouldBlock;
    uint32_t resolvedAddress = 0x0100007F;
    std::string sent;                 // every byte handed to send, in order
    std::deque<std::string> incoming; // what each receive call returns
    size_t lastReceiveRoom = 0;
    // The platform's read announcements: one is pending after data arrives
    // and after every read that leaves data waiting, and none otherwise.
    bool readAnnounced = false;
    int opened = 0, closed = 0;
    SocketHandle next = 100;

    bool resolve(const char*, uint32_t* address) override
    {
        *address = resolvedAddress;
        return resolves;
    }
    SocketHandle open() override
    {
        if (!opens)
            return kNoSocket;
        opened++;
        return next++;
    }
    bool watch(SocketHandle) override { return true; }
    int connect(SocketHandle, uint32_t, int) override { return connectResult; }
    int receive(SocketHandle, char* buffer, size_t size) override
    {
        lastReceiveRoom = size;
        if (incoming.empty())
            return -1;
        std::string& chunk = incoming.front();
        size_t n = chunk.size() < size ? chunk.size() : size;
        memcpy(buffer, chunk.data(), n);
        chunk.erase(0, n);
        if (chunk.empty())
            incoming.pop_front();
        readAnnounced = !incoming.empty();
        return (int)n;
    }
    void send(SocketHandle, const char* bytes, size_t n) override { sent.append(bytes, n); }
    void close(SocketHandle) override { closed++; }

    std::vector<std::string> sentLines() const
    {
        std::vector<std::string> out;
        size_t start = 0;
        for (size_t i = 0; i < sent.size(); i++)
            if (sent[i] == '\n') {
                out.push_back(sent.substr(start, i - start));
                start = i + 1;
            }
        return out;
    }
};

// The system, the views, the panel and the banner strip in one recorder:
// every call becomes one entry of events, in order.
struct FakeHost : SessionHost, ChatViews, PanelView, BannerFetcher {
    std::vector<std::string> events;  // "start 1 20000", "stop 4", "users", "status", ...
    uint32_t tick = 1000;
    bool logExists = false;
    bool panelIsOpen = false;
    std::string opened;
    std::string input;  // the input line's text
    std::string topic;
    std::string panelStatus, panelTopic;
    std::function<void()> duringMessageBox;

    void record(const std::string& e) { events.push_back(e); }

    void startTimer(int id, unsigned ms) override { record("start " + std::to_string(id) + " " + std::to_string(ms)); }
    void stopTimer(int id) override { record("stop " + std::to_string(id)); }
    uint32_t tickCount() override { return tick; }
    void localTime(int* h, int* m, int* s) override { *h = 9; *m = 5; *s = 7; }
    bool fileExists(const char*) override { return logExists; }
    void openInTextViewer(const char* path) override { opened = path; }
    void messageBox(const char* text, const char* title, MessageIcon icon) override
    {
        record(std::string("box ") + (icon == IconWarning ? "warning " : "info ") + title + ": " + text);
        if (duringMessageBox)
            duringMessageBox();
    }
    void beep() override { record("beep"); }
    void flashIfInBackground() override { record("flash"); }
    void saveSettings() override { record("save"); }

    void usersChanged() override { record("users"); }
    void roomsChanged() override { record("rooms"); }
    void statusChanged() override { record("status"); }
    void showTopic(const char* t) override { topic = t; record("topic"); }
    void focusInput() override { record("focus"); }
    void readInput(char* text, size_t cap) override { copyText(text, cap, input.c_str()); }
    void clearInput() override { input.clear(); record("clear input"); }
    void colorsChanged() override { record("colors"); }
    void resetStatusChoice() override { record("status choice reset"); }

    bool isOpen() override { return panelIsOpen; }
    void setStatusText(const char* t) override { panelStatus = t; record(std::string("panel status ") + t); }
    void setTopic(const char* t) override { panelTopic = t; record("panel topic"); }
    void postRefresh(int what) override { record("panel refresh " + std::to_string(what)); }

    void stripChanged() override { record("strip"); }
    void startFetch(int32_t id, const char* url) override { record("fetch " + std::to_string(id) + " " + url); }
    void queueResult(int32_t id, int code) override { record("result " + std::to_string(id) + " " + std::to_string(code)); }

    bool has(const std::string& e) const
    {
        for (auto& x : events)
            if (x == e)
                return true;
        return false;
    }
    int count(const std::string& e) const
    {
        int n = 0;
        for (auto& x : events)
            n += x == e;
        return n;
    }
};

struct LoggedLine {
    std::string timestamp, prefix, nick, text;
    Color nickColor, color;
};

struct FakeLog : ChatLog {
    std::vector<LoggedLine> lines;
    int clears = 0;
    int batchesBegun = 0, batchesEnded = 0;
    void beginBatch() override { batchesBegun++; }
    void endBatch() override { batchesEnded++; }
    void logLine(const char* ts, const char* prefix, const char* nick, Color nickColor, const char* text,
                 Color color) override
    {
        lines.push_back({ts ? ts : "", prefix ? prefix : "", nick ? nick : "", text ? text : "", nickColor, color});
    }
    void clearLog() override { clears++; }
    std::string all() const
    {
        std::string s;
        for (auto& l : lines)
            s += l.prefix + l.text + "\n";
        return s;
    }
};

// Records each dispatched line as "COMMAND|f1|f2|..." (trailing empty fields left out).
struct RecordingLines : LineHandler {
    std::vector<std::string> got;
    std::vector<int> fieldCounts;
    std::function<void(const ParsedLine&)> onLine;

    void dispatchServerLine(const ParsedLine& p) override
    {
        std::string s = p.command;
        int last = 0;
        for (int i = 0; i < kMaxFields; i++)
            if (*p.field[i])
                last = i + 1;
        for (int i = 0; i < last; i++)
            s += std::string("|") + p.field[i];
        got.push_back(s);
        if (onLine)
            onLine(p);
    }
};

// n lines "SYS i\tline of some forty bytes" as the server sends them; each
// line as RecordingLines records it is added to dispatched.
inline std::string sysLines(int n, std::vector<std::string>& dispatched)
{
    std::string bytes;
    for (int i = 0; i < n; i++) {
        bytes += "SYS " + std::to_string(i) + "\tline of some forty bytes\n";
        dispatched.push_back("SYS|" + std::to_string(i) + "|line of some forty bytes");
    }
    return bytes;
}

// Installs fresh fakes and a fresh session record for each test.
struct SessionFixture {
    FakeTransport transport;
    FakeHost host;
    FakeLog log;
    RecordingLines lines;

    SessionFixture()
    {
        resetSessionState(session);
        reconnect = ReconnectState();
        protocolLogPath.clear();  // no test writes a log unless it asks for one
        ports.transport = &transport;
        ports.host = &host;
        ports.log = &log;
        ports.lines = &lines;
        ports.views = &host;
        ports.panel = &host;
        ports.banners = &bannerModel();
        ports.journal = nullptr;
        bannerFetcher = &host;
        dropHeldLines();  // left by an earlier test
        log.lines.clear();
        host.events.clear();
    }

    // Connect and complete the connect event, as a server accepting at once.
    void connectNow()
    {
        connectToServer();
        onSocketEvent(kSocketConnect, 0);
    }

    void deliver(const std::string& bytes)
    {
        transport.incoming.push_back(bytes);
        onSocketEvent(kSocketRead, 0);
    }

    // Bytes reach the socket; the platform announces them once.
    void arrive(const std::string& bytes)
    {
        transport.incoming.push_back(bytes);
        transport.readAnnounced = true;
    }

    // Handles read events for as long as the platform announces any.
    void pumpReads()
    {
        while (transport.readAnnounced) {
            transport.readAnnounced = false;
            onSocketEvent(kSocketRead, 0);
        }
    }
};

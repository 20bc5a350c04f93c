// Winsock 1.1 implementation of the chat connection's sockets; events are
// delivered to a window as kMsgSocket.
#pragma once

#include <windows.h>

#include "session/host.h"

struct WinsockTransport final : Transport {
    HWND notifyWindow = nullptr;

    bool resolve(const char* host, uint32_t* address) override;
    SocketHandle open() override;
    bool watch(SocketHandle s) override;
    int connect(SocketHandle s, uint32_t address, int port) override;
    int receive(SocketHandle s, char* buffer, size_t size) override;
    void send(SocketHandle s, const char* bytes, size_t n) override;
    // Also drops the socket events still queued for the window.
    void close(SocketHandle s) override;
};

// Starts Windows Sockets 1.1; false when it is not available.
bool startWinsock();
void stopWinsock();

#include "session/win_transport.h"

#include <winsock.h>

#include <string.h>

bool startWinsock()
{
    WSADATA data;
    return WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

void stopWinsock() { WSACleanup(); }

bool WinsockTransport::resolve(const char* host, uint32_t* address)
{
    unsigned long a = inet_addr(host);
    if (a != INADDR_NONE) {
        *address = (uint32_t)a;
        return true;
    }
    hostent* h = gethostbyname(host);
    if (!h || h->h_addrtype != AF_INET || h->h_length != 4 || !h->h_addr_list || !h->h_addr_list[0])
        return false;
    memcpy(address, h->h_addr_list[0], 4);
    return true;
}

SocketHandle WinsockTransport::open()
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    return s == INVALID_SOCKET ? kNoSocket : (SocketHandle)s;
}

bool WinsockTransport::watch(SocketHandle s)
{
    return WSAAsyncSelect((SOCKET)s, notifyWindow, kMsgSocket, FD_READ | FD_CONNECT | FD_CLOSE) == 0;
}

int WinsockTransport::connect(SocketHandle s, uint32_t address, int port)
{
    sockaddr_in to;
    memset(&to, 0, sizeof to);
    to.sin_family = AF_INET;
    to.sin_port = htons((u_short)port);
    to.sin_addr.s_addr = address;
    if (::connect((SOCKET)s, (const sockaddr*)&to, sizeof to) == SOCKET_ERROR)
        return WSAGetLastError();
    return 0;
}

int WinsockTransport::receive(SocketHandle s, char* buffer, size_t size)
{
    int n = recv((SOCKET)s, buffer, (int)size, 0);
    return n == SOCKET_ERROR ? -1 : n;
}

void WinsockTransport::send(SocketHandle s, const char* bytes, size_t n)
{
    ::send((SOCKET)s, bytes, (int)n, 0);
}

void WinsockTransport::close(SocketHandle s)
{
    closesocket((SOCKET)s);
    // Events of this socket still in the queue would arrive after it is gone,
    // and the system may give the next socket the same handle, so that they
    // would pass for that socket's. There is one chat socket at a time: every
    // socket event in the queue now is stale.
    MSG stale;
    if (notifyWindow)
        while (PeekMessageA(&stale, notifyWindow, kMsgSocket, kMsgSocket, PM_REMOVE)) {
        }
}

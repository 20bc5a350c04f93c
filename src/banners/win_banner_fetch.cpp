// Banner picture downloads: one short-lived, detached worker thread per
// picture with a blocking Winsock 1.1 HTTP/1.0 client, and the main
// window's handling of the one message each worker posts back.
#include "win_banners.h"

#include <winsock.h>

#include <stdlib.h>
#include <string.h>

#include "banner_http.h"
#include "banner_model.h"
#include "main_window.h"

namespace {

// What a worker owns: its request and the window it reports to. Nothing
// else is shared with the user-interface thread.
struct FetchJob {
    BannerFetchRequest request;
    HWND window;
};

void postFailure(HWND window, int32_t id, int outcome)
{
    PostMessageA(window, kMsgBannerResult, (WPARAM)bannerResultWord(id, true), (LPARAM)outcome);
}

bool resolveHost(const char* host, unsigned long* address)
{
    unsigned long a = inet_addr(host);
    if (a == INADDR_NONE) {
        hostent* h = gethostbyname(host);
        if (!h || h->h_addrtype != AF_INET || !h->h_addr_list || !h->h_addr_list[0])
            return false;
        memcpy(&a, h->h_addr_list[0], sizeof a);
    }
    *address = a;
    return true;
}

// Waits until s has data to read (or, for writing, has connected). False
// on time-out or error, a failed connect included.
bool waitReady(SOCKET s, bool forWrite)
{
    fd_set ready, errors;
    FD_ZERO(&ready);
    FD_ZERO(&errors);
    FD_SET(s, &ready);
    FD_SET(s, &errors);
    timeval tv = {(long)(kBannerFetchTimeoutMs / 1000), (long)(kBannerFetchTimeoutMs % 1000) * 1000};
    int n = select(0, forWrite ? nullptr : &ready, forWrite ? &ready : nullptr, &errors, &tv);
    return n > 0 && FD_ISSET(s, &ready) && !FD_ISSET(s, &errors);
}

// Connects within the time-out: non-blocking connect, then select; the
// socket is blocking again afterwards.
bool connectWithin(SOCKET s, unsigned long address, int port)
{
    sockaddr_in to;
    memset(&to, 0, sizeof to);
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    to.sin_port = htons((u_short)(port & 0xFFFF));
    u_long nonBlocking = 1;
    if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0)
        return false;
    bool connected = connect(s, (sockaddr*)&to, sizeof to) == 0;
    if (!connected && WSAGetLastError() == WSAEWOULDBLOCK) {
        connected = waitReady(s, true);
        int error = 0;
        int length = sizeof error;
        if (connected && getsockopt(s, SOL_SOCKET, SO_ERROR, (char*)&error, &length) == 0 && error != 0)
            connected = false;
    }
    u_long blocking = 0;
    return connected && ioctlsocket(s, FIONBIO, &blocking) == 0;
}

// Reads until the server closes, an error, a read that waits too long, or
// more than the cap. The data is NUL-terminated; false when memory ran out.
bool receiveAll(SOCKET s, char** data, size_t* received)
{
    char* buffer = nullptr;
    size_t capacity = 0, fill = 0;
    for (;;) {
        size_t wanted = nextReceiveCapacity(fill, capacity);
        if (wanted != capacity) {
            char* grown = (char*)realloc(buffer, wanted);
            if (!grown) {
                free(buffer);
                return false;
            }
            buffer = grown;
            capacity = wanted;
        }
        if (!waitReady(s, false))
            break;
        int n = recv(s, buffer + fill, (int)(capacity - fill - 1), 0);
        if (n <= 0)
            break;
        fill += (size_t)n;
        if (fill > kBannerResponseCap)
            break;
    }
    buffer[fill] = '\0';
    *data = buffer;
    *received = fill;
    return true;
}

// The whole download; FETCH_OK with the body in *block, or the failure.
int download(const BannerFetchRequest& r, HGLOBAL* block)
{
    unsigned long address = 0;
    if (!resolveHost(r.host.s, &address))
        return FETCH_HOST_NOT_FOUND;
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET)
        return FETCH_NO_CONNECTION;
    if (!connectWithin(s, address, r.port)) {
        closesocket(s);
        return FETCH_NO_CONNECTION;
    }
    char request[1024];
    size_t length = formatBannerRequest(r, request, sizeof request);
    send(s, request, (int)length, 0);

    char* data = nullptr;
    size_t received = 0;
    bool haveData = receiveAll(s, &data, &received);
    closesocket(s);
    if (!haveData)
        return FETCH_BAD_RESPONSE;

    size_t bodyStart = 0;
    int outcome = classifyBannerResponse(data, received, &bodyStart);
    if (outcome == FETCH_OK) {
        // An empty body gives a block that cannot be locked: it goes to the
        // window as it is, which reports it as no picture.
        size_t size = received - bodyStart;
        HGLOBAL body = GlobalAlloc(GMEM_MOVEABLE, size);
        void* to = body && size ? GlobalLock(body) : nullptr;
        if (to) {
            memcpy(to, data + bodyStart, size);
            GlobalUnlock(body);
        }
        if (body && (to || size == 0)) {
            *block = body;
        } else {
            if (body)
                GlobalFree(body);
            outcome = FETCH_BAD_RESPONSE;
        }
    }
    free(data);
    return outcome;
}

DWORD WINAPI bannerFetchWorker(LPVOID parameter)
{
    FetchJob* job = (FetchJob*)parameter;
    HGLOBAL block = nullptr;
    int outcome = download(job->request, &block);
    if (outcome == FETCH_OK) {
        if (!PostMessageA(job->window, kMsgBannerResult, (WPARAM)bannerResultWord(job->request.bannerId, false),
                          (LPARAM)block))
            GlobalFree(block);  // the window is gone: nobody else will
    } else {
        postFailure(job->window, job->request.bannerId, outcome);
    }
    free(job);
    return 0;
}

struct WinBannerFetcher final : BannerFetcher {
    void stripChanged() override { InvalidateRect(mainWnd.banner, nullptr, TRUE); }
    void startFetch(int32_t id, const char* url) override { startBannerFetch(url, id); }
    void queueResult(int32_t id, int code) override { postFailure(mainWnd.hwnd, id, code); }
};

WinBannerFetcher fetcher;

} // namespace

BannerFetcher& mainWindowBanners() { return fetcher; }

void startBannerFetch(const char* url, int32_t id)
{
    FetchJob* job = (FetchJob*)calloc(1, sizeof(FetchJob));
    if (!job)
        return;
    if (!splitBannerUrl(url, job->request)) {
        free(job);
        postFailure(mainWnd.hwnd, id, FETCH_HOST_NOT_FOUND);
        return;
    }
    job->request.bannerId = id;
    job->window = mainWnd.hwnd;
    DWORD threadId = 0;  // Windows 9x needs somewhere to put it
    HANDLE thread = CreateThread(nullptr, 0, bannerFetchWorker, job, 0, &threadId);
    if (!thread) {
        free(job);
        return;
    }
    CloseHandle(thread);
}

void onBannerResult(WPARAM wp, LPARAM lp)
{
    uint32_t word = (uint32_t)wp;
    if (bannerResultFailed(word)) {
        onBannerFailure(word, (int)lp);
        return;
    }
    HGLOBAL block = (HGLOBAL)lp;
    if (!block)
        return;
    if (!bannerResultIsCurrent(word)) {
        GlobalFree(block);
        return;
    }
    size_t size = GlobalSize(block);
    const void* bytes = GlobalLock(block);
    bool decoded = bytes && decodeBannerPicture(bytes, size);
    if (bytes)
        GlobalUnlock(block);
    GlobalFree(block);
    if (!decoded)
        reportBannerNotPicture();
}

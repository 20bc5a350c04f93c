// Banner picture downloads: at most four worker threads at once, each with
// a Winsock 1.1 HTTP/1.0 client on its own non-blocking socket that waits
// in slices of at most 250 ms, so that it keeps to its time limits and
// notices when it is told to give up. The worker also decodes the picture;
// the main window only installs the bitmap it posts back.
#include "banners/win_banners.h"

#include <winsock.h>

#include <stdlib.h>
#include <string.h>

#include "banners/banner_http.h"
#include "banners/banner_model.h"
#include "banners/banner_slots.h"
#include "base/codepage.h"
#include "toolkit/win_dpi.h"
#include "toolkit/win_drawing.h"

namespace {

// Beside the outcomes: a worker that was told to give up, and a picture too
// large for the decode budget (its size travels as a DecodedBanner without
// a bitmap).
const int kGaveUp = -1;
const int kTooLarge = -2;

// How often the window looks for a free slot while a download waits.
const UINT kSlotPollMs = 50;

// What a worker owns: its request, the window it reports to, its time
// limit, its slot's give-up flag (the slot outlives the worker) and the
// display scale the picture is kept for.
struct FetchJob {
    BannerFetchRequest request;
    HWND window;
    int limitS;
    const volatile long* giveUp;
    int dpi;
};

// A decoded picture on its way to the window, which takes it over.
struct DecodedBanner {
    HBITMAP bitmap;  // null: the picture was too large to decode
    int width, height;
};

// One download's socket and clock.
struct Download {
    SOCKET s;
    FetchDeadline clock;
    const volatile long* giveUp;
    int outcome;  // why a wait ended other than ready: a time limit, or kGaveUp
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

enum WaitResult { WaitReady, WaitFailed, WaitEnded };

// Waits until the socket can be read (or written: a connect, a send), in
// slices, looking between them at the give-up flag and the time limits.
// WaitEnded sets d.outcome; WaitFailed is a failed connect or a socket error.
WaitResult waitReady(Download& d, bool forWrite)
{
    for (;;) {
        if (*d.giveUp) {
            d.outcome = kGaveUp;
            return WaitEnded;
        }
        uint32_t now = GetTickCount();
        if ((d.outcome = fetchTimedOut(d.clock, now)) != 0)
            return WaitEnded;
        uint32_t ms = fetchWaitMs(d.clock, now);
        fd_set ready, errors;
        FD_ZERO(&ready);
        FD_ZERO(&errors);
        FD_SET(d.s, &ready);
        FD_SET(d.s, &errors);
        timeval tv = {(long)(ms / 1000), (long)(ms % 1000) * 1000};
        int n = select(0, forWrite ? nullptr : &ready, forWrite ? &ready : nullptr, &errors, &tv);
        if (n < 0 || (n > 0 && FD_ISSET(d.s, &errors)))
            return WaitFailed;
        if (n > 0)
            return WaitReady;
    }
}

int connectWithin(Download& d, unsigned long address, int port)
{
    sockaddr_in to;
    memset(&to, 0, sizeof to);
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    to.sin_port = htons((u_short)(port & 0xFFFF));
    u_long nonBlocking = 1;
    if (ioctlsocket(d.s, FIONBIO, &nonBlocking) != 0)
        return FETCH_NO_CONNECTION;
    if (connect(d.s, (sockaddr*)&to, sizeof to) == 0)
        return FETCH_OK;
    if (WSAGetLastError() != WSAEWOULDBLOCK)
        return FETCH_NO_CONNECTION;
    WaitResult r = waitReady(d, true);
    if (r == WaitEnded)
        return d.outcome;
    int error = 0;
    int length = sizeof error;
    if (r != WaitReady || getsockopt(d.s, SOL_SOCKET, SO_ERROR, (char*)&error, &length) != 0 || error != 0)
        return FETCH_NO_CONNECTION;
    return FETCH_OK;
}

// Sends the request; a failure shows later as a response that never came.
int sendRequest(Download& d, const char* text, size_t length)
{
    startFetchStep(d.clock, GetTickCount());
    while (length > 0) {
        int n = send(d.s, text, (int)length, 0);
        if (n > 0) {
            text += n;
            length -= (size_t)n;
            continue;
        }
        if (n == 0 || WSAGetLastError() != WSAEWOULDBLOCK)
            return FETCH_OK;
        WaitResult r = waitReady(d, true);
        if (r == WaitEnded)
            return d.outcome;
        if (r == WaitFailed)
            return FETCH_OK;
    }
    return FETCH_OK;
}

// Reads until the server closes, an error, or more than the cap arrived:
// FETCH_OK with the data NUL-terminated. A time limit or a give-up ends
// it with that outcome and no data; FETCH_BAD_RESPONSE when memory ran out.
int receiveAll(Download& d, char** data, size_t* received)
{
    char* buffer = nullptr;
    size_t capacity = 0, fill = 0;
    for (;;) {
        size_t wanted = nextReceiveCapacity(fill, capacity);
        if (wanted != capacity) {
            char* grown = (char*)realloc(buffer, wanted);
            if (!grown) {
                free(buffer);
                return FETCH_BAD_RESPONSE;
            }
            buffer = grown;
            capacity = wanted;
        }
        startFetchStep(d.clock, GetTickCount());
        WaitResult r = waitReady(d, false);
        if (r == WaitEnded) {
            free(buffer);
            return d.outcome;
        }
        if (r == WaitFailed)
            break;
        int n = recv(d.s, buffer + fill, (int)(capacity - fill - 1), 0);
        if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK)
            continue;
        if (n <= 0)
            break;
        fill += (size_t)n;
        if (fill > kBannerResponseCap)
            break;
    }
    buffer[fill] = '\0';
    *data = buffer;
    *received = fill;
    return FETCH_OK;
}

// The whole download: FETCH_OK with the response in *data (the caller frees
// it) and the body's offset, or the outcome that ended it. The socket is
// the worker's own and is closed here, on every path.
int download(const FetchJob& job, char** data, size_t* received, size_t* bodyStart)
{
    unsigned long address = 0;
    if (!resolveHost(job.request.host.s, &address))
        return FETCH_HOST_NOT_FOUND;
    if (*job.giveUp)
        return kGaveUp;
    Download d;
    d.s = socket(AF_INET, SOCK_STREAM, 0);
    if (d.s == INVALID_SOCKET)
        return FETCH_NO_CONNECTION;
    d.clock = startFetchDeadline(GetTickCount(), job.limitS);
    d.giveUp = job.giveUp;
    d.outcome = 0;

    int outcome = connectWithin(d, address, job.request.port);
    if (outcome == FETCH_OK) {
        char request[1024];
        size_t length = formatBannerRequest(job.request, request, sizeof request);
        outcome = sendRequest(d, request, length);
    }
    if (outcome == FETCH_OK)
        outcome = receiveAll(d, data, received);
    closesocket(d.s);
    if (outcome == FETCH_OK) {
        outcome = classifyBannerResponse(*data, *received, bodyStart);
        if (outcome != FETCH_OK) {
            free(*data);
            *data = nullptr;
        }
    }
    return outcome;
}

DWORD WINAPI bannerFetchWorker(LPVOID parameter)
{
    FetchJob* job = (FetchJob*)parameter;
    char* data = nullptr;
    size_t received = 0, bodyStart = 0;
    int outcome = download(*job, &data, &received, &bodyStart);
    DecodedBanner picture = {nullptr, 0, 0};
    if (outcome == FETCH_OK && !*job->giveUp &&
        !decodeBannerBitmap(data + bodyStart, received - bodyStart, job->dpi, &picture.bitmap, &picture.width,
                            &picture.height))
        outcome = picture.width > 0 ? kTooLarge : FETCH_NOT_PICTURE;
    free(data);

    int32_t id = job->request.bannerId;
    if (outcome == kGaveUp || *job->giveUp) {
        // Told to give up: the result is dropped without a line.
    } else if (outcome == FETCH_OK || outcome == kTooLarge) {
        // A decoded picture without a bitmap could not be made one, and the
        // strip stays as it is.
        bool post = picture.bitmap || outcome == kTooLarge;
        DecodedBanner* posted = post ? (DecodedBanner*)malloc(sizeof(DecodedBanner)) : nullptr;
        if (posted) {
            *posted = picture;
            if (PostMessageA(job->window, kMsgBannerResult, (WPARAM)bannerResultWord(id, false), (LPARAM)posted))
                picture.bitmap = nullptr;  // the window owns it now
            else
                free(posted);  // the window is gone: nobody else will
        }
    } else {
        postFailure(job->window, id, outcome);
    }
    if (picture.bitmap)
        DeleteObject(picture.bitmap);
    free(job);
    return 0;
}

// The whole download's limit from the settings file; read, never written.
int configuredDownloadLimit()
{
    if (!bannerSettingsFile || !bannerSettingsFile[0])
        return kBannerDownloadLimitS;
    char path[3 * MAX_PATH];
    pathForSystem(bannerSettingsFile, path, sizeof path);
    return bannerDownloadLimitS((int)GetPrivateProfileIntA("UI", "BannerTimeLimit", kBannerDownloadLimitS, path));
}

void launchWorker(int index, const BannerFetchRequest& request)
{
    BannerFetchSlot& slot = bannerFetchSlots.slot[index];
    FetchJob* job = (FetchJob*)calloc(1, sizeof(FetchJob));
    if (!job)
        return;
    job->request = request;
    job->window = bannerWindows.main;
    job->limitS = configuredDownloadLimit();
    job->giveUp = &slot.giveUp;
    job->dpi = uiDpi;
    slot.giveUp = 0;
    DWORD threadId = 0;  // Windows 9x needs somewhere to put it
    HANDLE thread = CreateThread(nullptr, 0, bannerFetchWorker, job, 0, &threadId);
    if (!thread) {
        free(job);
        return;
    }
    holdFetchSlot(bannerFetchSlots, index, thread, request.bannerId);
}

// Frees the slots whose worker has ended.
void endFinishedWorkers()
{
    for (BannerFetchSlot& slot : bannerFetchSlots.slot)
        if (slot.worker && WaitForSingleObject((HANDLE)slot.worker, 0) == WAIT_OBJECT_0) {
            CloseHandle((HANDLE)slot.worker);
            slot.worker = nullptr;
        }
}

// While a download waits: starts it once a slot is free, if its banner is
// still the current one.
void CALLBACK pollFetchSlots(HWND window, UINT, UINT_PTR timer, DWORD)
{
    BannerFetchSlots& s = bannerFetchSlots;
    endFinishedWorkers();
    int index = freeFetchSlot(s);
    if (s.waiting && index < 0)
        return;
    KillTimer(window, timer);
    if (!s.waiting)
        return;
    s.waiting = false;
    if (bannerResultIsCurrent(bannerResultWord(s.waitingRequest.bannerId, false)))
        launchWorker(index, s.waitingRequest);
}

struct WinBannerFetcher final : BannerFetcher {
    void stripChanged() override { repaintLater(bannerWindows.strip, true); }
    void startFetch(int32_t id, const char* url) override { startBannerFetch(url, id); }
    void queueResult(int32_t id, int code) override { postFailure(bannerWindows.main, id, code); }
};

WinBannerFetcher fetcher;

} // namespace

BannerWindows bannerWindows;
const char* bannerSettingsFile;

BannerFetcher& winBannerFetcher() { return fetcher; }

void startBannerFetch(const char* url, int32_t id)
{
    BannerFetchRequest request;
    memset(&request, 0, sizeof request);
    if (!splitBannerUrl(url, request)) {
        postFailure(bannerWindows.main, id, FETCH_HOST_NOT_FOUND);
        return;
    }
    request.bannerId = id;

    BannerFetchSlots& s = bannerFetchSlots;
    endFinishedWorkers();
    int index = freeFetchSlot(s);
    if (index >= 0) {
        s.waiting = false;  // a newer banner goes before one that waited
        launchWorker(index, request);
        return;
    }
    // Every slot is held: this download waits in place of any older one,
    // and the oldest download for another banner is told to give up.
    s.waiting = true;
    s.waitingRequest = request;
    int oldest = fetchSlotToGiveUp(s, id);
    if (oldest >= 0)
        s.slot[oldest].giveUp = 1;
    SetTimer(bannerWindows.main, kTimerBannerSlots, kSlotPollMs, pollFetchSlots);
}

void onBannerResult(WPARAM wp, LPARAM lp)
{
    uint32_t word = (uint32_t)wp;
    if (bannerResultFailed(word)) {
        onBannerFailure(word, (int)lp);
        return;
    }
    DecodedBanner* picture = (DecodedBanner*)lp;
    if (!picture)
        return;
    if (!picture->bitmap) {
        if (bannerResultIsCurrent(word))
            reportBannerTooLarge(picture->width, picture->height);
    } else if (bannerResultIsCurrent(word)) {
        installBannerBitmap(picture->bitmap, picture->width, picture->height);
    } else {
        DeleteObject(picture->bitmap);
    }
    free(picture);
}

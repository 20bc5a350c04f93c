// The current banner and the banner catalogue, as the server's BANNER and
// BANNERLIST ... BANNEREND lines set them, and what a finished picture
// download means for them. User-interface thread only.
#pragma once

#include <stdint.h>

#include "session/host.h"

// The banner strip and its picture downloads, as the rules use them.
struct BannerFetcher {
    // The strip redraws (without a picture when none is to be shown).
    virtual void stripChanged() = 0;
    // Starts a download of an http:// picture for the banner.
    virtual void startFetch(int32_t id, const char* url) = 0;
    // Queues a download result to the main window as a worker would.
    virtual void queueResult(int32_t id, int code) = 0;

protected:
    ~BannerFetcher() = default;
};

// Set at start-up, before the first banner line arrives.
extern BannerFetcher* bannerFetcher;

// The functions below as the dispatcher reaches them.
BannerLines& bannerModel();

// Outcomes of a picture download; 0 is a body to decode.
enum FetchOutcome {
    FETCH_OK = 0,
    FETCH_HOST_NOT_FOUND = 1,
    FETCH_NO_CONNECTION = 2,
    FETCH_BAD_RESPONSE = 4,
    FETCH_REDIRECT = 5,
    FETCH_NOT_HTTP = 6,
    FETCH_NOT_PICTURE = 7,          // the body is no picture the decoder takes
    FETCH_TIMED_OUT_BASE = 100,     // + the seconds of the time limit that ended it (1 to 60)
    FETCH_HTTP_STATUS_BASE = 1000,  // + the status the server answered
};

void showBanner(const char* idField, const char* urlField, const char* linkField);
void resetBannerCatalogue();
void appendBannerCatalogueItem(const char* id, const char* url, const char* link, const char* weight,
                               const char* enabled);
void endBannerCatalogue();

// A download result travels as one word: the banner id in the low 30 bits
// and bit 30 set for a failure. Ids are compared in those 30 bits, so an id
// outside 0 .. 2^30 - 1 can never be taken for the failure bit.
const uint32_t kBannerFailureBit = 0x40000000u;
const uint32_t kBannerIdBits = 0x3FFFFFFFu;
uint32_t bannerResultWord(int32_t id, bool failure);
inline bool bannerResultFailed(uint32_t word) { return (word & kBannerFailureBit) != 0; }
// The result is for the banner shown now (older downloads are dropped).
bool bannerResultIsCurrent(uint32_t word);

// A failed download of the current banner: its one error line.
void onBannerFailure(uint32_t word, int outcome);
// A body that is no picture (or an empty one): the error line.
void reportBannerNotPicture();
// A picture of width x height that the decode budget refused: the error line.
void reportBannerTooLarge(int width, int height);

// The link a click on the strip opens: only while a picture is shown, and
// only a web address ("http://" or "https://", in any letter case), since
// the shell would run a program or open a local file named by anything
// else. Null when the click does nothing.
const char* bannerLinkToOpen();

// How many picture downloads run at once, and which gives way. At most four
// run; a download holds its slot until its thread has ended. A BANNER line
// that finds every slot held waits for the next free one (only the newest
// waits: a newer line replaces it), and the oldest download whose banner is
// no longer the current one is told to give up, so the current banner is
// never starved by slow hosts. User-interface thread only, except the
// give-up flags, which each worker reads.
#pragma once

#include <stdint.h>

#include "banners/banner_http.h"

enum { kBannerFetchSlots = 4 };

struct BannerFetchSlot {
    void* worker;          // the platform's handle of the running worker; null when free
    int32_t bannerId;
    uint32_t order;        // start order: smaller is older
    volatile long giveUp;  // set while the worker runs: it drops its result and ends
};

struct BannerFetchSlots {
    BannerFetchSlot slot[kBannerFetchSlots];
    uint32_t started;            // downloads started so far, for the order
    bool waiting;                // a download waits for a slot
    BannerFetchRequest waitingRequest;
};
extern BannerFetchSlots bannerFetchSlots;

// A free slot, or -1 when all are held.
int freeFetchSlot(const BannerFetchSlots& s);
// Takes a free slot for a download of the banner: marks it held by worker,
// clears its give-up flag and numbers it.
void holdFetchSlot(BannerFetchSlots& s, int index, void* worker, int32_t bannerId);
// The slot to tell to give up when a download for currentId must wait: the
// oldest whose banner is another, or -1 when one already gives up (its slot
// is about to be free) or every download is for the current banner.
int fetchSlotToGiveUp(const BannerFetchSlots& s, int32_t currentId);

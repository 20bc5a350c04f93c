#include "banners/banner_slots.h"

BannerFetchSlots bannerFetchSlots;

int freeFetchSlot(const BannerFetchSlots& s)
{
    for (int i = 0; i < kBannerFetchSlots; i++)
        if (!s.slot[i].worker)
            return i;
    return -1;
}

void holdFetchSlot(BannerFetchSlots& s, int index, void* worker, int32_t bannerId)
{
    BannerFetchSlot& slot = s.slot[index];
    slot.worker = worker;
    slot.bannerId = bannerId;
    slot.order = s.started++;
    slot.giveUp = 0;
}

int fetchSlotToGiveUp(const BannerFetchSlots& s, int32_t currentId)
{
    int oldest = -1;
    for (int i = 0; i < kBannerFetchSlots; i++) {
        const BannerFetchSlot& slot = s.slot[i];
        if (!slot.worker)
            continue;
        if (slot.giveUp)
            return -1;
        if (slot.bannerId != currentId && (oldest < 0 || (int32_t)(slot.order - s.slot[oldest].order) < 0))
            oldest = i;
    }
    return oldest;
}

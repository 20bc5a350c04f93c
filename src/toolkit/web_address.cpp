#include "toolkit/web_address.h"

#include "base/text_fold.h"

bool isWebAddress(const char* address)
{
    if (!address)
        return false;
    const char* rest = nullptr;
    if (startsWithText(address, "http://"))
        rest = address + 7;
    else if (startsWithText(address, "https://"))
        rest = address + 8;
    if (!rest || !*rest)
        return false;
    for (const unsigned char* p = (const unsigned char*)address; *p; p++)
        if (*p <= 0x20 || *p == 0x7F)
            return false;
    return true;
}

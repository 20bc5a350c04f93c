#include "toolkit/win_web_open.h"

#include "toolkit/web_address.h"
#include "toolkit/win_text.h"

namespace {

void openWithSystem(const char* address) { openLink(nullptr, address); }

} // namespace

void (*webAddressOpener)(const char* address) = openWithSystem;

bool openWebAddress(const char* address)
{
    if (!isWebAddress(address) || !webAddressOpener)
        return false;
    webAddressOpener(address);
    return true;
}

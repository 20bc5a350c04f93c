#include "web_open.h"

#include "web_address.h"
#include "win_text.h"

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

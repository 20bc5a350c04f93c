// The one way a web address leaves the program for the system's handler:
// the banner strip's link and a link clicked in the chat log both come here.
#pragma once

// Opens the address when it is a web address (isWebAddress: http:// or
// https://) through webAddressOpener; anything else is refused. True when it
// was handed on.
bool openWebAddress(const char* address);

// What hands an address to the system: openLink (ShellExecute "open") unless
// replaced.
extern void (*webAddressOpener)(const char* address);

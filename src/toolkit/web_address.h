// The one check every web address passes before the program hands it to the
// system's handler: the banner strip's link and a link clicked in the log.
#pragma once

// True when address begins with "http://" or "https://" (any letter case),
// has something after that, and holds no blank and no control character:
// nothing else (file:, mailto:, a program's path) may be launched.
bool isWebAddress(const char* address);

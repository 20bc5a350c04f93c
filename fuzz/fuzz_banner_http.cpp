// libFuzzer target of the banner download's decisions: every input is both
// a picture address (behind "http://" unless it starts with it) and a
// complete HTTP response.
//
// The address split must give a non-empty host without "/" or ":" that fits
// its field, a path starting with "/", and a request that fits its buffer
// whole; the response check must give one of the known outcomes, and a body
// that starts right after the first blank line.

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>

#include "banners/banner_http.h"
#include "banners/banner_model.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes((const char*)data, size);  // keeps a NUL after the bytes

    size_t body = 0;
    int outcome = classifyBannerResponse(bytes.c_str(), size, &body);
    CHECK(outcome == FETCH_OK || outcome == FETCH_BAD_RESPONSE || outcome == FETCH_REDIRECT ||
          outcome >= FETCH_HTTP_STATUS_BASE);
    if (outcome == FETCH_OK) {
        CHECK(body >= 4 && body <= size);
        CHECK(memcmp(bytes.data() + body - 4, "\r\n\r\n", 4) == 0);
        CHECK(bytes.find("\r\n\r\n") == body - 4);
    }

    std::string url = bytes.c_str();
    if (url.compare(0, 7, "http://") != 0)
        url = "http://" + url;
    BannerFetchRequest r;
    memset(&r, 0xA5, sizeof r);  // no terminator anywhere until the split writes one
    if (splitBannerUrl(url.c_str(), r)) {
        harness::checkText(r.host);
        harness::checkText(r.path);
        CHECK(r.host.s[0] != '\0' && !strchr(r.host.s, '/') && !strchr(r.host.s, ':'));
        CHECK(url.compare(7, strlen(r.host.s), r.host.s) == 0);
        CHECK(r.path.s[0] == '/');
        char request[1024];
        size_t n = formatBannerRequest(r, request, sizeof request);
        CHECK(n >= 4 && n < sizeof request - 1 && memcmp(request + n - 4, "\r\n\r\n", 4) == 0);
    }
    return 0;
}

#include "session/site.h"

#include "session/session_state.h"

const char kDefaultServerHost[] = "chat.zumbara.example";
const char kPortalDomain[] = "zumbara.example";
const char kPortalMailSite[] = "mail.zumbara.example";
const char kChatSiteHost[] = "chat.zumbara.example";
const char kHomePageUrl[] = "http://chat.zumbara.example/";
const char kPasswordRecoveryUrl[] = "http://mail.zumbara.example/forgot.php";

const char* portalDomainSuffix()
{
    // The portal domain begins with the brand word: the rest completes it.
    size_t i = 0;
    for (; kProductName[i]; i++) {
        char a = kPortalDomain[i], b = kProductName[i];
        if (a >= 'A' && a <= 'Z')
            a = (char)(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = (char)(b - 'A' + 'a');
        if (a != b)
            return kPortalDomain;
    }
    return kPortalDomain + i;
}

#include "site.h"

const char kDefaultServerHost[] = "chat.zumbara.example";
const char kPortalDomain[] = "zumbara.example";
const char kPortalMailSite[] = "mail.zumbara.example";
const char kChatSiteHost[] = "chat.zumbara.example";
const char kHomePageUrl[] = "http://chat.zumbara.example/";
const char kPasswordRecoveryUrl[] = "http://mail.zumbara.example/forgot.php";

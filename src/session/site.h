// Host names and web addresses the client knows, in one place. They name
// the project's own example domain, never a real portal.
#pragma once

extern const char kDefaultServerHost[];   // chat server used until the user sets one
extern const char kPortalDomain[];        // the portal whose accounts log in here
extern const char kPortalMailSite[];      // the portal's mail service
extern const char kChatSiteHost[];       // the chat site, as named in texts
extern const char kHomePageUrl[];         // the chat site's home page
extern const char kPasswordRecoveryUrl[]; // the portal's password-recovery page

// What follows the brand word "Zumbara" in the portal domain (".example"
// for "zumbara.example"): the suffix of the wordmark in the header strips.
// The whole domain when it does not begin with the brand word.
const char* portalDomainSuffix();

#include "banner_model.h"

#include <string.h>

#include "host.h"
#include "session_state.h"

void showBanner(const char* idField, const char* urlField, const char* linkField)
{
    CurrentBanner& b = session.banner;
    b.id = parseDecimal(idField);
    b.link.set(linkField);
    b.url.set(urlField);

    if (b.id == 0 || b.url.empty()) {
        b.shown = false;
        ports.banners->stripChanged();
        if (isGlobalAdmin(session))
            logSystem("Сервер прислал «баннеров нет» (BANNER 0). Проверьте, что баннер включён в админке и что "
                      "демон чата отдаёт его при входе.");
        return;
    }
    if (strncmp(b.url.s, "http://", 7) != 0) {
        ports.banners->queueResult(b.id, kFetchNotHttp);
        return;
    }
    ports.banners->startFetch(b.id, b.url.s);
}

void resetBannerCatalogue() { clearBannerItems(session); }

void appendBannerCatalogueItem(const char* id, const char* url, const char* link, const char* weight,
                               const char* enabled)
{
    appendBannerItem(session, parseDecimal(id), url, link, parseDecimal(weight), parseDecimal(enabled));
}

void endBannerCatalogue()
{
    if (ports.panel->isOpen())
        ports.panel->postRefresh(2);
}

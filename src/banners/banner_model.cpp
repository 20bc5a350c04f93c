#include "banners/banner_model.h"

#include <string.h>

#include "banners/banner_http.h"
#include "session/host.h"
#include "session/session_state.h"
#include "toolkit/web_address.h"

BannerFetcher* bannerFetcher;

void showBanner(const char* idField, const char* urlField, const char* linkField)
{
    CurrentBanner& b = session.banner;
    b.id = parseDecimal(idField);
    b.link.set(linkField);
    b.url.set(urlField);

    if (b.id == 0 || b.url.empty()) {
        b.shown = false;
        bannerFetcher->stripChanged();
        if (isGlobalAdmin(session))
            logSystem("Сервер прислал «баннеров нет» (BANNER 0). Проверьте, что баннер включён в админке и что "
                      "демон чата отдаёт его при входе.");
        return;
    }
    if (strncmp(b.url.s, "http://", 7) != 0) {
        bannerFetcher->queueResult(b.id, FETCH_NOT_HTTP);
        return;
    }
    // The whole field, not the kept copy: a longer address still names its
    // host and port correctly.
    bannerFetcher->startFetch(b.id, urlField);
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

uint32_t bannerResultWord(int32_t id, bool failure)
{
    return ((uint32_t)id & kBannerIdBits) | (failure ? kBannerFailureBit : 0u);
}

bool bannerResultIsCurrent(uint32_t word)
{
    return (word & kBannerIdBits) == ((uint32_t)session.banner.id & kBannerIdBits);
}

void onBannerFailure(uint32_t word, int outcome)
{
    if (!bannerResultIsCurrent(word))
        return;
    int id = (int)session.banner.id;
    const char* url = session.banner.url.s;
    switch (outcome) {
    case FETCH_HOST_NOT_FOUND:
        logErrorF("Баннер #%d: не найден сервер картинки (%s)", id, url);
        return;
    case FETCH_NO_CONNECTION:
        logErrorF("Баннер #%d: нет связи с сервером картинки (%s)", id, url);
        return;
    case FETCH_REDIRECT:
        logErrorF("Баннер #%d: сервер перенаправляет (301/302) — нужна прямая http-ссылка на файл", id);
        return;
    case FETCH_NOT_HTTP:
        logErrorF("Баннер #%d: ссылка не http:// — старый клиент не умеет https (%s)", id, url);
        return;
    case FETCH_NOT_PICTURE:
        reportBannerNotPicture();
        return;
    default:
        if (outcome > FETCH_TIMED_OUT_BASE && outcome <= FETCH_TIMED_OUT_BASE + kBannerDownloadLimitS)
            logErrorF("Баннер #%d: картинка не скачалась за %d с (%s)", id, outcome - FETCH_TIMED_OUT_BASE, url);
        else if (outcome >= FETCH_HTTP_STATUS_BASE)
            logErrorF("Баннер #%d: сервер ответил %d вместо картинки (%s)", id, outcome - FETCH_HTTP_STATUS_BASE,
                      url);
        else
            logErrorF("Баннер #%d: пустой ответ сервера", id);
        return;
    }
}

void reportBannerNotPicture()
{
    logErrorF("Баннер #%d: файл скачан, но это не картинка GIF/JPG/PNG/BMP (%s)", (int)session.banner.id,
              session.banner.url.s);
}

void reportBannerTooLarge(int width, int height)
{
    logErrorF("Баннер #%d: картинка %dx%d слишком велика (%s)", (int)session.banner.id, width, height,
              session.banner.url.s);
}

const char* bannerLinkToOpen()
{
    const CurrentBanner& b = session.banner;
    if (!b.shown || b.link.empty())
        return nullptr;
    if (!isWebAddress(b.link.s))
        return nullptr;
    return b.link.s;
}

namespace {

struct BannerModel final : BannerLines {
    void show(const char* id, const char* url, const char* link) override { showBanner(id, url, link); }
    void catalogueBegin() override { resetBannerCatalogue(); }
    void catalogueItem(const char* id, const char* url, const char* link, const char* weight,
                       const char* enabled) override
    {
        appendBannerCatalogueItem(id, url, link, weight, enabled);
    }
    void catalogueEnd() override { endBannerCatalogue(); }
};

BannerModel model;

} // namespace

BannerLines& bannerModel() { return model; }

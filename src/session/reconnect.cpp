#include "session/reconnect.h"

#include <string.h>

#include "base/text_fold.h"
#include "session/connection.h"
#include "session/held_lines.h"
#include "session/host.h"
#include "session/session_state.h"

ReconnectState reconnect;

namespace {

const char kMainRoom[] = "Главная";

uint32_t now() { return ports.host->tickCount(); }

uint32_t nextRandom()
{
    ReconnectState& r = reconnect;
    if (r.seed == 0)
        r.seed = now() * 2654435761u + 1;
    r.seed = r.seed * 1103515245u + 12345u;
    return r.seed >> 8;
}

uint32_t secondsUp(uint32_t ms) { return (ms + 999) / 1000; }

// The next timer tick lands where the countdown shows a new whole second,
// so the try starts when its wait is over, not up to a second later.
void armTimer()
{
    uint32_t step = 1000;
    if (reconnect.phase == ReconnectWaiting && !reconnect.paused && reconnect.remainingMs % 1000 != 0)
        step = reconnect.remainingMs % 1000;
    ports.host->startTimer(kTimerReconnect, step);
}

void scheduleNextTry()
{
    ReconnectState& r = reconnect;
    r.attempt++;
    r.phase = ReconnectWaiting;
    r.remainingMs = reconnectDelayMs(r.attempt, nextRandom());
    r.lastTick = now();
    if (r.attempt <= kReconnectLoggedLines) {
        uint32_t seconds = (r.remainingMs + 500) / 1000;
        logSystemF("Переподключение через %d с (попытка %d)...", (int)seconds, r.attempt);
    }
    armTimer();
    ports.views->statusChanged();
}

void startTry()
{
    ReconnectState& r = reconnect;
    SessionState& s = session;
    r.phase = ReconnectTrying;
    r.tryStarted = now();
    s.settings.host.set(r.host.s);
    s.settings.port = r.port;
    s.loginNick.set(r.nick.s);
    s.password.set(r.password.s);
    s.nickColor.set(r.color.s);
    s.registration.login.clear();
    r.starting = true;
    connectToServer();
    r.starting = false;
    if (r.phase == ReconnectTrying && s.socket == kNoSocket) {
        r.refusals = 0;
        scheduleNextTry();
    } else {
        armTimer();
    }
}

// A try ended without WELCOME in a way that is not a refusal.
void tryFailed()
{
    reconnect.refusals = 0;
    scheduleNextTry();
}

// Reconnecting ends without a session to come back to: what was typed
// meanwhile will not go out.
void stop()
{
    ReconnectState& r = reconnect;
    r.phase = ReconnectIdle;
    r.attempt = 0;
    r.refusals = 0;
    r.room.clear();
    r.roomPending = false;
    if (session.welcomed != 1)
        ports.host->stopTimer(kTimerReconnect);
    dropHeldLines();
}

// The room a try went back to is there (or will not be): the lines typed
// while away can follow.
void roomBack()
{
    reconnect.roomPending = false;
    reconnect.room.clear();
    releaseHeldLines();
}

} // namespace

// ---- The rules ---------------------------------------------------------------

uint32_t reconnectBaseSeconds(int attempt)
{
    static const uint32_t kSteps[] = {2, 4, 8, 16, 30};
    if (attempt >= 1 && attempt <= 5)
        return kSteps[attempt - 1];
    return attempt < 1 ? 2 : 60;
}

uint32_t reconnectDelayMs(int attempt, uint32_t random)
{
    uint32_t base = reconnectBaseSeconds(attempt) * 1000;
    return base + random % (base / 5 + 1);
}

RefusalAction reconnectRefusalAction(const char* code, int refusalsBefore)
{
    if (strcmp(code, "409") != 0 && strcmp(code, "503") != 0)
        return RefusalEndsReconnect;
    return refusalsBefore + 1 >= kReconnectRefusalLimit ? RefusalGiveUp : RefusalRetry;
}

bool keepAliveExpired(uint32_t now, uint32_t lastHeard, int limitSeconds)
{
    if (limitSeconds <= 0)
        return false;
    // Ticks wrap after 49 days; a longer limit is as good as none.
    if (limitSeconds > 4000000)
        return false;
    return now - lastHeard >= (uint32_t)limitSeconds * 1000u;
}

bool reconnectStatusText(char* out, size_t cap)
{
    const ReconnectState& r = reconnect;
    if (r.phase == ReconnectWaiting) {
        formatText(out, cap, " Переподключение через %d с (попытка %d)...", (int)secondsUp(r.remainingMs), r.attempt);
        return true;
    }
    if (r.phase == ReconnectTrying) {
        formatText(out, cap, " Переподключение (попытка %d)...", r.attempt);
        return true;
    }
    return false;
}

// ---- Hooks ---------------------------------------------------------------------

void connectionEnded(const char* message)
{
    ReconnectState& r = reconnect;
    SessionState& s = session;
    if (r.phase == ReconnectWaiting) {
        // The close that follows a refusal the receive pass has already
        // dealt with: the next try is scheduled, the connection is gone.
        disconnect(nullptr);
        return;
    }
    bool welcomed = s.welcomed == 1;
    bool wasTry = r.phase == ReconnectTrying;
    // A room a try asked for and has not got yet is still the one to go
    // back to, not the room the server put the session in meanwhile.
    if (welcomed && !r.roomPending)
        r.room.set(s.currentRoom.s);
    disconnect(reconnectQuiet() ? nullptr : message);
    if (!s.settings.reconnect || r.forbidden || !(welcomed || wasTry)) {
        stop();
        return;
    }
    // A server that admits and drops at once must not be tried every two
    // seconds for ever: the waits go on growing until a session lasts.
    if (welcomed && now() - r.upSince >= kReconnectStableMs)
        r.attempt = 0;
    r.refusals = 0;
    scheduleNextTry();
}

void noteServerData() { reconnect.lastHeard = now(); }

void reconnectConnectStarting()
{
    ReconnectState& r = reconnect;
    SessionState& s = session;
    r.forbidden = false;
    if (r.starting)
        return;
    // The user's own connect: whatever was reconnecting ends, and this is
    // the session a later reconnect comes back to.
    stop();
    r.host.set(s.settings.host.s);
    r.port = s.settings.port;
    r.nick.set(s.loginNick.s);
    r.password.set(s.password.s);
    r.color.set(s.nickColor.s);
    r.haveAddress = false;
}

bool serverAddress(uint32_t* address)
{
    ReconnectState& r = reconnect;
    if (r.starting) {
        if (!r.haveAddress)
            return false;
        *address = r.address;
        return true;
    }
    if (!ports.transport->resolve(session.settings.host.s, address))
        return false;
    r.address = *address;
    r.haveAddress = true;
    return true;
}

bool reconnectQuiet() { return reconnect.phase == ReconnectTrying && reconnect.attempt > kReconnectLoggedLines; }

bool reconnectQuietRefusal(const char* code)
{
    return reconnectQuiet() && reconnectRefusalAction(code, reconnect.refusals) == RefusalRetry;
}

void reconnectWelcomed()
{
    ReconnectState& r = reconnect;
    bool wasTry = r.phase == ReconnectTrying;
    r.phase = ReconnectIdle;
    if (!wasTry)
        r.attempt = 0;
    r.refusals = 0;
    r.upSince = now();
    r.lastHeard = now();
    ports.host->startTimer(kTimerReconnect, 1000);
    if (!wasTry) {
        // The user's own login: the server starts it in the main room and
        // available, and a later reconnect comes back to that.
        r.room.clear();
        r.status.clear();
        ports.views->resetStatusChoice();
        return;
    }
    // The server handles lines in order: the status is set once the room
    // is back.
    bool join = !r.room.empty() && !sameText(r.room.s, kMainRoom);
    if (join)
        sendFormatted("JOIN %s", r.room.s);
    if (!r.status.empty())
        sendFormatted("STATUS %s", r.status.s);
    if (join)
        r.roomPending = true;
    else
        roomBack();
}

void reconnectRoomListed(const char* room)
{
    if (reconnect.roomPending && sameText(room, reconnect.room.s))
        roomBack();
}

void reconnectRefusedAfterWelcome()
{
    if (reconnect.roomPending)
        roomBack();
}

bool reconnectRefused(const char* code)
{
    ReconnectState& r = reconnect;
    if (r.phase != ReconnectTrying || session.welcomed == 1)
        return false;
    switch (reconnectRefusalAction(code, r.refusals)) {
    case RefusalRetry:
        r.refusals++;
        disconnect(nullptr);
        scheduleNextTry();
        return true;
    case RefusalGiveUp:
        disconnect(nullptr);
        logSystem("Переподключение прекращено.");
        stop();
        ports.views->statusChanged();
        return true;
    case RefusalEndsReconnect:
        break;
    }
    stop();
    return false;
}

void reconnectForbid()
{
    reconnect.forbidden = true;
    if (reconnect.phase == ReconnectTrying)
        stop();
}

void reconnectTick()
{
    ReconnectState& r = reconnect;
    SessionState& s = session;
    uint32_t t = now();
    if (r.phase == ReconnectWaiting) {
        if (!r.paused) {
            uint32_t elapsed = t - r.lastTick;
            r.remainingMs -= elapsed < r.remainingMs ? elapsed : r.remainingMs;
        }
        r.lastTick = t;
        if (r.remainingMs == 0 && !r.paused) {
            startTry();
            return;
        }
        armTimer();
        ports.views->statusChanged();
        return;
    }
    if (r.phase == ReconnectTrying) {
        if (s.welcomed == 0 && t - r.tryStarted >= kReconnectTryTimeoutMs) {
            disconnect(nullptr);
            tryFailed();
        }
        return;
    }
    if (s.welcomed == 1) {
        int limit = s.settings.keepAliveTimeout;
        if (keepAliveExpired(t, r.lastHeard, limit)) {
            char message[3 * 128];
            formatText(message, sizeof message, "Сервер не отвечает %d секунд — соединение потеряно.", limit);
            connectionEnded(message);
        }
        return;
    }
    ports.host->stopTimer(kTimerReconnect);
}

bool reconnectTrying() { return reconnect.phase == ReconnectTrying; }

// ---- The user's side ---------------------------------------------------------

bool cancelReconnect(const char* message)
{
    ReconnectState& r = reconnect;
    if (r.phase == ReconnectIdle)
        return false;
    bool trying = r.phase == ReconnectTrying;
    if (trying) {
        if (session.connected == 1 && session.socket != kNoSocket)
            sendLine("QUIT пользователь вышел");
        disconnect(nullptr);
    }
    logSystem(message);
    stop();
    ports.views->statusChanged();
    return true;
}

void pauseReconnect(bool paused)
{
    ReconnectState& r = reconnect;
    if (r.phase == ReconnectWaiting && paused && !r.paused) {
        uint32_t elapsed = now() - r.lastTick;
        r.remainingMs -= elapsed < r.remainingMs ? elapsed : r.remainingMs;
    }
    r.lastTick = now();
    r.paused = paused;
    if (r.phase == ReconnectWaiting) {
        if (!paused && r.remainingMs == 0)
            r.remainingMs = 1;  // the try starts at the next tick, not inside the dialog's return
        armTimer();
        ports.views->statusChanged();
    }
}

void endReconnect()
{
    reconnect.paused = false;
    stop();
}

void rememberSessionColor() { reconnect.color.set(session.nickColor.s); }

void rememberSessionStatus(const char* status) { reconnect.status.set(status); }

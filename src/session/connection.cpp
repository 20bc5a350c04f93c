#include "session/connection.h"

#include <string.h>

#include "session/call_user.h"
#include "session/held_lines.h"
#include "session/host.h"
#include "session/protocol.h"
#include "session/protocol_log.h"
#include "session/reconnect.h"
#include "session/session_state.h"

namespace {

// A receive pass that has run this long stops when bytes are left, so that
// the window can take input and paint; the receive timer resumes it.
const uint32_t kPassBudgetMs = 150;

// A receive pass is dispatching lines. A read event that arrives meanwhile
// (from a nested message loop, such as a message box shown by a handler)
// only appends; the pass in progress dispatches those lines in order.
// A disconnect takes the buffer away from the pass: it clears both.
bool passActive;
size_t passPos;
// Bumped by every disconnect so a pass can tell that its buffer is gone.
unsigned disconnectCount;
// A read event found the buffer full while a pass was dispatching it. The
// platform announces waiting data again only after a read, so the pass reads
// again once it has made room; otherwise the rest of what the server sent
// would stay unread until the connection closed.
bool readSkipped;
// A pass stopped for its time budget with lines left; the receive timer
// resumes it. Read events meanwhile only append (or find the buffer full),
// so that input and painting come before the next pass.
bool passPaused;

char lineText[kDecodedLineCap];

// The end of a batch: the journals write what they gathered.
void flushJournal()
{
    if (ports.journal)
        ports.journal->flush();
}

bool socketOpen() { return session.socket != kNoSocket; }

// Reads once into the room the buffer has; returns the bytes read.
int readOnce()
{
    SessionState& s = session;
    if (!socketOpen())
        return 0;
    if (passActive && passPos > 0) {
        // Make room by dropping what the pass in progress has consumed.
        memmove(s.recvBuffer, s.recvBuffer + passPos, s.recvFill - passPos);
        s.recvFill -= passPos;
        passPos = 0;
        s.recvBuffer[s.recvFill] = '\0';
    }
    size_t room = (kRecvBufferSize - 1) - s.recvFill;
    if (room == 0) {
        readSkipped = true;
        return 0;
    }
    int n = ports.transport->receive(s.socket, s.recvBuffer + s.recvFill, room);
    if (n <= 0)
        return 0;
    s.recvFill += (size_t)n;
    s.recvBuffer[s.recvFill] = '\0';
    noteServerData();
    return n;
}

// Moves what the pass has not consumed to the start of the buffer. When no
// line end is left in it, a rest that fills the buffer can never become a
// line and is dropped.
void keepRest(bool noLineEndLeft)
{
    SessionState& s = session;
    size_t rest = s.recvFill - passPos;
    memmove(s.recvBuffer, s.recvBuffer + passPos, rest);
    s.recvFill = rest;
    passPos = 0;
    if (noLineEndLeft && s.recvFill > kRecvBufferSize - 3)
        s.recvFill = 0;  // an over-long partial line is dropped
    s.recvBuffer[s.recvFill] = '\0';
}

// Dispatches the complete lines in the buffer, in order, as one batch of the
// chat log. An ordinary pass stops when its time is up; the last pass of a
// connection the server has closed runs until the socket holds nothing more.
void runPass(bool last)
{
    SessionState& s = session;
    if (passPaused) {
        passPaused = false;
        ports.host->stopTimer(kTimerReceive);
    }
    passActive = true;
    passPos = 0;
    unsigned generation = disconnectCount;
    uint32_t started = ports.host->tickCount();
    bool paused = false;
    ports.log->beginBatch();
    beginCallPass();
    for (;;) {
        // Lines are cut by byte counts: a NUL inside a line neither ends the
        // scan nor hides the lines after it.
        char* start = s.recvBuffer + passPos;
        char* lf = (char*)memchr(start, '\n', s.recvFill - passPos);
        if (!lf) {
            if (!readSkipped && !last)
                break;
            readSkipped = false;
            keepRest(true);
            if (readOnce() == 0)
                break;
            continue;
        }
        size_t len = (size_t)(lf - start);
        decodeLine(start, len, lineText);
        passPos += len + 1;
        logProtocolLine("S>", lineText);
        char* line = trimLine(lineText);
        if (*line != '\0') {
            ParsedLine parsed;
            splitLine(line, parsed);
            ports.lines->dispatchServerLine(parsed);
            if (generation != disconnectCount) {
                // Disconnected meanwhile: the buffer was emptied with the rest
                // of this pass's lines, and may already hold a new
                // connection's data.
                ports.log->endBatch();
                flushJournal();
                endCallPass();
                return;
            }
        }
        if (!last && passPos < s.recvFill && ports.host->tickCount() - started >= kPassBudgetMs) {
            paused = true;
            break;
        }
    }

    keepRest(!paused);
    passActive = false;
    if (paused) {
        passPaused = true;
        ports.host->startTimer(kTimerReceive, 1);
    }
    ports.log->endBatch();
    flushJournal();
    endCallPass();
}

// A read event (last: the close event). A nested event only appends for the
// pass in progress; while a pass is paused, reads only append until the
// timer resumes it, except for the close event, which finishes it.
void receive(bool last)
{
    readOnce();
    if (passActive || (passPaused && !last))
        return;
    runPass(last);
}

} // namespace

void sendLine(const char* text)
{
    if (!socketOpen())
        return;
    static char wire[kEncodedLineCap];
    size_t n = encodeLine(text, wire);
    wire[n++] = '\n';
    ports.transport->send(session.socket, wire, n);
    logProtocolLine("C>", text);
}

void sendIfConnected(const char* text)
{
    if (socketOpen() && session.connected == 1)
        sendLine(text);
}

void sendFormatted(const char* fmt, ...)
{
    char line[kFormatBufferSize];
    va_list ap;
    va_start(ap, fmt);
    formatTextV(line, sizeof line, fmt, ap);
    va_end(ap);
    sendIfConnected(line);
}

void disconnect(const char* message)
{
    SessionState& s = session;
    if (socketOpen()) {
        ports.transport->close(s.socket);
        s.socket = kNoSocket;
    }
    s.connected = 0;
    s.welcomed = 0;
    s.recvFill = 0;
    s.recvBuffer[0] = '\0';
    passActive = false;
    passPos = 0;
    readSkipped = false;
    passPaused = false;
    disconnectCount++;
    // A registration ends with its connection, answered or not: a later
    // login must not take its refusal, or any error, for the registration's.
    s.registrationPending = 0;
    clearUsers(s);
    ports.views->usersChanged();
    s.globalRole.set(kRoleGuest);
    s.roomRole.set(kRoleGuest);
    s.currentRoom.clear();
    ports.host->stopTimer(kTimerKeepAlive);
    ports.host->stopTimer(kTimerRefresh);
    ports.host->stopTimer(kTimerWelcomeWait);
    ports.host->stopTimer(kTimerReceive);
    closeProtocolLog();
    if (message)
        logSystem(message);
    ports.views->statusChanged();
}

namespace {

// A connection attempt that ended before it began: reported, and any
// registration it was to carry ends with it.
void attemptFailed(const char* error)
{
    if (!reconnectQuiet())
        logError(error);
    session.registrationPending = 0;
}

} // namespace

void connectToServer()
{
    SessionState& s = session;
    if (s.connected == 1 || socketOpen()) {
        // The registration this attempt is to carry outlives the old
        // connection.
        int registering = s.registrationPending;
        disconnect(nullptr);
        s.registrationPending = registering;
    }

    reconnectConnectStarting();
    if (!reconnectQuiet())
        logSystemF("Подключение к %s:%d ...", s.settings.host.s, s.settings.port);

    uint32_t address = 0;
    if (!serverAddress(&address)) {
        attemptFailed("Не удалось найти сервер (проверьте адрес и интернет).");
        return;
    }
    SocketHandle sock = ports.transport->open();
    if (sock == kNoSocket) {
        attemptFailed("Не удалось создать сокет.");
        return;
    }
    s.socket = sock;
    ports.transport->watch(sock);
    int err = ports.transport->connect(sock, address, s.settings.port);
    if (err != 0 && err != kWouldBlock) {
        attemptFailed("Ошибка соединения.");
        ports.transport->close(sock);
        s.socket = kNoSocket;
        return;
    }
    ports.views->statusChanged();
}

void onSocketEvent(unsigned event, unsigned error)
{
    SessionState& s = session;
    if (error != 0) {
        connectionEnded("Соединение потеряно.");
        return;
    }
    if (event == kSocketConnect) {
        s.connected = 1;
        s.connectTick = ports.host->tickCount();
        if (!reconnectQuiet())
            logSystem("Соединение установлено.");
        ports.host->startTimer(kTimerWelcomeWait, 15000);
        sendFormatted("HELLO %s\t%s", kProductName, kProductVersion);
        // A typed TAB or line break would shift the fields or cut the line:
        // it goes out as a blank.
        if (s.registrationPending == 1 && !s.registration.login.empty()) {
            RegistrationRequest& r = s.registration;
            flattenText(r.password.s);
            flattenText(r.question.s);
            flattenText(r.answer.s);
            sendFormatted("REG %s\t%s\t%s\t%s", r.login.s, r.password.s, r.question.s, r.answer.s);
            r.login.clear();
        }
        flattenText(s.loginNick.s);
        flattenText(s.password.s);
        sendFormatted("LOGIN %s\t%s\t%s", s.loginNick.s, s.password.s, s.nickColor.s);
        ports.views->statusChanged();
    } else if (event == kSocketClose) {
        receive(true);
        connectionEnded("Сервер закрыл соединение.");
    } else if (event == kSocketRead) {
        receive(false);
    }
}

void onSocketMessage(SocketHandle socket, unsigned event, unsigned error)
{
    // An event queued for a socket that has since been closed (a quick
    // disconnect and reconnect) must not act on the new connection.
    if (socket == kNoSocket || socket != session.socket)
        return;
    onSocketEvent(event, error);
}

void onTimer(int id)
{
    SessionState& s = session;
    switch (id) {
    case kTimerKeepAlive:
        s.pingTick = ports.host->tickCount();
        sendFormatted("PING %lu", (unsigned long)s.pingTick);
        break;
    case kTimerRefresh:
        if (socketOpen() && s.connected == 1) {
            sendIfConnected("ROOMS");
            s.suppressRoomLine = 1;
            sendIfConnected("USERS");
        } else {
            s.suppressRoomLine = 1;
        }
        break;
    case kTimerReceive:
        ports.host->stopTimer(kTimerReceive);
        if (passPaused && !passActive)
            runPass(false);
        break;
    case kTimerWelcomeWait:
        ports.host->stopTimer(kTimerWelcomeWait);
        if (s.connected == 1 && s.welcomed == 0 && !reconnectTrying()) {
            logError("Сервер за 15 секунд не прислал WELCOME — он говорит не по протоколу ZBP/1.");
            logErrorF("Всё, что он прислал, записано в файл: %s. Отправьте его разработчику клиента.",
                      protocolLogPath.s);
        }
        break;
    case kTimerReconnect:
        reconnectTick();
        break;
    case kTimerHeldLines:
        sendNextHeldLine();
        break;
    default:
        break;
    }
}

void disconnectCommand()
{
    if (cancelReconnect("Переподключение отменено."))
        return;
    dropHeldLines();
    if (session.connected != 1)
        return;
    if (socketOpen())
        sendLine("QUIT пользователь вышел");
    disconnect("Вы вышли из чата. Заходите ещё!");
}

void quitOnClose()
{
    if (session.connected == 1 && socketOpen())
        sendLine("QUIT");
}

void showProtocolLog()
{
    if (protocolLogPath.empty() || !ports.host->fileExists(protocolLogPath.s)) {
        logError("Лог протокола ещё пуст.");
        return;
    }
    ports.host->openInTextViewer(protocolLogPath.s);
}

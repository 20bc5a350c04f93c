#include "journal/journal.h"

#include <stddef.h>
#include <string.h>

#include "base/bounded.h"
#include "base/text_fold.h"
#include "base/utf8.h"
#include "session/host.h"
#include "session/session_state.h"

namespace {

const char16_t kJournalsFolder[] = u"Журналы";
const char16_t kRoomsFolder[] = u"Комнаты";
const char16_t kPrivateFolder[] = u"Приват";

enum {
    kJournalSlots = 32,      // journals open at once; the least used one makes room
    kJournalBuffer = 16384,  // bytes gathered per journal before they are written
};

// One room's or conversation's journal of this run: the file of its day,
// open, and what is gathered for it.
struct JournalSlot {
    bool used;
    bool isPrivate;
    Text<256> name;  // the room or the other person's nick, as the server has it
    int year, month, day;
    bool headerWritten;  // this run's header is in the day's file
    JournalFile file;
    Utf16Unit path[kJournalPathUnits];
    unsigned lastUse;
    size_t fill;
    char buffer[kJournalBuffer];
};

struct Journals {
    JournalFiles* files;
    Utf16Unit root[kJournalPathUnits];  // the settings folder, with its backslash
    bool failed;                        // a journal could not be written: none more this run
    bool locked;                        // this copy holds the journal folder
    bool timerStarted;
    unsigned useCount;
    JournalSlot slots[kJournalSlots];
};

Journals journals;

// ---- Paths -------------------------------------------------------------

size_t unitLength(const Utf16Unit* s)
{
    size_t n = 0;
    while (s[n])
        n++;
    return n;
}

// Appends src to the path; false when the path would pass its bound.
bool appendUnits(Utf16Unit* path, const Utf16Unit* src, size_t n)
{
    size_t at = unitLength(path);
    if (at + n + 1 > kJournalPathUnits)
        return false;
    memcpy(path + at, src, n * sizeof *src);
    path[at + n] = 0;
    return true;
}

bool appendFolder(Utf16Unit* path, const Utf16Unit* name)
{
    static const Utf16Unit slash[] = {'\\', 0};
    return appendUnits(path, name, unitLength(name)) && appendUnits(path, slash, 1);
}

bool appendFolder(Utf16Unit* path, const char16_t* name)
{
    Utf16Unit units[16];
    size_t n = 0;
    for (; name[n] && n < 15; n++)
        units[n] = (Utf16Unit)name[n];
    units[n] = 0;
    return appendFolder(path, units);
}

bool appendAscii(Utf16Unit* path, const char* text)
{
    Utf16Unit units[64];
    size_t n = 0;
    for (; text[n] && n < 63; n++)
        units[n] = (Utf16Unit)(unsigned char)text[n];
    return appendUnits(path, units, n);
}

// root\Журналы\ into path.
bool journalsFolder(Utf16Unit* path)
{
    path[0] = 0;
    return appendUnits(path, journals.root, unitLength(journals.root)) && appendFolder(path, kJournalsFolder);
}

// The path in program text, for the log.
void pathText(const Utf16Unit* path, char* out, size_t cap)
{
    size_t n = utf16ToUtf8(path, unitLength(path), out, cap - 1);
    out[n] = '\0';
}

// ---- Failure -----------------------------------------------------------

// Drops every journal of this run after one error line; the setting stays.
void fail(const Utf16Unit* path)
{
    char shown[kJournalPathUnits * 3];
    pathText(path, shown, sizeof shown);
    for (JournalSlot& s : journals.slots) {
        if (s.file)
            journals.files->close(s.file);
        s.file = nullptr;
        s.fill = 0;
        s.used = false;
    }
    journals.failed = true;
    logErrorF("Журнал не записывается: %s. Журналы выключены до перезапуска.", shown);
}

// ---- Writing -------------------------------------------------------------

bool writeOut(JournalSlot& s)
{
    if (s.fill == 0 || !s.file)
        return true;
    bool ok = journals.files->append(s.file, s.buffer, s.fill);
    s.fill = 0;
    if (!ok)
        fail(s.path);
    return ok;
}

void closeSlot(JournalSlot& s)
{
    writeOut(s);
    if (s.file)
        journals.files->close(s.file);
    s.file = nullptr;
}

// Gathers n bytes for the slot's file, writing out first when they would
// not fit (a piece larger than the buffer goes out by itself).
bool gather(JournalSlot& s, const char* bytes, size_t n)
{
    if (s.fill + n > sizeof s.buffer && !writeOut(s))
        return false;
    if (n > sizeof s.buffer) {
        if (journals.files->append(s.file, bytes, n))
            return true;
        fail(s.path);
        return false;
    }
    memcpy(s.buffer + s.fill, bytes, n);
    s.fill += n;
    if (!journals.timerStarted && ports.host) {
        ports.host->startTimer(kTimerJournal, 5000);
        journals.timerStarted = true;
    }
    return true;
}

// A line of program text (UTF-8, the files' own form) with CR LF.
bool gatherLine(JournalSlot& s, const char* line)
{
    return gather(s, line, strlen(line)) && gather(s, "\r\n", 2);
}

// The day's file: root\Журналы\Комнаты (or Приват)\<name>\<date>.txt.
// Records where each of the three folders ends; false when it is too long.
bool dayFilePath(JournalSlot& s, const JournalClock& t, size_t folderEnds[3])
{
    Utf16Unit* path = s.path;
    Utf16Unit wide[256], held[256], clean[kJournalNameUnits + 2];
    size_t n = utf8ToUtf16(s.name.s, s.name.length(), wide, 256);
    n = journals.files->systemName(wide, n, held, 256);
    cleanJournalName(held, n, clean, sizeof clean / sizeof clean[0]);
    char fileName[32];
    formatJournalFileName(t, fileName, sizeof fileName);
    if (!journalsFolder(path))
        return false;
    folderEnds[0] = unitLength(path);
    if (!appendFolder(path, s.isPrivate ? kPrivateFolder : kRoomsFolder))
        return false;
    folderEnds[1] = unitLength(path);
    if (!appendFolder(path, clean))
        return false;
    folderEnds[2] = unitLength(path);
    return appendAscii(path, fileName);
}

// One running copy journals a folder (else two copies would write every
// room line twice): the first takes the made folder "Журналы", a second says
// so once and journals nothing.
FolderLock lockJournals()
{
    if (journals.locked)
        return FolderLocked;
    Utf16Unit folder[kJournalPathUnits];
    if (!journalsFolder(folder))
        return FolderLockFailed;
    folder[unitLength(folder) - 1] = 0;  // without its backslash
    FolderLock lock = journals.files->lockFolder(folder);
    journals.locked = lock == FolderLocked;
    // The lock comes before any journal's file, so there is none to close.
    if (lock == FolderHeldElsewhere) {
        journals.failed = true;
        logError("Журналы ведёт другая копия программы — в этой они выключены.");
    }
    return lock;
}

// Makes the day's folders and opens the day's file; the file this call
// creates begins with the byte-order mark.
bool openDayFile(JournalSlot& s, const JournalClock& t)
{
    size_t folderEnds[3];
    if (!dayFilePath(s, t, folderEnds)) {
        fail(s.path);
        return false;
    }
    for (size_t end : folderEnds) {
        Utf16Unit kept = s.path[end - 1];
        s.path[end - 1] = 0;  // the folder, without its backslash
        bool made = journals.files->makeFolder(s.path);
        s.path[end - 1] = kept;
        if (!made) {
            fail(s.path);
            return false;
        }
    }
    switch (lockJournals()) {
    case FolderLocked:
        break;
    case FolderHeldElsewhere:
        return false;
    case FolderLockFailed:
        fail(s.path);
        return false;
    }
    // Another journal may hold lines for this same file (two names that
    // clean alike): they go first, in the order they came.
    for (JournalSlot& other : journals.slots)
        if (other.used && &other != &s && !writeOut(other))
            return false;
    bool created = false;
    s.file = journals.files->open(s.path, &created);
    if (!s.file || (created && !journals.files->append(s.file, "\xEF\xBB\xBF", 3))) {
        fail(s.path);
        return false;
    }
    s.fill = 0;
    return true;
}

JournalSlot* findSlot(bool isPrivate, const char* name)
{
    // Compared as the slot keeps it: a name longer than the slot's still
    // finds its own journal.
    decltype(JournalSlot::name) kept;
    kept.set(name);
    JournalSlot* spare = nullptr;
    for (JournalSlot& s : journals.slots) {
        if (s.used && s.isPrivate == isPrivate && sameText(s.name.s, kept.s))
            return &s;
        if (!spare || (spare->used && (!s.used || s.lastUse < spare->lastUse)))
            spare = &s;
    }
    // The least used journal makes room; should it come back, its file gets
    // a header again.
    closeSlot(*spare);
    if (journals.failed)
        return nullptr;
    memset(spare, 0, offsetof(JournalSlot, buffer));
    spare->used = true;
    spare->isPrivate = isPrivate;
    spare->name.set(name);
    return spare;
}

} // namespace

void startJournals(JournalFiles* files, const Utf16Unit* settingsFolder)
{
    closeJournals();
    memset(&journals, 0, offsetof(Journals, slots));
    for (JournalSlot& s : journals.slots) {
        s.used = false;
        s.file = nullptr;
        s.fill = 0;
    }
    journals.files = files;
    if (!settingsFolder)
        return;
    size_t n = unitLength(settingsFolder);
    if (n + 1 < kJournalPathUnits) {
        appendUnits(journals.root, settingsFolder, n);
        if (n > 0 && settingsFolder[n - 1] != '\\' && settingsFolder[n - 1] != '/')
            appendAscii(journals.root, "\\");
    }
}

void journalLine(JournalLineKind kind, const char* who, const char* text)
{
    if (!journals.files || journals.failed || !session.settings.journal)
        return;
    bool isPrivate = isPrivateJournalLine(kind);
    const char* name = isPrivate ? who : session.currentRoom.s;
    if (!name || !*name)
        return;  // no room yet: nothing to file the line under
    JournalSlot* s = findSlot(isPrivate, name);
    if (!s)
        return;
    s->lastUse = ++journals.useCount;

    JournalClock t;
    journals.files->now(&t);
    if (s->file && (s->year != t.year || s->month != t.month || s->day != t.day)) {
        closeSlot(*s);  // the day ended: the next one has a file of its own
        if (journals.failed)
            return;
        s->headerWritten = false;
    }
    if (!s->file) {
        s->year = t.year;
        s->month = t.month;
        s->day = t.day;
        if (!openDayFile(*s, t))
            return;
    }
    static char line[kJournalLineCap];
    if (!s->headerWritten) {
        formatJournalHeader(t, isPrivate, name, session.settings.host.s, session.settings.port, session.ownNick.s,
                            line, sizeof line);
        if (!gatherLine(*s, line))
            return;
        s->headerWritten = true;
    }
    formatJournalLine(kind, t, who, text, line, sizeof line);
    gatherLine(*s, line);
}

void flushJournals()
{
    if (!journals.files)
        return;
    for (JournalSlot& s : journals.slots)
        if (s.used && !writeOut(s))
            return;
}

void closeJournals()
{
    if (!journals.files)
        return;
    for (JournalSlot& s : journals.slots) {
        if (s.used)
            closeSlot(s);
        s.used = false;
    }
}

namespace {

struct Journal final : ConversationJournal {
    void line(JournalLineKind kind, const char* who, const char* text) override { journalLine(kind, who, text); }
    void flush() override { flushJournals(); }
};

Journal journal;

} // namespace

ConversationJournal& conversationJournals() { return journal; }

void openJournalFolder()
{
    if (!journals.files)
        return;
    Utf16Unit path[kJournalPathUnits];
    if (!journalsFolder(path) || !journals.files->makeFolder(path)) {
        char shown[kJournalPathUnits * 3];
        pathText(path, shown, sizeof shown);
        logErrorF("Папка журналов не создаётся: %s", shown);
        return;
    }
    journals.files->openFolder(path);
}

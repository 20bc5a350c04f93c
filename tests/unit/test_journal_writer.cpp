// The journal writer against a file system held in memory: the files of
// each day, names that share a folder, a write that fails and a long line.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "journal/journal.h"
#include "fakes.h"

namespace {

std::u16string units(const Utf16Unit* s)
{
    std::u16string out;
    for (; *s; s++)
        out += (char16_t)*s;
    return out;
}

struct MemoryFiles final : JournalFiles {
    JournalClock clock{2026, 12, 7, 23, 59, 58};
    std::map<std::u16string, std::string> files;  // path: bytes
    std::map<JournalFile, std::u16string> open_;  // handle: path
    bool failAppends = false;
    uintptr_t nextHandle = 1;

    void now(JournalClock* t) override { *t = clock; }
    size_t systemName(const Utf16Unit* name, size_t n, Utf16Unit* out, size_t cap) override
    {
        size_t k = n < cap ? n : cap;
        for (size_t i = 0; i < k; i++)
            out[i] = name[i];
        return k;
    }
    bool makeFolder(const Utf16Unit*) override { return true; }
    FolderLock lockFolder(const Utf16Unit*) override { return FolderLocked; }
    JournalFile open(const Utf16Unit* path, bool* created) override
    {
        std::u16string p = units(path);
        *created = files.count(p) == 0;
        files[p];
        JournalFile h = (JournalFile)nextHandle++;
        open_[h] = p;
        return h;
    }
    bool append(JournalFile file, const char* bytes, size_t n) override
    {
        if (failAppends)
            return false;
        files.at(open_.at(file)).append(bytes, n);
        return true;
    }
    void close(JournalFile file) override { open_.erase(file); }
    void openFolder(const Utf16Unit*) override {}
};

class JournalWriterTest : public ::testing::Test, public SessionFixture {};

const char kMark[] = "\xEF\xBB\xBF";

} // namespace

TEST_F(JournalWriterTest, DaysSharedNamesFailuresAndLongLines)
{
    MemoryFiles fs;
    const Utf16Unit root[] = {'C', ':', '\\', 'Z', 0};
    startJournals(&fs, root);
    session.settings.journal = true;
    session.settings.host.set("chat.example");
    session.settings.port = 4225;
    session.ownNick.set("Вася");
    session.currentRoom.set("Кухня");

    // Either side of midnight: a file for each day, each with its mark and
    // header, and the first day's file closed.
    journalLine(JournalChat, "Петя", "до полуночи");
    fs.clock = {2026, 12, 8, 0, 0, 1};
    journalLine(JournalChat, "Петя", "после");
    flushJournals();
    EXPECT_EQ(fs.files[u"C:\\Z\\Журналы\\Комнаты\\Кухня\\2026-12-07.txt"],
              kMark + std::string(u8"—— 2026-12-07 23:59:58, Кухня, сервер chat.example:4225, ник Вася ——\r\n"
                                  u8"[23:59:58] <Петя> до полуночи\r\n"));
    const std::u16string day2 = u"C:\\Z\\Журналы\\Комнаты\\Кухня\\2026-12-08.txt";
    EXPECT_EQ(fs.files[day2], kMark + std::string(u8"—— 2026-12-08 00:00:01, Кухня, сервер chat.example:4225, "
                                                  u8"ник Вася ——\r\n[00:00:01] <Петя> после\r\n"));
    EXPECT_EQ(fs.open_.size(), 1u);

    // Two nicks that clean alike share one file: one mark, a header each,
    // the lines in the order they came.
    journalLine(JournalPrivateFrom, "a:b", "раз");
    journalLine(JournalPrivateTo, "a*b", "два");
    flushJournals();
    EXPECT_EQ(fs.files[u"C:\\Z\\Журналы\\Приват\\a_b\\2026-12-08.txt"],
              kMark + std::string(u8"—— 2026-12-08 00:00:01, приват с a:b, сервер chat.example:4225, ник Вася ——\r\n"
                                  u8"[00:00:01] [приват от a:b] раз\r\n"
                                  u8"—— 2026-12-08 00:00:01, приват с a*b, сервер chat.example:4225, ник Вася ——\r\n"
                                  u8"[00:00:01] [приват для a*b] два\r\n"));

    // A line of 5,000 three-byte letters goes whole.
    std::string whole;
    for (int i = 0; i < 5000; i++)
        whole += u8"—";
    journalLine(JournalChat, "Петя", whole.c_str());
    flushJournals();
    const std::string& file = fs.files[day2];
    ASSERT_GT(file.size(), whole.size() + 2);
    EXPECT_EQ(file.substr(file.size() - whole.size() - 2), whole + "\r\n");

    // An append that fails: one error line, every file closed, and no more
    // journals this run.
    fs.failAppends = true;
    journalLine(JournalChat, "Петя", "пропадёт");
    flushJournals();
    fs.failAppends = false;
    journalLine(JournalChat, "Петя", "и эта");
    flushJournals();
    EXPECT_EQ(log.all(), "!! Журнал не записывается: C:\\Z\\Журналы\\Комнаты\\Кухня\\2026-12-08.txt. "
                         "Журналы выключены до перезапуска.\n");
    EXPECT_TRUE(fs.open_.empty());
    EXPECT_EQ(fs.files[day2].find(u8"и эта"), std::string::npos);
}

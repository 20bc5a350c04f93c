// Conversation journals: the folder name a room or nick becomes, and the
// lines and file names written.
#include <gtest/gtest.h>

#include <string>

#include "base/codepage.h"
#include "journal/journal_names.h"

namespace {

// The name through UTF-16, as the journals clean it, and back to 1251.
std::string cleaned(const std::string& name)
{
    Cp1251Text cp;
    Utf16Unit wide[512], clean[kJournalNameUnits + 2];
    size_t n = cp.toUtf16(name.data(), name.size(), wide, 512);
    size_t k = cleanJournalName(wide, n, clean, sizeof clean / sizeof clean[0]);
    EXPECT_EQ(clean[k], 0);
    char back[256];
    return std::string(back, cp.fromUtf16(clean, k, back, sizeof back));
}

} // namespace

TEST(JournalNames, EveryNameBecomesOneFolderInsideItsParent)
{
    const std::string a63(63, 'a'), ya70(70, '\xFF'), x70(70, 'x');
    const struct {
        std::string name, folder;
    } cases[] = {
        {"Главная", "Главная"},
        {"Вася Пупкин", "Вася Пупкин"},
        {"", "_"},
        {".", "_"},
        {"..", "_"},
        {". . .", "_"},
        {"..\\..\\Windows", ".._.._Windows"},
        {"../../etc/passwd", ".._.._etc_passwd"},
        {"C:\\Windows\\System32", "C__Windows_System32"},
        {"\\\\server\\share", "__server_share"},
        {"a:b*c?d\"e<f>g|h", "a_b_c_d_e_f_g_h"},
        {"tab\there\x01\x1F\x7F", "tab_here___"},
        {"комната. . ", "комната"},
        {" лидирующий", " лидирующий"},
        {"con", "_con"},
        {"CON.txt", "_CON.txt"},
        {"Com1", "_Com1"},
        {"lpt9.log.txt", "_lpt9.log.txt"},
        {"nul .", "_nul"},
        {"aux .txt", "_aux .txt"},
        {"PRN", "_PRN"},
        {"COM0", "COM0"},
        {"COM10", "COM10"},
        {"console", "console"},
        {"LPT", "LPT"},
        {ya70, std::string(64, '\xFF')},
        {a63 + ". x", a63},
        {"con." + x70, "_con." + std::string(59, 'x')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cleaned(c.name), c.folder) << c.name;
}

TEST(JournalNames, LinesHeadersAndFileNames)
{
    const JournalClock t{2026, 12, 7, 9, 5, 3};
    const struct {
        JournalLineKind kind;
        const char* who;
        const char* text;
        const char* line;
    } cases[] = {
        {JournalChat, "Петя", "Привет, Вася!", "[09:05:03] <Петя> Привет, Вася!"},
        {JournalChat, "Петя", "раз\rдва\tтри\nчетыре", "[09:05:03] <Петя> раз два три четыре"},
        {JournalChat, "%s%n", "%d%%", "[09:05:03] <%s%n> %d%%"},
        {JournalSystem, nullptr, "Вы в комнате «Главная». Людей: 2", "[09:05:03] * Вы в комнате «Главная». Людей: 2"},
        {JournalNotice, nullptr, "Сервер перезапустится", "[09:05:03] ОБЪЯВЛЕНИЕ: Сервер перезапустится"},
        {JournalPrivateFrom, "Алиса", "привет", "[09:05:03] [приват от Алиса] привет"},
        {JournalPrivateTo, "Алиса", "и тебе", "[09:05:03] [приват для Алиса] и тебе"},
        {JournalChat, "Петя", nullptr, "[09:05:03] <Петя> "},
    };
    char out[kJournalLineCap];
    for (const auto& c : cases) {
        size_t n = formatJournalLine(c.kind, t, c.who, c.text, out, sizeof out);
        EXPECT_EQ(std::string(out, n), c.line);
    }

    formatJournalHeader(t, false, "Главная", "127.0.0.1", 4225, "Вася", out, sizeof out);
    EXPECT_STREQ(out, "—— 2026-12-07 09:05:03, Главная, сервер 127.0.0.1:4225, ник Вася ——");
    formatJournalHeader(t, true, "Алиса", "chat.example", 7000, "Вася", out, sizeof out);
    EXPECT_STREQ(out, "—— 2026-12-07 09:05:03, приват с Алиса, сервер chat.example:7000, ник Вася ——");

    formatJournalFileName(JournalClock{2027, 1, 2, 0, 0, 0}, out, sizeof out);
    EXPECT_STREQ(out, "2027-01-02.txt");
}

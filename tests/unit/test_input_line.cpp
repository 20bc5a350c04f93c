// The input line's history (Up, Down, Enter) and Tab completion, as tables
// of key strokes and the line after each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/input_completion.h"
#include "input/input_history.h"

namespace {

// ---- History ----------------------------------------------------------------

// A step: "^" Up, "v" Down, ">text" Enter taking text out of the line,
// anything else is typed over the line; then the line it leaves.
struct HistoryCase {
    const char* what;
    std::vector<std::pair<const char*, const char*>> steps;
};

void runHistory(const HistoryCase& c)
{
    static InputHistory h;
    h = InputHistory();
    std::string line;
    for (size_t n = 0; n < c.steps.size(); n++) {
        const auto& step = c.steps[n];
        std::string key = step.first;
        const char* shown = nullptr;
        if (key == "^")
            shown = recallOlder(h, line.c_str());
        else if (key == "v")
            shown = recallNewer(h);
        else if (key[0] == '>')
            rememberInput(h, key.c_str() + 1), line.clear();
        else
            line = key;
        if (shown)
            line = shown;
        EXPECT_EQ(line, step.second) << c.what << ", step " << n;
    }
}

TEST(InputLine, HistoryRecallsSentTextsAndKeepsTheDraft)
{
    const HistoryCase cases[] = {
        {"nothing to recall", {{"^", ""}, {"v", ""}, {"черновик", "черновик"}, {"^", "черновик"}}},
        {"duplicates and empty texts",
         {{">раз", ""}, {">раз", ""}, {">", ""}, {"> два ", ""}, {"^", " два "}, {"^", "раз"}, {"^", "раз"},
          {"v", " два "}, {"v", ""}, {"v", ""}}},
        {"the draft is kept, an edit is dropped on moving away",
         {{">раз", ""}, {">два", ""}, {"черн", "черн"}, {"^", "два"}, {"два!", "два!"}, {"^", "раз"},
          {"v", "два"}, {"v", "черн"}}},
        {"an edited entry sent is the newest, the recalled one stays",
         {{">раз", ""}, {">два", ""}, {"^", "два"}, {"^", "раз"}, {"раз, два", "раз, два"}, {">раз, два", ""},
          {"^", "раз, два"}, {"^", "два"}, {"^", "раз"}, {"v", "два"}, {"v", "раз, два"}, {"v", ""}}},
    };
    for (const HistoryCase& c : cases)
        runHistory(c);

    // At most 100 entries, the oldest dropped first.
    static InputHistory h;
    h = InputHistory();
    for (int i = 0; i <= 100; i++)
        rememberInput(h, std::to_string(i).c_str());
    std::string line;
    for (int i = 0; i < 105; i++)
        if (const char* shown = recallOlder(h, ""))
            line = shown;
    EXPECT_EQ(line, "1");
    EXPECT_EQ(h.count, 100);
}

// ---- Completion ---------------------------------------------------------------

const char kTab[] = "\t";
const char kBackTab[] = "\v";  // Shift+Tab

// The line with "|" at the caret; steps are Tab, Shift+Tab or typed text,
// each followed by the line it leaves.
struct CompletionCase {
    const char* line;
    std::vector<std::pair<const char*, const char*>> steps;
};

const char* const kPeople[] = {"Вася", "Алиса", "Борис", "Ваня", "Алёна", "Ёжик", "ANNA_1", "Аня"};

std::string pressKeys(CompletionCycle& cycle, const UserEntry* users, std::string line, const char* key)
{
    size_t caret = line.find('|');
    line.erase(caret, 1);
    std::string k = key;
    if (k == kTab || k == kBackTab) {
        CompletionEdit edit;
        if (completeWord(cycle, line.c_str(), caret, k == kBackTab, {users, 8, "вася"}, &edit)) {
            line.replace(edit.start, edit.end - edit.start, edit.insert.s);
            caret = edit.start + edit.insert.length();
        }
    } else {
        endCompletion(cycle);
        line.insert(caret, k);
        caret += k.size();
    }
    return line.insert(caret, "|");
}

TEST(InputLine, TabCompletesCommandsAndNicks)
{
    static UserEntry users[8];
    for (int i = 0; i < 8; i++)
        users[i].nick.set(kPeople[i]);
    const CompletionCase cases[] = {
        {"/IG|", {{kTab, "/ignore |"}}},
        {"/m|", {{kTab, "/me |"}, {kTab, "/me |"}}},  // not the alias msg
        {"/c|", {{kTab, "/create |"}, {kTab, "/clear |"}, {kTab, "/create |"}, {kBackTab, "/clear |"}}},
        {"ал|", {{kTab, "Алиса, |"}, {kTab, "Алёна, |"}, {kTab, "Алиса, |"}, {kBackTab, "Алёна, |"}}},
        {"ал|", {{kBackTab, "Алёна, |"}, {kBackTab, "Алиса, |"}}},
        {"ВА|", {{kTab, "Ваня, |"}, {kTab, "Вася, |"}, {kTab, "Ваня, |"}}},  // the own nick last
        {"ёЖ|", {{kTab, "Ёжик, |"}}},
        {"привет бо|", {{kTab, "привет Борис |"}}},
        {"/pm ал| как дела", {{kTab, "/pm Алиса | как дела"}, {kTab, "/pm Алёна | как дела"}}},
        {"ал|", {{kTab, "Алиса, |"}, {"б", "Алиса, б|"}, {kTab, "Алиса, Борис |"}, {kTab, "Алиса, Борис |"}}},
        {"Зоя|", {{kTab, "Зоя|"}}},  // no match, nor for a command or an empty word
        {"/x|", {{kTab, "/x|"}}},
        {"привет |", {{kBackTab, "привет |"}}},
    };
    for (const CompletionCase& c : cases) {
        static CompletionCycle cycle;
        endCompletion(cycle);
        std::string line = c.line;
        for (const auto& step : c.steps) {
            line = pressKeys(cycle, users, line, step.first);
            EXPECT_EQ(line, step.second) << c.line;
        }
    }

    // Only what keeps the line within 1000 characters: "Аня " fits where
    // "Алиса " and "Алёна " would not.
    static CompletionCycle cycle;
    endCompletion(cycle);
    std::string pad(994, 'x');
    std::string line = pressKeys(cycle, users, pad + " а|", kTab);
    EXPECT_EQ(line, pad + " Аня |");
    EXPECT_EQ(pressKeys(cycle, users, line, kTab), pad + " Аня |");
    EXPECT_EQ(pressKeys(cycle, users, pad + "xxx а|", kTab), pad + "xxx а|");
}

} // namespace

#include "input/input_history.h"

#include <string.h>

#include "session/commands.h"
#include "session/host.h"

InputHistory inputHistory;

namespace {

// The k-th newest entry, k from 1 to count.
const char* entryBack(const InputHistory& h, int k)
{
    return h.entries[(h.oldest + h.count - k) % kHistoryEntries].s;
}

} // namespace

void rememberInput(InputHistory& h, const char* text)
{
    h.back = 0;
    if (!text || !*text)
        return;
    if (h.count > 0 && strcmp(entryBack(h, 1), text) == 0)
        return;
    if (h.count == kHistoryEntries) {
        h.oldest = (h.oldest + 1) % kHistoryEntries;
        h.count--;
    }
    h.entries[(h.oldest + h.count) % kHistoryEntries].set(text);
    h.count++;
}

const char* recallOlder(InputHistory& h, const char* current)
{
    if (h.back >= h.count)
        return nullptr;
    if (h.back == 0)
        h.draft.set(current);
    h.back++;
    return entryBack(h, h.back);
}

const char* recallNewer(InputHistory& h)
{
    if (h.back == 0)
        return nullptr;
    h.back--;
    return h.back == 0 ? h.draft.s : entryBack(h, h.back);
}

void submitAndRemember()
{
    char before[kInputLineBytes] = "";
    ports.views->readInput(before, sizeof before);
    submitInputLine();
    char after[2] = "";
    ports.views->readInput(after, sizeof after);
    if (!after[0])
        rememberInput(inputHistory, before);
}

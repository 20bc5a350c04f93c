#include "session/mention.h"

#include "base/text_fold.h"

bool isMention(const char* sender, const char* text, const char* ownNick)
{
    if (!ownNick || !*ownNick || !text)
        return false;
    if (sender && sameText(sender, ownNick))
        return false;
    return findWholeWord(text, ownNick) != nullptr;
}

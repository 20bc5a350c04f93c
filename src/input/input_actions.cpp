#include "input/input_actions.h"

#include "base/bounded.h"
#include "base/codepage.h"
#include "base/text_fold.h"
#include "session/session_state.h"

InputLine* inputLine = nullptr;

namespace {

// The text read, one blank, a nick of at most 63 characters and ", ", with
// room to spare, each character up to three bytes; a longer nick is cut by
// the bounded formatting.
enum {
    kReadCap = 3 * kAddressReadChars + 1,
    kComposedCap = kReadCap + 1 + 3 * 256 + 2 + 1,
};

} // namespace

void addressNick(const char* nick)
{
    if (!nick)
        nick = "";
    char current[kReadCap];
    current[0] = '\0';
    inputLine->getText(current, sizeof current);
    current[sizeof current - 1] = '\0';
    size_t len = copyUnits(current, sizeof current, current, sizeof current, kAddressReadChars);
    char composed[kComposedCap];
    if (len == 0) {
        formatText(composed, sizeof composed, "%s, ", nick);
        inputLine->setText(composed);
    } else if (current[0] != '/') {
        const char* blank = current[len - 1] == ' ' ? "" : " ";
        formatText(composed, sizeof composed, "%s%s%s, ", current, blank, nick);
        inputLine->setText(composed);
    }
    // A command being typed is not written back: that would cut it to the
    // characters read.
    inputLine->focusAtEnd();
}

void startPrivate(const char* nick)
{
    char composed[kComposedCap];
    formatText(composed, sizeof composed, "/pm %s ", nick ? nick : "");
    inputLine->setText(composed);
    inputLine->focusAtEnd();
}

void addressClickedNick(const char* nick)
{
    if (nick && *nick && !sameText(nick, session.ownNick.s))
        addressNick(nick);
}

#include "session/call_user.h"

#include "session/host.h"
#include "session/session_state.h"

namespace {

bool inPass;
bool beeped;

} // namespace

void callUser()
{
    if (session.settings.sound && !(inPass && beeped)) {
        ports.host->beep();
        beeped = inPass;
    }
    ports.host->flashIfInBackground();
}

void beginCallPass()
{
    inPass = true;
    beeped = false;
}

void endCallPass() { inPass = false; }

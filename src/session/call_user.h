// A private message or a mention of the own nick calls the user.
#pragma once

// The information beep when the "Sound" setting is on, at most once a
// receive pass (a burst of calls beeps once); then the host's flash of the
// taskbar button and count in the title while the program is in the
// background.
void callUser();

// A receive pass begins and ends: the beep is allowed once in between.
// Outside a pass every call beeps.
void beginCallPass();
void endCallPass();

// Whether a chat message calls the own nick.
#pragma once

// A chat message from someone else (sender is not the own nick, letter case
// folded by code page 1251) whose text holds the own nick as a whole word:
// no letter or digit right before or after it. False without an own nick.
bool isMention(const char* sender, const char* text, const char* ownNick);

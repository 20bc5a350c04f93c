// The journals' file side on Windows: the wide file functions on Windows NT
// (looked up at run time), the ANSI ones in the system's code page on 95, 98
// and ME.
#pragma once

// Starts the journals in the folder of the settings file, as the program's
// text (on NT whole, whatever letters the ANSI code page lacks).
void startWinJournals(const char* settingsFolder);

// The journals' file side on Windows: the wide file functions on Windows NT
// (looked up at run time), the ANSI ones in the system's code page on 95, 98
// and ME.
#pragma once

// Starts the journals in the folder of the settings file: on NT its path
// taken anew with the wide functions (the program's folder when the settings
// lie beside the program, else the application-data folder's "Zumbara"), so
// that letters the ANSI code page lacks survive; on 95, 98 and ME, and when
// the wide functions fail, settingsFolder as the ANSI functions gave it.
void startWinJournals(const char* settingsFolder, bool besideProgram);

// Conversation journals: what was said in each room and each private
// conversation, in one UTF-8 text file per local day under "Журналы" beside
// the settings file. Lines are gathered in memory and reach the files at the
// end of each receive pass, on timer 7 (every 5 s), and when the program or
// the Windows session ends.
#pragma once

#include <stddef.h>

#include "journal/journal_names.h"

enum { kJournalPathUnits = 260 };

typedef void* JournalFile;  // null: none

// What taking the journal folder for this copy of the program came to.
enum FolderLock {
    FolderLocked,        // this copy journals the folder
    FolderHeldElsewhere, // another running copy does
    FolderLockFailed,    // the lock could not be made
};

// The file system as the journals use it. Paths are UTF-16, terminated.
struct JournalFiles {
    virtual void now(JournalClock* t) = 0;
    // A name as this system's file functions will keep it: unchanged where
    // they take UTF-16, else through the system's code page, letters it lacks
    // becoming "?". Returns the units written (at most cap).
    virtual size_t systemName(const Utf16Unit* name, size_t n, Utf16Unit* out, size_t cap) = 0;
    // Creates the folder when missing; true when a folder of that name is
    // there afterwards.
    virtual bool makeFolder(const Utf16Unit* path) = 0;
    // Takes the folder for this copy of the program for as long as it runs;
    // a second copy asking for the same folder is told it is held.
    virtual FolderLock lockFolder(const Utf16Unit* path) = 0;
    // Opens the file for appending, created when missing, others free to read
    // and write it (and on NT to rename or delete it) meanwhile; *created
    // tells whether this call made it.
    virtual JournalFile open(const Utf16Unit* path, bool* created) = 0;
    // Appends all n bytes at the end of the file; false when it could not.
    virtual bool append(JournalFile file, const char* bytes, size_t n) = 0;
    virtual void close(JournalFile file) = 0;
    // Shows the folder with the system's handler.
    virtual void openFolder(const Utf16Unit* path) = 0;

protected:
    ~JournalFiles() = default;
};

// Journals go under settingsFolder (the folder of the settings file, UTF-16,
// with or without its trailing backslash). Until this is called, and with
// null files, nothing is journalled.
void startJournals(JournalFiles* files, const Utf16Unit* settingsFolder);

// One line of the current room (private kinds: of the conversation with
// who), when the Journal setting is on.
void journalLine(JournalLineKind kind, const char* who, const char* text);

// Writes what is gathered; the files stay open.
void flushJournals();
// Writes what is gathered and closes every file (the program or the Windows
// session ends).
void closeJournals();

// Menu command: opens the journal folder, creating it when missing.
void openJournalFolder();

// journalLine and flushJournals as the session core reaches them.
ConversationJournal& conversationJournals();

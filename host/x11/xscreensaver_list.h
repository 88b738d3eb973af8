#pragma once
// xscreensaver keeps each user's list of savers in ~/.xscreensaver and, while that file does not
// exist, runs the system's list. A package may edit neither, so the user adds Vesperglow with a
// command of its own.
#include <string>

extern const char XSCREENSAVER_SYSTEM_LIST[];  // /etc/X11/app-defaults/XScreenSaver

enum ListEdit {
    LIST_EDIT_ADDED,          // the old file is kept in the backup
    LIST_EDIT_CREATED,        // there was no file: the system's list and ours
    LIST_EDIT_ALREADY_THERE,  // an entry runs vesperglow already, enabled or not: nothing written
    LIST_EDIT_FAILED,         // problem says why; nothing written
};

// Adds "GL: vesperglow --root" after the last entry of userFile's programs list, starting from
// systemFile's list when userFile has none. Every other line stays as it was; the file is replaced
// whole, through a symbolic link and with its mode.
ListEdit AddToXscreensaverList(const std::string& userFile, const std::string& systemFile,
                               const std::string& backupFile, std::string* problem);

// vesperglow --add-to-xscreensaver: the same on $HOME/.xscreensaver, with a message; the exit code.
int AddToUsersXscreensaverList();

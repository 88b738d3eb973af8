#pragma once
// A file of the user's that the program edits (the settings file, xscreensaver's list). It may be a
// symlink into a dotfile repository, have its own permission bits, or be something that is no file
// at all (a FIFO would block a plain open).
#include <sys/types.h>

#include <string>

// What a read found. A missing file reads as empty; anything but a regular file is not read.
struct UserFileContents {
    std::string bytes;
    bool exists = false;
    mode_t mode = 0;  // the permission bits, when it exists
};

// Opens without blocking (following symlinks) and reads only a regular file. On failure, reason
// holds the system's reason, or "not a regular file".
bool ReadUserFile(const std::string& path, UserFileContents* contents, std::string* reason);

// Atomically replaces the file a chain of symlinks ends at (the links stay), keeping `old`'s
// permission bits; a new file gets the umask's, and its folder is made. No temporary file is left
// behind, whatever fails.
bool ReplaceUserFile(const std::string& path, const UserFileContents& old, const std::string& bytes,
                    std::string* reason);

#include "host/x11/xscreensaver_list.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "host/linux/user_file.h"
#include "seam/platform.h"

const char XSCREENSAVER_SYSTEM_LIST[] = "/etc/X11/app-defaults/XScreenSaver";

namespace {

// xscreensaver separates entries with a written "\n" and continues a line with a final backslash.
const char LIST_ENTRY[] = "  GL: vesperglow --root \\n";
const char LIST_HEADER[] = "# The system's savers and Vesperglow, written by vesperglow --add-to-xscreensaver.\n";

struct Lines {
    std::vector<std::string> text;  // split at each newline: the last one holds what follows the final newline
    size_t first = 0;               // the programs resource: its key's line
    size_t last = 0;                // and the last line its continuations reach
};

bool EndsWith(const std::string& text, const char* end) {
    size_t length = std::strlen(end);
    return text.size() >= length && text.compare(text.size() - length, length, end) == 0;
}

std::string Trimmed(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

Lines SplitLines(const std::string& text) {
    Lines lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.text.push_back(line);
    if (text.empty() || text.back() == '\n') lines.text.push_back("");
    return lines;
}

std::string JoinLines(const Lines& lines) {
    std::string text;
    for (size_t i = 0; i < lines.text.size(); ++i) text += (i ? "\n" : "") + lines.text[i];
    return text;
}

// Lines from..to as the daemon reads them, one line: each continuation backslash goes with its newline.
std::string Joined(const Lines& lines, size_t from, size_t to) {
    std::string joined;
    for (size_t i = from; i < to; ++i) joined += lines.text[i].substr(0, lines.text[i].size() - 1);
    return joined + lines.text[to];
}

// Finds the resource whose key is key ("programs", or "*programs" in the system's defaults) as the
// daemon reads the file: a line that ends in a backslash takes the next one in, and of several
// resources of that key the last counts.
bool FindPrograms(Lines* lines, const char* key) {
    bool found = false;
    for (size_t i = 0; i < lines->text.size(); ++i) {
        size_t last = i;
        while (EndsWith(lines->text[last], "\\") && last + 1 < lines->text.size()) ++last;
        std::string line = Trimmed(Joined(*lines, i, last));
        if (line.compare(0, std::strlen(key), key) == 0 && Trimmed(line.substr(std::strlen(key)))[0] == ':') {
            lines->first = i;
            lines->last = last;
            found = true;
        }
        i = last;
    }
    return found;
}

// The line that holds the key's colon: a continued line may split the key.
size_t ColonLine(const Lines& lines) {
    size_t line = lines.first;
    while (line < lines.last && lines.text[line].find(':') == std::string::npos) ++line;
    return line;
}

// A line's part of the list: without the key and without a continuation backslash.
std::string ListPart(const Lines& lines, size_t index) {
    std::string line = lines.text[index];
    if (EndsWith(line, "\\")) line.pop_back();
    if (index < ColonLine(lines)) return "";
    if (index == ColonLine(lines)) line = line.substr(line.find(':') + 1);
    return Trimmed(line);
}

// An entry is [-] ["name"] [visual:] command arguments; a leading minus disables it.
bool RunsVesperglow(std::string entry) {
    entry = Trimmed(entry);
    if (!entry.empty() && entry[0] == '-') entry = Trimmed(entry.substr(1));
    if (!entry.empty() && entry[0] == '"') entry = entry.substr(std::min(entry.find('"', 1), entry.size() - 1) + 1);
    std::istringstream words(entry);
    std::string word;
    words >> word;
    if (!word.empty() && word.back() == ':') words >> word;
    return word.substr(word.rfind('/') + 1) == "vesperglow";
}

bool ListRunsVesperglow(const Lines& lines) {
    std::string list = Joined(lines, lines.first, lines.last);
    list.erase(0, list.find(':') + 1);
    for (size_t at = 0; at < list.size();) {
        size_t end = std::min(list.find("\\n", at), list.size());
        if (RunsVesperglow(list.substr(at, end - at))) return true;
        at = end + 2;
    }
    return false;
}

// After the last entry, so every other entry keeps its number (and "selected:" its saver).
void AppendEntry(Lines* lines) {
    size_t last = lines->last;
    while (last > ColonLine(*lines) && ListPart(*lines, last).empty()) --last;
    std::string part = ListPart(*lines, last);
    std::string& line = lines->text[last];
    bool continued = EndsWith(line, "\\");
    if (continued) line.pop_back();
    if (!part.empty() && !EndsWith(part, "\\n")) line += " \\n";
    line += "\\";
    lines->text.insert(lines->text.begin() + long(last) + 1, std::string(LIST_ENTRY) + (continued ? "\\" : ""));
}

}  // namespace

ListEdit AddToXscreensaverList(const std::string& userFile, const std::string& systemFile,
                               const std::string& backupFile, std::string* problem) {
    UserFileContents user;
    std::string reason;
    if (!ReadUserFile(userFile, &user, &reason)) {
        *problem = "cannot read " + userFile + ": " + reason;
        return LIST_EDIT_FAILED;
    }
    const std::string& old = user.bytes;
    bool missing = !user.exists;
    Lines lines = SplitLines(old);
    std::string text;
    if (!missing && FindPrograms(&lines, "programs")) {
        if (ListRunsVesperglow(lines)) return LIST_EDIT_ALREADY_THERE;
        AppendEntry(&lines);
        text = JoinLines(lines);
    } else {
        // The daemon runs the system's list until the user has one: start from it.
        UserFileContents defaults;
        bool read = ReadUserFile(systemFile, &defaults, &reason);
        if (!read || !defaults.exists) {
            *problem = "cannot read " + systemFile + ": " + (read ? std::strerror(ENOENT) : reason);
            return LIST_EDIT_FAILED;
        }
        Lines system = SplitLines(defaults.bytes);
        if (!FindPrograms(&system, "*programs")) {
            *problem = "no programs list in " + systemFile;
            return LIST_EDIT_FAILED;
        }
        if (ListRunsVesperglow(system)) return LIST_EDIT_ALREADY_THERE;
        Lines list;
        list.text.assign(system.text.begin() + long(system.first), system.text.begin() + long(system.last) + 1);
        list.text[0].erase(list.text[0].find('*'), 1);
        list.last = list.text.size() - 1;
        AppendEntry(&list);
        text = missing ? LIST_HEADER : old;
        if (!text.empty() && text.back() != '\n') text += '\n';
        // A last line that ends in a backslash would take the list in: a blank line ends it.
        if (EndsWith(text, "\\\n")) text += '\n';
        text += JoinLines(list) + "\n";
    }

    // The backup takes the list's permission bits; the list is replaced through its symlink.
    const std::string* failed = nullptr;
    if (!missing && !ReplaceUserFile(backupFile, user, old, &reason))
        failed = &backupFile;
    else if (!ReplaceUserFile(userFile, user, text, &reason))
        failed = &userFile;
    if (failed) {
        *problem = "cannot write " + *failed + ": " + reason;
        return LIST_EDIT_FAILED;
    }
    return missing ? LIST_EDIT_CREATED : LIST_EDIT_ADDED;
}

int AddToUsersXscreensaverList() {
    const char* home = std::getenv("HOME");
    const passwd* user = home && home[0] ? nullptr : getpwuid(getuid());
    std::string userFile = std::string(user ? user->pw_dir : home) + "/.xscreensaver";
    std::string backupFile = userFile + ".before-vesperglow";
    std::string problem;
    switch (AddToXscreensaverList(userFile, XSCREENSAVER_SYSTEM_LIST, backupFile, &problem)) {
    case LIST_EDIT_ADDED:
        std::printf("Added \"GL: vesperglow --root\" to the savers in %s; the file as it was is %s.\n",
                    userFile.c_str(), backupFile.c_str());
        return 0;
    case LIST_EDIT_CREATED:
        std::printf("Wrote %s: the system's savers and \"GL: vesperglow --root\".\n", userFile.c_str());
        return 0;
    case LIST_EDIT_ALREADY_THERE:
        std::printf("%s already runs vesperglow; nothing changed.\n", userFile.c_str());
        return 0;
    case LIST_EDIT_FAILED:
        break;
    }
    ReportError("Error", problem.c_str(), REPORT_EXCLAMATION);
    return 1;
}

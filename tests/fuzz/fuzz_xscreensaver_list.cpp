// The edit of ~/.xscreensaver: the backup is the old file, every other line stays, a second add
// changes nothing, and the list the daemon reads afterwards holds every entry it held and ours.
// libX11's resource reader stands in for the daemon's on files both read alike.
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/x11/xscreensaver_list.h"
#include "tests/fuzz/fuzz.h"

namespace {

const char ENTRY[] = "  GL: vesperglow --root \\n";
const std::string FOLDER = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/vg-fuzz-list-") +
                           std::to_string(getpid());

std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t begin = 0;; begin = text.find('\n', begin) + 1) {
        lines.push_back(text.substr(begin, text.find('\n', begin) - begin));
        if (text.find('\n', begin) == std::string::npos) return lines;
    }
}

// Where the daemon and Xrm read a file differently, Xrm is no oracle: comment lines other than
// '!', a key bound with a leading '.', a key continued on the next line (Xrm ends the line there), NULs, CRs, wildcards, escaped
// backslashes and Xrm's octal escapes.
bool XrmReadsAsTheDaemon(const std::string& text) {
    for (const std::string& line : Lines(text)) {
        size_t first = line.find_first_not_of(" \t");
        if (first != std::string::npos && std::strchr("#;.", line[first])) return false;
        if (!line.empty() && line.back() == '\\' && line.find(':') == std::string::npos) return false;
    }
    for (size_t at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 1))
        if (at + 1 < text.size() && (text[at + 1] == '\\' || (text[at + 1] >= '0' && text[at + 1] <= '7'))) return false;
    return text.find_first_of(std::string("\0\r*?", 4)) == std::string::npos;
}

// The programs list as Xrm reads it (by name alone: the daemon takes no "Programs"): its entries,
// trimmed; false when there is none.
bool Programs(const std::string& text, std::vector<std::string>* entries) {
    XrmDatabase database = XrmGetStringDatabase(text.c_str());
    char* type = nullptr;
    XrmValue value = {};
    bool found = database && XrmGetResource(database, "programs", "programs", &type, &value) && value.addr;
    if (found) {
        for (std::string entry : Lines(value.addr)) {
            size_t begin = entry.find_first_not_of(" \t");
            if (begin != std::string::npos) entries->push_back(entry.substr(begin, entry.find_last_not_of(" \t") + 1 - begin));
        }
    }
    if (database) XrmDestroyDatabase(database);
    return found;
}

// `after` is `before` with our entry's line inserted after the list's last entry, whose line may
// gain a separator and a continuation; every other line as it was.
bool EntryInsertedAlone(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    if (after.size() != before.size() + 1) return false;
    for (size_t at = 1; at < after.size(); ++at) {
        bool kept = after[at].rfind(ENTRY, 0) == 0;
        for (size_t i = 0; kept && i < before.size(); ++i) {
            std::string was = before[i];
            if (i + 1 == at && !was.empty() && was.back() == '\\') was.pop_back();
            kept = i + 1 == at ? after[i].rfind(was, 0) == 0 : after[i < at ? i : i + 1] == was;
        }
        if (kept) return true;
    }
    return false;
}

}  // namespace

// libX11 compares quark names with memcmp over lengths that may pass a shorter name's end once the
// bytes already differ; AddressSanitizer should check only the bytes compared.
extern "C" const char* __asan_default_options() {
    return "strict_memcmp=0";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool made = (XrmInitialize(), system(("mkdir -p " + FOLDER).c_str()) == 0);
    FUZZ_CHECK(made);
    const std::string old(reinterpret_cast<const char*>(data), size);
    const std::string user = FOLDER + "/xscreensaver", backup = user + ".before", systemList = FOLDER + "/XScreenSaver";
    Write(systemList, "*programs:\tmaze --root \\n\\\n- GL: gears --root \\n\n");
    Write(user, old);
    unlink(backup.c_str());
    std::string problem;
    ListEdit edit = AddToXscreensaverList(user, systemList, backup, &problem);
    std::string added = Read(user);
    FUZZ_CHECK(edit == LIST_EDIT_ADDED || edit == LIST_EDIT_ALREADY_THERE);
    FUZZ_CHECK(edit == LIST_EDIT_ADDED ? Read(backup) == old : added == old && access(backup.c_str(), F_OK) != 0);
    FUZZ_CHECK(AddToXscreensaverList(user, systemList, backup, &problem) == LIST_EDIT_ALREADY_THERE);
    FUZZ_CHECK(Read(user) == added);

    // Our entry goes in alone, or with the system's list after every line of a file without one.
    FUZZ_CHECK(edit == LIST_EDIT_ALREADY_THERE || EntryInsertedAlone(Lines(old), Lines(added)) ||
               added.compare(0, old.size(), old) == 0);
    if (!XrmReadsAsTheDaemon(old)) return 0;
    std::vector<std::string> listed, now;
    if (!Programs(old, &listed)) listed = {"maze --root", "- GL: gears --root"};
    FUZZ_CHECK(Programs(added, &now));
    if (edit == LIST_EDIT_ADDED) listed.push_back("GL: vesperglow --root");
    std::sort(listed.begin(), listed.end());
    std::sort(now.begin(), now.end());
    FUZZ_CHECK(std::includes(now.begin(), now.end(), listed.begin(), listed.end()));
    FUZZ_CHECK(edit == LIST_EDIT_ADDED || std::any_of(now.begin(), now.end(), [](const std::string& line) {
                   return line.find("vesperglow") != std::string::npos;
               }));
    return 0;
}
